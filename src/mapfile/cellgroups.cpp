#include "mapfile/cellgroups.h"

#include "model/cellstring.h"
#include "model/mapdata.h"

QList<QPoint> CellGroups::terminalCells(const MapData &map, int floor)
{
    CellGroups groups;
    groups.number(map, floor);
    if (floor == 1)
        groups.leaveOutStartGroup(map);

    QList<QPoint> cells;
    for (int group = 1; group <= MaxGroups; ++group) {
        if (groups.mFirstCell[group].x() != 0)
            cells.append(groups.mFirstCell[group]);
    }
    return cells;
}

void CellGroups::number(const MapData &map, int floor)
{
    const QString empty = CellString::empty();
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y)
            mGrid[x][y] = Unvisited;
    }
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y) {
            if (map.cell(x, y, floor) == empty) {
                mGrid[x][y] = 0;
                continue;
            }
            const std::uint8_t up = mGrid[x][y - 1];
            const std::uint8_t left = mGrid[x - 1][y];
            if (up != 0 && left == 0) {
                mGrid[x][y] = up;
            } else if (up != 0) {
                if (up != left)
                    mergeCellGroups(up, left);
                mGrid[x][y] = left;
            } else if (left == 0) {
                // A number is handed out only where up and left are empty, and no two such
                // cells touch: at most 192 on the board, so the count never passes 254.
                ++mCount;
                mGrid[x][y] = std::uint8_t(mCount);
                mFirstCell[mCount] = QPoint(x, y);
            } else {
                mGrid[x][y] = left;
            }
        }
    }
}

void CellGroups::mergeCellGroups(std::uint8_t from, std::uint8_t into)
{
    mFirstCell[from] = QPoint();
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y) {
            if (mGrid[x][y] == Unvisited)
                return;
            if (mGrid[x][y] == from)
                mGrid[x][y] = into;
        }
    }
}

void CellGroups::leaveOutStartGroup(const MapData &map)
{
    const QString start = CellString::start();
    for (int y = MapData::Height; y >= 1; --y) {
        for (int x = MapData::Width; x >= 1; --x) {
            if (map.cell(x, y, 1) == start) {
                mFirstCell[mGrid[x][y]] = QPoint();
                return;
            }
        }
    }
}
