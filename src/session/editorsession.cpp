#include "session/editorsession.h"

#include "board/mapcheck.h"
#include "model/cellstring.h"

#include <algorithm>

EditorSession::EditorSession(MapDocument &document, const ChipDescriptions &descriptions,
                             QObject *parent)
    : QObject(parent), mDocument(document), mDescriptions(descriptions)
{
    connect(&mDocument, &MapDocument::stepReplayed, this, &EditorSession::onStepReplayed);
    connect(&mTools, &ToolSwitch::boardChanged, this, &EditorSession::refreshBoard);
    connect(&mTools, &ToolSwitch::cellsChanged, &mTools, &ToolSwitch::refreshStatus);
    connect(&mTools, &ToolSwitch::pairsChanged, this, &EditorSession::warpsChanged);
    connect(&mTools.warps(), &WarpLinkTool::markersChanged, this, &EditorSession::warpsChanged);
}

void EditorSession::setCurrentFloor(int floor)
{
    mTools.floorChanged();
    mCurrentFloor = floor;
    mContext.setFloor(floor);
    mDocument.setViewFloor(floor);
}

void EditorSession::syncFloorTabCaptions()
{
    // Tabs that stay keep their captions, as when floors are added or deleted one by one.
    while (mFloorTabCaptions.size() > map().floorCount())
        mFloorTabCaptions.removeLast();
    while (mFloorTabCaptions.size() < map().floorCount())
        mFloorTabCaptions.append(QStringLiteral("%1階").arg(mFloorTabCaptions.size() + 1));
}

void EditorSession::settleForHistory()
{
    mTools.warps().interrupt();
    dropLineStartForFloorChange();
}

void EditorSession::undo()
{
    // The warp window's deletion question is answered first.
    if (mTools.warps().isAskingDeletion())
        return;
    if (mTools.warps().takeBackHalfPlacedEnd()) {
        refreshBoard();
        return;
    }
    settleForHistory();
    mDocument.undo();
    mTools.selection().followHistory(true);
}

void EditorSession::redo()
{
    if (mTools.warps().isAskingDeletion())
        return;
    // Closing a half-placed relink as a step would throw away what is to be redone.
    mTools.warps().takeBackHalfPlacedEnd();
    settleForHistory();
    mDocument.redo();
    mTools.selection().followHistory(false);
}

void EditorSession::onStepReplayed(int floor)
{
    setCurrentFloor(floor);
    syncFloorTabCaptions();
    // The markers follow the pairs the map has now, as a loaded map's do.
    mTools.warps().rebuildMarkers();
    Q_EMIT floorsChanged();
    refreshBoard();
    mTools.refreshStatus();
}

void EditorSession::locateCell(int floor, QPoint cell)
{
    if (!MapData::isOnBoard(cell.x(), cell.y()) || floor < 1 || floor > map().floorCount())
        return;
    if (floor != mCurrentFloor)
        selectFloorTab(floor - 1);
    mStatus.setPosition(
        QStringLiteral("%1階(%2,%3)").arg(mCurrentFloor).arg(cell.x()).arg(cell.y()));
    mStatus.describe(mContext.describe(cell));
    Q_EMIT cellLocated(cell);
}

QString EditorSession::windowCaption() const
{
    const QString title = QStringLiteral("Q;zKマップエディタ");
    const QString separator = QStringLiteral(" \uFF0D ");
    const QString &name = map().floorName(mCurrentFloor);
    if (!name.isEmpty())
        return title + separator + name;
    if (!mDocument.fileName().isEmpty())
        return title + separator + mDocument.fileName() + QStringLiteral(".map");
    return title;
}

QString EditorSession::propertyMenuCaption() const
{
    return QStringLiteral("マップ「%1階」のプロパティ").arg(mCurrentFloor);
}

void EditorSession::refreshBoard()
{
    mTools.refresh();
    Q_EMIT boardRefreshed();
}

void EditorSession::dropLineStartForFloorChange()
{
    // A start cell belongs to the floor it was chosen on.
    if (mEditMode == ChipMode)
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
    const EditMode old = mEditMode;
    if (mode == old || mode < ChipMode || mode > WarpMode)
        return;
    mEditMode = mode;
    mTools.modeChanged(mode);
    Q_EMIT editModeChanged(old, mode);
    Q_EMIT warpsChanged();
    if (mode == WarpMode) {
        if (const int unlinked = MapCheck::findUnlinkedWarpCell(map()))
            mStatus.tell(StatusLine::Kind::UnlinkedWarp, unlinked);
    }
    refreshBoard();
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
    mDocument.replace(emptiedMap());
    resetSessionState();
}

void EditorSession::resetSessionState()
{
    setCurrentFloor(1);
    mContext.setChip(CellString::defaultChip());
    mContext.setBranch(QStringLiteral("0000"));
    mTools.warps().rebuildMarkers();
    syncFloorTabCaptions();
    Q_EMIT floorsChanged();
    // Mode 0 for a moment, so that switching to map editing runs in full.
    mEditMode = NoMode;
    setEditMode(ChipMode);
    // Told after the mode switch, so the old tool window is gone before anything is shown.
    mToolBox.setMode(ToolBoxState::Shown);
}

bool EditorSession::addFloor()
{
    if (!mDocument.addFloor())
        return false;
    mFloorTabCaptions.append(QStringLiteral("%1階").arg(map().floorCount()));
    Q_EMIT floorsChanged();
    return true;
}

bool EditorSession::moveFloor(int delta)
{
    const int target = mCurrentFloor + delta;
    if (target < 1 || target > map().floorCount()) {
        mStatus.tellText(QStringLiteral("動かせません。"));
        return false;
    }
    // A pair waiting for its destination would keep its source on the old floor number.
    settleForHistory();
    mDocument.moveFloor(mCurrentFloor, delta);
    setCurrentFloor(target);
    Q_EMIT warpsChanged();
    refreshBoard();
    mTools.refreshStatus();
    return true;
}

QString EditorSession::deleteFloorQuestion() const
{
    return QStringLiteral("このフロア「") + mFloorTabCaptions.value(mCurrentFloor - 1) +
           QStringLiteral("」を削除します。\r\nよろしいですか？");
}

void EditorSession::deleteCurrentFloor()
{
    if (map().floorCount() <= 1) {
        // The only floor goes by emptying the map, as one step that can be taken back.
        mDocument.beginStep(QStringLiteral("階層の削除"));
        mDocument.replaceAsStep(emptiedMap(), QStringLiteral("階層の削除"));
        mDocument.forgetFileName();
        mDocument.endStep();
        resetSessionState();
        return;
    }
    const int floor = mCurrentFloor;
    mTools.warps().abandonHalfPlacedPair();
    mTools.warps().forgetPairs(mDocument.deleteFloor(floor));
    mFloorTabCaptions.removeLast();
    dropLineStartForFloorChange();
    setCurrentFloor(std::min(floor, map().floorCount()));
    Q_EMIT floorsChanged();
    Q_EMIT warpsChanged();
    refreshBoard();
    mTools.refreshStatus();
}

bool EditorSession::duplicateFloor()
{
    if (map().floorCount() >= MapData::MaxFloors)
        return false;
    // A pair half placed would take a number the copies need.
    settleForHistory();
    const Floors::Duplication made = mDocument.duplicateFloor(mCurrentFloor);
    if (!made.done)
        return false;
    // The views follow the copy as they follow an undone floor step.
    onStepReplayed(mCurrentFloor + 1);
    if (made.pairsNotMade > 0)
        mStatus.tellText(
            QStringLiteral("ワープの空き番号が足りないため、%1組のワープを複製できませんでした。")
                .arg(made.pairsNotMade));
    return true;
}

void EditorSession::takeLoadedMap(const MapData &loaded, const QString &fileName)
{
    mDocument.replace(loaded, fileName);
    showReplacedMap();
}

void EditorSession::showReplacedMap()
{
    mFloorTabCaptions.clear();
    syncFloorTabCaptions();
    mTools.warps().rebuildMarkers();
    Q_EMIT floorsChanged();
    refreshBoard();
}

void EditorSession::takeReloadedMap(const MapData &loaded)
{
    settleForHistory();
    mTools.warps().abandonHalfPlacedPair();
    const int floor = std::min(mCurrentFloor, loaded.floorCount());
    mDocument.replaceAsStep(loaded, QStringLiteral("読み込み直し"), floor);
    // The map now matches its files; undo brings back what the editor held.
    mDocument.markSaved();
    setCurrentFloor(floor);
    showReplacedMap();
}

bool EditorSession::hasUnsavedChanges() const
{
    return mDocument.isModified() || mTools.warps().hasPendingChange();
}
