#pragma once

#include <QList>
#include <QPoint>

#include <array>
#include <cstdint>

class MapData;

// Numbers the groups of connected non-empty cells of one floor for the "*TERMINAL" section.
// The numbering is the game's own: a merge renumbers only the cells already visited, so a
// group's recorded cell is where its surviving number was handed out, not always its first
// cell in column order.
class CellGroups
{
public:
    // The recorded cell of every group in the order of the group numbers; on floor 1 the
    // group of the start chip is left out.
    static QList<QPoint> terminalCells(const MapData &map, int floor);

private:
    static constexpr std::uint8_t Unvisited = 255;
    static constexpr int MaxGroups = 254;

    void number(const MapData &map, int floor);
    void mergeCellGroups(std::uint8_t from, std::uint8_t into);
    void leaveOutStartGroup(const MapData &map);

    // Row 0 and column 0 are the border, always 0.
    std::array<std::array<std::uint8_t, 17>, 25> mGrid{};
    std::array<QPoint, MaxGroups + 1> mFirstCell{}; // index 1..254; x == 0: no group
    int mCount = 0;
};
