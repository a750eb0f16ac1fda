#pragma once

#include "board/maproute.h"

#include <QString>
#include <QStringList>
#include <QVector>

class ChipDescriptions;
class MapData;

// The map's numbers: how many of each chip every floor holds, its branch points and pairs,
// the shortest route to a goal and the cells the start cannot reach. A read-only view,
// computed afresh from the map whenever it is wanted.
class MapStats
{
public:
    struct ChipCount
    {
        QString cell; // the whole cell text: chip and number
        int count = 0;
    };
    struct Counts
    {
        // Every chip used, the empty cell left out, in the order of their cell texts.
        QVector<ChipCount> chips;
        int branchPoints = 0;
        int pairs = 0; // pairs that leave from here
        int unreachable = 0;
    };

    static MapStats compute(const MapData &map);

    int floorCount() const { return int(mFloors.size()); }
    const Counts &floor(int floor) const { return mFloors[floor - 1]; }
    const Counts &whole() const { return mWhole; }
    int pairsUsed() const { return mWhole.pairs; }
    int pairsFree() const;
    const MapRoute &route() const { return mRoute; }

    // "あがりまで 37 マス（ワープ 2 回）" or "あがりまで行けません。"
    QString routeText() const;
    // "ワープ 12 組（空き 67 / 79）"
    QString pairsText() const;
    // "分岐点 3 か所　ワープ 2 組　行けないマス 0"
    static QString floorSummaryText(const Counts &counts);
    // "ふりだし  1" with the chip's description; what the window shows beside its picture.
    static QString chipLineText(const ChipDescriptions &descriptions, const ChipCount &chip);
    static QString floorTitle(int floor);
    static QString wholeTitle();
    // Everything as lines of text, as the window shows it, for the command line.
    QStringList textLines(const ChipDescriptions &descriptions) const;

private:
    QVector<Counts> mFloors;
    Counts mWhole;
    MapRoute mRoute;
};
