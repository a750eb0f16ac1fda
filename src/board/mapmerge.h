#pragma once

#include "board/mapdiff.h"
#include "model/chipdescriptions.h"
#include "model/mapdata.h"
#include "model/warprecord.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>

// A three-way merge of maps, as git merges text: what one side changed from the base is
// taken, what both changed alike is taken once, and what they changed two ways is a
// conflict at which the merged map holds ours. Only what the floor files hold counts, and
// pairs are one pair by their ends (MapDiff::matchPairs), never by their numbers.
namespace MapMerge {

enum class Kind
{
    Cell,
    Branch,
    FloorName,
    FloorBackground,
    FloorComment,
    Pair,          // one pair moved or removed two ways
    PairCell,      // each side put a different new pair on one cell
    PairOverflow,  // theirs' new pair finds no free number
    PairFloorGone, // a pair leads to a floor the merged map no longer has
    Floor,         // a floor changed on one side and removed on the other
};

// What a side did to a floor, for floor conflicts.
enum class FloorFate
{
    Kept,
    Changed,
    Removed,
    Added,
};

struct Conflict
{
    Kind kind = Kind::Cell;
    // The floor the line belongs to: the cell's, a text's, a pair's source floor.
    int floor = 0;
    // Where the conflict is; a null cell for floor texts and floors.
    MapDiff::Place place;
    // Cell texts, branch digits or floor texts of each map.
    QString base;
    QString ours;
    QString theirs;
    // Pairs: ours' number (0 when ours has none) and each map's ends (undefined: none).
    int pair = 0;
    WarpRecord baseEnds;
    WarpRecord oursEnds;
    WarpRecord theirsEnds;
    FloorFate oursFate = FloorFate::Kept;
    FloorFate theirsFate = FloorFate::Kept;
};

struct Result
{
    // Always a map the writer can save and the reader reads back.
    MapData merged;
    QVector<Conflict> conflicts;
    // The changes of theirs taken into ours.
    int taken = 0;
    ChipDescriptions names;
    // A floor whose number is not known (one floor file merged alone): its lines show no
    // floor.
    int unnamedFloor = 0;

    bool isClean() const { return conflicts.isEmpty(); }
    QString line(int index) const;
    QStringList lines() const;
    QString summary() const;
    QJsonObject toJson() const;
};

Result merge(const MapData &base, const MapData &ours, const MapData &theirs,
             const ChipDescriptions &names);

} // namespace MapMerge

// A merge of two maps changed everywhere lists thousands: they grow without copying.
Q_DECLARE_TYPEINFO(MapMerge::Conflict, Q_RELOCATABLE_TYPE);
