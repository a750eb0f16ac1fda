#include "model/chipfind.h"

#include <algorithm>

namespace ChipFind {

Place next(const MapData &map, const QString &cell, Place from, bool forward)
{
    constexpr int FloorCells = MapData::Width * MapData::Height;
    const int floorCount = std::clamp(map.floorCount(), 1, int(MapData::MaxFloors));
    const int total = floorCount * FloorCells;
    const int floor = std::clamp(from.floor, 1, floorCount);
    // Reading-order index of `from`; an edge place lies one past the floor's first or last cell.
    int at = (floor - 1) * FloorCells;
    if (MapData::isOnBoard(from.x, from.y))
        at += (from.y - 1) * MapData::Width + (from.x - 1);
    else
        at += forward ? -1 : FloorCells;
    const int direction = forward ? 1 : -1;
    for (int k = 1; k <= total; ++k) {
        const int i = ((at + k * direction) % total + total) % total;
        const Place p{i % MapData::Width + 1, (i % FloorCells) / MapData::Width + 1,
                      i / FloorCells + 1};
        if (map.cell(p.x, p.y, p.floor) == cell)
            return p;
    }
    return {};
}

} // namespace ChipFind
