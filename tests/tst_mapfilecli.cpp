#include "editorfixture.h"
#include "filetestkit.h"
#include "mapfiletestmaps.h"

#include "board/mapcheck.h"
#include "mainwindow/viewactions.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "painting/boardpainter.h"
#include "painting/cellcomposer.h"
#include "painting/markerpainter.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Files = QList<QByteArray>; // floor 1 first; a null entry: no file for that floor

// The castle map with one more pair whose source marker reaches past the board's corner.
MapData renderedMap()
{
    MapData map = castleMap();
    map.setWarp(4, {24, 16, 1, 24, 1, 2});
    return map;
}

QImage region(const QImage &image, const QRect &rect)
{
    return image.copy(rect).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestMapFileCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resaveKeepsBytes()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(u"copy"_s);
        const ProgramRun run = qzkMap({u"resave"_s, mapFixturePath(u"castle.map"_s), out});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        QCOMPARE(readFile(out + u".map"_s), mapFixture(u"castle.map"_s));
        QCOMPARE(readFile(out + u"_2.map"_s), mapFixture(u"castle_2.map"_s));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    // A command that fails leaves the folder as it was.
    void faults_data()
    {
        QTest::addColumn<Files>("files");         // of m.map, m_2.map, ...
        QTest::addColumn<QString>("commandLine"); // "<m>" and "<dir>" stand for their paths
        QTest::addColumn<QString>("output");      // where standard output goes, empty: a pipe
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("errPart");
        QTest::addColumn<bool>("reported"); // on the pipe
        const Files grid{emptyGrid()};
        const Files castle = floorFiles(castleMap());
        const QString notFound = u"<0行目>"_s;
        QTest::newRow("resave of a file cut short")
            << Files{emptyGrid(10)} << u"resave <m> <dir>/out"_s << QString() << 1
            << u"これはQ:zKのマップファイルではありません。\nError No.62\n<11行目>"_s << false;
        QTest::newRow("report to a full disk") << grid << u"check <m>"_s << u"/dev/full"_s << 4
                                               << u"cannot write the report"_s << false;
        QTest::newRow("JSON report to a full disk")
            << grid << u"check --json <m>"_s << u"/dev/full"_s << 4 << u"cannot write the report"_s
            << false;
        QTest::newRow("undecodable bytes named, the map still read")
            << Files{emptyGrid() + "*NAME\r\n\x82\r\n"} << u"check <m>"_s << QString() << 2
            << u"m.map（18行目）"_s << true;
        QTest::newRow("unreadable map")
            << Files{} << u"check <m>"_s << QString() << 3 << notFound << false;
        QTest::newRow("render of a missing map")
            << Files{} << u"render <m> <dir>/out"_s << QString() << 1 << notFound << false;
        QTest::newRow("render into a file") << castle << u"render <m> <dir>/plain.txt"_s
                                            << QString() << 1 << u"cannot create"_s << false;
        QTest::newRow("render below a file") << castle << u"render <m> <dir>/plain.txt/out"_s
                                             << QString() << 1 << u"cannot create"_s << false;
    }
    void faults()
    {
        QFETCH(Files, files);
        QFETCH(QString, commandLine);
        QFETCH(QString, output);
        QTemporaryDir dir;
        QVERIFY(writeFloorFiles(dir.filePath(u"m"_s), files));
        QVERIFY(writeFile(dir.filePath(u"plain.txt"_s), "not a folder"));
        const QStringList before =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QStringList args = commandLine.replace(u"<m>"_s, u"<dir>/m.map"_s)
                                     .replace(u"<dir>"_s, dir.path())
                                     .split(u' ');
        const ProgramRun run = qzkMap(args, output);
        QTEST(run.exitCode, "exitCode");
        QFETCH(QString, errPart);
        QVERIFY2(run.err.contains(errPart), qPrintable(run.err));
        QTEST(!run.out.isEmpty(), "reported");
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    }

    // The JSON report holds the text report's lines.
    void check_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("lastLine");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QStringList>("places"); // "line: floor,x,y" per line naming a cell
        QTest::addColumn<QString>("visited");    // "floor: x,y ..." per floor
        QTest::addColumn<QString>("route");
        const QString noProblem = u"このマップに、特に重大な問題は見つかりませんでした。"_s;
        const QString impossible = u"このマップをクリアすることは不可能です。"_s;
        const QString none;
        QTest::newRow("start next to goal") << u"SG"_s << 0 << noProblem << u"ok"_s << QStringList{}
                                            << u"1: 1,1 2,1"_s << u"1: 1,1 2,1"_s;
        QTest::newRow("start next to goal, a dead end")
            << u".G/#S"_s << 0 << noProblem << u"ok"_s << QStringList{} << u"1: 2,1 1,2 2,2"_s
            << u"1: 2,2 2,1"_s;
        QTest::newRow("unlinked warp cell")
            << u"SG//////....1"_s << 1 << u"このマップは、プレイ中にバグる可能性があります。"_s
            << u"may-break"_s << QStringList{u"2: 1,5,7"_s} << u"1: 1,1 2,1"_s << u"1: 1,1 2,1"_s;
        QTest::newRow("unlinked warp cell on floor 2")
            << u"S|//////....1"_s << 2 << impossible << u"impossible"_s
            << QStringList{u"2: 2,5,7"_s} << none << none;
        QTest::newRow("no start") << u".G"_s << 2 << impossible << u"impossible"_s << QStringList{}
                                  << none << none;
    }
    void check()
    {
        QFETCH(QString, picture);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"checked.map"_s);
        const MapData map = pictureMap(picture);
        QVERIFY(!MapFileWriter::save(map, file.chopped(4)).fault);

        const ProgramRun text = qzkMap({u"check"_s, file});
        QTEST(text.exitCode, "exitCode");
        const QStringList textLines = text.text().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(textLines, MapCheck::run(map).lines);
        QTEST(textLines.last(), "lastLine");
        const ProgramRun json = qzkMap({u"check"_s, u"--json"_s, file});
        QCOMPARE(json.exitCode, text.exitCode);
        const QJsonObject root = QJsonDocument::fromJson(json.out).object();
        QTEST(root[u"verdict"_s].toString(), "verdict");
        const QJsonArray lines = root[u"lines"_s].toArray();
        QCOMPARE(lines.size(), textLines.size());
        QStringList places;
        for (int i = 0; i < lines.size(); ++i) {
            const QJsonObject line = lines[i].toObject();
            QCOMPARE(line[u"text"_s].toString(), textLines[i]);
            QCOMPARE(line[u"error"_s].toBool(), textLines[i].startsWith(u'【'));
            if (line.contains(u"floor"_s))
                places.append(u"%1: %2,%3,%4"_s.arg(i)
                                  .arg(line[u"floor"_s].toInt())
                                  .arg(line[u"x"_s].toInt())
                                  .arg(line[u"y"_s].toInt()));
        }
        QTEST(places, "places");
        const auto floorsText = [&](const QString &key) {
            QStringList parts;
            const QJsonObject floors = root[key].toObject();
            for (auto it = floors.begin(); it != floors.end(); ++it) {
                QStringList xy;
                for (const QJsonValue &cell : it.value().toArray())
                    xy.append(u"%1,%2"_s.arg(cell[0].toInt()).arg(cell[1].toInt()));
                parts.append(it.key() + u": "_s + xy.join(u' '));
            }
            return parts.join(u"; "_s);
        };
        QTEST(floorsText(u"visited"_s), "visited");
        QTEST(floorsText(u"route"_s), "route");
    }

    void arguments_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stdoutPart");
        QTest::newRow("help") << u"--help"_s << 0 << u"resave IN.map OUTBASE"_s;
        QTest::newRow("help names check") << u"--help"_s << 0 << u"check [--json] IN.map"_s;
        QTest::newRow("no command") << u""_s << 64 << QString();
        QTest::newRow("unknown command") << u"frobnicate"_s << 64 << QString();
        QTest::newRow("resave without base") << u"resave a.map"_s << 64 << QString();
        QTest::newRow("resave of a non-map file") << u"resave a.txt b"_s << 64 << QString();
        QTest::newRow("check without map") << u"check"_s << 64 << QString();
        QTest::newRow("help names render")
            << u"--help"_s << 0 << u"render [--scale N] [--check] [--no-values] IN.map OUTDIR"_s;
        QTest::newRow("render without folder") << u"render a.map"_s << 64 << QString();
        QTest::newRow("render of a non-map file") << u"render a.txt out"_s << 64 << QString();
        QTest::newRow("render with scale 0") << u"render --scale 0 a.map out"_s << 64 << QString();
        QTest::newRow("render with scale 5") << u"render --scale 5 a.map out"_s << 64 << QString();
        QTest::newRow("render with a scale that is no number")
            << u"render --scale x a.map out"_s << 64 << QString();
        QTest::newRow("render with scale but no map")
            << u"render --scale 2 out"_s << 64 << QString();
    }
    void arguments()
    {
        QFETCH(QString, commandLine);
        QFETCH(int, exitCode);
        QFETCH(QString, stdoutPart);
        const ProgramRun run = qzkMap(commandLine.split(u' ', Qt::SkipEmptyParts));
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.err.isEmpty(), exitCode == 0);
        QVERIFY(run.text().contains(stdoutPart));
    }

    void initTestCase()
    {
        QVERIFY(mRendered.isValid());
        QVERIFY(!MapFileWriter::save(renderedMap(), mRendered.filePath(u"rendered"_s)).fault);
        const ProgramRun run =
            qzkMap({u"render"_s, renderedFile(), mRendered.filePath(u"rendered"_s)});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }

    void render_data()
    {
        QTest::addColumn<int>("floors");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("platformSet");
        QTest::newRow("one floor") << 1 << QStringList{} << QSize(576, 384) << true;
        QTest::newRow("two floors") << 2 << QStringList{} << QSize(576, 384) << true;
        QTest::newRow("two floors, no platform named")
            << 2 << QStringList{} << QSize(576, 384) << false;
        QTest::newRow("nine floors at twice the size")
            << 9 << QStringList{u"--scale"_s, u"2"_s} << QSize(1152, 768) << true;
    }
    void render()
    {
        QFETCH(int, floors);
        QFETCH(QStringList, options);
        QFETCH(QSize, size);
        QFETCH(bool, platformSet);
        QTemporaryDir dir;
        MapData map = MapData::resetMap();
        map.setFloorCount(floors);
        const QString base = dir.filePath(u"tower"_s);
        QVERIFY(!MapFileWriter::save(map, base).fault);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!platformSet) {
            // No display to fall back on either.
            for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
                environment.remove(QString::fromLatin1(name));
        }

        // The folder does not exist yet, nor its parent.
        const QString folder = dir.filePath(u"pictures/tower"_s);
        const ProgramRun run =
            qzkMap(QStringList{u"render"_s} + options + QStringList{base + u".map"_s, folder}, {},
                   environment);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QStringList expected;
        for (int floor = 1; floor <= floors; ++floor)
            expected.append(u"tower_%1.png"_s.arg(floor));
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name | QDir::LocaleAware), expected);
        for (const QString &name : expected)
            QCOMPARE(QImage(QDir(folder).filePath(name)).size(), size);
    }

    // Warp mode compares the marker's square, branch mode the cell.
    void renderShowsWhatTheEditorShows_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QPoint>("cell");
        const QString branches1 = u"mode:2 floor:1"_s;
        const QString warps1 = u"mode:3 floor:1"_s;
        QTest::newRow("start chip") << branches1 << QPoint(1, 1);
        QTest::newRow("chip with branch arms") << branches1 << QPoint(2, 1);
        QTest::newRow("other branch arms") << branches1 << QPoint(3, 1);
        QTest::newRow("chip without setting") << branches1 << QPoint(22, 10);
        QTest::newRow("empty cell on floor 2") << u"mode:2 floor:2"_s << QPoint(7, 9);
        QTest::newRow("source marker") << warps1 << QPoint(10, 5);
        QTest::newRow("destination marker on the same floor") << warps1 << QPoint(20, 10);
        QTest::newRow("later marker on top of an earlier one") << warps1 << QPoint(5, 8);
        QTest::newRow("destination marker on floor 2") << u"mode:3 floor:2"_s << QPoint(3, 3);
        QTest::newRow("marker cut at the board's corner") << warps1 << QPoint(24, 16);
        QTest::newRow("marker cut at the board's edge") << u"mode:3 floor:2"_s << QPoint(24, 1);
    }
    void renderShowsWhatTheEditorShows()
    {
        QFETCH(QString, shown);
        QFETCH(QPoint, cell);
        EditorFixture editor;
        editor.show();
        QVERIFY(!editor.files.loadMap(renderedFile()).fault);
        QVERIFY(editor.play(shown));
        // The cell cursor belongs to the keys, not to the map.
        editor.window.board()->clearFocus();
        const QImage board = editor.window.board()->grab().toImage();
        QCOMPARE(board.size(), BoardPainter::size());

        const QRect rect =
            editor.session.editMode() == EditorSession::WarpMode
                ? MarkerPainter::rect(cell).intersected(QRect(QPoint(), BoardPainter::size()))
                : BoardPainter::cellRect(cell.x(), cell.y());
        const QImage picture = renderedFloor(editor.session.currentFloor());
        QCOMPARE(picture.size(), BoardPainter::size());
        QCOMPARE(region(picture, rect), region(board, rect));
    }

    void renderMarksBothFloorsOfAPair_data()
    {
        QTest::addColumn<int>("floor");
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<bool>("marked");
        // One pair leads from (5,8) on floor 1 to (3,3) on floor 2, another back again.
        QTest::newRow("pair cell on floor 1") << 1 << QPoint(5, 8) << true;
        QTest::newRow("pair cell on floor 2") << 2 << QPoint(3, 3) << true;
        QTest::newRow("floor 1's pair cell, on floor 2") << 2 << QPoint(5, 8) << false;
        QTest::newRow("floor 2's pair cell, on floor 1") << 1 << QPoint(3, 3) << false;
    }
    void renderMarksBothFloorsOfAPair()
    {
        QFETCH(int, floor);
        QFETCH(QPoint, cell);
        const ChipPictures pictures;
        const CellComposer composer(pictures);
        const MapData map = MapFileReader::load(mRendered.filePath(u"rendered"_s)).map;
        const QImage bare = BoardPainter(composer)
                                .cellPicture(map, cell.x(), cell.y(), floor, true)
                                .convertToFormat(QImage::Format_RGB32);
        const QImage drawn =
            region(renderedFloor(floor), BoardPainter::cellRect(cell.x(), cell.y()));
        QTEST(drawn != bare, "marked");
    }

    // After windows with warp markers have shown, as in the editor itself.
    void savedPicturesAreRendered_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<bool>("allFloors");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("every floor at twice the size")
            << 2 << true << QStringList{u"rendered_1.png"_s, u"rendered_2.png"_s};
        QTest::newRow("the shown floor at three times the size")
            << 3 << false << QStringList{u"rendered_2.png"_s};
    }
    void savedPicturesAreRendered()
    {
        QFETCH(int, scale);
        QFETCH(bool, allFloors);
        QFETCH(QStringList, files);
        QTemporaryDir dir;
        const ProgramRun run = qzkMap({u"render"_s, u"--scale"_s, QString::number(scale),
                                       renderedFile(), dir.filePath(u"rendered"_s)});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        EditorFixture editor;
        QVERIFY(!editor.files.loadMap(renderedFile()).fault);
        QVERIFY(editor.play(u"floor:2"_s));
        const QString saved = dir.filePath(u"saved"_s);
        QVERIFY(editor.window.viewActions()->savePictures(saved, scale, allFloors));

        QCOMPARE(QDir(saved).entryList(QDir::Files, QDir::Name), files);
        for (const QString &file : files) {
            const QImage picture(QDir(saved).filePath(file));
            QCOMPARE(picture.size(), BoardPainter::size() * scale);
            QCOMPARE(picture, QImage(dir.filePath(u"rendered/"_s + file)));
        }
    }

private:
    QString renderedFile() const { return mRendered.filePath(u"rendered.map"_s); }
    QImage renderedFloor(int floor) const
    {
        return QImage(mRendered.filePath(u"rendered/rendered_%1.png"_s.arg(floor)));
    }

    QTemporaryDir mRendered;
};

QTEST_MAIN(TestMapFileCli)
#include "tst_mapfilecli.moc"
