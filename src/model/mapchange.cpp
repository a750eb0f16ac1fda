#include "model/mapchange.h"

void MapChange::addCell(int floor, QPoint cell, Part part)
{
    parts |= part;
    // Repeats are left in: a view looks each cell up once anyway.
    cells.append(FloorCell{floor, cell});
    if (!floors.contains(floor))
        floors.append(floor);
}
