#pragma once

#include "model/mapdata.h"

#include <QString>

// Finding a chip in reading order across the map's floors: floor by floor, each row by row
// from the top, each row from the left; past the last cell it goes on from the first.
namespace ChipFind {

struct Place
{
    int x = 0;
    int y = 0;
    int floor = 0;

    bool isValid() const { return floor != 0; }
    friend bool operator==(const Place &a, const Place &b)
    {
        return a.x == b.x && a.y == b.y && a.floor == b.floor;
    }
};

// The next cell holding exactly `cell` after `from` (before it when going backward). A
// place with x 0 stands just before the first cell of its floor going forward, just after
// its last going backward. `from` itself comes last. Invalid when no cell holds it.
Place next(const MapData &map, const QString &cell, Place from, bool forward);

} // namespace ChipFind
