#include "board/mapcheck.h"
#include "filetestkit.h"
#include "session/editorsession.h"
#include "sessionscript.h"

#include <functional>

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MapData)

namespace {

const QString StartOk = u"ふりだしの数は正常です。"_s;
const QString NoStart = u"【Error】ふりだしがありません。"_s;
const QString GoalOk = u"あがりの数は正常です。"_s;
const QString NoGoal = u"【Error】あがりがありません。"_s;
const QString WarpsOk = u"ワープの設定は正常です。"_s;
const QString Reached = u"あがりまでの道は、きちんとつながっています。"_s;
const QString NoPath = u"【Error】ふりだしからあがりまで、道がつながっていません。"_s;
const QString Abandoned = u"マップが特殊すぎて、到達チェックを行えませんでした。"_s;
const QString Separator = u"---------------------------------------------"_s;
const QString Impossible = u"このマップをクリアすることは不可能です。"_s;
const QString MayBreak = u"このマップは、プレイ中にバグる可能性があります。"_s;
const QString NoProblem = u"このマップに、特に重大な問題は見つかりませんでした。"_s;

// The report's lines: start, goal, warps, the search (none when it never ran), the verdict.
QStringList reportLines(const QString &start, const QString &goal, const QStringList &warps,
                        const QString &search, const QString &verdict)
{
    QStringList lines = QStringList{start, goal} + warps;
    if (!search.isEmpty())
        lines.append(search);
    return lines << Separator << verdict;
}

const QStringList Clean = reportLines(StartOk, GoalOk, {WarpsOk}, Reached, NoProblem);
const QStringList Cut = reportLines(StartOk, GoalOk, {WarpsOk}, NoPath, Impossible);

QString twoStarts(const QString &valid)
{
    return u"ふりだしが2個もあります。１階(%1)のふりだしが有効です。"_s.arg(valid);
}

QString unlinkedWarp(const QString &place, const QString &mark = u"【Error】"_s)
{
    return mark + u"%1に、設定されていないワープマスがあります。"_s.arg(place);
}

// Floor 1 all road, walked as a snake from the bottom-left start: row 16 to the right, row 15
// to the left and so on up. Every cell may leave along its row and upwards, so each one
// except the row ends has two ways on: 23 pending branch points per row.
MapData snakeMap(int goalX, int goalY)
{
    MapData map = MapData::resetMap();
    for (int y = 1; y <= 16; ++y) {
        const bool toRight = (16 - y) % 2 == 0;
        for (int x = 1; x <= 24; ++x) {
            map.setCell(x, y, 1, u"01_[]"_s);
            const bool rowEnd = toRight ? x == 24 : x == 1;
            map.setBranch(x, y, 1, rowEnd ? u"3000"_s : toRight ? u"3030"_s : u"3300"_s);
        }
    }
    map.setCell(1, 16, 1, u"33_S_"_s);
    map.setCell(goalX, goalY, 1, u"34_G_"_s);
    return map;
}

// Cells as "x,y" joined by blanks, in the order given.
QString cellList(const QVector<QPoint> &cells)
{
    QStringList parts;
    for (const QPoint &cell : cells)
        parts.append(u"%1,%2"_s.arg(cell.x()).arg(cell.y()));
    return parts.join(u' ');
}

using SessionStep = std::function<void(EditorSession &)>;

} // namespace

Q_DECLARE_METATYPE(SessionStep)

class TestMapCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void report_data()
    {
        QTest::addColumn<MapData>("map");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("empty map: the minimal five lines")
            << pictureMap({}) << reportLines(NoStart, NoGoal, {WarpsOk}, {}, Impossible);
        QTest::newRow("no start") << pictureMap(u"#G"_s)
                                  << reportLines(NoStart, GoalOk, {WarpsOk}, {}, Impossible);
        QTest::newRow("no goal") << pictureMap(u"S#"_s)
                                 << reportLines(StartOk, NoGoal, {WarpsOk}, {}, Impossible);
        QTest::newRow("one start, one goal") << pictureMap(u"S#G"_s) << Clean;
        QTest::newRow("several goals are accepted") << pictureMap(u"G#S#G|G"_s) << Clean;

        QTest::newRow("starts on floors 1 and 3")
            << pictureMap(u"/S#G||////...S"_s)
            << reportLines(twoStarts(u"1,2"_s), GoalOk, {WarpsOk}, Reached, NoProblem);
        QTest::newRow("start only on floor 2")
            << pictureMap(u"#G|S#G"_s)
            << reportLines(u"【Error】ふりだしは１階に置かないと動作しません。"_s, GoalOk,
                           {WarpsOk}, {}, Impossible);
        // The earlier start (1,2) is cut off; only the later one reaches the goal.
        QTest::newRow("two starts on floor 1, same row: the right one counts")
            << pictureMap(u"/S.S#G"_s)
            << reportLines(twoStarts(u"3,2"_s), GoalOk, {WarpsOk}, Reached, NoProblem);
        QTest::newRow("two starts on floor 1: the lower one counts, not the one further right")
            << pictureMap(u"....S//S#G"_s)
            << reportLines(twoStarts(u"1,3"_s), GoalOk, {WarpsOk}, Reached, NoProblem);
        QTest::newRow("two starts on floor 1: the later one is cut off")
            << pictureMap(u"S#G///.S"_s)
            << reportLines(twoStarts(u"2,4"_s), GoalOk, {WarpsOk}, NoPath, Impossible);

        // A cell with the start's code but not the start chip counts, yet the search leaves
        // from the start chip.
        MapData startCode = pictureMap(u"S#G"_s);
        startCode.setCell(1, 3, 1, u"01_S_"_s);
        QTest::newRow("start code without the start chip")
            << startCode << reportLines(twoStarts(u"1,3"_s), GoalOk, {WarpsOk}, Reached, NoProblem);

        // The dead end below (1,2) must lead back to (1,2), the latest branch point, whose
        // way right is the only one to the goal: (2,1) lets nothing out.
        QTest::newRow("dead end returns to the latest branch point")
            << pictureMap(u"S#/##G/#"_s, {u"2,1,1=0000"_s}) << Clean;
        QTest::newRow("start closed by 0000") << pictureMap(u"S#G"_s, {u"1,1,1=0000"_s}) << Cut;
        // Its "0" to the left faces the start: a neighbour's setting never stops entering it.
        QTest::newRow("neighbour closed towards the start is still entered")
            << pictureMap(u"S#G"_s, {u"2,1,1=0010"_s}) << Clean;

        QTest::newRow("goal on floor 2 through a NEXT/BACK pair")
            << pictureMap(u"S#4|5#G"_s, {}, {u"3,1,1>1,1,2"_s, u"1,1,2>3,1,1"_s}) << Clean;
        QTest::newRow("NEXT/BACK pair on one floor is not followed")
            << pictureMap(u"S#4..5#G"_s, {}, {u"3,1,1>6,1,1"_s, u"6,1,1>3,1,1"_s})
            << reportLines(StartOk, GoalOk,
                           {u"【Error】1階(3,1)のNEXT/BACKは、階層をまたいでいません。"_s,
                            u"【Error】1階(6,1)のNEXT/BACKは、階層をまたいでいません。"_s},
                           NoPath, Impossible);
        QTest::newRow("warp to another floor is not followed")
            << pictureMap(u"S#1|##G"_s, {}, {u"3,1,1>1,1,2"_s})
            << reportLines(
                   StartOk, GoalOk,
                   {u"【Error】1階(3,1)のワープは、同じ階層内にワープしなければなりません。"_s},
                   NoPath, Impossible);
        QTest::newRow("warp taken at a dead end")
            << pictureMap(u"S#2.#G"_s, {}, {u"3,1,1>5,1,1"_s}) << Clean;
        // The warp cell's road neighbour below is a dead end; the search comes back for it.
        QTest::newRow("neighbour and warp: the warp after returning")
            << pictureMap(u"S3.#G/.#"_s, {}, {u"2,1,1>4,1,1"_s}) << Clean;
        QTest::newRow("pair into a visited cell passes to the next pair")
            << pictureMap(u"S1.G"_s, {}, {u"2,1,1>1,1,1"_s, u"2,1,1>4,1,1"_s}) << Clean;
        QTest::newRow("faulty first pair of a cell, the second is followed")
            << pictureMap(u"S1.G|#"_s, {}, {u"2,1,1>1,1,2"_s, u"2,1,1>4,1,1"_s})
            << reportLines(
                   StartOk, GoalOk,
                   {u"【Error】1階(2,1)のワープは、同じ階層内にワープしなければなりません。"_s},
                   Reached, MayBreak);
        QTest::newRow("unlinked warp cell on floor 2 at (5,7)")
            << pictureMap(u"S#G|//////....1"_s)
            << reportLines(StartOk, GoalOk, {unlinkedWarp(u"2階の(5,7)"_s)}, Reached, MayBreak);
        QTest::newRow("warp cells are reported column by column")
            << pictureMap(u"S#G/...3///////..3"_s)
            << reportLines(StartOk, GoalOk,
                           {unlinkedWarp(u"1階の(3,9)"_s), unlinkedWarp(u"1階の(4,2)"_s)}, Reached,
                           MayBreak);
        // Records with destination floor 0: an unfinished pair and a deleted one.
        for (const QChar kind : {u'1', u'4'}) {
            QTest::addRow("warp cell W%c left after its pair was deleted", kind.toLatin1())
                << pictureMap(u"S#"_s + kind + u"#G"_s, {}, {u"3,1,1>5,1,0"_s, u"2,1,1>0,0,0"_s})
                << reportLines(StartOk, GoalOk, {unlinkedWarp(u"1階の(3,1)"_s)}, Reached, MayBreak);
        }
        QTest::newRow("pair leaving from a road cell alone: good verdict")
            << pictureMap(u"S###G"_s, {}, {u"27:2,1,1>4,1,1"_s})
            << reportLines(StartOk, GoalOk, {u"ワープ[あ]は機能していません。"_s}, Reached,
                           NoProblem);
        // Were the pair followed, the goal next to its exit would be reached.
        QTest::newRow("pair into an empty cell is not followed")
            << pictureMap(u"S1.G"_s, {}, {u"28:2,1,1>3,1,1"_s})
            << reportLines(StartOk, GoalOk, {u"【Error】ワープ[イ]の出口にはマスがありません。"_s},
                           NoPath, Impossible);
    }
    // The search line and the verdict line name the reachability and the verdict.
    void report()
    {
        QFETCH(MapData, map);
        QFETCH(QStringList, lines);
        const MapCheck::Report report = MapCheck::run(map);
        QCOMPARE(report.lines, lines);
        using Reach = MapCheck::Reachability;
        const Reach reach = lines.contains(Reached)     ? Reach::GoalReached
                            : lines.contains(NoPath)    ? Reach::NoPath
                            : lines.contains(Abandoned) ? Reach::SearchAbandoned
                                                        : Reach::NotSearched;
        QCOMPARE(report.reachability, reach);
        using Verdict = MapCheck::Verdict;
        const Verdict verdict = lines.last() == NoProblem  ? Verdict::NoSeriousProblem
                                : lines.last() == MayBreak ? Verdict::MayBreakDuringPlay
                                                           : Verdict::CannotBeCleared;
        QCOMPARE(report.verdict, verdict);
    }

    void pendingBranchPoints_data()
    {
        QTest::addColumn<MapData>("map");
        QTest::addColumn<QStringList>("lines");
        const QStringList abandoned = reportLines(StartOk, GoalOk, {WarpsOk}, Abandoned, NoProblem);
        // Rows 16..6 leave 11 * 23 = 253 branch points pending, (24,5) the 254th.
        QTest::newRow("254 pending: goal found") << snakeMap(23, 5) << Clean;
        QTest::newRow("a 255th branch point: search abandoned") << snakeMap(22, 5) << abandoned;

        MapData withError = snakeMap(1, 1);
        withError.setCell(24, 1, 1, u"37_W1"_s);
        QTest::newRow("abandoned search still gets its verdict")
            << withError
            << reportLines(StartOk, GoalOk, {unlinkedWarp(u"1階の(24,1)"_s)}, Abandoned, MayBreak);

        // The warp beside the start leads straight to the goal, but the road neighbours come
        // first and their branch points fill the stack before the search comes back.
        MapData warpWaits = snakeMap(1, 1);
        warpWaits.setBranch(1, 16, 1, u"0010"_s);
        warpWaits.setCell(2, 16, 1, u"37_W1"_s);
        warpWaits.setWarp(1, {2, 16, 1, 1, 1, 1});
        QTest::newRow("neighbours before the warp") << warpWaits << abandoned;
    }
    void pendingBranchPoints() { report(); }

    // The start at (2,2) with the goal next to it in one direction; the start's setting has
    // the given digit towards the goal and "0" elsewhere.
    void branchDigits_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("reached");
        const std::pair<const char *, QString> goals[] = {
            {"up", u".G./.S"_s}, {"left", u"/GS"_s}, {"right", u"/.SG"_s}, {"down", u"/.S/.G"_s}};
        for (int d = 0; d < 4; ++d) {
            for (const QChar digit : {u'0', u'1', u'2', u'3'}) {
                QString setting = u"0000"_s;
                setting[d] = digit;
                QTest::addRow("%s %c", goals[d].first, digit.toLatin1())
                    << goals[d].second << setting << (digit != u'0');
            }
        }
    }
    void branchDigits()
    {
        QFETCH(QString, picture);
        QFETCH(QString, setting);
        QFETCH(bool, reached);
        const MapData map = pictureMap(picture, {u"2,2,1="_s + setting});
        QCOMPARE(MapCheck::run(map).lines, reached ? Clean : Cut);
    }

    void locateUnlinkedWarp_data()
    {
        QTest::addColumn<MapData>("map");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("warning");

        QTest::newRow("no warp cells") << pictureMap(u"S#G"_s) << 0 << QString();
        QTest::newRow("every warp cell is a source")
            << pictureMap(u"1.1|4"_s, {}, {u"1,1,1>3,1,1"_s, u"3,1,1>1,1,1"_s, u"1,1,2>1,1,1"_s})
            << 0 << QString();
        QTest::newRow("floor 2 at (5,7)")
            << pictureMap(u"S#G|//////....1"_s) << 5072 << unlinkedWarp(u"2階の(5,7)"_s, {});
        QTest::newRow("columns before rows")
            << pictureMap(u"/...3///////..3"_s) << 3091 << unlinkedWarp(u"1階の(3,9)"_s, {});
        QTest::newRow("a linked cell is passed over")
            << pictureMap(u"2////2"_s, {}, {u"1,1,1>1,3,1"_s}) << 1051
            << unlinkedWarp(u"1階の(1,5)"_s, {});
        QTest::newRow("record without destination") << pictureMap(u"#5"_s, {}, {u"2,1,1>4,4,0"_s})
                                                    << 2011 << unlinkedWarp(u"1階の(2,1)"_s, {});
        QTest::newRow("two-digit column")
            << pictureMap(u"||//////...........4"_s) << 12073 << unlinkedWarp(u"3階の(12,7)"_s, {});
        MapData unusedFloor = pictureMap(u"S#G"_s);
        unusedFloor.setCell(1, 1, 2, u"37_W1"_s);
        QTest::newRow("floors beyond the floor count are not scanned")
            << unusedFloor << 0 << QString();
    }
    void locateUnlinkedWarp()
    {
        QFETCH(MapData, map);
        QFETCH(int, code);
        QCOMPARE(MapCheck::findUnlinkedWarpCell(map), code);
        if (code != 0)
            QTEST(MapCheck::unlinkedWarpText(code), "warning");
    }

    void overlay_data()
    {
        QTest::addColumn<MapData>("map");
        QTest::addColumn<int>("floor");
        QTest::addColumn<QString>("visited"); // by row, then column
        QTest::addColumn<QString>("route");   // from the start on
        QTest::addColumn<QString>("named");

        // The search goes down first, so it tries the dead end below before the goal.
        QTest::newRow("reached goal: route skips the dead end")
            << pictureMap(u"S#G/#/#"_s) << 1 << u"1,1 2,1 3,1 1,2 1,3"_s << u"1,1 2,1 3,1"_s
            << QString();
        QTest::newRow("broken road: every cell tried, no route")
            << pictureMap(u"S#.G/.#"_s) << 1 << u"1,1 2,1 2,2"_s << QString() << QString();
        // Pair 2: a NEXT cell on its own floor, and no exit.
        QTest::newRow("route across floors, floor 2")
            << pictureMap(u"S4|#4/G"_s, {}, {u"2,1,1>1,1,2"_s, u"2,1,2>3,3,2"_s}) << 2
            << u"1,1 1,2"_s << u"1,1 1,2"_s << u"2,1 3,3"_s;
        // Pair 3's source is no warp cell.
        const MapData unlinked =
            pictureMap(u"S#G|..../..../..../..../..../..../....3"_s, {}, {u"3:9,9,1>2,1,1"_s});
        QTest::newRow("warp faults are named, the search sees only floor 1")
            << unlinked << 2 << QString() << QString() << u"5,7"_s;
        QTest::newRow("pair without a warp cell names its source")
            << unlinked << 1 << u"1,1 2,1 3,1"_s << u"1,1 2,1 3,1"_s << u"9,9"_s;
    }
    void overlay()
    {
        QFETCH(MapData, map);
        QFETCH(int, floor);
        const MapCheck::Report report = MapCheck::run(map);
        QCOMPARE(report.places.size(), report.lines.size());
        QTEST(cellList(report.visitedOn(floor)), "visited");
        QTEST(cellList(report.routeOn(floor)), "route");
        QTEST(cellList(report.namedOn(floor)), "named");
    }

    void overlayLifetime_data()
    {
        QTest::addColumn<SessionStep>("step");
        QTest::addColumn<bool>("shown");
        QTest::newRow("a chip laid drops it")
            << SessionStep([](EditorSession &s) { s.document().layChip(9, 9, 1, u"01_[]"_s); })
            << false;
        QTest::newRow("naming the map keeps it")
            << SessionStep([](EditorSession &s) { s.document().setFileName(u"/maps/castle"_s); })
            << true;
        QTest::newRow("switched off")
            << SessionStep([](EditorSession &s) { s.checks().setOn(false); }) << false;
    }
    void overlayLifetime()
    {
        QFETCH(SessionStep, step);
        SessionFixture f;
        f.document.replace(pictureMap(u"S#G"_s));
        f.session.checks().run();
        QVERIFY(f.session.checks().shown());
        step(f.session);
        QTEST(f.session.checks().shown() != nullptr, "shown");
    }
};

QTEST_APPLESS_MAIN(TestMapCheck)
#include "tst_mapcheck.moc"
