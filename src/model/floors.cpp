#include "model/floors.h"

#include "model/cellstring.h"
#include "model/mapdata.h"

#include <utility>

namespace Floors {

bool addFloor(MapData &map)
{
    if (map.floorCount() >= MapData::MaxFloors)
        return false;
    const int floor = map.floorCount() + 1;
    map.setFloorCount(floor);
    // Only the cells start afresh; branch settings left at this position stay.
    const QString empty = CellString::empty();
    for (int x = 1; x <= MapData::Width; ++x)
        for (int y = 1; y <= MapData::Height; ++y)
            map.setCell(x, y, floor, empty);
    return true;
}

void moveFloor(MapData &map, int floor, int delta)
{
    const int other = floor + delta;
    if (!MapData::isValidFloor(floor) || !MapData::isValidFloor(other))
        return;
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y) {
            const QString cell = map.cell(x, y, floor);
            map.setCell(x, y, floor, map.cell(x, y, other));
            map.setCell(x, y, other, cell);
            const QString branch = map.branch(x, y, floor);
            map.setBranch(x, y, floor, map.branch(x, y, other));
            map.setBranch(x, y, other, branch);
        }
    }
    const auto swapped = [&](std::uint8_t value) -> std::uint8_t {
        if (value == floor)
            return std::uint8_t(other);
        if (value == other)
            return std::uint8_t(floor);
        return value;
    };
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        WarpRecord record = map.warp(pair);
        if (!record.isDefined())
            continue;
        record.srcFloor = swapped(record.srcFloor);
        record.dstFloor = swapped(record.dstFloor);
        map.setWarp(pair, record);
    }
}

QList<int> deleteFloor(MapData &map, int floor)
{
    const int count = map.floorCount();
    if (count <= 1 || floor < 1 || floor > count)
        return {};
    // Bubble the doomed floor to the end, so the floors behind it move left.
    for (int f = floor; f < count; ++f)
        moveFloor(map, f, +1);
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y) {
            map.setCell(x, y, count, CellString::empty());
            map.setBranch(x, y, count, QString());
        }
    }
    QList<int> deleted;
    for (int pair = MapData::MaxWarps; pair >= 1; --pair) {
        WarpRecord record = map.warp(pair);
        if (!record.isDefined() || (record.srcFloor != count && record.dstFloor != count))
            continue;
        record.dstFloor = 0;
        map.setWarp(pair, record);
        deleted.append(pair);
    }
    map.setFloorCount(count - 1);
    return deleted;
}

namespace {

void copyFloor(MapData &map, int from, int to)
{
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y) {
            map.setCell(x, y, to, map.cell(x, y, from));
            map.setBranch(x, y, to, map.branch(x, y, from));
        }
    }
    // An insertion keeps every floor whole, so the texts go with the cells here.
    map.setFloorName(to, map.floorName(from));
    map.setFloorBackground(to, map.floorBackground(from));
    map.setFloorEndText(to, map.floorEndText(from));
}

} // namespace

Duplication duplicateFloor(MapData &map, int floor)
{
    const int count = map.floorCount();
    if (count >= MapData::MaxFloors || floor < 1 || floor > count)
        return {};
    map.setFloorCount(count + 1);
    for (int f = count; f >= floor; --f)
        copyFloor(map, f, f + 1);

    QList<WarpRecord> copies;
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        WarpRecord record = map.warp(pair);
        if (!record.isDefined())
            continue;
        if (record.srcFloor == floor && record.dstFloor == floor) {
            WarpRecord copy = record;
            copy.srcFloor = copy.dstFloor = std::uint8_t(floor + 1);
            copies.append(copy);
        }
        if (record.srcFloor > floor)
            ++record.srcFloor;
        if (record.dstFloor > floor)
            ++record.dstFloor;
        map.setWarp(pair, record);
    }

    Duplication result{true, 0};
    int next = 1;
    for (const WarpRecord &copy : std::as_const(copies)) {
        while (next <= MapData::MaxWarps && map.warp(next).isDefined())
            ++next;
        if (next > MapData::MaxWarps) {
            ++result.pairsNotMade;
            continue;
        }
        map.setWarp(next, copy);
    }
    return result;
}

} // namespace Floors
