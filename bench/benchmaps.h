#pragma once

#include "model/cellstring.h"
#include "model/codetables.h"
#include "model/mapdata.h"

// The largest map the format holds: nine floors, a chip on every cell, a branch setting on
// every third cell, all 79 pairs within and across floors, names and comments.
inline MapData fullMap()
{
    MapData map = MapData::resetMap();
    map.setFloorCount(MapData::MaxFloors);
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
        for (int x = 1; x <= MapData::Width; ++x) {
            for (int y = 1; y <= MapData::Height; ++y) {
                const int chip = 1 + (x * 16 + y + floor) % 47;
                map.setCell(x, y, floor, CellString::make(chip, CodeTables::chipCode(chip)));
                if ((x + y) % 3 == 0)
                    map.setBranch(x, y, floor, QStringLiteral("2013"));
            }
        }
        map.setFloorName(floor, QStringLiteral("%1階 大広間").arg(floor));
        map.setFloorBackground(floor, QStringLiteral("img\\城%1.bmp").arg(floor));
        map.setFloorEndText(floor, QStringLiteral("ゴールを目指せ！\r\nGood luck"));
    }
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        const int floor = 1 + pair % MapData::MaxFloors;
        const int destination = pair % 2 ? floor : 1 + (floor % MapData::MaxFloors);
        map.setWarp(pair, {std::uint8_t(1 + pair % 24), std::uint8_t(1 + pair % 16),
                           std::uint8_t(floor), std::uint8_t(24 - pair % 24),
                           std::uint8_t(16 - pair % 16), std::uint8_t(destination)});
    }
    return map;
}
