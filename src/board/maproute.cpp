#include "board/maproute.h"

#include "board/boardmoves.h"
#include "model/mapdata.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

namespace {

// Steps weigh more than any number of jumps a shortest route can hold (each pair at most
// once), so one number orders routes by steps, then jumps.
constexpr int StepCost = 128;
constexpr int Unreached = -1;

} // namespace

MapRoute MapRoute::compute(const MapData &map)
{
    MapRoute result;
    const BoardMoves board(map);
    const Place start = MapCheck::searchStart(map);
    std::array<int, BoardMoves::CellCount> cost;
    cost.fill(Unreached);
    std::array<std::int16_t, BoardMoves::CellCount> from;
    int goal = -1;

    if (start.isValid()) {
        const BoardMoves::FaultyPairs faulty = MapCheck::faultyPairs(map);
        using Entry = std::pair<int, int>; // cost, cell
        std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
        const int first = BoardMoves::cellIndex(start.x, start.y, start.floor);
        cost[first] = 0;
        from[first] = -1;
        open.push({0, first});
        const auto reach = [&](int here, int next, int nextCost) {
            if (cost[next] != Unreached && cost[next] <= nextCost)
                return;
            cost[next] = nextCost;
            from[next] = std::int16_t(here);
            open.push({nextCost, next});
        };
        while (!open.empty()) {
            const auto [hereCost, here] = open.top();
            open.pop();
            if (hereCost != cost[here])
                continue;
            if (board.has(here, BoardMoves::GoalChip)) {
                // The first goal taken off the queue is the nearest; the search still runs
                // on to find every cell the start reaches.
                if (goal < 0)
                    goal = here;
                continue;
            }
            const int steps = board.steps(here);
            for (int d = 1; d <= 4; ++d) {
                if (steps & (1 << d))
                    reach(here, BoardMoves::neighbour(here, d), hereCost + StepCost);
            }
            if (!board.has(here, BoardMoves::WarpCode))
                continue;
            for (int pair = board.firstPairFrom(here); pair != 0; pair = board.nextPairFrom(pair)) {
                const int target = board.jumpTarget(pair, faulty);
                if (target >= 0)
                    reach(here, target, hereCost + 1);
            }
        }
    }

    if (goal >= 0) {
        result.mSteps = cost[goal] / StepCost;
        result.mJumps = cost[goal] % StepCost;
        for (int cell = goal; cell >= 0; cell = from[cell]) {
            result.mCells.prepend(
                {BoardMoves::xOf(cell), BoardMoves::yOf(cell), BoardMoves::floorOf(cell)});
            result.mStepsAt.prepend(cost[cell] / StepCost);
        }
    }
    const int floorCount = std::clamp(map.floorCount(), 1, int(MapData::MaxFloors));
    for (int floor = 1; floor <= floorCount; ++floor) {
        for (int y = 1; y <= MapData::Height; ++y) {
            for (int x = 1; x <= MapData::Width; ++x) {
                const int cell = BoardMoves::cellIndex(x, y, floor);
                if (board.has(cell, BoardMoves::Passable) && cost[cell] == Unreached)
                    result.mUnreachable[floor - 1].append({x, y});
            }
        }
    }
    return result;
}

QVector<QPoint> MapRoute::routeOn(int floor) const
{
    QVector<QPoint> cells;
    for (const Place &place : mCells) {
        if (place.floor == floor)
            cells.append({place.x, place.y});
    }
    return cells;
}

QVector<int> MapRoute::routeNumbersOn(int floor) const
{
    QVector<int> numbers;
    for (int i = 0; i < mCells.size(); ++i) {
        if (mCells[i].floor == floor)
            numbers.append(mStepsAt[i]);
    }
    return numbers;
}

int MapRoute::unreachableCount() const
{
    int count = 0;
    for (const QVector<QPoint> &cells : mUnreachable)
        count += int(cells.size());
    return count;
}
