#include "model/mapdocument.h"

#include "model/floors.h"
#include "model/mapdelta.h"

#include <QUndoCommand>

#include <algorithm>

// One step of the history. The edit has already happened when it is pushed.
class MapStepCommand : public QUndoCommand
{
public:
    struct Sides
    {
        int floorBefore;
        int floorAfter;
        QRect selectionBefore;
        QRect selectionAfter;
    };

    MapStepCommand(MapDocument &document, const QString &text, MapDelta delta, const Sides &sides,
                   const QString &forgottenName)
        : QUndoCommand(text), mDocument(document), mDelta(std::move(delta)), mSides(sides),
          mForgottenName(forgottenName), mSavesBefore(document.mSaves)
    {
    }

    void undo() override
    {
        mDocument.replay(mDelta, false, mSides.floorBefore, mSides.selectionBefore,
                         fileNameAfter(false));
    }
    void redo() override
    {
        if (mDone)
            mDocument.replay(mDelta, true, mSides.floorAfter, mSides.selectionAfter,
                             fileNameAfter(true));
        mDone = true;
    }

private:
    // A save since the step names the map after its files, whichever way the step goes.
    std::optional<QString> fileNameAfter(bool forward) const
    {
        if (mForgottenName.isEmpty() || mDocument.mSaves != mSavesBefore)
            return std::nullopt;
        return forward ? QString() : mForgottenName;
    }

    MapDocument &mDocument;
    MapDelta mDelta;
    Sides mSides;
    QString mForgottenName;
    int mSavesBefore;
    bool mDone = false;
};

namespace {

QString chipText()
{
    return QStringLiteral("チップの配置");
}

} // namespace

MapDocument::MapDocument(QObject *parent) : QObject(parent)
{
    connect(&mUndoStack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { Q_EMIT modifiedChanged(!clean); });
}

void MapDocument::beginStep(const QString &text)
{
    if (mStepDepth++ > 0)
        return;
    mStepStart = mData;
    mStepText = text;
    mStepForgottenName.clear();
    mStepFloorBefore = mCurrentFloor;
    mStepFloorAfter = mCurrentFloor;
    mStepSelectionBefore = mSelection;
}

void MapDocument::holdStep(const QString &text)
{
    if (mStepHeld)
        return;
    mStepHeld = true;
    beginStep(text);
}

void MapDocument::releaseStep()
{
    if (!mStepHeld)
        return;
    mStepHeld = false;
    endStep();
}

void MapDocument::dropHeldStep()
{
    if (!mStepHeld)
        return;
    mStepHeld = false;
    mStepDepth = 0;
    MapChange change = MapDelta::between(mData, *mStepStart).change();
    mData = *mStepStart;
    mStepStart.reset();
    if (!mStepForgottenName.isEmpty()) {
        mFileName = mStepForgottenName;
        change.parts |= MapChange::FileName;
    }
    tell(change);
}

bool MapDocument::heldStepChangesMap() const
{
    if (!mStepHeld)
        return false;
    const MapDelta delta = MapDelta::between(*mStepStart, mData);
    return !delta.isEmpty() && !delta.changesOnlyFreeRecords();
}

void MapDocument::endStep()
{
    if (mStepDepth == 0 || --mStepDepth > 0)
        return;
    MapDelta delta = MapDelta::between(*mStepStart, mData);
    mStepStart.reset();
    if ((delta.isEmpty() || delta.changesOnlyFreeRecords()) && mStepForgottenName.isEmpty())
        return;
    const MapStepCommand::Sides sides{mStepFloorBefore, mStepFloorAfter, mStepSelectionBefore,
                                      mSelection};
    mUndoStack.push(
        new MapStepCommand(*this, mStepText, std::move(delta), sides, mStepForgottenName));
}

template <typename Change>
void MapDocument::edit(const QString &text, int floorAfter, Change &&change, bool showFloorAfter)
{
    beginStep(text);
    // An edit that names its cells is told as it goes; any other is found by comparing.
    std::optional<MapData> before;
    if (!mCellsTold)
        before = mData;
    if (change(mData)) {
        mStepFloorAfter = floorAfter;
        MapChange told = mCellsTold ? *mCellsTold : MapDelta::between(*before, mData).change();
        if (showFloorAfter) {
            mCurrentFloor = std::clamp(floorAfter, 1, mData.floorCount());
            told.parts |= MapChange::FloorShown;
        }
        tell(told);
    }
    endStep();
}

void MapDocument::tell(MapChange change)
{
    if (!change.isEmpty() || change.replayed)
        Q_EMIT mapChanged(change);
}

void MapDocument::replay(const MapDelta &delta, bool forward, int floor, const QRect &selection,
                         const std::optional<QString> &fileName)
{
    delta.apply(mData, forward);
    MapChange change = delta.change();
    if (fileName) {
        mFileName = *fileName;
        change.parts |= MapChange::FileName;
    }
    mCurrentFloor = std::clamp(floor, 1, mData.floorCount());
    mSelection = selection;
    change.replayed = true;
    change.selection = selection;
    tell(change);
}

void MapDocument::undo()
{
    if (!isStepOpen())
        mUndoStack.undo();
}

void MapDocument::redo()
{
    if (!isStepOpen())
        mUndoStack.redo();
}

void MapDocument::layChip(int x, int y, int floor, const QString &cell)
{
    releaseStep();
    beginStep(chipText());
    layChips({QPoint(x, y)}, floor, cell);
    endStep();
}

template <typename Set>
void MapDocument::editCells(const QVector<QPoint> &cells, int floor, const QString &stepText,
                            MapChange::Part part, Set &&set)
{
    releaseStep();
    if (!MapData::isValidFloor(floor))
        return;
    mCellsTold.emplace();
    edit(stepText, floor, [&](MapData &map) {
        bool any = false;
        for (const QPoint &p : cells) {
            if (MapData::isOnBoard(p.x(), p.y()) && set(map, p)) {
                any = true;
                mCellsTold->addCell(floor, p, part);
            }
        }
        return any;
    });
    mCellsTold.reset();
}

void MapDocument::layChips(const QVector<QPoint> &cells, int floor, const QString &cell,
                           const QString &stepText)
{
    editCells(cells, floor, stepText, MapChange::Cells, [&](MapData &map, QPoint p) {
        if (map.cell(p.x(), p.y(), floor) == cell)
            return false;
        map.setCell(p.x(), p.y(), floor, cell);
        return true;
    });
}

void MapDocument::setBranches(const QVector<QPoint> &cells, int floor, const QString &setting,
                              const QString &stepText)
{
    editCells(cells, floor, stepText, MapChange::Branches, [&](MapData &map, QPoint p) {
        if (map.branch(p.x(), p.y(), floor) == setting)
            return false;
        map.setBranch(p.x(), p.y(), floor, setting);
        return true;
    });
}

int MapDocument::replaceChips(const ChipReplace &replacement)
{
    releaseStep();
    int count = 0;
    edit(QStringLiteral("チップの置換"), mCurrentFloor, [&](MapData &map) {
        count = replacement.apply(map);
        return count > 0;
    });
    return count;
}

void MapDocument::setBranch(int x, int y, int floor, const QString &setting)
{
    releaseStep();
    if (!MapData::isOnBoard(x, y) || !MapData::isValidFloor(floor))
        return;
    const QString text =
        setting.isEmpty() ? QStringLiteral("分岐点の解除") : QStringLiteral("分岐点の設定");
    edit(text, floor, [&](MapData &map) {
        map.setBranch(x, y, floor, setting);
        return true;
    });
}

void MapDocument::replace(const MapData &data, const QString &fileName)
{
    mStepDepth = 0;
    mStepHeld = false;
    mStepStart.reset();
    mData = data;
    mFileName = fileName;
    mCurrentFloor = 1;
    mSelection = QRect();
    mUndoStack.clear();
    // clear() leaves an empty stack's clean index alone, which a recovered map had moved.
    mUndoStack.setClean();
    MapChange change = MapChange::wholeMap();
    change.parts |= MapChange::FileName;
    tell(change);
}

void MapDocument::replaceAsStep(const MapData &data, const QString &stepText, int floorAfter,
                                bool readAgain)
{
    releaseStep();
    beginStep(stepText);
    MapChange change = MapDelta::between(mData, data).change();
    mData = data;
    mStepFloorAfter = floorAfter;
    // The views follow the new map on the floor it is shown on.
    const int floorBefore = mCurrentFloor;
    mCurrentFloor = std::clamp(floorAfter, 1, mData.floorCount());
    if (readAgain && !change.isEmpty())
        change.parts |= MapChange::wholeMap().parts;
    if (!change.isEmpty() || mCurrentFloor != floorBefore)
        change.parts |= MapChange::FloorShown;
    tell(change);
    endStep();
}

void MapDocument::setFileName(const QString &name)
{
    ++mSaves;
    if (name == mFileName)
        return;
    mFileName = name;
    MapChange change;
    change.parts = MapChange::FileName;
    tell(change);
}

void MapDocument::forgetFileName()
{
    if (!isStepOpen() || mFileName.isEmpty())
        return;
    mStepForgottenName = mFileName;
    mFileName.clear();
    MapChange change;
    change.parts = MapChange::FileName;
    tell(change);
}

void MapDocument::setFloorTexts(int floor, const QString &name, const QString &background,
                                const QString &endText)
{
    releaseStep();
    if (!MapData::isValidFloor(floor))
        return;
    edit(QStringLiteral("プロパティの変更"), floor, [&](MapData &map) {
        map.setFloorName(floor, name);
        map.setFloorBackground(floor, background);
        map.setFloorEndText(floor, endText);
        return true;
    });
}

void MapDocument::setWarpSource(int pair, QPoint cell, int floor)
{
    if (pair < 1 || pair > MapData::MaxWarps)
        return;
    edit(QStringLiteral("ワープの設定"), floor, [&](MapData &map) {
        WarpRecord record = map.warp(pair);
        record.srcX = std::uint8_t(cell.x());
        record.srcY = std::uint8_t(cell.y());
        record.srcFloor = std::uint8_t(floor);
        map.setWarp(pair, record);
        return true;
    });
}

void MapDocument::setWarpDestination(int pair, QPoint cell, int floor)
{
    if (pair < 1 || pair > MapData::MaxWarps || !MapData::isValidFloor(floor))
        return;
    edit(QStringLiteral("ワープの設定"), floor, [&](MapData &map) {
        WarpRecord record = map.warp(pair);
        record.dstX = std::uint8_t(cell.x());
        record.dstY = std::uint8_t(cell.y());
        record.dstFloor = std::uint8_t(floor);
        map.setWarp(pair, record);
        return true;
    });
}

void MapDocument::deleteWarp(int pair)
{
    releaseStep();
    if (pair < 1 || pair > MapData::MaxWarps || !mData.warp(pair).isDefined())
        return;
    edit(QStringLiteral("ワープの削除"), mCurrentFloor, [&](MapData &map) {
        // The cells stay in the record; only the floors mark it free.
        WarpRecord record = map.warp(pair);
        record.srcFloor = 0;
        record.dstFloor = 0;
        map.setWarp(pair, record);
        return true;
    });
}

void MapDocument::clearCells(const QRect &cells, int floor, const QString &stepText)
{
    releaseStep();
    if (!MapData::isValidFloor(floor))
        return;
    edit(stepText, floor, [&](MapData &map) { return CellBlock::clear(map, floor, cells); });
}

int MapDocument::layBlock(const CellBlock &block, int floor, QPoint topLeft, int *coveredPairs)
{
    releaseStep();
    int missing = 0;
    if (coveredPairs)
        *coveredPairs = 0;
    if (!MapData::isValidFloor(floor))
        return missing;
    edit(QStringLiteral("貼り付け"), floor, [&](MapData &map) {
        missing = block.lay(map, floor, topLeft, coveredPairs);
        return true;
    });
    return missing;
}

int MapDocument::relocateCells(const QRect &cells, int floor, CellBlock::Turn turn, QPoint topLeft,
                               const QString &stepText)
{
    releaseStep();
    int covered = 0;
    if (!MapData::isValidFloor(floor))
        return covered;
    edit(stepText, floor, [&](MapData &map) {
        return CellBlock::relocate(map, floor, cells, turn, topLeft, &covered);
    });
    return covered;
}

bool MapDocument::addFloor()
{
    releaseStep();
    bool added = false;
    edit(QStringLiteral("階層の追加"), mCurrentFloor, [&](MapData &map) {
        added = Floors::addFloor(map);
        return added;
    });
    return added;
}

void MapDocument::moveFloor(int floor, int delta)
{
    releaseStep();
    edit(
        QStringLiteral("階層の移動"), floor + delta,
        [&](MapData &map) {
            Floors::moveFloor(map, floor, delta);
            return true;
        },
        true);
}

QList<int> MapDocument::deleteFloor(int floor)
{
    releaseStep();
    QList<int> deleted;
    edit(
        QStringLiteral("階層の削除"), floor,
        [&](MapData &map) {
            deleted = Floors::deleteFloor(map, floor);
            return true;
        },
        true);
    return deleted;
}

Floors::Duplication MapDocument::duplicateFloor(int floor)
{
    releaseStep();
    Floors::Duplication result;
    edit(
        QStringLiteral("階層の複製"), floor + 1,
        [&](MapData &map) {
            result = Floors::duplicateFloor(map, floor);
            return result.done;
        },
        true);
    return result;
}
