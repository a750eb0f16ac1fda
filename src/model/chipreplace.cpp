#include "model/chipreplace.h"

#include <QPoint>

#include <algorithm>
#include <array>

ChipReplace::ChipReplace(const QString &from, const QString &to, Scope scope, int floor,
                         const QRect &selection)
    : mFrom(from), mTo(to), mScope(scope), mFloor(floor), mSelection(selection)
{
}

bool ChipReplace::isWarpChip(const QString &cell)
{
    // The chip code is characters 4 and 5; every warp code begins with "W".
    return cell.size() >= 4 && cell[3] == u'W';
}

template <typename Visit> void ChipReplace::forEachCell(const MapData &map, Visit &&visit) const
{
    if (mFrom == mTo)
        return;
    const QRect board(1, 1, MapData::Width, MapData::Height);
    int firstFloor = mFloor;
    int lastFloor = mFloor;
    QRect area = board;
    if (mScope == Scope::EveryFloor) {
        firstFloor = 1;
        lastFloor = std::clamp(map.floorCount(), 1, int(MapData::MaxFloors));
    } else if (mScope == Scope::Selection) {
        area = mSelection & board;
    }
    if (!MapData::isValidFloor(firstFloor) || !MapData::isValidFloor(lastFloor))
        return;
    for (int floor = firstFloor; floor <= lastFloor; ++floor) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (map.cell(x, y, floor) == mFrom)
                    visit(x, y, floor);
            }
        }
    }
}

int ChipReplace::count(const MapData &map) const
{
    int cells = 0;
    forEachCell(map, [&](int, int, int) { ++cells; });
    return cells;
}

QList<int> ChipReplace::deletedPairs(const MapData &map) const
{
    QList<int> pairs;
    if (!isWarpChip(mFrom) || isWarpChip(mTo))
        return pairs;
    std::array<bool, MapData::MaxWarps + 1> ends{};
    forEachCell(map, [&](int x, int y, int floor) {
        for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
            const WarpRecord &r = map.warp(pair);
            if (r.isDefined() && ((r.srcX == x && r.srcY == y && r.srcFloor == floor) ||
                                  (r.dstX == x && r.dstY == y && r.dstFloor == floor)))
                ends[pair] = true;
        }
    });
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        if (ends[pair])
            pairs.append(pair);
    }
    return pairs;
}

int ChipReplace::apply(MapData &map) const
{
    const QList<int> pairs = deletedPairs(map);
    int cells = 0;
    forEachCell(map, [&](int x, int y, int floor) {
        map.setCell(x, y, floor, mTo);
        ++cells;
    });
    for (const int pair : pairs)
        map.freeWarp(pair);
    return cells;
}
