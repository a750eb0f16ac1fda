#include "board/mapcheck.h"
#include "model/mapdata.h"
#include "session/editorsession.h"
#include "sessionscript.h"

#include <functional>

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MapData)
Q_DECLARE_METATYPE(MapCheck::Reachability)
Q_DECLARE_METATYPE(MapCheck::Verdict)

namespace {

using Reach = MapCheck::Reachability;
using Verdict = MapCheck::Verdict;

const QString StartOk = QStringLiteral("ふりだしの数は正常です。");
const QString NoStart = QStringLiteral("【Error】ふりだしがありません。");
const QString StartNotOnFloor1 =
    QStringLiteral("【Error】ふりだしは１階に置かないと動作しません。");
const QString GoalOk = QStringLiteral("あがりの数は正常です。");
const QString NoGoal = QStringLiteral("【Error】あがりがありません。");
const QString WarpsOk = QStringLiteral("ワープの設定は正常です。");
const QString Reached = QStringLiteral("あがりまでの道は、きちんとつながっています。");
const QString NoPath = QStringLiteral("【Error】ふりだしからあがりまで、道がつながっていません。");
const QString Abandoned = QStringLiteral("マップが特殊すぎて、到達チェックを行えませんでした。");
const QString Separator = QStringLiteral("---------------------------------------------");
const QString Impossible = QStringLiteral("このマップをクリアすることは不可能です。");
const QString MayBreak = QStringLiteral("このマップは、プレイ中にバグる可能性があります。");
const QString NoProblem = QStringLiteral("このマップに、特に重大な問題は見つかりませんでした。");

// One character per cell, rows from the top, missing cells empty:
// '.' empty, '#' road, 'S' start, 'G' goal, '1'..'5' the warp chips W1..W5.
QString cellFor(QChar c)
{
    switch (c.unicode()) {
    case u'#':
        return QStringLiteral("01_[]");
    case u'S':
        return QStringLiteral("33_S_");
    case u'G':
        return QStringLiteral("34_G_");
    case u'1':
        return QStringLiteral("37_W1");
    case u'2':
        return QStringLiteral("38_W2");
    case u'3':
        return QStringLiteral("39_W3");
    case u'4':
        return QStringLiteral("36_W4");
    case u'5':
        return QStringLiteral("35_W5");
    default:
        return QStringLiteral("00_  ");
    }
}

MapData makeMap(const QList<QStringList> &floors)
{
    MapData map = MapData::resetMap();
    map.setFloorCount(int(floors.size()));
    for (int f = 0; f < floors.size(); ++f) {
        const QStringList &rows = floors.at(f);
        for (int y = 0; y < rows.size(); ++y) {
            for (int x = 0; x < rows.at(y).size(); ++x)
                map.setCell(x + 1, y + 1, f + 1, cellFor(rows.at(y).at(x)));
        }
    }
    return map;
}

struct Cell
{
    int x, y, floor;
};

void setPair(MapData &map, int pair, Cell from, Cell to)
{
    const auto b = [](int v) { return std::uint8_t(v); };
    map.setWarp(pair, {b(from.x), b(from.y), b(from.floor), b(to.x), b(to.y), b(to.floor)});
}

// Floor 1 all road, walked as a snake from the bottom-left start: row 16 to the right, row 15
// to the left and so on up. Every cell may leave along its row and upwards, so each one
// except the row ends has two ways on: 23 pending branch points per row.
MapData snakeMap(Cell goal)
{
    MapData map = MapData::resetMap();
    for (int y = 1; y <= 16; ++y) {
        const bool toRight = (16 - y) % 2 == 0;
        for (int x = 1; x <= 24; ++x) {
            map.setCell(x, y, 1, QStringLiteral("01_[]"));
            const bool rowEnd = toRight ? x == 24 : x == 1;
            map.setBranch(x, y, 1,
                          rowEnd    ? QStringLiteral("3000")
                          : toRight ? QStringLiteral("3030")
                                    : QStringLiteral("3300"));
        }
    }
    map.setCell(1, 16, 1, QStringLiteral("33_S_"));
    map.setCell(goal.x, goal.y, goal.floor, QStringLiteral("34_G_"));
    return map;
}

QString withDigit(int direction, QChar digit)
{
    QString setting = QStringLiteral("0000");
    setting[direction - 1] = digit;
    return setting;
}

} // namespace

class TestMapCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void report_data();
    void report();
    void branchDigits_data();
    void branchDigits();
    void pendingBranchPoints_data();
    void pendingBranchPoints();
    void locateUnlinkedWarp_data();
    void locateUnlinkedWarp();
    void overlay_data();
    void overlay();
    void overlayLifetime_data();
    void overlayLifetime();
};

void TestMapCheck::report_data()
{
    QTest::addColumn<MapData>("map");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Reach>("reach");
    QTest::addColumn<Verdict>("verdict");

    QTest::newRow("empty map: the minimal five lines")
        << makeMap({{}}) << QStringList{NoStart, NoGoal, WarpsOk, Separator, Impossible}
        << Reach::NotSearched << Verdict::CannotBeCleared;
    QTest::newRow("no start") << makeMap({{QStringLiteral("#G")}})
                              << QStringList{NoStart, GoalOk, WarpsOk, Separator, Impossible}
                              << Reach::NotSearched << Verdict::CannotBeCleared;
    QTest::newRow("no goal") << makeMap({{QStringLiteral("S#")}})
                             << QStringList{StartOk, NoGoal, WarpsOk, Separator, Impossible}
                             << Reach::NotSearched << Verdict::CannotBeCleared;
    QTest::newRow("one start, one goal")
        << makeMap({{QStringLiteral("S#G")}})
        << QStringList{StartOk, GoalOk, WarpsOk, Reached, Separator, NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;
    QTest::newRow("several goals are accepted")
        << makeMap({{QStringLiteral("G#S#G")}, {QStringLiteral("G")}})
        << QStringList{StartOk, GoalOk, WarpsOk, Reached, Separator, NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;

    QTest::newRow("starts on floors 1 and 3")
        << makeMap({{QString(), QStringLiteral("S#G")},
                    {},
                    {QString(), QString(), QString(), QString(), QStringLiteral("...S")}})
        << QStringList{QStringLiteral("ふりだしが2個もあります。１階(1,2)のふりだしが有効です。"),
                       GoalOk,
                       WarpsOk,
                       Reached,
                       Separator,
                       NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;
    QTest::newRow("start only on floor 2")
        << makeMap({{QStringLiteral("#G")}, {QStringLiteral("S#G")}})
        << QStringList{StartNotOnFloor1, GoalOk, WarpsOk, Separator, Impossible}
        << Reach::NotSearched << Verdict::CannotBeCleared;
    // The earlier start (1,2) is cut off; only the later one reaches the goal.
    QTest::newRow("two starts on floor 1, same row: the right one counts")
        << makeMap({{QString(), QStringLiteral("S.S#G")}})
        << QStringList{QStringLiteral("ふりだしが2個もあります。１階(3,2)のふりだしが有効です。"),
                       GoalOk,
                       WarpsOk,
                       Reached,
                       Separator,
                       NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;
    QTest::newRow("two starts on floor 1: the lower one counts, not the one further right")
        << makeMap({{QStringLiteral("....S"), QString(), QStringLiteral("S#G")}})
        << QStringList{QStringLiteral("ふりだしが2個もあります。１階(1,3)のふりだしが有効です。"),
                       GoalOk,
                       WarpsOk,
                       Reached,
                       Separator,
                       NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;
    QTest::newRow("two starts on floor 1: the later one is cut off")
        << makeMap({{QStringLiteral("S#G"), QString(), QString(), QStringLiteral(".S")}})
        << QStringList{QStringLiteral("ふりだしが2個もあります。１階(2,4)のふりだしが有効です。"),
                       GoalOk,
                       WarpsOk,
                       NoPath,
                       Separator,
                       Impossible}
        << Reach::NoPath << Verdict::CannotBeCleared;

    // A cell with the start's code but not the start chip counts, yet the search leaves
    // from the start chip.
    MapData startCode = makeMap({{QStringLiteral("S#G")}});
    startCode.setCell(1, 3, 1, QStringLiteral("01_S_"));
    QTest::newRow("start code without the start chip")
        << startCode
        << QStringList{QStringLiteral("ふりだしが2個もあります。１階(1,3)のふりだしが有効です。"),
                       GoalOk,
                       WarpsOk,
                       Reached,
                       Separator,
                       NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;

    // The dead end below (1,2) must lead back to (1,2), the latest branch point, whose way
    // right is the only one to the goal: (2,1) lets nothing out.
    MapData latestFirst =
        makeMap({{QStringLiteral("S#"), QStringLiteral("##G"), QStringLiteral("#")}});
    latestFirst.setBranch(2, 1, 1, QStringLiteral("0000"));
    QTest::newRow("dead end returns to the latest branch point")
        << latestFirst << QStringList{StartOk, GoalOk, WarpsOk, Reached, Separator, NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;

    MapData closedStart = makeMap({{QStringLiteral("S#G")}});
    closedStart.setBranch(1, 1, 1, QStringLiteral("0000"));
    QTest::newRow("start closed by 0000")
        << closedStart << QStringList{StartOk, GoalOk, WarpsOk, NoPath, Separator, Impossible}
        << Reach::NoPath << Verdict::CannotBeCleared;
    // Its "0" to the left faces the start: a neighbour's setting never stops entering it.
    MapData closedBehind = makeMap({{QStringLiteral("S#G")}});
    closedBehind.setBranch(2, 1, 1, QStringLiteral("0010"));
    QTest::newRow("neighbour closed towards the start is still entered")
        << closedBehind << QStringList{StartOk, GoalOk, WarpsOk, Reached, Separator, NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;

    MapData nextBack = makeMap({{QStringLiteral("S#4")}, {QStringLiteral("5#G")}});
    setPair(nextBack, 1, {3, 1, 1}, {1, 1, 2});
    setPair(nextBack, 2, {1, 1, 2}, {3, 1, 1});
    QTest::newRow("goal on floor 2 through a NEXT/BACK pair")
        << nextBack << QStringList{StartOk, GoalOk, WarpsOk, Reached, Separator, NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;

    MapData nextBackOneFloor = makeMap({{QStringLiteral("S#4..5#G")}});
    setPair(nextBackOneFloor, 1, {3, 1, 1}, {6, 1, 1});
    setPair(nextBackOneFloor, 2, {6, 1, 1}, {3, 1, 1});
    QTest::newRow("NEXT/BACK pair on one floor is not followed")
        << nextBackOneFloor
        << QStringList{StartOk,
                       GoalOk,
                       QStringLiteral("【Error】1階(3,1)のNEXT/BACKは、階層をまたいでいません。"),
                       QStringLiteral("【Error】1階(6,1)のNEXT/BACKは、階層をまたいでいません。"),
                       NoPath,
                       Separator,
                       Impossible}
        << Reach::NoPath << Verdict::CannotBeCleared;

    MapData warpAcross = makeMap({{QStringLiteral("S#1")}, {QStringLiteral("##G")}});
    setPair(warpAcross, 1, {3, 1, 1}, {1, 1, 2});
    QTest::newRow("warp to another floor is not followed")
        << warpAcross
        << QStringList{StartOk,
                       GoalOk,
                       QStringLiteral(
                           "【Error】1階(3,1)のワープは、同じ階層内にワープしなければなりません。"),
                       NoPath,
                       Separator,
                       Impossible}
        << Reach::NoPath << Verdict::CannotBeCleared;

    MapData warpOnFloor = makeMap({{QStringLiteral("S#2.#G")}});
    setPair(warpOnFloor, 1, {3, 1, 1}, {5, 1, 1});
    QTest::newRow("warp taken at a dead end")
        << warpOnFloor << QStringList{StartOk, GoalOk, WarpsOk, Reached, Separator, NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;

    // The warp cell's road neighbour below is a dead end; the search comes back for the warp.
    MapData warpAfterReturn = makeMap({{QStringLiteral("S3.#G"), QStringLiteral(".#")}});
    setPair(warpAfterReturn, 1, {2, 1, 1}, {4, 1, 1});
    QTest::newRow("neighbour and warp: the warp after returning")
        << warpAfterReturn << QStringList{StartOk, GoalOk, WarpsOk, Reached, Separator, NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;

    MapData visitedExit = makeMap({{QStringLiteral("S1.G")}});
    setPair(visitedExit, 1, {2, 1, 1}, {1, 1, 1});
    setPair(visitedExit, 2, {2, 1, 1}, {4, 1, 1});
    QTest::newRow("pair into a visited cell passes to the next pair")
        << visitedExit << QStringList{StartOk, GoalOk, WarpsOk, Reached, Separator, NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;

    MapData faultyFirst = makeMap({{QStringLiteral("S1.G")}, {QStringLiteral("#")}});
    setPair(faultyFirst, 1, {2, 1, 1}, {1, 1, 2});
    setPair(faultyFirst, 2, {2, 1, 1}, {4, 1, 1});
    QTest::newRow("faulty first pair of a cell, the second is followed")
        << faultyFirst
        << QStringList{StartOk,
                       GoalOk,
                       QStringLiteral(
                           "【Error】1階(2,1)のワープは、同じ階層内にワープしなければなりません。"),
                       Reached,
                       Separator,
                       MayBreak}
        << Reach::GoalReached << Verdict::MayBreakDuringPlay;

    QStringList floor2(7);
    floor2[6] = QStringLiteral("....1");
    QTest::newRow("unlinked warp cell on floor 2 at (5,7)")
        << makeMap({{QStringLiteral("S#G")}, floor2})
        << QStringList{StartOk,
                       GoalOk,
                       QStringLiteral("【Error】2階の(5,7)"
                                      "に、設定されていないワープマスがあります。"),
                       Reached,
                       Separator,
                       MayBreak}
        << Reach::GoalReached << Verdict::MayBreakDuringPlay;

    QStringList columnOrder(9);
    columnOrder[0] = QStringLiteral("S#G");
    columnOrder[1] = QStringLiteral("...3");
    columnOrder[8] = QStringLiteral("..3");
    QTest::newRow("warp cells are reported column by column")
        << makeMap({columnOrder})
        << QStringList{StartOk,
                       GoalOk,
                       QStringLiteral(
                           "【Error】1階の(3,9)に、設定されていないワープマスがあります。"),
                       QStringLiteral(
                           "【Error】1階の(4,2)に、設定されていないワープマスがあります。"),
                       Reached,
                       Separator,
                       MayBreak}
        << Reach::GoalReached << Verdict::MayBreakDuringPlay;

    // Records with destination floor 0: an unfinished pair and a deleted one.
    for (const QChar kind : {u'1', u'4'}) {
        MapData deleted = makeMap({{QStringLiteral("S#") + kind + QStringLiteral("#G")}});
        deleted.setWarp(1, {3, 1, 1, 5, 1, 0});
        deleted.setWarp(2, {2, 1, 1, 0, 0, 0});
        QTest::addRow("warp cell W%c left after its pair was deleted", kind.toLatin1())
            << deleted
            << QStringList{StartOk,
                           GoalOk,
                           QStringLiteral("【Error】1階の(3,1)"
                                          "に、設定されていないワープマスがあります。"),
                           Reached,
                           Separator,
                           MayBreak}
            << Reach::GoalReached << Verdict::MayBreakDuringPlay;
    }

    MapData notWorking = makeMap({{QStringLiteral("S###G")}});
    setPair(notWorking, 27, {2, 1, 1}, {4, 1, 1});
    QTest::newRow("pair leaving from a road cell alone: good verdict")
        << notWorking
        << QStringList{StartOk, GoalOk,    QStringLiteral("ワープ[あ]は機能していません。"),
                       Reached, Separator, NoProblem}
        << Reach::GoalReached << Verdict::NoSeriousProblem;

    // Were the pair followed, the goal next to its exit would be reached.
    MapData emptyExit = makeMap({{QStringLiteral("S1.G")}});
    setPair(emptyExit, 28, {2, 1, 1}, {3, 1, 1});
    QTest::newRow("pair into an empty cell is not followed")
        << emptyExit
        << QStringList{StartOk,
                       GoalOk,
                       QStringLiteral("【Error】ワープ[イ]の出口にはマスがありません。"),
                       NoPath,
                       Separator,
                       Impossible}
        << Reach::NoPath << Verdict::CannotBeCleared;
}

void TestMapCheck::report()
{
    QFETCH(MapData, map);
    QFETCH(QStringList, lines);
    QFETCH(Reach, reach);
    QFETCH(Verdict, verdict);

    const MapCheck::Report report = MapCheck::run(map);
    QCOMPARE(report.lines, lines);
    QCOMPARE(report.reachability, reach);
    QCOMPARE(report.verdict, verdict);
}

// The start at (2,2) with the goal next to it in one direction; the start's setting has the
// given digit towards the goal and "0" elsewhere.
void TestMapCheck::branchDigits_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QChar>("digit");
    QTest::addColumn<bool>("reached");

    const char *names[] = {"", "up", "left", "right", "down"};
    for (int d = 1; d <= 4; ++d) {
        for (const QChar digit : {u'0', u'1', u'2', u'3'})
            QTest::addRow("%s %c", names[d], digit.toLatin1()) << d << digit << (digit != u'0');
    }
}

void TestMapCheck::branchDigits()
{
    QFETCH(int, direction);
    QFETCH(QChar, digit);
    QFETCH(bool, reached);

    QStringList rows{QStringLiteral("..."), QStringLiteral(".S."), QStringLiteral("...")};
    const int goalX[] = {0, 2, 1, 3, 2};
    const int goalY[] = {0, 1, 2, 2, 3};
    rows[goalY[direction] - 1][goalX[direction] - 1] = u'G';
    MapData map = makeMap({rows});
    map.setBranch(2, 2, 1, withDigit(direction, digit));

    const QStringList expected =
        reached ? QStringList{StartOk, GoalOk, WarpsOk, Reached, Separator, NoProblem}
                : QStringList{StartOk, GoalOk, WarpsOk, NoPath, Separator, Impossible};
    QCOMPARE(MapCheck::run(map).lines, expected);
}

void TestMapCheck::pendingBranchPoints_data()
{
    QTest::addColumn<MapData>("map");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Reach>("reach");

    // Rows 16..6 leave 11 * 23 = 253 branch points pending, (24,5) the 254th.
    QTest::newRow("254 pending: goal found")
        << snakeMap({23, 5, 1})
        << QStringList{StartOk, GoalOk, WarpsOk, Reached, Separator, NoProblem}
        << Reach::GoalReached;
    QTest::newRow("a 255th branch point: search abandoned")
        << snakeMap({22, 5, 1})
        << QStringList{StartOk, GoalOk, WarpsOk, Abandoned, Separator, NoProblem}
        << Reach::SearchAbandoned;

    MapData withError = snakeMap({1, 1, 1});
    withError.setCell(24, 1, 1, QStringLiteral("37_W1"));
    QTest::newRow("abandoned search still gets its verdict")
        << withError
        << QStringList{StartOk,
                       GoalOk,
                       QStringLiteral(
                           "【Error】1階の(24,1)に、設定されていないワープマスがあります。"),
                       Abandoned,
                       Separator,
                       MayBreak}
        << Reach::SearchAbandoned;

    // The warp beside the start leads straight to the goal, but the road neighbours come
    // first and their branch points fill the stack before the search comes back.
    MapData warpWaits = snakeMap({1, 1, 1});
    warpWaits.setBranch(1, 16, 1, QStringLiteral("0010"));
    warpWaits.setCell(2, 16, 1, QStringLiteral("37_W1"));
    setPair(warpWaits, 1, {2, 16, 1}, {1, 1, 1});
    QTest::newRow("neighbours before the warp")
        << warpWaits << QStringList{StartOk, GoalOk, WarpsOk, Abandoned, Separator, NoProblem}
        << Reach::SearchAbandoned;
}

void TestMapCheck::pendingBranchPoints()
{
    QFETCH(MapData, map);
    QFETCH(QStringList, lines);
    QFETCH(Reach, reach);

    const MapCheck::Report report = MapCheck::run(map);
    QCOMPARE(report.lines, lines);
    QCOMPARE(report.reachability, reach);
}

void TestMapCheck::locateUnlinkedWarp_data()
{
    QTest::addColumn<MapData>("map");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("warning");

    QTest::newRow("no warp cells") << makeMap({{QStringLiteral("S#G")}}) << 0 << QString();

    MapData linked = makeMap({{QStringLiteral("1.1")}, {QStringLiteral("4")}});
    setPair(linked, 1, {1, 1, 1}, {3, 1, 1});
    setPair(linked, 2, {3, 1, 1}, {1, 1, 1});
    setPair(linked, 3, {1, 1, 2}, {1, 1, 1});
    QTest::newRow("every warp cell is a source") << linked << 0 << QString();

    QStringList floor2(7);
    floor2[6] = QStringLiteral("....1");
    QTest::newRow("floor 2 at (5,7)")
        << makeMap({{QStringLiteral("S#G")}, floor2}) << 5072
        << QStringLiteral("2階の(5,7)に、設定されていないワープマスがあります。");

    QStringList columnOrder(9);
    columnOrder[1] = QStringLiteral("...3");
    columnOrder[8] = QStringLiteral("..3");
    QTest::newRow("columns before rows")
        << makeMap({columnOrder}) << 3091
        << QStringLiteral("1階の(3,9)に、設定されていないワープマスがあります。");

    QStringList firstLinked(5);
    firstLinked[0] = QStringLiteral("2");
    firstLinked[4] = QStringLiteral("2");
    MapData skipLinked = makeMap({firstLinked});
    setPair(skipLinked, 1, {1, 1, 1}, {1, 3, 1});
    QTest::newRow("a linked cell is passed over")
        << skipLinked << 1051
        << QStringLiteral("1階の(1,5)に、設定されていないワープマスがあります。");

    MapData deleted = makeMap({{QStringLiteral("#5")}});
    deleted.setWarp(1, {2, 1, 1, 4, 4, 0});
    QTest::newRow("record without destination")
        << deleted << 2011
        << QStringLiteral("1階の(2,1)に、設定されていないワープマスがあります。");

    QStringList floor3(7);
    floor3[6] = QStringLiteral("...........4");
    QTest::newRow("two-digit column")
        << makeMap({{}, {}, floor3}) << 12073
        << QStringLiteral("3階の(12,7)に、設定されていないワープマスがあります。");

    MapData unusedFloor = makeMap({{QStringLiteral("S#G")}});
    unusedFloor.setCell(1, 1, 2, QStringLiteral("37_W1"));
    QTest::newRow("floors beyond the floor count are not scanned") << unusedFloor << 0 << QString();
}

void TestMapCheck::locateUnlinkedWarp()
{
    QFETCH(MapData, map);
    QFETCH(int, code);
    QFETCH(QString, warning);

    QCOMPARE(MapCheck::findUnlinkedWarpCell(map), code);
    if (code != 0)
        QCOMPARE(MapCheck::unlinkedWarpText(code), warning);
}

// Cells as "x,y" joined by blanks, in the order given.
QString cellList(const QVector<QPoint> &cells)
{
    QStringList parts;
    for (const QPoint &cell : cells)
        parts.append(QStringLiteral("%1,%2").arg(cell.x()).arg(cell.y()));
    return parts.join(u' ');
}

void TestMapCheck::overlay_data()
{
    QTest::addColumn<MapData>("map");
    QTest::addColumn<int>("floor");
    QTest::addColumn<QString>("visited"); // by row, then column
    QTest::addColumn<QString>("route");   // from the start on
    QTest::addColumn<QString>("named");

    // The search goes down first, so it tries the dead end below before the goal.
    QTest::newRow("reached goal: route skips the dead end")
        << makeMap({{u"S#G"_s, u"#"_s, u"#"_s}}) << 1 << u"1,1 2,1 3,1 1,2 1,3"_s
        << u"1,1 2,1 3,1"_s << QString();
    QTest::newRow("broken road: every cell tried, no route")
        << makeMap({{u"S#.G"_s, u".#"_s}}) << 1 << u"1,1 2,1 2,2"_s << QString() << QString();
    MapData warped = makeMap({{u"S4"_s}, {u"#4"_s, u"G"_s}});
    setPair(warped, 1, {2, 1, 1}, {1, 1, 2});
    setPair(warped, 2, {2, 1, 2}, {3, 3, 2}); // a NEXT cell on its own floor, and no exit
    QTest::newRow("route across floors, floor 2")
        << warped << 2 << u"1,1 1,2"_s << u"1,1 1,2"_s << u"2,1 3,3"_s;
    MapData unlinked =
        makeMap({{u"S#G"_s},
                 {u"...."_s, u"...."_s, u"...."_s, u"...."_s, u"...."_s, u"...."_s, u"....3"_s}});
    setPair(unlinked, 3, {9, 9, 1}, {2, 1, 1}); // its source is no warp cell
    QTest::newRow("warp faults are named, the search sees only floor 1")
        << unlinked << 2 << QString() << QString() << u"5,7"_s;
    QTest::newRow("pair without a warp cell names its source")
        << unlinked << 1 << u"1,1 2,1 3,1"_s << u"1,1 2,1 3,1"_s << u"9,9"_s;
}

void TestMapCheck::overlay()
{
    QFETCH(MapData, map);
    QFETCH(int, floor);
    const MapCheck::Report report = MapCheck::run(map);
    QCOMPARE(report.places.size(), report.lines.size());
    QTEST(cellList(report.visitedOn(floor)), "visited");
    QTEST(cellList(report.routeOn(floor)), "route");
    QTEST(cellList(report.namedOn(floor)), "named");
}

using SessionStep = std::function<void(EditorSession &)>;
Q_DECLARE_METATYPE(SessionStep)

void TestMapCheck::overlayLifetime_data()
{
    QTest::addColumn<SessionStep>("step");
    QTest::addColumn<bool>("shown");
    QTest::newRow("a chip laid drops it")
        << SessionStep([](EditorSession &s) { s.document().layChip(9, 9, 1, u"01_[]"_s); })
        << false;
    QTest::newRow("naming the map keeps it")
        << SessionStep([](EditorSession &s) { s.document().setFileName(u"/maps/castle"_s); })
        << true;
    QTest::newRow("switched off") << SessionStep([](EditorSession &s) { s.checks().setOn(false); })
                                  << false;
}

void TestMapCheck::overlayLifetime()
{
    QFETCH(SessionStep, step);
    SessionFixture f;
    f.document.replace(makeMap({{u"S#G"_s}}));
    f.session.checks().run();
    QVERIFY(f.session.checks().shown());

    step(f.session);
    QTEST(f.session.checks().shown() != nullptr, "shown");
}

QTEST_APPLESS_MAIN(TestMapCheck)
#include "tst_mapcheck.moc"
