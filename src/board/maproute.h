#pragma once

#include "board/mapcheck.h"

#include <QPoint>
#include <QVector>

class MapData;

// The shortest way from the cell the map check searches from to the nearest goal chip, over
// the check's moves, and the cells no sequence of those moves reaches. A step to a
// neighbour costs one; a jump along a pair the check does not name as broken costs none.
// The route has the fewest steps and, of those, the fewest jumps. A goal ends a route:
// nothing leads on from it, so cells only a goal leads to count as unreachable.
class MapRoute
{
public:
    using Place = MapCheck::Place;

    static MapRoute compute(const MapData &map);

    bool isFound() const { return !mCells.isEmpty(); }
    int steps() const { return mSteps; }
    int jumps() const { return mJumps; }
    // From the start to the goal, in order; a jump's source and destination follow each other.
    const QVector<Place> &cells() const { return mCells; }
    QVector<QPoint> routeOn(int floor) const;
    // For each cell of routeOn(floor), the steps taken to reach it (the start is 0; a jump
    // takes none, so its two ends share a number).
    QVector<int> routeNumbersOn(int floor) const;
    // Non-empty cells of the map's floors that the start does not reach, in reading order.
    const QVector<QPoint> &unreachableOn(int floor) const { return mUnreachable[floor - 1]; }
    int unreachableCount() const;

private:
    int mSteps = 0;
    int mJumps = 0;
    QVector<Place> mCells;
    QVector<int> mStepsAt;
    QVector<QPoint> mUnreachable[MapData::MaxFloors];
};
