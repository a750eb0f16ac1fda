#include "model/chipdescriptions.h"
#include "painting/chippictures.h"

#include <QFile>
#include <QPainter>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;

// The cell composer's steps: clear the overlay's area with its mask, then add the overlays.
QImage compose(const QImage &chip, const QImage &mask, const QList<QImage> &overlays)
{
    QImage image = chip.copy();
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(0, 0, mask);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    for (const QImage &overlay : overlays)
        painter.drawImage(0, 0, overlay);
    return image;
}

int armIndex(int direction, int state)
{
    return 4 * (direction - 1) + state + 1;
}

// The pixels of `image` that are not black.
QList<QPoint> drawnPixels(const QImage &image)
{
    QList<QPoint> drawn;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != Black)
                drawn << QPoint(x, y);
    return drawn;
}

// Two images of the list that look the same, as "a and b"; empty when all differ.
QString twins(const QList<QImage> &images)
{
    for (int a = 0; a < images.size(); ++a)
        for (int b = a + 1; b < images.size(); ++b)
            if (images[a] == images[b])
                return u"%1 and %2"_s.arg(a).arg(b);
    return {};
}

// Where the overlay draws, the mask must be fully black, or the chip would bleed into it.
QString maskGap(const QImage &mask, const QImage &overlay, bool mustDraw = true)
{
    const QList<QPoint> drawn = drawnPixels(overlay);
    for (const QPoint &p : drawn)
        if (mask.pixel(p) != Black)
            return u"mask not black at %1,%2"_s.arg(p.x()).arg(p.y());
    return drawn.isEmpty() && mustDraw ? u"nothing drawn"_s : QString();
}

} // namespace

class TestChipPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ratios_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1x") << 1.0;
        QTest::newRow("1.5x") << 1.5;
        QTest::newRow("2x") << 2.0;
    }

    void pictureSizes_data() { ratios_data(); }
    void pictureSizes()
    {
        QFETCH(qreal, ratio);
        const ChipPictures pictures(ratio);
        const int px = qRound(ChipPictures::Size * ratio);
        QList<QImage> images;
        for (int k = 1; k <= ChipPictures::ChipPictureCount; ++k)
            images << pictures.chip(k);
        for (int k = 0; k <= ChipPictures::OverlayCount; ++k)
            images << pictures.overlay(k);
        for (const QImage &image : std::as_const(images)) {
            QCOMPARE(image.size(), QSize(px, px));
            QCOMPARE(image.devicePixelRatio(), ratio);
            QCOMPARE(image.format(), QImage::Format_RGB32);
        }
    }

    void chipsAreDistinct_data() { ratios_data(); }
    void chipsAreDistinct()
    {
        QFETCH(qreal, ratio);
        const ChipPictures pictures(ratio);
        // The list counts from 0, the chips from 1.
        QList<QImage> chips{QImage()};
        for (int k = 1; k <= ChipPictures::ChipPictureCount; ++k)
            chips << pictures.chip(k);
        QCOMPARE(twins(chips), QString());
    }

    void outOfRange_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("just past the overlays") << ChipPictures::OverlayCount + 1;
        QTest::newRow("just past the chips") << ChipPictures::ChipPictureCount + 1;
        QTest::newRow("far past") << 1000;
    }
    void outOfRange()
    {
        QFETCH(int, index);
        const ChipPictures pictures(2.0);
        if (index < 1 || index > ChipPictures::ChipPictureCount)
            QCOMPARE(pictures.chip(index), pictures.chip(ChipPictures::EmptyPicture));
        QCOMPARE(drawnPixels(pictures.overlay(index)), QList<QPoint>());
    }

    void branchArms_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("chip");
        QTest::addColumn<int>("direction");
        const std::pair<const char *, qreal> ratios[] = {{"1x", 1.0}, {"2x", 2.0}};
        const std::pair<const char *, int> chips[] = {{"road", 1}, {"start", 33}, {"empty", 48}};
        for (const auto &[ratioName, ratio] : ratios)
            for (const auto &[chipName, chip] : chips)
                for (int direction = 1; direction <= 4; ++direction)
                    QTest::addRow("%s %s d%d", ratioName, chipName, direction)
                        << ratio << chip << direction;
    }
    void branchArms()
    {
        QFETCH(qreal, ratio);
        QFETCH(int, chip);
        QFETCH(int, direction);
        const ChipPictures pictures(ratio);
        const QImage &base = pictures.chip(chip);
        const QImage &mask = pictures.overlay(ChipPictures::BranchMask);

        QList<QImage> results;
        for (int state = 0; state <= 3; ++state) {
            const QImage &arm = pictures.overlay(armIndex(direction, state));
            // A two-way arm may leave the cleared area black and draw nothing.
            QCOMPARE(maskGap(mask, arm, state != 3), QString());
            const QImage composed = compose(base, mask, {arm});
            for (int y = 0; y < composed.height(); ++y) {
                for (int x = 0; x < composed.width(); ++x) {
                    const QRgb m = mask.pixel(x, y);
                    if (m == White)
                        QCOMPARE(composed.pixel(x, y), base.pixel(x, y));
                    else if (m == Black)
                        QCOMPARE(composed.pixel(x, y), arm.pixel(x, y));
                }
            }
            QVERIFY(composed != base);
            results << composed;
        }
        QVERIFY2(twins(results).isEmpty(), "two arm states compose alike");
    }

    void armsOfDirectionsDoNotOverlap()
    {
        // Four arms are added on top of each other; shared pixels would mix their colours.
        const ChipPictures pictures(2.0);
        QHash<QPoint, int> owner;
        for (int direction = 1; direction <= 4; ++direction)
            for (int state = 0; state <= 3; ++state)
                for (const QPoint &p : drawnPixels(pictures.overlay(armIndex(direction, state)))) {
                    QCOMPARE(owner.value(p, direction), direction);
                    owner.insert(p, direction);
                }
    }

    void lineMarker_data() { ratios_data(); }
    void lineMarker()
    {
        QFETCH(qreal, ratio);
        const ChipPictures pictures(ratio);
        const QImage &marker = pictures.overlay(ChipPictures::LineMarker);
        const QImage &mask = pictures.overlay(ChipPictures::LineMarkerMask);
        QCOMPARE(maskGap(mask, marker), QString());
        const QImage &base = pictures.chip(12);
        const QImage composed = compose(base, mask, {marker});
        // The chip still shows around the marker.
        QCOMPARE(composed.pixel(1, 1), base.pixel(1, 1));
        QCOMPARE(composed.pixel(composed.width() - 2, composed.height() - 2),
                 base.pixel(base.width() - 2, base.height() - 2));
        QVERIFY(composed != base);
    }

    void icons_data() { ratios_data(); }
    void icons()
    {
        QFETCH(qreal, ratio);
        const ChipPictures pictures(ratio);
        const QList<QIcon> icons{
            pictures.toolIcon(u"line"_s),           pictures.toolIcon(u"selection"_s),
            pictures.toolIcon(u"fill"_s),           pictures.toolIcon(u"rectangle"_s),
            pictures.modeIcon(EditModes::ChipMode), pictures.modeIcon(EditModes::BranchMode),
            pictures.modeIcon(EditModes::WarpMode)};
        QList<QImage> images;
        for (const QIcon &icon : icons) {
            QVERIFY(!icon.isNull());
            for (qreal r : {1.0, 2.0}) {
                const QPixmap pixmap = icon.pixmap(QSize(32, 32), r);
                QCOMPARE(pixmap.devicePixelRatio(), r);
                QCOMPARE(pixmap.size(), QSize(32, 32) * r);
            }
            images << icon.pixmap(QSize(32, 32), 2.0).toImage();
        }
        QCOMPARE(twins(images), QString());
        QVERIFY(pictures.modeIcon(EditModes::NoMode).isNull());
        QVERIFY(pictures.toolIcon(u"brush"_s).isNull());
        QVERIFY(pictures.modeIcon(EditModes::EditMode(4)).isNull());
    }

    void descriptionFile()
    {
        const QString path = QStringLiteral(QZK_SOURCE_DATA "/Tavolin.dat");
        ChipDescriptions descriptions;
        QCOMPARE(descriptions.load(path).status, ChipDescriptions::Status::Ok);
        for (int k = 0; k < CodeTables::ChipCount; ++k) {
            const QString text = descriptions.description(k);
            QVERIFY2(!text.trimmed().isEmpty(), qPrintable(QString::number(k)));
            const bool numbered = k == 16 || k == 24 || k == 30 || k == 32;
            QCOMPARE(text.count(u'?'), numbered ? 1 : 0);
            QVERIFY2(!text.contains(u'"'), qPrintable(text));
        }

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = file.readAll().split('\n');
        QVERIFY2(lines.takeLast().isEmpty(), "the last line has no line end");
        QCOMPARE(lines.size(), CodeTables::ChipCount);
        for (const QByteArray &line : lines) {
            // Quoted so that a comma inside a description stays part of it.
            QVERIFY2(line.startsWith('"') && line.endsWith("\"\r"), line.constData());
            QCOMPARE(line.count('\r'), 1);
        }
    }
};

QTEST_MAIN(TestChipPictures)
#include "tst_chippictures.moc"
