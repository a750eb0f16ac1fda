#include "board/mapmerge.h"

#include "model/codetables.h"

#include <QBitArray>
#include <QJsonArray>
#include <QPoint>

#include <algorithm>
#include <array>
#include <utility>

namespace MapMerge {

namespace {

using MapDiff::Place;

// A cell's value is its code: the two-digit index is worked out again on reading.
bool sameCell(const QString &a, const QString &b)
{
    return MapDiff::storedCode(a) == MapDiff::storedCode(b);
}

bool sameFloor(const MapData &a, const MapData &b, int floor)
{
    if (a.floorName(floor) != b.floorName(floor) ||
        a.floorBackground(floor) != b.floorBackground(floor) ||
        a.floorEndText(floor) != b.floorEndText(floor))
        return false;
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y) {
            if (!sameCell(a.cell(x, y, floor), b.cell(x, y, floor)) ||
                a.branch(x, y, floor) != b.branch(x, y, floor))
                return false;
        }
    }
    return true;
}

void copyFloor(const MapData &from, int floor, MapData &into)
{
    into.setFloorName(floor, from.floorName(floor));
    into.setFloorBackground(floor, from.floorBackground(floor));
    into.setFloorEndText(floor, from.floorEndText(floor));
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y) {
            into.setCell(x, y, floor, from.cell(x, y, floor));
            into.setBranch(x, y, floor, from.branch(x, y, floor));
        }
    }
}

// The chip's name: its description up to the first "：" ("ダブル：次の手番は…"), and the
// code where the names do not tell the two cells apart.
std::pair<QString, QString> shortChipNames(const QString &one, const QString &other,
                                           const ChipDescriptions &names)
{
    const auto shortName = [&](const QString &cell) {
        const QString name = MapDiff::chipName(cell, names);
        return name.left(name.indexOf(u'：'));
    };
    std::pair<QString, QString> shown{shortName(one), shortName(other)};
    if (shown.first.isEmpty() || shown.first == shown.second) {
        shown.first += MapDiff::quoted(MapDiff::storedCode(one));
        shown.second += MapDiff::quoted(MapDiff::storedCode(other));
    }
    return shown;
}

class Merger
{
public:
    Merger(const MapData &base, const MapData &ours, const MapData &theirs, Result &result)
        : mBase(base), mOurs(ours), mTheirs(theirs), mResult(result), mMerged(result.merged)
    {
    }

    void run()
    {
        mMerged = MapData::resetMap();
        const int count = mergeFloorList();
        mMerged.setFloorCount(count);
        mergePairs();
        dropPairsOffTheMap(count);
        // Floor by floor, as the maps read; each floor's pairs after its cells.
        std::stable_sort(mResult.conflicts.begin(), mResult.conflicts.end(),
                         [](const Conflict &a, const Conflict &b) { return a.floor < b.floor; });
    }

private:
    // Picks one value of three; false at a conflict, where ours stays.
    template <typename T, typename Same>
    bool pick(const T &base, const T &ours, const T &theirs, Same same, T &merged)
    {
        if (same(ours, theirs) || same(theirs, base)) {
            merged = ours;
            return true;
        }
        if (same(ours, base)) {
            merged = theirs;
            ++mResult.taken;
            return true;
        }
        merged = ours;
        return false;
    }

    void mergeText(Kind kind, int floor, const QString &base, const QString &ours,
                   const QString &theirs, void (MapData::*set)(int, const QString &))
    {
        QString merged;
        if (!pick(base, ours, theirs, std::equal_to<QString>(), merged))
            addConflict(kind, floor, {floor, QPoint()}, base, ours, theirs);
        (mMerged.*set)(floor, merged);
    }

    void mergeFloor(const MapData &base, int floor)
    {
        mergeText(Kind::FloorName, floor, base.floorName(floor), mOurs.floorName(floor),
                  mTheirs.floorName(floor), &MapData::setFloorName);
        mergeText(Kind::FloorBackground, floor, base.floorBackground(floor),
                  mOurs.floorBackground(floor), mTheirs.floorBackground(floor),
                  &MapData::setFloorBackground);
        mergeText(Kind::FloorComment, floor, base.floorEndText(floor), mOurs.floorEndText(floor),
                  mTheirs.floorEndText(floor), &MapData::setFloorEndText);
        for (int y = 1; y <= MapData::Height; ++y) {
            for (int x = 1; x <= MapData::Width; ++x) {
                const Place here{floor, QPoint(x, y)};
                QString merged;
                const QString &baseCell = base.cell(x, y, floor);
                const QString &oursCell = mOurs.cell(x, y, floor);
                const QString &theirsCell = mTheirs.cell(x, y, floor);
                if (!pick(baseCell, oursCell, theirsCell, sameCell, merged))
                    addConflict(Kind::Cell, floor, here, baseCell, oursCell, theirsCell);
                mMerged.setCell(x, y, floor, merged);
                const QString &baseSetting = base.branch(x, y, floor);
                const QString &oursSetting = mOurs.branch(x, y, floor);
                const QString &theirsSetting = mTheirs.branch(x, y, floor);
                if (!pick(baseSetting, oursSetting, theirsSetting, std::equal_to<QString>(),
                          merged))
                    addConflict(Kind::Branch, floor, here, baseSetting, oursSetting, theirsSetting);
                mMerged.setBranch(x, y, floor, merged);
            }
        }
    }

    FloorFate fate(const MapData &side, int floor) const
    {
        const bool inBase = floor <= mBase.floorCount();
        if (floor > side.floorCount())
            return FloorFate::Removed; // or never there: the caller tells them apart
        if (!inBase)
            return FloorFate::Added;
        return sameFloor(side, mBase, floor) ? FloorFate::Kept : FloorFate::Changed;
    }

    void addFloorConflict(int floor)
    {
        Conflict c;
        c.kind = Kind::Floor;
        c.floor = floor;
        c.place = {floor, QPoint()};
        c.oursFate = fate(mOurs, floor);
        c.theirsFate = fate(mTheirs, floor);
        mResult.conflicts.append(c);
    }

    // Which floors the merged map has and what each holds; returns the floor count.
    int mergeFloorList()
    {
        std::array<bool, MapData::MaxFloors + 1> present{};
        std::array<bool, MapData::MaxFloors + 1> conflicted{};
        for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
            const bool inBase = floor <= mBase.floorCount();
            const bool inOurs = floor <= mOurs.floorCount();
            const bool inTheirs = floor <= mTheirs.floorCount();
            if (inOurs == inTheirs) {
                present[floor] = inOurs;
            } else if (!inBase) {
                present[floor] = true; // added on one side
                mResult.taken += inTheirs;
            } else {
                // Removed on one side: taken unless the other side changed the floor.
                const bool changed = fate(inOurs ? mOurs : mTheirs, floor) == FloorFate::Changed;
                present[floor] = inOurs && changed;
                conflicted[floor] = changed;
                mResult.taken += inOurs && !changed;
            }
        }
        int count = 1;
        for (int floor = 1; floor <= MapData::MaxFloors; ++floor)
            if (present[floor])
                count = floor;
        for (int floor = 1; floor <= count; ++floor) {
            const bool inBase = floor <= mBase.floorCount();
            const bool inOurs = floor <= mOurs.floorCount();
            const bool inTheirs = floor <= mTheirs.floorCount();
            // Floors are numbered by their files: one removed below a floor that stays
            // cannot go.
            if ((!present[floor] && inBase) || conflicted[floor])
                addFloorConflict(floor);
            if (inOurs && inTheirs && inBase) {
                mergeFloor(mBase, floor);
            } else if (inOurs && inTheirs) {
                static const MapData empty = MapData::resetMap();
                mergeFloor(empty, floor);
            } else if (inOurs || inTheirs) {
                copyFloor(inOurs ? mOurs : mTheirs, floor, mMerged);
            }
        }
        for (int floor = count + 1; floor <= MapData::MaxFloors; ++floor)
            if (conflicted[floor])
                addFloorConflict(floor);
        return count;
    }

    // For each base pair, the number it has on a side (0: removed); and the side's new pairs.
    struct SidePairs
    {
        std::array<int, MapData::MaxWarps + 1> fromBase{};
        QVector<int> added;
    };

    static SidePairs sidePairs(const MapData &base, const MapData &side)
    {
        SidePairs pairs;
        for (const MapDiff::PairMatch &match : MapDiff::matchPairs(base, side)) {
            if (match.before)
                pairs.fromBase[match.before] = match.after;
            else
                pairs.added.append(match.after);
        }
        return pairs;
    }

    static int cellKey(int floor, int x, int y)
    {
        return ((floor - 1) * MapData::Width + (x - 1)) * MapData::Height + (y - 1);
    }

    void markEnds(QBitArray &cells, const WarpRecord &record)
    {
        cells.setBit(cellKey(record.srcFloor, record.srcX, record.srcY));
        cells.setBit(cellKey(record.dstFloor, record.dstX, record.dstY));
    }

    // Ours' changed pair with an end where `record` has one, 0 when none.
    int oursPairAt(const WarpRecord &record) const
    {
        if (!mOursTouched.testBit(cellKey(record.srcFloor, record.srcX, record.srcY)) &&
            !mOursTouched.testBit(cellKey(record.dstFloor, record.dstX, record.dstY)))
            return 0;
        const auto endsMeet = [&](const WarpRecord &a) {
            return (a.srcFloor == record.srcFloor && a.srcX == record.srcX &&
                    a.srcY == record.srcY) ||
                   (a.dstFloor == record.dstFloor && a.dstX == record.dstX &&
                    a.dstY == record.dstY) ||
                   (a.srcFloor == record.dstFloor && a.srcX == record.dstX &&
                    a.srcY == record.dstY) ||
                   (a.dstFloor == record.srcFloor && a.dstX == record.srcX &&
                    a.dstY == record.srcY);
        };
        for (const int number : mOursChanged)
            if (endsMeet(mOurs.warp(number)))
                return number;
        return 0;
    }

    void addPairConflict(Kind kind, int pair, const WarpRecord &base, const WarpRecord &theirs)
    {
        Conflict c;
        c.kind = kind;
        c.pair = pair;
        c.baseEnds = base;
        c.oursEnds = pair ? mOurs.warp(pair) : WarpRecord();
        c.theirsEnds = theirs;
        const WarpRecord &shown = c.oursEnds.isDefined() ? c.oursEnds : theirs;
        const WarpRecord &where = shown.isDefined() ? shown : base;
        c.floor = where.srcFloor;
        c.place = {where.srcFloor, QPoint(where.srcX, where.srcY)};
        mResult.conflicts.append(c);
    }

    void mergePairs()
    {
        for (int number = 1; number <= MapData::MaxWarps; ++number)
            mMerged.setWarp(number, mOurs.warp(number));
        const SidePairs ours = sidePairs(mBase, mOurs);
        const SidePairs theirs = sidePairs(mBase, mTheirs);
        const int cellCount = MapData::Width * MapData::Height * MapData::MaxFloors;
        mOursTouched = QBitArray(cellCount);
        mOursChanged = ours.added;
        for (int number = 1; number <= MapData::MaxWarps; ++number) {
            const int now = ours.fromBase[number];
            if (now && mOurs.warp(now) != mBase.warp(number))
                mOursChanged.append(now);
        }
        for (const int number : std::as_const(mOursChanged))
            markEnds(mOursTouched, mOurs.warp(number));

        for (int number = 1; number <= MapData::MaxWarps; ++number) {
            const WarpRecord &was = mBase.warp(number);
            if (!was.isDefined())
                continue;
            const int inOurs = ours.fromBase[number];
            const int inTheirs = theirs.fromBase[number];
            const WarpRecord oursRecord = inOurs ? mOurs.warp(inOurs) : WarpRecord();
            const WarpRecord theirsRecord = inTheirs ? mTheirs.warp(inTheirs) : WarpRecord();
            if (theirsRecord == was)
                continue;
            if (oursRecord == was) {
                if (!inTheirs) {
                    mMerged.freeWarp(inOurs);
                    ++mResult.taken;
                } else if (oursPairAt(theirsRecord)) {
                    addPairConflict(Kind::PairCell, oursPairAt(theirsRecord), was, theirsRecord);
                } else {
                    mMerged.setWarp(inOurs, theirsRecord);
                    ++mResult.taken;
                }
            } else if (oursRecord != theirsRecord) {
                addPairConflict(Kind::Pair, inOurs, was, theirsRecord);
            }
        }

        for (const int number : theirs.added) {
            const WarpRecord &record = mTheirs.warp(number);
            const bool addedAlike = std::any_of(ours.added.begin(), ours.added.end(),
                                                [&](int n) { return mOurs.warp(n) == record; });
            if (addedAlike)
                continue;
            if (const int clash = oursPairAt(record)) {
                addPairConflict(Kind::PairCell, clash, WarpRecord(), record);
                continue;
            }
            int free = 1;
            while (free <= MapData::MaxWarps && mMerged.warp(free).isDefined())
                ++free;
            if (free > MapData::MaxWarps) {
                addPairConflict(Kind::PairOverflow, 0, WarpRecord(), record);
                continue;
            }
            mMerged.setWarp(free, record);
            ++mResult.taken;
        }
    }

    // The reader refuses a pair that leads above the floor count.
    void dropPairsOffTheMap(int count)
    {
        for (int number = 1; number <= MapData::MaxWarps; ++number) {
            const WarpRecord record = mMerged.warp(number);
            if (!record.isDefined() || (record.srcFloor <= count && record.dstFloor <= count))
                continue;
            mMerged.freeWarp(number);
            const bool isOurs = mOurs.warp(number) == record;
            addPairConflict(Kind::PairFloorGone, isOurs ? number : 0, WarpRecord(),
                            isOurs ? WarpRecord() : record);
        }
    }

    void addConflict(Kind kind, int floor, Place place, const QString &base, const QString &ours,
                     const QString &theirs)
    {
        Conflict c;
        c.kind = kind;
        c.floor = floor;
        c.place = place;
        c.base = base;
        c.ours = ours;
        c.theirs = theirs;
        mResult.conflicts.append(std::move(c));
    }

    const MapData &mBase;
    const MapData &mOurs;
    const MapData &mTheirs;
    Result &mResult;
    MapData &mMerged;
    QBitArray mOursTouched;
    QVector<int> mOursChanged;
};

QString fateText(FloorFate fate)
{
    switch (fate) {
    case FloorFate::Kept:
        return QStringLiteral("そのまま");
    case FloorFate::Changed:
        return QStringLiteral("変更");
    case FloorFate::Removed:
        return QStringLiteral("削除");
    case FloorFate::Added:
        break;
    }
    return QStringLiteral("追加");
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Cell:
        return QStringLiteral("cell");
    case Kind::Branch:
        return QStringLiteral("branch");
    case Kind::FloorName:
        return QStringLiteral("floor-name");
    case Kind::FloorBackground:
        return QStringLiteral("floor-background");
    case Kind::FloorComment:
        return QStringLiteral("floor-comment");
    case Kind::Pair:
        return QStringLiteral("pair");
    case Kind::PairCell:
        return QStringLiteral("pair-cell");
    case Kind::PairOverflow:
        return QStringLiteral("pair-overflow");
    case Kind::PairFloorGone:
        return QStringLiteral("pair-floor-gone");
    case Kind::Floor:
        break;
    }
    return QStringLiteral("floor");
}

QString fateName(FloorFate fate)
{
    switch (fate) {
    case FloorFate::Kept:
        return QStringLiteral("kept");
    case FloorFate::Changed:
        return QStringLiteral("changed");
    case FloorFate::Removed:
        return QStringLiteral("removed");
    case FloorFate::Added:
        break;
    }
    return QStringLiteral("added");
}

bool isPair(Kind kind)
{
    return kind == Kind::Pair || kind == Kind::PairCell || kind == Kind::PairOverflow ||
           kind == Kind::PairFloorGone;
}

} // namespace

Result merge(const MapData &base, const MapData &ours, const MapData &theirs,
             const ChipDescriptions &names)
{
    Result result;
    result.names = names;
    Merger(base, ours, theirs, result).run();
    return result;
}

QString Result::line(int index) const
{
    const Conflict &c = conflicts.at(index);
    const auto shownFloor = [&](int floor) { return floor == unnamedFloor ? 0 : floor; };
    const auto ends = [&](const WarpRecord &record) {
        if (!record.isDefined())
            return QStringLiteral("なし");
        WarpRecord shown = record;
        shown.srcFloor = std::uint8_t(shownFloor(record.srcFloor));
        shown.dstFloor = std::uint8_t(shownFloor(record.dstFloor));
        return MapDiff::endsText(shown);
    };
    const auto sides = [](const QString &ours, const QString &theirs) {
        return ours + QStringLiteral("（こちら） / ") + theirs + QStringLiteral("（あちら）");
    };
    const int floor = shownFloor(c.floor);
    const QString floorText = floor ? QString::number(floor) + u'階' : QString();
    const QString place = MapDiff::placeText(floor, c.place.cell.x(), c.place.cell.y());
    const auto textLine = [&](const QString &part) {
        return floorText + part + u'：' +
               sides(MapDiff::shownText(c.ours), MapDiff::shownText(c.theirs));
    };
    switch (c.kind) {
    case Kind::Cell: {
        const auto [ours, theirs] = shortChipNames(c.ours, c.theirs, names);
        return place + u'：' + sides(ours, theirs);
    }
    case Kind::Branch:
        return place + QStringLiteral("の分岐点：") +
               sides(MapDiff::settingText(c.ours, c.theirs),
                     MapDiff::settingText(c.theirs, c.ours));
    case Kind::FloorName:
        return textLine(QStringLiteral("のマップ名"));
    case Kind::FloorBackground:
        return textLine(QStringLiteral("の背景画"));
    case Kind::FloorComment:
        return textLine(QStringLiteral("のコメント"));
    case Kind::Pair:
    case Kind::PairCell:
        // A floor file read alone numbers its pairs apart from the map's.
        return (c.pair && !floorText.isEmpty() ? MapDiff::pairLabel(c.pair)
                                               : QStringLiteral("ワープ")) +
               u'：' + sides(ends(c.oursEnds), ends(c.theirsEnds));
    case Kind::PairOverflow:
        return QStringLiteral("ワープ数が79を超えるため入りません：") + ends(c.theirsEnds) +
               QStringLiteral("（あちら）");
    case Kind::PairFloorGone:
        return QStringLiteral("行き先の階がないため外しました：") +
               (c.pair ? ends(c.oursEnds) + QStringLiteral("（こちら）")
                       : ends(c.theirsEnds) + QStringLiteral("（あちら）"));
    case Kind::Floor:
        break;
    }
    return floorText + u'：' + sides(fateText(c.oursFate), fateText(c.theirsFate));
}

QStringList Result::lines() const
{
    QStringList lines;
    lines.reserve(conflicts.size());
    for (int i = 0; i < conflicts.size(); ++i)
        lines.append(line(i));
    return lines;
}

QString Result::summary() const
{
    const QString taken = QStringLiteral("あちらの変更 %1 件を取り込み、").arg(this->taken);
    if (isClean())
        return QStringLiteral("マージしました：") + taken + QStringLiteral("衝突はありません。");
    return QStringLiteral("マージしました：") + taken +
           QStringLiteral("衝突が %1 件あります（こちらの内容のままです）。").arg(conflicts.size());
}

QJsonObject Result::toJson() const
{
    const auto pairJson = [](const WarpRecord &ends) -> QJsonValue {
        if (!ends.isDefined())
            return QJsonValue::Null;
        const auto place = [](int floor, int x, int y) {
            return QJsonObject{{QStringLiteral("floor"), floor},
                               {QStringLiteral("x"), x},
                               {QStringLiteral("y"), y}};
        };
        return QJsonObject{{QStringLiteral("from"), place(ends.srcFloor, ends.srcX, ends.srcY)},
                           {QStringLiteral("to"), place(ends.dstFloor, ends.dstX, ends.dstY)}};
    };
    QJsonArray list;
    for (int i = 0; i < conflicts.size(); ++i) {
        const Conflict &c = conflicts[i];
        QJsonObject entry{{QStringLiteral("kind"), kindName(c.kind)},
                          {QStringLiteral("floor"), c.floor == unnamedFloor ? 0 : c.floor},
                          {QStringLiteral("text"), line(i)}};
        if (!c.place.cell.isNull()) {
            entry.insert(QStringLiteral("x"), c.place.cell.x());
            entry.insert(QStringLiteral("y"), c.place.cell.y());
        }
        if (isPair(c.kind)) {
            if (c.pair)
                entry.insert(QStringLiteral("pair"), CodeTables::sourceLabel(c.pair));
            entry.insert(QStringLiteral("ours"), pairJson(c.oursEnds));
            entry.insert(QStringLiteral("theirs"), pairJson(c.theirsEnds));
        } else if (c.kind == Kind::Floor) {
            entry.insert(QStringLiteral("ours"), fateName(c.oursFate));
            entry.insert(QStringLiteral("theirs"), fateName(c.theirsFate));
        } else if (c.kind == Kind::Cell) {
            entry.insert(QStringLiteral("ours"), MapDiff::storedCode(c.ours).toString());
            entry.insert(QStringLiteral("theirs"), MapDiff::storedCode(c.theirs).toString());
        } else {
            entry.insert(QStringLiteral("ours"), c.ours);
            entry.insert(QStringLiteral("theirs"), c.theirs);
        }
        list.append(entry);
    }
    return {{QStringLiteral("clean"), isClean()},
            {QStringLiteral("taken"), taken},
            {QStringLiteral("conflicts"), list}};
}

} // namespace MapMerge
