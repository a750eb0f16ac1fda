#include "model/mapdelta.h"

MapDelta MapDelta::between(const MapData &before, const MapData &after)
{
    MapDelta delta;
    const auto note = [&delta](Field field, int x, int y, int floor, const QString &a,
                               const QString &b) {
        if (a != b)
            delta.mTexts.append(
                {field, std::uint8_t(x), std::uint8_t(y), std::uint8_t(floor), a, b});
    };
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
        for (int x = 1; x <= MapData::Width; ++x) {
            for (int y = 1; y <= MapData::Height; ++y) {
                note(Field::Cell, x, y, floor, before.cell(x, y, floor), after.cell(x, y, floor));
                note(Field::Branch, x, y, floor, before.branch(x, y, floor),
                     after.branch(x, y, floor));
            }
        }
        note(Field::Name, 0, 0, floor, before.floorName(floor), after.floorName(floor));
        note(Field::Background, 0, 0, floor, before.floorBackground(floor),
             after.floorBackground(floor));
        note(Field::EndText, 0, 0, floor, before.floorEndText(floor), after.floorEndText(floor));
    }
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        if (before.warp(pair) != after.warp(pair))
            delta.mWarps.append({pair, before.warp(pair), after.warp(pair)});
    }
    delta.mFloorsBefore = before.floorCount();
    delta.mFloorsAfter = after.floorCount();
    return delta;
}

bool MapDelta::isEmpty() const
{
    return mTexts.isEmpty() && mWarps.isEmpty() && mFloorsBefore == mFloorsAfter;
}

bool MapDelta::changesOnlyFreeRecords() const
{
    if (!mTexts.isEmpty() || mFloorsBefore != mFloorsAfter)
        return false;
    for (const WarpChange &change : mWarps) {
        if (change.before.isDefined() || change.after.isDefined())
            return false;
    }
    return true;
}

void MapDelta::setText(MapData &map, const TextChange &change, const QString &text)
{
    switch (change.field) {
    case Field::Cell:
        map.setCell(change.x, change.y, change.floor, text);
        break;
    case Field::Branch:
        map.setBranch(change.x, change.y, change.floor, text);
        break;
    case Field::Name:
        map.setFloorName(change.floor, text);
        break;
    case Field::Background:
        map.setFloorBackground(change.floor, text);
        break;
    case Field::EndText:
        map.setFloorEndText(change.floor, text);
        break;
    }
}

void MapDelta::apply(MapData &map, bool forward) const
{
    for (const TextChange &change : mTexts)
        setText(map, change, forward ? change.after : change.before);
    for (const WarpChange &change : mWarps)
        map.setWarp(change.pair, forward ? change.after : change.before);
    map.setFloorCount(forward ? mFloorsAfter : mFloorsBefore);
}

MapChange MapDelta::change() const
{
    MapChange change;
    for (const TextChange &text : mTexts) {
        switch (text.field) {
        case Field::Cell:
            change.addCell(text.floor, QPoint(text.x, text.y), MapChange::Cells);
            break;
        case Field::Branch:
            change.addCell(text.floor, QPoint(text.x, text.y), MapChange::Branches);
            break;
        default:
            change.parts |= MapChange::FloorTexts;
            if (!change.floors.contains(text.floor))
                change.floors.append(text.floor);
            break;
        }
    }
    if (!mWarps.isEmpty())
        change.parts |= MapChange::Pairs;
    if (mFloorsBefore != mFloorsAfter)
        change.parts |= MapChange::FloorCount;
    return change;
}
