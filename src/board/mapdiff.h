#pragma once

#include "model/chipdescriptions.h"
#include "model/warprecord.h"

#include <QJsonObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>

#include <utility>

class MapData;

// What changed from one map (before) to another (after), as a person reads it: one
// difference per cell, branch point, warp pair, floor text or floor, floor by floor. Only
// what the floor files hold counts: pairs are matched by their ends, since the files keep
// no numbers. Given both maps in their file form (MapFileForm), a map and any save of it
// have none.
namespace MapDiff {

enum class Kind
{
    Cell,   // the chip or its number
    Branch, // a branch setting added, removed or changed
    PairAdded,
    PairRemoved,
    PairMoved, // same number, one end or both elsewhere
    FloorName,
    FloorBackground,
    FloorComment,
    FloorAdded,
    FloorRemoved,
};

// A cell of one of the two maps; floor 0 when there is none.
struct Place
{
    int floor = 0;
    QPoint cell;

    bool isValid() const { return floor != 0; }
    friend bool operator==(const Place &a, const Place &b)
    {
        return a.floor == b.floor && a.cell == b.cell;
    }
};

struct Difference
{
    Kind kind = Kind::Cell;
    // The floor the line belongs to: the cell's, a text's, or a pair's source floor.
    int floor = 0;
    // Where a double click leads; a floor without a cell for texts and floors.
    Place place;
    // The cells to point out on the board (a pair's ends before and after).
    QVector<Place> marks;
    // As in the maps: cell texts (index and code; only the code is stored in the files),
    // branch digits, floor texts.
    QString before;
    QString after;
    // A pair's number and ends in either map; 0 where it has none.
    int pairBefore = 0;
    int pairAfter = 0;
    WarpRecord endsBefore;
    WarpRecord endsAfter;
};

struct Result
{
    QVector<Difference> differences;
    // The chip names the lines use.
    ChipDescriptions names;

    bool isSame() const { return differences.isEmpty(); }
    // The report line of a difference, made when asked for: a window shows only a few of
    // thousands at a time.
    QString line(int index) const;
    QStringList lines() const;
    // Every cell some difference points out on a floor, each once, row by row.
    QVector<QPoint> markedOn(int floor) const;
    QJsonObject toJson() const;
};

// Two maps' pairs that are one pair, by numbers (0 where a pair has no partner): the same two
// ends, else an end in common (a pair moved), else the same number; the same number first
// in each step. Unmatched pairs were added (before 0) or removed (after 0).
struct PairMatch
{
    int before = 0;
    int after = 0;
};
QVector<PairMatch> matchPairs(const MapData &before, const MapData &after);

// The words the lines are made of, shared with the merge. A place on floor 0 is shown
// without its floor.
QString placeText(int floor, int x, int y);
QStringView storedCode(const QString &cell);
QString quoted(QStringView text);
// A cell's chip description with its number.
QString chipName(const QString &cell, const ChipDescriptions &names);
// Two cells' chip names, with their codes where the names do not tell them apart.
std::pair<QString, QString> chipNames(const QString &one, const QString &other,
                                      const ChipDescriptions &names);
// A branch setting's directions; with `other`, only those that differ from it.
QString settingText(const QString &setting, const QString &other);
QString shownText(const QString &text);
QString pairLabel(int pair);
QString endsText(const WarpRecord &record);

// Chip names come from the descriptions; without them (or where two chips read alike) the
// codes as written are shown too.
Result compare(const MapData &before, const MapData &after, const ChipDescriptions &names);

} // namespace MapDiff

// Every member moves by its pointers: lists of thousands grow without copying.
Q_DECLARE_TYPEINFO(MapDiff::Difference, Q_RELOCATABLE_TYPE);
