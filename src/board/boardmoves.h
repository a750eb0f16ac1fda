#pragma once

#include "model/mapdata.h"

#include <array>
#include <cstdint>

// The moves a piece can make on the board, read from a map once: a step to a neighbour that
// is not empty and that the cell's branch digit lets it leave towards, or a jump along a
// warp pair from its source. The map check and the route both move through this, so they
// cannot disagree on what a move is. Cells are numbered floor by floor, column by column,
// row by row, as MapData keeps them.
class BoardMoves
{
public:
    static constexpr int Width = MapData::Width;
    static constexpr int Height = MapData::Height;
    static constexpr int Floors = MapData::MaxFloors;
    static constexpr int Pairs = MapData::MaxWarps;
    static constexpr int FloorCells = Width * Height;
    static constexpr int CellCount = FloorCells * Floors;

    enum CellFlag : std::uint8_t
    {
        Passable = 0x01,   // anything but exactly "00_  "
        StartCode = 0x02,  // code "S_"
        GoalCode = 0x04,   // code "G_"
        StartChip = 0x08,  // exactly "33_S_"
        GoalChip = 0x10,   // exactly "34_G_"
        WarpCode = 0x20,   // code beginning with "W"
        BlankIndex = 0x40, // chip index "00"
    };
    // Indexed by pair number; a faulty pair is never jumped along.
    using FaultyPairs = std::array<bool, Pairs + 1>;

    explicit BoardMoves(const MapData &map);

    static int cellIndex(int x, int y, int floor)
    {
        return ((floor - 1) * Width + (x - 1)) * Height + (y - 1);
    }
    static int xOf(int cell) { return (cell % FloorCells) / Height + 1; }
    static int yOf(int cell) { return cell % Height + 1; }
    static int floorOf(int cell) { return cell / FloorCells + 1; }
    static bool isOnBoard(int x, int y, int floor)
    {
        return MapData::isOnBoard(x, y) && MapData::isValidFloor(floor);
    }
    // Directions are 1 up, 2 left, 3 right, 4 down.
    static int neighbour(int cell, int direction) { return cell + DirectionStep[direction]; }

    const MapData &map() const { return mMap; }
    int flags(int cell) const { return mFlags[cell]; }
    bool has(int cell, CellFlag flag) const { return (mFlags[cell] & flag) != 0; }
    bool has(int x, int y, int floor, CellFlag flag) const
    {
        return has(cellIndex(x, y, floor), flag);
    }
    // Like has(), for a position read from a warp record: off the board there is nothing.
    bool hasAt(int x, int y, int floor, CellFlag flag) const
    {
        return isOnBoard(x, y, floor) && has(x, y, floor, flag);
    }

    // Bit d set when a step in direction d is a move from the cell.
    int steps(int cell) const;
    // The lowest existing pair that leaves from the cell, 0 for none.
    int firstPairFrom(int cell) const { return mFirstPair[cell]; }
    // The next existing pair that leaves from the same cell as `pair`, 0 for none.
    int nextPairFrom(int pair) const { return mNextPair[pair]; }
    // The cell a jump along the pair lands on, -1 when the pair cannot be jumped along.
    int jumpTarget(int pair, const FaultyPairs &faulty) const;

private:
    static constexpr int DirectionStep[5] = {0, -1, -Height, Height, 1};

    const MapData &mMap;
    std::array<std::uint8_t, CellCount> mFlags;
    std::array<std::uint8_t, CellCount> mFirstPair;
    std::array<std::uint8_t, Pairs + 1> mNextPair;
};
