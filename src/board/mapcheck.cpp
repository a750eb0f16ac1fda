#include "board/mapcheck.h"

#include "board/chipline.h"
#include "model/codetables.h"
#include "model/mapdata.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int Width = MapData::Width;
constexpr int Height = MapData::Height;
constexpr int Floors = MapData::MaxFloors;
constexpr int Pairs = MapData::MaxWarps;
constexpr int FloorCells = Width * Height;
constexpr int CellCount = FloorCells * Floors;

enum CellFlag : std::uint8_t
{
    Passable = 0x01,   // anything but exactly "00_  "
    StartCode = 0x02,  // code "S_"
    GoalCode = 0x04,   // code "G_"
    StartChip = 0x08,  // exactly "33_S_"
    GoalChip = 0x10,   // exactly "34_G_"
    WarpCode = 0x20,   // code beginning with "W"
    BlankIndex = 0x40, // chip index "00"
};

// Cells are numbered floor by floor, column by column, row by row, as MapData keeps them;
// the search moves by adding these steps for 1 up, 2 left, 3 right, 4 down.
constexpr int DirectionStep[5] = {0, -1, -Height, Height, 1};

bool isOnBoard(int x, int y, int floor)
{
    return MapData::isOnBoard(x, y) && MapData::isValidFloor(floor);
}

int cellIndex(int x, int y, int floor)
{
    return ((floor - 1) * Width + (x - 1)) * Height + (y - 1);
}

int positionCode(int x, int y, int floor)
{
    return x * 1000 + y * 10 + floor;
}

// For every cell of a floor, bit d set when its neighbour in direction d is on the board.
const std::array<std::uint8_t, FloorCells> &neighboursOnBoard()
{
    static const std::array<std::uint8_t, FloorCells> masks = [] {
        std::array<std::uint8_t, FloorCells> m{};
        for (int x = 1; x <= Width; ++x) {
            for (int y = 1; y <= Height; ++y) {
                for (int d = 1; d <= 4; ++d) {
                    if (!isAtBoardEdge(x, y, d))
                        m[cellIndex(x, y, 1)] |= std::uint8_t(1u << d);
                }
            }
        }
        return m;
    }();
    return masks;
}

// Plain character tests rather than string comparisons: every check reads all 3456 cells.
std::uint8_t cellFlags(const QString &cell)
{
    char16_t c[5] = {};
    const qsizetype size = cell.size();
    const QChar *text = cell.constData();
    if (size >= 5) {
        for (int i = 0; i < 5; ++i)
            c[i] = text[i].unicode();
    } else {
        for (int i = 0; i < size; ++i)
            c[i] = text[i].unicode();
    }
    const bool blankIndex = c[0] == u'0' && c[1] == u'0';
    // Characters 4 and 5 are the chip code; the chips themselves are whole five-character texts.
    std::uint8_t flags = blankIndex ? BlankIndex : 0;
    if (!(size == 5 && blankIndex && c[2] == u'_' && c[3] == u' ' && c[4] == u' '))
        flags |= Passable;
    if (c[3] == u'W') {
        flags |= WarpCode;
    } else if (c[3] == u'S' && c[4] == u'_') {
        flags |= StartCode;
        if (size == 5 && c[0] == u'3' && c[1] == u'3' && c[2] == u'_')
            flags |= StartChip;
    } else if (c[3] == u'G' && c[4] == u'_') {
        flags |= GoalCode;
        if (size == 5 && c[0] == u'3' && c[1] == u'4' && c[2] == u'_')
            flags |= GoalChip;
    }
    return flags;
}

// The warp kind is the cell's last character read as a number, 0 when it is not a digit.
int warpKindOf(const QString &cell)
{
    const char16_t last = cell.isEmpty() ? 0 : cell.back().unicode();
    return last >= u'0' && last <= u'9' ? last - u'0' : 0;
}

// Bit d is set when direction d may be left. Only a "0" closes a direction; no setting,
// or one too short to reach the direction, leaves it open.
std::uint8_t exitsOf(const QString &branch)
{
    const QChar *text = branch.constData();
    if (branch.size() >= 4) {
        return std::uint8_t((text[0] != u'0') << 1 | (text[1] != u'0') << 2 |
                            (text[2] != u'0') << 3 | (text[3] != u'0') << 4);
    }
    std::uint8_t open = 0x1e;
    for (int d = 1; d <= branch.size(); ++d) {
        if (text[d - 1] == u'0')
            open &= std::uint8_t(~(1u << d));
    }
    return open;
}

// What the check needs to know of every cell, read from the map's texts once per check so
// that the search itself only touches a few small tables.
class Board
{
public:
    explicit Board(const MapData &map) : mMap(map)
    {
        for (int floor = 1; floor <= Floors; ++floor) {
            for (int x = 1; x <= Width; ++x) {
                for (int y = 1; y <= Height; ++y)
                    mFlags[cellIndex(x, y, floor)] = cellFlags(map.cell(x, y, floor));
            }
        }

        // Chain the existing pairs by source cell, lowest pair number first.
        mFirstPair.fill(0);
        mNextPair.fill(0);
        for (int pair = Pairs; pair >= 1; --pair) {
            const WarpRecord &r = map.warp(pair);
            if (!r.isDefined() || !isOnBoard(r.srcX, r.srcY, r.srcFloor))
                continue;
            const int i = cellIndex(r.srcX, r.srcY, r.srcFloor);
            mNextPair[pair] = mFirstPair[i];
            mFirstPair[i] = std::uint8_t(pair);
        }
    }

    const MapData &map() const { return mMap; }

    int flags(int cell) const { return mFlags[cell]; }
    bool has(int cell, CellFlag flag) const { return (mFlags[cell] & flag) != 0; }
    bool has(int x, int y, int floor, CellFlag flag) const
    {
        return has(cellIndex(x, y, floor), flag);
    }
    // Like has(), for a position read from a warp record: off the board there is nothing.
    bool hasAt(int x, int y, int floor, CellFlag flag) const
    {
        return isOnBoard(x, y, floor) && has(x, y, floor, flag);
    }
    // Bit d set when the cell's branch setting lets the search leave in direction d and
    // the neighbour that way is on the board. Read only for the cells the search stands on.
    int exits(int x, int y, int floor) const
    {
        return exitsOf(mMap.branch(x, y, floor)) & neighboursOnBoard()[cellIndex(x, y, 1)];
    }
    // The lowest existing pair that leaves from the cell, 0 for none.
    int firstPairFrom(int cell) const { return mFirstPair[cell]; }
    // The next existing pair that leaves from the same cell as `pair`, 0 for none.
    int nextPairFrom(int pair) const { return mNextPair[pair]; }

private:
    const MapData &mMap;
    std::array<std::uint8_t, CellCount> mFlags;
    std::array<std::uint8_t, CellCount> mFirstPair;
    std::array<std::uint8_t, Pairs + 1> mNextPair;
};

using Place = MapCheck::Place;

void addLine(MapCheck::Report &report, const QString &line, Place place = {})
{
    report.lines.append(line);
    report.places.append(place);
}

// Flags of the pairs that got an error line in this check; such pairs are never followed.
using FaultyPairs = std::array<bool, Pairs + 1>;

QString errorLine(const QString &text)
{
    return QStringLiteral("【Error】") + text;
}

QString warpCellText(int floor, int x, int y, const QString &tail)
{
    return QString::number(floor) + QStringLiteral("階(") + QString::number(x) + u',' +
           QString::number(y) + QStringLiteral(")の") + tail;
}

QString nextBackText()
{
    return QStringLiteral("NEXT/BACKは、階層をまたいでいません。");
}

QString sameFloorText()
{
    return QStringLiteral("ワープは、同じ階層内にワープしなければなりません。");
}

QString manyStartsText(int startCount, int x, int y)
{
    return QStringLiteral("ふりだしが") + QString::number(startCount) +
           QStringLiteral("個もあります。１階(") + QString::number(x) + u',' + QString::number(y) +
           QStringLiteral(")のふりだしが有効です。");
}

// Walks the warp cells of the used floors column by column. Without `report` it stops at the
// first cell no pair leaves from and returns its position code; with `report` it reports
// every such cell and every pair whose kind does not fit its floors.
int searchWarp(const Board &board, MapCheck::Report *report, FaultyPairs *faulty)
{
    const int floorCount = std::clamp(board.map().floorCount(), 1, Floors);
    for (int floor = 1; floor <= floorCount; ++floor) {
        for (int x = 1; x <= Width; ++x) {
            for (int y = 1; y <= Height; ++y) {
                const int cell = cellIndex(x, y, floor);
                if (!board.has(cell, WarpCode))
                    continue;
                const int pair = board.firstPairFrom(cell);
                if (pair == 0) {
                    const int code = positionCode(x, y, floor);
                    if (!report)
                        return code;
                    addLine(*report, errorLine(MapCheck::unlinkedWarpText(code)), {x, y, floor});
                    continue;
                }
                if (!report)
                    continue;
                const WarpRecord &r = board.map().warp(pair);
                const bool acrossFloors = r.srcFloor != r.dstFloor;
                const int kind = warpKindOf(board.map().cell(x, y, floor));
                if (kind >= 4 && !acrossFloors) {
                    (*faulty)[pair] = true;
                    addLine(*report, errorLine(warpCellText(floor, x, y, nextBackText())),
                            {x, y, floor});
                } else if (kind <= 3 && acrossFloors) {
                    (*faulty)[pair] = true;
                    addLine(*report, errorLine(warpCellText(floor, x, y, sameFloorText())),
                            {x, y, floor});
                }
            }
        }
    }
    return 0;
}

void checkWarpPairs(const Board &board, MapCheck::Report &report, FaultyPairs &faulty)
{
    for (int pair = 1; pair <= Pairs; ++pair) {
        const WarpRecord &r = board.map().warp(pair);
        if (!r.isDefined())
            continue;
        if (!board.hasAt(r.srcX, r.srcY, r.srcFloor, WarpCode)) {
            faulty[pair] = true;
            addLine(report,
                    QStringLiteral("ワープ[") + CodeTables::sourceLabel(pair) +
                        QStringLiteral("]は機能していません。"),
                    {r.srcX, r.srcY, r.srcFloor});
        } else if (board.hasAt(r.dstX, r.dstY, r.dstFloor, BlankIndex)) {
            faulty[pair] = true;
            addLine(report,
                    errorLine(QStringLiteral("ワープ[") + CodeTables::destinationLabel(pair) +
                              QStringLiteral("]の出口にはマスがありません。")),
                    {r.dstX, r.dstY, r.dstFloor});
        }
    }
}

// Depth-first search from the start (x, y) on floor 1 for a goal chip. Cells with more than
// one way on wait on a fixed stack; a dead end goes back to the latest of them. Leaves the
// cells it stood on, and the way to the goal it reached, in `report`.
MapCheck::Reachability searchGoal(const Board &board, const FaultyPairs &faulty, int checkX,
                                  int checkY, MapCheck::Report &report)
{
    constexpr int WarpMove = 5;
    constexpr int DirectionDx[5] = {0, 0, -1, 1, 0};
    constexpr int DirectionDy[5] = {0, -1, 0, 0, 1};
    struct Position
    {
        std::uint8_t x, y, floor;
    };
    std::array<Position, MapCheck::BranchStackSize> branchStack;
    int branchDepth = 0;
    std::array<bool, CellCount> visited{};
    // The way from the start to where the search stands, and where on it each cell lies:
    // going back to a branch point cuts the way there.
    std::array<std::int16_t, CellCount> path;
    std::array<std::int16_t, CellCount> placeOnPath;
    int pathLength = 0;
    int checkFloor = 1;

    const auto finish = [&](MapCheck::Reachability result, int here) {
        // The goal is stood on too, even though the search ends there.
        visited[here] = true;
        static_assert(CellCount % 8 == 0);
        std::array<char, CellCount / 8> bits;
        for (int byte = 0; byte < CellCount / 8; ++byte) {
            unsigned packed = 0;
            for (int bit = 0; bit < 8; ++bit)
                packed |= unsigned(visited[byte * 8 + bit]) << bit;
            bits[byte] = char(packed);
        }
        report.visited = QBitArray::fromBits(bits.data(), CellCount);
        if (result == MapCheck::Reachability::GoalReached)
            report.route = QVector<std::int16_t>(path.cbegin(), path.cbegin() + pathLength);
        return result;
    };

    for (;;) {
        const int here = cellIndex(checkX, checkY, checkFloor);
        if (!visited[here]) {
            placeOnPath[here] = std::int16_t(pathLength);
            path[pathLength++] = std::int16_t(here);
        } else {
            pathLength = placeOnPath[here] + 1;
        }
        if (board.has(here, GoalChip))
            return finish(MapCheck::Reachability::GoalReached, here);
        visited[here] = true;

        int ways = 0;
        int chosen = 0;
        int chosenWarp = 0;
        const int exits = board.exits(checkX, checkY, checkFloor);
        const auto tryDirection = [&](int d) {
            const int next = here + DirectionStep[d];
            if ((exits & (1 << d)) && board.has(next, Passable) && !visited[next]) {
                ++ways;
                chosen = d;
            }
        };
        // The last way found wins, so down is tried first, then right, left and up.
        tryDirection(1);
        tryDirection(2);
        tryDirection(3);
        tryDirection(4);
        // A warp counts as one more way; it is taken only when no neighbour is.
        if (board.has(here, WarpCode)) {
            for (int pair = board.firstPairFrom(here); pair != 0; pair = board.nextPairFrom(pair)) {
                const WarpRecord &r = board.map().warp(pair);
                if (faulty[pair] || !isOnBoard(r.dstX, r.dstY, r.dstFloor) ||
                    visited[cellIndex(r.dstX, r.dstY, r.dstFloor)])
                    continue;
                ++ways;
                if (chosen == 0)
                    chosen = WarpMove;
                chosenWarp = pair;
                break;
            }
        }

        if (ways == 0) {
            if (branchDepth == 0)
                return finish(MapCheck::Reachability::NoPath, here);
            const Position back = branchStack[--branchDepth];
            checkX = back.x;
            checkY = back.y;
            checkFloor = back.floor;
            continue;
        }
        if (ways >= 2) {
            if (branchDepth == MapCheck::BranchStackSize)
                return finish(MapCheck::Reachability::SearchAbandoned, here);
            branchStack[branchDepth++] = {std::uint8_t(checkX), std::uint8_t(checkY),
                                          std::uint8_t(checkFloor)};
        }
        if (chosen == WarpMove) {
            const WarpRecord &r = board.map().warp(chosenWarp);
            checkX = r.dstX;
            checkY = r.dstY;
            checkFloor = r.dstFloor;
        } else {
            checkX += DirectionDx[chosen];
            checkY += DirectionDy[chosen];
        }
    }
}

} // namespace

MapCheck::Report MapCheck::run(const MapData &map)
{
    const Board board(map);
    const int floorCount = std::clamp(map.floorCount(), 1, Floors);
    Report report;
    const QStringList &lines = report.lines;

    // Starts and goals, in reading order: the last start of floor 1 is the one that counts.
    int startCount = 0;
    int goalCount = 0;
    int checkX = 0;
    int checkY = 0;
    for (int floor = 1; floor <= floorCount; ++floor) {
        for (int y = 1; y <= Height; ++y) {
            for (int x = 1; x <= Width; ++x) {
                const int flags = board.flags(cellIndex(x, y, floor));
                if (flags & StartCode) {
                    ++startCount;
                    if (floor == 1) {
                        checkX = x;
                        checkY = y;
                    }
                }
                if (flags & GoalCode)
                    ++goalCount;
            }
        }
    }
    if (startCount == 0) {
        addLine(report, QStringLiteral("【Error】ふりだしがありません。"));
    } else if (checkX != 0) {
        if (startCount < 2) {
            addLine(report, QStringLiteral("ふりだしの数は正常です。"));
        } else {
            addLine(report, manyStartsText(startCount, checkX, checkY), {checkX, checkY, 1});
        }
    } else {
        addLine(report, QStringLiteral("【Error】ふりだしは１階に置かないと動作しません。"));
        startCount = 0;
    }
    addLine(report, goalCount >= 1 ? QStringLiteral("あがりの数は正常です。")
                                   : QStringLiteral("【Error】あがりがありません。"));

    FaultyPairs faulty{};
    searchWarp(board, &report, &faulty);
    checkWarpPairs(board, report, faulty);
    if (lines.size() == 2)
        addLine(report, QStringLiteral("ワープの設定は正常です。"));

    if (startCount == 0 || goalCount == 0) {
        addLine(report, separatorLine());
        addLine(report, QStringLiteral("このマップをクリアすることは不可能です。"));
        return report;
    }

    // The search leaves from the last exact start chip of floor 1 in reading order; without
    // one, from the cell the count settled on.
    for (int y = Height, found = 0; y >= 1 && !found; --y) {
        for (int x = Width; x >= 1 && !found; --x) {
            if (board.has(x, y, 1, StartChip)) {
                checkX = x;
                checkY = y;
                found = 1;
            }
        }
    }
    report.reachability = searchGoal(board, faulty, checkX, checkY, report);

    if (report.reachability == Reachability::NoPath) {
        addLine(report,
                QStringLiteral("【Error】ふりだしからあがりまで、道がつながっていません。"));
        addLine(report, separatorLine());
        addLine(report, QStringLiteral("このマップをクリアすることは不可能です。"));
        return report;
    }
    addLine(report, report.reachability == Reachability::GoalReached
                        ? QStringLiteral("あがりまでの道は、きちんとつながっています。")
                        : QStringLiteral("マップが特殊すぎて、到達チェックを行えませんでした。"));
    addLine(report, separatorLine());
    const bool anyError = std::any_of(lines.cbegin(), lines.cend(),
                                      [](const QString &line) { return line.startsWith(u'【'); });
    if (anyError) {
        report.verdict = Verdict::MayBreakDuringPlay;
        addLine(report, QStringLiteral("このマップは、プレイ中にバグる可能性があります。"));
    } else {
        report.verdict = Verdict::NoSeriousProblem;
        addLine(report, QStringLiteral("このマップに、特に重大な問題は見つかりませんでした。"));
    }
    return report;
}

int MapCheck::findUnlinkedWarpCell(const MapData &map)
{
    return searchWarp(Board(map), nullptr, nullptr);
}

bool MapCheck::Report::wasVisited(int x, int y, int floor) const
{
    return isOnBoard(x, y, floor) && !visited.isEmpty() && visited.testBit(cellIndex(x, y, floor));
}

QVector<QPoint> MapCheck::Report::visitedOn(int floor) const
{
    QVector<QPoint> cells;
    for (int y = 1; y <= Height; ++y) {
        for (int x = 1; x <= Width; ++x) {
            if (wasVisited(x, y, floor))
                cells.append({x, y});
        }
    }
    return cells;
}

QVector<QPoint> MapCheck::Report::routeOn(int floor) const
{
    QVector<QPoint> cells;
    for (const int cell : route) {
        if (cell / FloorCells == floor - 1)
            cells.append({(cell % FloorCells) / Height + 1, cell % Height + 1});
    }
    return cells;
}

QVector<QPoint> MapCheck::Report::namedOn(int floor) const
{
    QVector<QPoint> cells;
    for (const Place &place : places) {
        if (place.floor == floor && !cells.contains(QPoint(place.x, place.y)))
            cells.append({place.x, place.y});
    }
    return cells;
}

QString MapCheck::unlinkedWarpText(int positionCode)
{
    const int floor = positionCode % 10;
    const int x = positionCode / 1000;
    const int y = (positionCode / 10) % 100;
    return QString::number(floor) + QStringLiteral("階の(") + QString::number(x) + u',' +
           QString::number(y) + QStringLiteral(")に、設定されていないワープマスがあります。");
}

QStringList MapCheck::widestLineCandidates()
{
    // Numbers as wide as they get: the last cell of the last floor, every cell a start.
    return {errorLine(unlinkedWarpText(positionCode(Width, Height, Floors))),
            errorLine(warpCellText(Floors, Width, Height, nextBackText())),
            errorLine(warpCellText(Floors, Width, Height, sameFloorText())),
            manyStartsText(Width * Height * Floors, Width, Height)};
}

QString MapCheck::separatorLine()
{
    return QString(45, u'-');
}
