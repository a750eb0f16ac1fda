#include "model/mapdata.h"

#include "model/cellstring.h"

MapData::MapData()
{
    clearFloor(1);
}

MapData MapData::resetMap()
{
    MapData map;
    for (int floor = 2; floor <= MaxFloors; ++floor)
        map.clearFloor(floor);
    return map;
}

void MapData::clearFloor(int floor)
{
    const QString empty = CellString::empty();
    for (int x = 1; x <= Width; ++x) {
        for (int y = 1; y <= Height; ++y) {
            setCell(x, y, floor, empty);
            setBranch(x, y, floor, QString());
        }
    }
}

int MapData::warpCount() const
{
    int count = 0;
    for (const WarpRecord &record : mWarps)
        count += record.isDefined() ? 1 : 0;
    return count;
}

QStringList MapData::freePairNumbers() const
{
    QStringList numbers;
    for (int pair = 1; pair <= MaxWarps; ++pair) {
        if (!warp(pair).isDefined())
            numbers.append(QString::number(100 + pair).right(2));
    }
    return numbers;
}

bool operator==(const MapData &a, const MapData &b)
{
    return a.mCells == b.mCells && a.mBranches == b.mBranches && a.mNames == b.mNames &&
           a.mBackgrounds == b.mBackgrounds && a.mEndTexts == b.mEndTexts && a.mWarps == b.mWarps &&
           a.mFloorCount == b.mFloorCount;
}
