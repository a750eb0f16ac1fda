#pragma once

#include "model/warprecord.h"

#include <QString>
#include <QStringList>

#include <array>

// The map itself as a value: what the floor files hold. Coordinates are 1-based
// (x 1..24, y 1..16, floor 1..9) everywhere in the accessors.
class MapData
{
public:
    static constexpr int Width = 24;
    static constexpr int Height = 16;
    static constexpr int MaxFloors = 9;
    static constexpr int MaxWarps = 79;

    // The start-up map: floor 1 empty cells, floors 2..9 empty texts.
    MapData();
    // The map after a reset: every cell of all nine floors "00_  ".
    static MapData resetMap();

    static bool isOnBoard(int x, int y) { return x >= 1 && x <= Width && y >= 1 && y <= Height; }
    static bool isValidFloor(int floor) { return floor >= 1 && floor <= MaxFloors; }

    const QString &cell(int x, int y, int floor) const { return mCells[index(x, y, floor)]; }
    void setCell(int x, int y, int floor, const QString &text)
    {
        mCells[index(x, y, floor)] = text;
    }
    const QString &branch(int x, int y, int floor) const { return mBranches[index(x, y, floor)]; }
    void setBranch(int x, int y, int floor, const QString &text)
    {
        mBranches[index(x, y, floor)] = text;
    }
    // Fills a whole floor with empty cells and clears its branch settings.
    void clearFloor(int floor);

    int floorCount() const { return mFloorCount; }
    void setFloorCount(int count) { mFloorCount = count; }

    const QString &floorName(int floor) const { return mNames[floor - 1]; }
    void setFloorName(int floor, const QString &text) { mNames[floor - 1] = text; }
    const QString &floorBackground(int floor) const { return mBackgrounds[floor - 1]; }
    void setFloorBackground(int floor, const QString &text) { mBackgrounds[floor - 1] = text; }
    const QString &floorEndText(int floor) const { return mEndTexts[floor - 1]; }
    void setFloorEndText(int floor, const QString &text) { mEndTexts[floor - 1] = text; }

    // Pair numbers are 1-based (1..79).
    const WarpRecord &warp(int pair) const { return mWarps[pair - 1]; }
    void setWarp(int pair, const WarpRecord &record) { mWarps[pair - 1] = record; }
    // Deletes a pair: the cells stay in the record, only the floors mark it free.
    void freeWarp(int pair)
    {
        mWarps[pair - 1].srcFloor = 0;
        mWarps[pair - 1].dstFloor = 0;
    }
    // The pairs that exist: records with a destination floor.
    int warpCount() const;
    // Every pair number whose record is free, ascending, as two-digit texts "01".."79".
    QStringList freePairNumbers() const;

    friend bool operator==(const MapData &a, const MapData &b);
    friend bool operator!=(const MapData &a, const MapData &b) { return !(a == b); }

private:
    static constexpr int CellCount = Width * Height * MaxFloors;
    static int index(int x, int y, int floor)
    {
        return ((floor - 1) * Width + (x - 1)) * Height + (y - 1);
    }

    std::array<QString, CellCount> mCells;
    std::array<QString, CellCount> mBranches;
    std::array<QString, MaxFloors> mNames;
    std::array<QString, MaxFloors> mBackgrounds;
    std::array<QString, MaxFloors> mEndTexts;
    std::array<WarpRecord, MaxWarps> mWarps{};
    int mFloorCount = 1;
};
