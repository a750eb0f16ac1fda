#include "board/mapmerge.h"
#include "filetestkit.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "mapfiletestmaps.h"
#include "model/cellstring.h"
#include "model/chipdescriptions.h"
#include "model/codetables.h"
#include "model/floors.h"
#include "model/mapdocument.h"
#include "session/editorsession.h"
#include "session/floorfilemerge.h"
#include "session/mapmergestate.h"
#include "sessionscript.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using Edit = MapEdit;

QString chip(int index)
{
    return CellString::make(index, CodeTables::chipCode(index));
}

const QString Double = chip(2);    // ダブル
const QString Recovery = chip(41); // 回復

// A side as its files hold it: pairs numbered in reading order, as a loaded map has them.
MapData edited(const Edit &edit)
{
    MapData map = meadow();
    if (edit)
        edit(map);
    return MapFileReader::loadFromMemory(floorFiles(map)).map;
}

Edit freeWarp(int pair)
{
    return [=](MapData &m) { m.freeWarp(pair); };
}

// Floors added or removed are files added or removed, which git merges itself: the rows for
// one floor file at a time leave them out.
void addMergeRows(bool withFloors)
{
    QTest::addColumn<Edit>("ours");
    QTest::addColumn<Edit>("theirs");
    QTest::addColumn<Edit>("expected");
    QTest::addColumn<QStringList>("conflicts");

    const Edit none;
    const Edit ours5 = cellEdit(5, 3, 1, Double);
    const Edit theirs9 = cellEdit(9, 3, 1, Recovery);
    QTest::newRow("cell ours") << ours5 << none << ours5 << QStringList();
    QTest::newRow("cell theirs") << none << theirs9 << theirs9 << QStringList();
    QTest::newRow("cell alike") << ours5 << ours5 << ours5 << QStringList();
    QTest::newRow("one row, two cells")
        << ours5 << theirs9 << edits({ours5, theirs9}) << QStringList();
    QTest::newRow("cell two ways") << ours5 << cellEdit(5, 3, 1, Recovery) << ours5
                                   << QStringList{u"1階(5,3)：ダブル（こちら） / 回復（あちら）"_s};
    // Names that read alike are told apart by their codes.
    QTest::newRow("cell numbers") << cellEdit(4, 3, 1, u"16_+4"_s) << cellEdit(4, 3, 1, u"16_+5"_s)
                                  << cellEdit(4, 3, 1, u"16_+4"_s)
                                  << QStringList{
                                         u"1階(4,3)：4マス進む（こちら） / 5マス進む（あちら）"_s};

    const Edit oursBranch = branchEdit(3, 8, 1, u"3033"_s);
    const Edit theirsBranch = branchEdit(3, 8, 1, u"3013"_s);
    QTest::newRow("branch theirs") << none << theirsBranch << theirsBranch << QStringList();
    QTest::newRow("branch two ways")
        << oursBranch << theirsBranch << oursBranch
        << QStringList{u"1階(3,8)の分岐点：右２ｗａｙ（こちら） / 右通行禁止（あちら）"_s};

    const Edit oursName = [](MapData &m) { m.setFloorName(1, u"森"_s); };
    const Edit theirsComment = [](MapData &m) { m.setFloorEndText(2, u"がんばって\r\nね"_s); };
    QTest::newRow("texts") << oursName << theirsComment << edits({oursName, theirsComment})
                           << QStringList();
    const Edit theirsName = [](MapData &m) { m.setFloorName(1, u"林"_s); };
    QTest::newRow("text two ways")
        << oursName << theirsName << oursName
        << QStringList{u"1階のマップ名：「森」（こちら） / 「林」（あちら）"_s};

    // Meadow's pairs: A and B on floor 1, C from floor 1 to 2, D from floor 2 to 1.
    const Edit oursPair = warpEdit(5, {2, 2, 2, 4, 4, 2});
    const Edit theirsPair = warpEdit(5, {5, 5, 2, 6, 6, 2});
    QTest::newRow("pairs added on two cells")
        << oursPair << theirsPair << edits({oursPair, warpEdit(6, {5, 5, 2, 6, 6, 2})})
        << QStringList();
    QTest::newRow("pair added alike") << oursPair << oursPair << oursPair << QStringList();
    QTest::newRow("pairs added on one cell")
        << oursPair << warpEdit(5, {2, 2, 2, 7, 7, 2}) << oursPair
        << QStringList{
               u"ワープ[D]：2階(2,2)から2階(4,4)へ（こちら） / 2階(2,2)から2階(7,7)へ（あちら）"_s};
    const Edit moveA = warpEdit(1, {8, 3, 1, 17, 14, 1});
    QTest::newRow("pair moved") << none << moveA << moveA << QStringList();
    QTest::newRow("pair removed") << freeWarp(2) << none << freeWarp(2) << QStringList();
    // Theirs' new pair on floor 1 comes before D in the files: D's number changes, not D.
    const Edit moveD = warpEdit(4, {3, 3, 2, 11, 13, 1});
    QTest::newRow("pair moved, pairs renumbered")
        << moveD << warpEdit(5, {1, 1, 1, 2, 1, 1})
        << edits({moveD, warpEdit(5, {1, 1, 1, 2, 1, 1})}) << QStringList();
    // Ours' new pair on floor 1 renumbers D as ours moves it: still D, by its source.
    const Edit addX = warpEdit(5, {1, 1, 1, 2, 1, 1});
    QTest::newRow("pair renumbered and moved two ways")
        << edits({addX, moveD}) << warpEdit(4, {3, 3, 2, 10, 13, 1}) << edits({addX, moveD})
        << QStringList{
               u"ワープ[E]：2階(3,3)から1階(11,13)へ（こちら） / 2階(3,3)から1階(10,13)へ（あちら）"_s};
    QTest::newRow("pair moved two ways")
        << moveA << warpEdit(1, {8, 3, 1, 18, 14, 1}) << moveA
        << QStringList{
               u"ワープ[A]：1階(8,3)から1階(17,14)へ（こちら） / 1階(8,3)から1階(18,14)へ（あちら）"_s};
    QTest::newRow("pair removed and moved")
        << freeWarp(1) << moveA << freeWarp(1)
        << QStringList{u"ワープ：なし（こちら） / 1階(8,3)から1階(17,14)へ（あちら）"_s};

    if (!withFloors)
        return;
    const Edit addFloor = [](MapData &m) {
        Floors::addFloor(m);
        m.setCell(2, 2, 3, Double);
    };
    const Edit deleteFloor2 = [](MapData &m) { Floors::deleteFloor(m, 2); };
    QTest::newRow("floor added") << none << addFloor << addFloor << QStringList();
    QTest::newRow("floor removed") << deleteFloor2 << none << deleteFloor2 << QStringList();
    QTest::newRow("floors added alike, cells merged")
        << addFloor << edits({addFloor, cellEdit(3, 3, 3, Recovery)})
        << edits({addFloor, cellEdit(3, 3, 3, Recovery)}) << QStringList();
    // Theirs' removal of C and D, which ours left alone, is taken with the floor kept.
    QTest::newRow("floor changed and removed")
        << cellEdit(4, 4, 2, Double) << deleteFloor2
        << edits({cellEdit(4, 4, 2, Double), freeWarp(3), freeWarp(4)})
        << QStringList{u"2階：変更（こちら） / 削除（あちら）"_s};
    QTest::newRow("floor removed and changed")
        << deleteFloor2 << cellEdit(4, 4, 2, Double) << deleteFloor2
        << QStringList{u"2階：削除（こちら） / 変更（あちら）"_s};
}

} // namespace

class TestMapMerge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        mNames = tavolinDescriptions();
        QVERIFY(!mNames.description(41).isEmpty());
        QCOMPARE(meadow().warpCount(), 4);
    }

    void merge_data() { addMergeRows(true); }
    void merge()
    {
        QFETCH(Edit, ours);
        QFETCH(Edit, theirs);
        QFETCH(Edit, expected);
        const MapMerge::Result result =
            MapMerge::merge(edited({}), edited(ours), edited(theirs), mNames);
        QTEST(result.lines(), "conflicts");
        QCOMPARE(floorFiles(result.merged), floorFiles(edited(expected)));
    }

    // The rows again, one floor file at a time as git's driver merges them.
    void floorFile_data() { addMergeRows(false); }
    void floorFile()
    {
        QFETCH(Edit, ours);
        QFETCH(Edit, theirs);
        QFETCH(Edit, expected);
        QFETCH(QStringList, conflicts);
        const QList<QByteArray> base = floorFiles(edited({}));
        const QList<QByteArray> oursFiles = floorFiles(edited(ours));
        const QList<QByteArray> theirsFiles = floorFiles(edited(theirs));
        const QList<QByteArray> expectedFiles = floorFiles(edited(expected));
        QStringList lines;
        for (int floor = 1; floor <= base.size(); ++floor) {
            const FloorFileMerge merged = FloorFileMerge::run(base[floor - 1], oursFiles[floor - 1],
                                                              theirsFiles[floor - 1], mNames);
            QVERIFY2(merged.ok(), qPrintable(merged.failure));
            QCOMPARE(merged.bytes, expectedFiles[floor - 1]);
            QCOMPARE(merged.changesOurs, merged.bytes != oursFiles[floor - 1]);
            lines += merged.merge.lines();
        }
        // Floor 1 is known by its start; floor 2's number is known to no file.
        for (QString &line : conflicts) {
            if (line.contains(u"2階"_s))
                line.replace(u"2階("_s, u"("_s)
                    .replace(u"2階："_s, u"："_s)
                    .replace(QRegularExpression(u"^ワープ\\[.\\]"_s), u"ワープ"_s);
        }
        QCOMPARE(lines, conflicts);
    }

    // Each choice is one step: undo makes its conflict left again, and the outlines follow.
    void resolveInEditor()
    {
        SessionFixture f;
        f.descriptions = mNames;
        EditorSession &session = f.session;
        MapDocument &document = f.document;
        const Edit oursEdit = edits({cellEdit(5, 3, 1, Double), warpEdit(1, {8, 3, 1, 17, 14, 1}),
                                     [](MapData &m) { m.setFloorName(1, u"森"_s); }});
        const Edit theirsEdit = edits({cellEdit(5, 3, 1, Recovery), cellEdit(9, 3, 1, Double),
                                       warpEdit(1, {8, 3, 1, 18, 14, 1}),
                                       [](MapData &m) { m.setFloorName(1, u"林"_s); }});
        session.takeLoadedMap(edited(oursEdit));
        MapMergeState &merge = session.merge();
        merge.start(edited({}), edited(theirsEdit), u"theirs.map"_s);
        QCOMPARE(merge.result().lines(),
                 QStringList({u"1階のマップ名：「森」（こちら） / 「林」（あちら）"_s,
                              u"1階(5,3)：ダブル（こちら） / 回復（あちら）"_s,
                              u"ワープ[A]：1階(8,3)から1階(17,14)へ（こちら） / "
                              "1階(8,3)から1階(18,14)へ（あちら）"_s}));
        QCOMPARE(document.undoStack().count(), 1);
        QCOMPARE(document.data().cell(9, 3, 1), Double);
        QCOMPARE(merge.leftCount(), 3);
        QVERIFY(merge.markedOn(1).contains(QPoint(5, 3)));

        merge.choose({1, 2}, MapMergeState::Side::Theirs);
        QCOMPARE(document.undoStack().count(), 2);
        QCOMPARE(document.data().cell(5, 3, 1), Recovery);
        QCOMPARE(document.data().warp(1), WarpRecord({8, 3, 1, 18, 14, 1}));
        QCOMPARE(merge.leftCount(), 1);
        QVERIFY(!merge.markedOn(1).contains(QPoint(5, 3)));
        merge.choose({0}, MapMergeState::Side::Base);
        QCOMPARE(document.data().floorName(1), meadow().floorName(1));
        QCOMPARE(merge.leftCount(), 0);

        QVERIFY(f.play(u"undo"_s));
        QCOMPARE(document.data().floorName(1), u"森"_s);
        QVERIFY(merge.isLeft(0));
        QVERIFY(f.play(u"undo"_s));
        QCOMPARE(document.data().cell(5, 3, 1), Double);
        QCOMPARE(merge.leftCount(), 3);
        // Ours where ours stands changes nothing: decided, with no step to take back.
        merge.choose({1}, MapMergeState::Side::Ours);
        QVERIFY(!merge.isLeft(1));
        QCOMPARE(document.undoStack().count(), 3);
        QCOMPARE(document.undoStack().index(), 1);

        // Another map opened ends the merge, even with its step taken back.
        QVERIFY(f.play(u"undo"_s));
        QSignalSpy abandoned(&merge, &MapMergeState::abandoned);
        session.takeLoadedMap(meadow());
        QCOMPARE(abandoned.count(), 1);
        QVERIFY(!merge.isActive());
        QVERIFY(merge.markedOn(1).isEmpty());
    }

    // git's mergetool names floor 2's file: the version replaces that floor, and the pair from
    // floor 2 to floor 1 still leads there.
    void mergetoolFloor()
    {
        QTemporaryDir dir;
        QVERIFY(MapFileWriter::save(meadow(), dir.filePath(u"meadow"_s)).ok());
        MapData changed = meadow();
        changed.setCell(4, 4, 2, Double);
        changed.setWarp(4, {3, 3, 2, 11, 13, 1});
        const QString version = dir.filePath(u"meadow_REMOTE_7.map"_s);
        QVERIFY(writeFile(version, MapFileWriter::encodeFloor(changed, 2).bytes));
        const MapLoadResult loaded =
            MapMergeState::mapWithFloorFrom(dir.filePath(u"meadow_2.map"_s), version);
        QVERIFY(loaded.ok());
        QCOMPARE(floorFiles(loaded.map), floorFiles(changed));
    }

private:
    ChipDescriptions mNames;
};

QTEST_GUILESS_MAIN(TestMapMerge)
#include "tst_mapmerge.moc"
