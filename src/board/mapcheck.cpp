#include "board/mapcheck.h"

#include "board/boardmoves.h"
#include "model/codetables.h"
#include "model/mapdata.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int Width = BoardMoves::Width;
constexpr int Height = BoardMoves::Height;
constexpr int Floors = BoardMoves::Floors;
constexpr int Pairs = BoardMoves::Pairs;
constexpr int FloorCells = BoardMoves::FloorCells;
constexpr int CellCount = BoardMoves::CellCount;

using Board = BoardMoves;
constexpr auto StartCode = BoardMoves::StartCode;
constexpr auto GoalCode = BoardMoves::GoalCode;
constexpr auto StartChip = BoardMoves::StartChip;
constexpr auto GoalChip = BoardMoves::GoalChip;
constexpr auto WarpCode = BoardMoves::WarpCode;
constexpr auto BlankIndex = BoardMoves::BlankIndex;

bool isOnBoard(int x, int y, int floor)
{
    return BoardMoves::isOnBoard(x, y, floor);
}

int cellIndex(int x, int y, int floor)
{
    return BoardMoves::cellIndex(x, y, floor);
}

int positionCode(int x, int y, int floor)
{
    return x * 1000 + y * 10 + floor;
}

// The warp kind is the cell's last character read as a number, 0 when it is not a digit.
int warpKindOf(const QString &cell)
{
    const char16_t last = cell.isEmpty() ? 0 : cell.back().unicode();
    return last >= u'0' && last <= u'9' ? last - u'0' : 0;
}

using Place = MapCheck::Place;

void addLine(MapCheck::Report &report, const QString &line, Place place = {},
             MapCheck::Severity severity = MapCheck::Severity::Note)
{
    report.lines.append(line);
    report.places.append(place);
    report.severities.append(severity);
}

QString errorLine(const QString &text)
{
    return QStringLiteral("【Error】") + text;
}

// People read the mark; programs read the severity.
void addError(MapCheck::Report &report, const QString &text, Place place = {})
{
    addLine(report, errorLine(text), place, MapCheck::Severity::Error);
}

// Flags of the pairs that got an error line in this check; such pairs are never followed.
using FaultyPairs = BoardMoves::FaultyPairs;

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
                    addError(*report, (MapCheck::unlinkedWarpText(code)), {x, y, floor});
                    continue;
                }
                if (!report)
                    continue;
                const WarpRecord &r = board.map().warp(pair);
                const bool acrossFloors = r.srcFloor != r.dstFloor;
                const int kind = warpKindOf(board.map().cell(x, y, floor));
                if (kind >= 4 && !acrossFloors) {
                    (*faulty)[pair] = true;
                    addError(*report, (warpCellText(floor, x, y, nextBackText())), {x, y, floor});
                } else if (kind <= 3 && acrossFloors) {
                    (*faulty)[pair] = true;
                    addError(*report, (warpCellText(floor, x, y, sameFloorText())), {x, y, floor});
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
            addError(report,
                     QStringLiteral("ワープ[") + CodeTables::destinationLabel(pair) +
                         QStringLiteral("]の出口にはマスがありません。"),
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
        const int steps = board.steps(here);
        const auto tryDirection = [&](int d) {
            if ((steps & (1 << d)) && !visited[BoardMoves::neighbour(here, d)]) {
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
                const int target = board.jumpTarget(pair, faulty);
                if (target < 0 || visited[target])
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

// The search leaves from the last exact start chip of floor 1 in reading order; without
// one, from the last cell there whose code is a start.
Place searchStartOn(const Board &board)
{
    Place codeOnly;
    for (int y = Height; y >= 1; --y) {
        for (int x = Width; x >= 1; --x) {
            if (board.has(x, y, 1, StartChip))
                return {x, y, 1};
            if (!codeOnly.isValid() && board.has(x, y, 1, StartCode))
                codeOnly = {x, y, 1};
        }
    }
    return codeOnly;
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
        addError(report, QStringLiteral("ふりだしがありません。"));
    } else if (checkX != 0) {
        if (startCount < 2) {
            addLine(report, QStringLiteral("ふりだしの数は正常です。"));
        } else {
            addLine(report, manyStartsText(startCount, checkX, checkY), {checkX, checkY, 1});
        }
    } else {
        addError(report, QStringLiteral("ふりだしは１階に置かないと動作しません。"));
        startCount = 0;
    }
    if (goalCount >= 1)
        addLine(report, QStringLiteral("あがりの数は正常です。"));
    else
        addError(report, QStringLiteral("あがりがありません。"));

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

    const Place start = searchStartOn(board);
    report.reachability = searchGoal(board, faulty, start.x, start.y, report);

    if (report.reachability == Reachability::NoPath) {
        addError(report, QStringLiteral("ふりだしからあがりまで、道がつながっていません。"));
        addLine(report, separatorLine());
        addLine(report, QStringLiteral("このマップをクリアすることは不可能です。"));
        return report;
    }
    addLine(report, report.reachability == Reachability::GoalReached
                        ? QStringLiteral("あがりまでの道は、きちんとつながっています。")
                        : QStringLiteral("マップが特殊すぎて、到達チェックを行えませんでした。"));
    addLine(report, separatorLine());
    const bool anyError = report.severities.contains(Severity::Error);
    if (anyError) {
        report.verdict = Verdict::MayBreakDuringPlay;
        addLine(report, QStringLiteral("このマップは、プレイ中にバグる可能性があります。"));
    } else {
        report.verdict = Verdict::NoSeriousProblem;
        addLine(report, QStringLiteral("このマップに、特に重大な問題は見つかりませんでした。"));
    }
    return report;
}

MapCheck::Place MapCheck::searchStart(const MapData &map)
{
    return searchStartOn(Board(map));
}

BoardMoves::FaultyPairs MapCheck::faultyPairs(const MapData &map)
{
    const Board board(map);
    Report scratch;
    FaultyPairs faulty{};
    searchWarp(board, &scratch, &faulty);
    checkWarpPairs(board, scratch, faulty);
    return faulty;
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
