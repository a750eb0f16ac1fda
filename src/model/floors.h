#pragma once

#include <QList>

class MapData;

// Adding, moving and deleting floors. Cells, branch settings and the floor numbers of
// warp pairs move with a floor; its name, background and end text stay with the position.
namespace Floors {

// Adds an empty floor at the end; false when the map already has nine.
bool addFloor(MapData &map);
// Exchanges floor `floor` with its neighbour `floor + delta` (delta +1 or -1).
void moveFloor(MapData &map, int floor, int delta);
// Removes floor `floor` (the map keeps at least one): later floors move one place left,
// every pair touching the removed floor is deleted. Returns the deleted pair numbers,
// highest first.
QList<int> deleteFloor(MapData &map, int floor);

struct Duplication
{
    bool done = false;
    // Pairs of the copied floor that found no free number.
    int pairsNotMade = 0;
};
// Inserts a copy of floor `floor` right after it: cells, branch settings and texts, and
// each pair with both ends on it as a new pair under the next free number. Later floors
// move up one place with their texts, and their pairs with them. Refused at nine floors.
Duplication duplicateFloor(MapData &map, int floor);

} // namespace Floors
