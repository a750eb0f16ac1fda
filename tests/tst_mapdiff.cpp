#include "board/mapdiff.h"
#include "filetestkit.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "model/chipdescriptions.h"
#include "model/floors.h"
#include "model/mapdocument.h"
#include "session/mapcomparison.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using Edit = MapEdit;
using DocumentEdit = std::function<void(MapDocument &)>;

QList<MapDiff::Kind> kindsOf(const MapDiff::Result &result)
{
    QList<MapDiff::Kind> kinds;
    for (const MapDiff::Difference &d : result.differences)
        kinds.append(d.kind);
    return kinds;
}

} // namespace

class TestMapDiff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(meadow().floorCount() == 2);
        mNames = tavolinDescriptions();
        QVERIFY(!mNames.description(1).isEmpty());
    }

    void differences_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<MapDiff::Kind>>("kinds");
        using K = MapDiff::Kind;

        QTest::newRow("chip") << cellEdit(5, 3, 1, u"12_+3"_s)
                              << QStringList{u"1階(5,3)：普通の道 → 3マス進む"_s}
                              << QList<K>{K::Cell};
        QTest::newRow("number")
            << cellEdit(6, 14, 1, u"32_g5"_s)
            << QStringList{u"1階(6,14)：コインを10枚もらう → コインを5枚もらう"_s}
            << QList<K>{K::Cell};
        // Read as plain road, an unknown code differs from road by its code alone.
        QTest::newRow("unknown code")
            << cellEdit(4, 3, 1, u"01_XX"_s)
            << QStringList{u"1階(4,3)：普通の道「[]」 → 普通の道「XX」"_s} << QList<K>{K::Cell};
        // The file stores the code only; the index is worked out again on reading.
        QTest::newRow("index only") << cellEdit(6, 3, 1, u"16_+2"_s) << QStringList() << QList<K>();
        QTest::newRow("branch digit")
            << branchEdit(3, 8, 1, u"3033"_s)
            << QStringList{u"1階(3,8)の分岐点：右一方通行 → 右２ｗａｙ"_s} << QList<K>{K::Branch};
        QTest::newRow("branch added")
            << branchEdit(5, 11, 2, u"3120"_s)
            << QStringList{u"2階(5,11)の分岐点：なし → 上２ｗａｙ 左通行禁止 右一方通行 下道なし"_s}
            << QList<K>{K::Branch};
        QTest::newRow("pair moved")
            << warpEdit(1, {8, 3, 1, 17, 14, 1})
            << QStringList{u"ワープ[A]の移動：1階(8,3)から1階(16,14)へ → 1階(8,3)から1階(17,14)へ"_s}
            << QList<K>{K::PairMoved};
        // The files keep the pairs' order, not their numbers.
        QTest::newRow("pair renumbered only") << Edit([](MapData &m) {
            m.setWarp(5, m.warp(3));
            m.setWarp(3, {});
        }) << QStringList() << QList<K>();
        QTest::newRow("pair added")
            << warpEdit(7, {2, 2, 2, 4, 4, 1})
            << QStringList{u"ワープ[G]の追加：2階(2,2)から1階(4,4)へ"_s} << QList<K>{K::PairAdded};
        QTest::newRow("floor added") << Edit([](MapData &m) { Floors::addFloor(m); })
                                     << QStringList{u"3階の追加"_s} << QList<K>{K::FloorAdded};
        // Pairs are listed on their source's floor, after that floor's own lines.
        QTest::newRow("floor removed")
            << Edit([](MapData &m) { Floors::deleteFloor(m, 2); })
            << QStringList{u"ワープ[C]の削除：1階(12,14)から2階(3,3)へ"_s, u"2階の削除"_s,
                           u"ワープ[D]の削除：2階(3,3)から1階(11,14)へ"_s}
            << QList<K>{K::PairRemoved, K::FloorRemoved, K::PairRemoved};
        QTest::newRow("texts")
            << Edit([](MapData &m) {
                   m.setFloorName(1, u"はじまりの森"_s);
                   m.setFloorBackground(1, u"img\\sky.bmp"_s);
                   m.setFloorEndText(2, u"がんばって\r\nね"_s);
               })
            << QStringList{u"1階のマップ名：「はじまりの草原」 → 「はじまりの森」"_s,
                           u"1階の背景画：なし → 「img\\sky.bmp」"_s,
                           u"2階のコメント：なし → 「がんばって↵ね」"_s}
            << QList<K>{K::FloorName, K::FloorBackground, K::FloorComment};
        QTest::newRow("saved and read again") << Edit([](MapData &m) {
            QTemporaryDir dir;
            MapFileWriter::save(m, dir.filePath(u"copy"_s));
            m = MapFileReader::load(dir.filePath(u"copy"_s)).map;
        }) << QStringList() << QList<K>();
    }
    void differences()
    {
        QFETCH(Edit, edit);
        QFETCH(QStringList, lines);
        const MapData before = meadow();
        MapData after = before;
        edit(after);
        const MapDiff::Result result = MapDiff::compare(before, after, mNames);
        QCOMPARE(result.lines(), lines);
        QTEST(kindsOf(result), "kinds");
        QCOMPARE(result.isSame(), lines.isEmpty());
    }

    void comparisonFollowsEdits()
    {
        MapDocument document;
        document.replace(meadow());
        MapComparison comparison(document, mNames);
        comparison.start(meadow(), meadowBase() + u".map"_s, false);
        QVERIFY(comparison.result().isSame());
        QSignalSpy changed(&comparison, &MapComparison::changed);
        document.layChip(5, 3, 1, u"12_+3"_s);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(comparison.result().lines(), QStringList{u"1階(5,3)：普通の道 → 3マス進む"_s});
        QCOMPARE(comparison.markedOn(1), QVector<QPoint>{QPoint(5, 3)});
        QVERIFY(comparison.markedOn(2).isEmpty());
        document.undo();
        QVERIFY(comparison.result().isSame());
        QVERIFY(comparison.markedOn(1).isEmpty());
        // Stopped, it neither marks cells nor follows edits.
        document.layChip(5, 3, 1, u"12_+3"_s);
        comparison.stop();
        QVERIFY(comparison.markedOn(1).isEmpty());
        document.layChip(6, 3, 1, u"12_+3"_s);
        QVERIFY(comparison.result().isSame());
    }

    void savedComparisonReadsSavesAgain_data()
    {
        QTest::addColumn<DocumentEdit>("edit");
        QTest::newRow("chip") << DocumentEdit(
            [](MapDocument &d) { d.layChip(5, 3, 1, u"12_+3"_s); });
        // Read back, the new pair comes before the transport of floor 1: numbered 3, not 5.
        QTest::newRow("pair linked out of file order") << DocumentEdit([](MapDocument &d) {
            d.setWarpSource(5, {2, 2}, 1);
            d.setWarpDestination(5, {4, 4}, 1);
        });
        // Code page 932 keeps 〜 as the bytes that read back as ～.
        QTest::newRow("name typed with a wave dash") << DocumentEdit([](MapDocument &d) {
            d.setFloorTexts(1, u"草原〜森"_s, d.data().floorBackground(1),
                            d.data().floorEndText(1));
        });
    }
    // Right after a save the saved files hold the map as it is: no difference is left.
    void savedComparisonReadsSavesAgain()
    {
        QFETCH(DocumentEdit, edit);
        QTemporaryDir dir;
        const QString base = dir.filePath(u"meadow"_s);
        QVERIFY(MapFileWriter::save(meadow(), base).ok());
        MapDocument document;
        MapData loaded = MapFileReader::load(base).map;
        document.replace(loaded, base);
        MapComparison comparison(document, mNames);
        QVERIFY(comparison.startWithSaved().ok());
        edit(document);
        QCOMPARE(comparison.result().differences.size(), 1);
        // Saving makes the files what the map is: nothing left to show.
        QVERIFY(MapFileWriter::save(document.data(), base).ok());
        document.markSaved();
        QVERIFY(comparison.result().isSame());
    }

private:
    ChipDescriptions mNames;
};

QTEST_GUILESS_MAIN(TestMapDiff)
#include "tst_mapdiff.moc"
