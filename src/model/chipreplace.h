#pragma once

#include "model/mapdata.h"

#include <QList>
#include <QRect>
#include <QString>

// Replacing one chip by another: every cell whose text is exactly `from` (chip and number)
// within the scope takes `to`. When a warp chip gives way to a chip that is no warp, the
// pairs with an end on a replaced cell are deleted, as the warp window deletes them.
class ChipReplace
{
public:
    enum class Scope
    {
        Floor,      // the floor `floor`
        EveryFloor, // floors 1 up to the map's floor count
        Selection,  // the rectangle `selection` on the floor `floor`
    };

    ChipReplace(const QString &from, const QString &to, Scope scope, int floor,
                const QRect &selection = QRect());

    // The cells that would change; none when `from` and `to` are the same.
    int count(const MapData &map) const;
    // Pair numbers, ascending, that replacing would delete.
    QList<int> deletedPairs(const MapData &map) const;
    // Replaces and deletes; returns count().
    int apply(MapData &map) const;

    static bool isWarpChip(const QString &cell);

private:
    template <typename Visit> void forEachCell(const MapData &map, Visit &&visit) const;

    QString mFrom;
    QString mTo;
    Scope mScope;
    int mFloor;
    QRect mSelection;
};
