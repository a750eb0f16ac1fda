#include "session/editorsession.h"

#include "board/mapcheck.h"
#include "model/cellstring.h"

#include <algorithm>

EditorSession::EditorSession(MapDocument &document, const ChipDescriptions &descriptions,
                             QObject *parent)
    : QObject(parent), mDocument(document), mDescriptions(descriptions)
{
    connect(&mDocument, &MapDocument::mapChanged, this, &EditorSession::onMapChanged);
    connect(&mTools.warps(), &WarpLinkTool::markersChanged, this, &EditorSession::warpsChanged);
    connect(&mWarpWindow, &WarpWindowPresenter::changed, this, &EditorSession::warpsChanged);
}

void EditorSession::setCurrentFloor(int floor)
{
    mTools.floorChanged();
    mDocument.setCurrentFloor(floor);
}

QString EditorSession::floorTabCaption(int floor)
{
    return floor == 1 ? QStringLiteral("１階") : QStringLiteral("%1階").arg(floor);
}

void EditorSession::syncFloorTabCaptions()
{
    // Tabs that stay keep their captions, as when floors are added or deleted one by one.
    while (mFloorTabCaptions.size() > map().floorCount())
        mFloorTabCaptions.removeLast();
    while (mFloorTabCaptions.size() < map().floorCount())
        mFloorTabCaptions.append(floorTabCaption(int(mFloorTabCaptions.size()) + 1));
}

void EditorSession::settleForHistory()
{
    mTools.warps().interrupt();
    dropLineStartForFloorChange();
}

void EditorSession::undo()
{
    // The warp window's deletion question is answered first.
    if (mWarpWindow.isAskingDeletion())
        return;
    // The views follow the end taken back through the change event and the markers.
    if (mTools.warps().takeBackHalfPlacedEnd())
        return;
    // With nothing to take back, every tool stays as it is.
    if (!mDocument.undoStack().canUndo())
        return;
    settleForHistory();
    mDocument.undo();
}

void EditorSession::redo()
{
    if (mWarpWindow.isAskingDeletion())
        return;
    // Closing a half-placed relink as a step would throw away what is to be redone.
    mTools.warps().takeBackHalfPlacedEnd();
    if (!mDocument.undoStack().canRedo())
        return;
    settleForHistory();
    mDocument.redo();
}

void EditorSession::onMapChanged(const MapChange &change)
{
    const bool wholeMap = change.has(MapChange::WholeMap);
    const bool floorShown = change.replayed || change.has(MapChange::FloorShown);
    if (floorShown)
        dropLineStartForFloorChange();
    if (wholeMap) {
        // A new map's tabs are named afresh.
        mFloorTabCaptions.clear();
    }
    if (wholeMap || change.has(MapChange::FloorCount)) {
        syncFloorTabCaptions();
        Q_EMIT floorsChanged();
    }
    // The status bar describes the board as it is, on the floor shown now.
    if (floorShown || wholeMap || change.has(MapChange::Cells) || change.has(MapChange::Branches) ||
        change.has(MapChange::Pairs))
        mTools.refreshStatus();
}

void EditorSession::showPlace(int floor, QPoint cell)
{
    if (floor < 1 || floor > map().floorCount())
        return;
    if (cell.isNull())
        selectFloorTab(floor - 1);
    else
        locateCell(floor, cell);
}

void EditorSession::locateCell(int floor, QPoint cell)
{
    if (!MapData::isOnBoard(cell.x(), cell.y()) || floor < 1 || floor > map().floorCount())
        return;
    if (floor != currentFloor())
        selectFloorTab(floor - 1);
    mStatus.setPosition(
        QStringLiteral("%1階(%2,%3)").arg(currentFloor()).arg(cell.x()).arg(cell.y()));
    mStatus.describe(mContext.describe(cell));
    // The keyboard goes on from the cell shown, as it would after a click there.
    mCursor.place(cell);
    Q_EMIT cellLocated(cell);
}

QString EditorSession::windowCaption() const
{
    const QString title = QStringLiteral("Q;zKマップエディタ");
    const QString separator = QStringLiteral(" \uFF0D ");
    const QString &name = map().floorName(currentFloor());
    if (!name.isEmpty())
        return title + separator + name;
    if (!mDocument.fileName().isEmpty())
        return title + separator + mDocument.fileName() + QStringLiteral(".map");
    return title;
}

QString EditorSession::propertyMenuCaption() const
{
    return QStringLiteral("マップ「%1階」のプロパティ").arg(currentFloor());
}

void EditorSession::refreshBoard()
{
    // Line marks belong to the board as it was drawn.
    mTools.line().clearMarks();
    Q_EMIT boardRefreshed();
}

void EditorSession::dropLineStartForFloorChange()
{
    // A start cell belongs to the floor it was chosen on.
    if (editMode() == ChipMode)
        mTools.line().dropStart(true);
}

void EditorSession::selectFloorTab(int index)
{
    dropLineStartForFloorChange();
    setCurrentFloor(index + 1);
    refreshBoard();
    mTools.refreshStatus();
}

void EditorSession::setEditMode(EditMode mode)
{
    if (mode == editMode() || mode < ChipMode || mode > WarpMode)
        return;
    switchEditMode(mode);
    Q_EMIT warpsChanged();
    if (mode == WarpMode) {
        if (const int unlinked = MapCheck::findUnlinkedWarpCell(map()))
            mStatus.tell(StatusLine::Kind::UnlinkedWarp, unlinked);
    }
    refreshBoard();
}

void EditorSession::switchEditMode(EditMode mode)
{
    const EditMode old = editMode();
    mTools.modeChanged(mode);
    if (mode != WarpMode)
        mWarpWindow.dropQuestion();
    Q_EMIT editModeChanged(old, mode);
}

MapData EditorSession::emptiedMap() const
{
    MapData empty = MapData::resetMap();
    // Freed records keep their cells; only the destination floor marks them free.
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        WarpRecord record = map().warp(pair);
        record.dstFloor = 0;
        empty.setWarp(pair, record);
    }
    return empty;
}

void EditorSession::resetMap()
{
    resetSessionState();
    mDocument.replace(emptiedMap());
}

void EditorSession::takeOpenedMap(const MapData &map, const QString &fileName)
{
    resetSessionState();
    mDocument.replace(map, fileName);
}

void EditorSession::resetSessionState()
{
    mContext.setChip(CellString::defaultChip());
    mContext.setBranch(QStringLiteral("0000"));
    // Mode 0 for a moment, so that switching to map editing runs in full. The map that
    // comes next draws the board, its tabs and markers through its change event.
    const bool leavesWarpMode = editMode() == WarpMode;
    mContext.setMode(NoMode);
    switchEditMode(ChipMode);
    // The marker list goes with warp mode even when no pair changes (an empty floor deleted).
    if (leavesWarpMode)
        Q_EMIT warpsChanged();
    // Told after the mode switch, so the old tool window is gone before anything is shown.
    mToolBox.setMode(ToolBoxState::Shown);
}

bool EditorSession::addFloor()
{
    return mDocument.addFloor();
}

bool EditorSession::moveFloor(int delta)
{
    const int target = currentFloor() + delta;
    if (target < 1 || target > map().floorCount()) {
        mStatus.tellText(QStringLiteral("動かせません。"));
        return false;
    }
    // A pair waiting for its destination would keep its source on the old floor number.
    settleForHistory();
    // The views follow the floor moved through the change event, on its new number.
    mDocument.moveFloor(currentFloor(), delta);
    return true;
}

QString EditorSession::deleteFloorQuestion() const
{
    return QStringLiteral("このフロア「") + mFloorTabCaptions.value(currentFloor() - 1) +
           QStringLiteral("」を削除します。\r\nよろしいですか？");
}

void EditorSession::deleteCurrentFloor()
{
    if (map().floorCount() <= 1) {
        // The only floor goes by emptying the map, as one step that can be taken back; the
        // session starts afresh first, so the views follow the emptied map once.
        resetSessionState();
        mDocument.beginStep(QStringLiteral("階層の削除"));
        mDocument.replaceAsStep(emptiedMap(), QStringLiteral("階層の削除"));
        mDocument.forgetFileName();
        mDocument.endStep();
        return;
    }
    // The views follow the floor that takes its place through the change event; the
    // markers of pairs that went with it go there too.
    mTools.warps().abandonHalfPlacedPair();
    mDocument.deleteFloor(currentFloor());
}

bool EditorSession::duplicateFloor()
{
    if (map().floorCount() >= MapData::MaxFloors)
        return false;
    // A pair half placed would take a number the copies need.
    settleForHistory();
    const Floors::Duplication made = mDocument.duplicateFloor(currentFloor());
    if (!made.done)
        return false;
    // The views follow the copy, shown, through the change event.
    if (made.pairsNotMade > 0)
        mStatus.tellText(
            QStringLiteral("ワープの空き番号が足りないため、%1組のワープを複製できませんでした。")
                .arg(made.pairsNotMade));
    return true;
}

void EditorSession::takeLoadedMap(const MapData &loaded, const QString &fileName)
{
    mDocument.replace(loaded, fileName);
}

void EditorSession::takeReloadedMap(const MapData &loaded)
{
    settleForHistory();
    mTools.warps().abandonHalfPlacedPair();
    // The views follow the map read again through its change event, on this floor.
    const int floor = std::min(currentFloor(), loaded.floorCount());
    mDocument.replaceAsStep(loaded, QStringLiteral("読み込み直し"), floor, true);
    // The map now matches its files; undo brings back what the editor held.
    mDocument.markSaved();
}

void EditorSession::takeMapAsStep(const MapData &map, const QString &stepText, int floor)
{
    settleForHistory();
    mTools.warps().abandonHalfPlacedPair();
    // The views follow the map, on `floor`, through the change event.
    mDocument.replaceAsStep(map, stepText, floor);
}

bool EditorSession::hasUnsavedChanges() const
{
    return mDocument.isModified() || mTools.warps().hasPendingChange();
}
