#pragma once

#include "model/mapchange.h"
#include "model/mapdata.h"

#include <QString>
#include <QVector>

#include <cstdint>

// What one edit changed in a map: the old and new value of every cell, branch setting,
// floor text and warp record it touched, and the floor count. Applying it
// forwards redoes the edit, backwards undoes it; the rest of the map is left alone.
class MapDelta
{
public:
    static MapDelta between(const MapData &before, const MapData &after);

    bool isEmpty() const;
    // True when nothing but free warp records changed: nothing a file, the board or the
    // check would show (a new pair's source before its destination is chosen).
    bool changesOnlyFreeRecords() const;
    void apply(MapData &map, bool forward) const;
    // What applying it changes, either way.
    MapChange change() const;

private:
    enum class Field : std::uint8_t
    {
        Cell,
        Branch,
        Name,
        Background,
        EndText,
    };
    struct TextChange
    {
        Field field;
        std::uint8_t x;
        std::uint8_t y;
        std::uint8_t floor;
        QString before;
        QString after;
    };
    struct WarpChange
    {
        int pair;
        WarpRecord before;
        WarpRecord after;
    };

    static void setText(MapData &map, const TextChange &change, const QString &text);

    QVector<TextChange> mTexts;
    QVector<WarpChange> mWarps;
    int mFloorsBefore = 0;
    int mFloorsAfter = 0;
};
