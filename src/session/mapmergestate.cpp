#include "session/mapmergestate.h"

#include "session/editorsession.h"

#include "mapfile/mapfilename.h"
#include "mapfile/mapfilewriter.h"

#include <QBitArray>
#include <QFile>
#include <QFileInfo>

namespace {

using MapMerge::Conflict;
using MapMerge::Kind;

const QString &valueOf(const Conflict &conflict, MapMergeState::Side side)
{
    switch (side) {
    case MapMergeState::Side::Ours:
        return conflict.ours;
    case MapMergeState::Side::Theirs:
        return conflict.theirs;
    case MapMergeState::Side::Base:
        break;
    }
    return conflict.base;
}

WarpRecord endsOf(const Conflict &conflict, MapMergeState::Side side)
{
    switch (side) {
    case MapMergeState::Side::Ours:
        return conflict.oursEnds;
    case MapMergeState::Side::Theirs:
        return conflict.theirsEnds;
    case MapMergeState::Side::Base:
        break;
    }
    return conflict.baseEnds;
}

// The number that holds one of the conflict's pairs in `map`, 0 when none does.
int pairSlot(const MapData &map, const Conflict &conflict)
{
    if (conflict.pair)
        return conflict.pair;
    for (int number = 1; number <= MapData::MaxWarps; ++number) {
        const WarpRecord &record = map.warp(number);
        if (record.isDefined() && (record == conflict.theirsEnds || record == conflict.baseEnds))
            return number;
    }
    return 0;
}

QString stepText(MapMergeState::Side side)
{
    switch (side) {
    case MapMergeState::Side::Ours:
        return QStringLiteral("こちらを使う");
    case MapMergeState::Side::Theirs:
        return QStringLiteral("あちらを使う");
    case MapMergeState::Side::Base:
        break;
    }
    return QStringLiteral("元に戻す");
}

} // namespace

MapMergeState::MapMergeState(EditorSession &session, QObject *parent)
    : QObject(parent), mSession(session)
{
    connect(&mSession.document(), &MapDocument::mapChanged, this, [this] {
        if (mActive)
            recompute();
    });
    // A fresh history: the map was replaced, not edited.
    QUndoStack &history = mSession.document().undoStack();
    connect(&history, &QUndoStack::indexChanged, this, [this, &history] {
        if (mActive && history.count() == 0) {
            stop();
            Q_EMIT abandoned();
        }
    });
}

MapLoadResult MapMergeState::mapWithFloorFrom(const QString &mergedFile, const QString &version)
{
    const QString base = MapFileName::basePathOf(MapFileName::floorOneFileOf(mergedFile));
    const int count = MapFileReader::countFloors(base);
    int floor = 1;
    for (int n = 2; n <= count; ++n)
        if (QFileInfo(MapFileName::floorFilePath(base, n)) == QFileInfo(mergedFile))
            floor = n;
    QList<QByteArray> files;
    for (int n = 1; n <= count; ++n) {
        QFile file(n == floor ? version : MapFileName::floorFilePath(base, n));
        if (!file.open(QIODevice::ReadOnly)) {
            MapLoadResult failed;
            failed.fault = MapFault::loadFileFailure(MapError::AccessError, 0, file.fileName(), 0,
                                                     file.errorString());
            return failed;
        }
        files.append(file.readAll());
        if (files.last().isEmpty() && n == floor)
            files.last() = MapFileWriter::encodeFloor(MapData::resetMap(), 1).bytes;
    }
    return MapFileReader::loadFromMemory(files, base);
}

void MapMergeState::start(const MapData &base, const MapData &theirs, const QString &theirsName)
{
    *mResult = MapMerge::merge(base, mSession.map(), theirs, mSession.descriptions());
    mTheirsName = theirsName;
    mOursChosen = QVector<bool>(mResult->conflicts.size());
    mActive = true;
    const int floor = std::min(mSession.currentFloor(), mResult->merged.floorCount());
    mSession.takeMapAsStep(mResult->merged, QStringLiteral("三方向マージ"), floor);
    recompute();
}

void MapMergeState::stop()
{
    if (!mActive)
        return;
    mActive = false;
    *mResult = {};
    mOursChosen.clear();
    mLeft.clear();
    for (QVector<QPoint> &cells : mMarked)
        cells.clear();
    Q_EMIT changed();
}

int MapMergeState::leftCount() const
{
    return int(std::count(mLeft.begin(), mLeft.end(), true));
}

bool MapMergeState::canChoose(int index, Side side) const
{
    if (index < 0 || index >= mResult->conflicts.size())
        return false;
    switch (mResult->conflicts[index].kind) {
    case Kind::Floor:
    case Kind::PairOverflow:
    case Kind::PairFloorGone:
        return side == Side::Ours;
    default:
        return true;
    }
}

void MapMergeState::choose(const QList<int> &indices, Side side)
{
    if (!mActive)
        return;
    MapData map = mSession.map();
    int floor = 0;
    for (const int index : indices) {
        if (!canChoose(index, side))
            continue;
        const Conflict &conflict = mResult->conflicts[index];
        apply(map, conflict, side);
        mOursChosen[index] = side == Side::Ours;
        if (!floor && MapData::isValidFloor(conflict.floor) && conflict.floor <= map.floorCount())
            floor = conflict.floor;
    }
    if (map != mSession.map())
        mSession.takeMapAsStep(map, stepText(side), floor ? floor : mSession.currentFloor());
    else
        recompute(); // ours chosen where ours already stood: nothing to record
}

void MapMergeState::apply(MapData &map, const Conflict &conflict, Side side) const
{
    const int floor = conflict.floor;
    const QPoint cell = conflict.place.cell;
    switch (conflict.kind) {
    case Kind::Cell:
        map.setCell(cell.x(), cell.y(), floor, valueOf(conflict, side));
        return;
    case Kind::Branch:
        map.setBranch(cell.x(), cell.y(), floor, valueOf(conflict, side));
        return;
    case Kind::FloorName:
        map.setFloorName(floor, valueOf(conflict, side));
        return;
    case Kind::FloorBackground:
        map.setFloorBackground(floor, valueOf(conflict, side));
        return;
    case Kind::FloorComment:
        map.setFloorEndText(floor, valueOf(conflict, side));
        return;
    case Kind::Pair:
    case Kind::PairCell: {
        const WarpRecord ends = endsOf(conflict, side);
        int slot = pairSlot(map, conflict);
        if (!slot && ends.isDefined()) {
            slot = 1;
            while (slot <= MapData::MaxWarps && map.warp(slot).isDefined())
                ++slot;
        }
        // A pair that leads off the map, or finds no number, stays as it is.
        if (slot < 1 || slot > MapData::MaxWarps ||
            (ends.isDefined() && std::max(ends.srcFloor, ends.dstFloor) > map.floorCount()))
            return;
        if (ends.isDefined())
            map.setWarp(slot, ends);
        else
            map.freeWarp(slot);
        return;
    }
    default:
        return;
    }
}

bool MapMergeState::holdsOurs(const MapData &map, const Conflict &conflict) const
{
    const QPoint cell = conflict.place.cell;
    const int floor = conflict.floor;
    const bool onMap = MapData::isValidFloor(floor) && floor <= map.floorCount();
    switch (conflict.kind) {
    case Kind::Cell:
        return onMap && MapDiff::storedCode(map.cell(cell.x(), cell.y(), floor)) ==
                            MapDiff::storedCode(conflict.ours);
    case Kind::Branch:
        return onMap && map.branch(cell.x(), cell.y(), floor) == conflict.ours;
    case Kind::FloorName:
        return onMap && map.floorName(floor) == conflict.ours;
    case Kind::FloorBackground:
        return onMap && map.floorBackground(floor) == conflict.ours;
    case Kind::FloorComment:
        return onMap && map.floorEndText(floor) == conflict.ours;
    case Kind::Pair:
    case Kind::PairCell:
        if (conflict.pair)
            return map.warp(conflict.pair) == conflict.oursEnds;
        return pairSlot(map, conflict) == 0;
    default:
        return true;
    }
}

void MapMergeState::recompute()
{
    const MapData &map = mSession.map();
    mLeft = QVector<bool>(mResult->conflicts.size());
    std::array<QBitArray, MapData::MaxFloors + 1> marked;
    for (QBitArray &cells : marked)
        cells = QBitArray(MapData::Width * MapData::Height);
    const auto mark = [&](int floor, int x, int y) {
        if (MapData::isValidFloor(floor) && MapData::isOnBoard(x, y))
            marked[floor].setBit((y - 1) * MapData::Width + x - 1);
    };
    for (int i = 0; i < mResult->conflicts.size(); ++i) {
        const Conflict &conflict = mResult->conflicts[i];
        mLeft[i] = !mOursChosen.value(i) && holdsOurs(map, conflict);
        if (!mLeft[i])
            continue;
        mark(conflict.floor, conflict.place.cell.x(), conflict.place.cell.y());
        for (const WarpRecord &ends : {conflict.oursEnds, conflict.theirsEnds}) {
            if (!ends.isDefined())
                continue;
            mark(ends.srcFloor, ends.srcX, ends.srcY);
            mark(ends.dstFloor, ends.dstX, ends.dstY);
        }
    }
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
        mMarked[floor].clear();
        for (int i = 0; i < marked[floor].size(); ++i)
            if (marked[floor].testBit(i))
                mMarked[floor].append(QPoint(i % MapData::Width + 1, i / MapData::Width + 1));
    }
    Q_EMIT changed();
}

const QVector<QPoint> &MapMergeState::markedOn(int floor) const
{
    return MapData::isValidFloor(floor) ? mMarked[floor] : mMarked[0];
}
