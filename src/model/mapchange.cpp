#include "model/mapchange.h"

bool MapChange::touchesCell(int floor, QPoint cell) const
{
    if (has(WholeMap) || has(FloorCount))
        return true;
    return cells.contains(FloorCell{floor, cell});
}

bool MapChange::touchesFloor(int floor) const
{
    return has(WholeMap) || has(FloorCount) || floors.contains(floor);
}

void MapChange::addCell(int floor, QPoint cell, Part part)
{
    parts |= part;
    // Repeats are left in: a view looks each cell up once anyway.
    cells.append(FloorCell{floor, cell});
    if (!floors.contains(floor))
        floors.append(floor);
}
