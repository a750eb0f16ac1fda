#include "session/editorsession.h"

#include "board/chipline.h"
#include "board/mapcheck.h"
#include "mapfile/mapfilename.h"
#include "model/cellstring.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

QString askStartText()
{
    return QStringLiteral("始点をクリックして下さい。");
}

QString askEndText()
{
    return QStringLiteral("終点をクリックして下さい。");
}

} // namespace

EditorSession::EditorSession(MapDocument &document, const ChipDescriptions &descriptions,
                             QObject *parent)
    : QObject(parent), mDocument(document), mDescriptions(descriptions),
      mSelectedChip(CellString::defaultChip()), mFileDialogFolder(QDir::currentPath())
{
    connect(&mWarps, &WarpLinking::statusTextChanged, this, &EditorSession::setStatusText);
    connect(&mDocument, &MapDocument::stepReplayed, this, &EditorSession::onStepReplayed);
    connect(&mDocument, &MapDocument::changed, this, &EditorSession::dropCheckResult);
    connect(&mFileWatch, &MapFileWatch::filesVanished, this, [this] {
        setStatusText(mFileWatch.vanishedText());
        mDocument.markModified();
    });
}

void EditorSession::setCurrentFloor(int floor)
{
    // A selection belongs to the floor it was made on.
    mBlocks.dropSelection();
    mCurrentFloor = floor;
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
    mWarps.interrupt();
    dropLineStartForFloorChange();
}

void EditorSession::undo()
{
    // The warp window's deletion question is answered first.
    if (mWarps.isAskingDeletion())
        return;
    if (mWarps.takeBackHalfPlacedEnd()) {
        Q_EMIT warpsChanged();
        refreshBoard();
        return;
    }
    settleForHistory();
    mDocument.undo();
}

void EditorSession::redo()
{
    if (mWarps.isAskingDeletion())
        return;
    // Closing a half-placed relink as a step would throw away what is to be redone.
    mWarps.takeBackHalfPlacedEnd();
    settleForHistory();
    mDocument.redo();
}

void EditorSession::onStepReplayed(int floor)
{
    setCurrentFloor(floor);
    syncFloorTabCaptions();
    // The markers follow the pairs the map has now, as a loaded map's do.
    mWarps.rebuildMarkers();
    Q_EMIT floorsChanged();
    Q_EMIT warpsChanged();
    refreshBoard();
    refreshStatusTexts();
}

MapCheck::Report EditorSession::checkMap()
{
    MapCheck::Report report = MapCheck::run(map());
    mCheckResult = report;
    mCheckedMap = map();
    mCheckOverlayOn = true;
    Q_EMIT checkOverlayChanged();
    return report;
}

const MapCheck::Report *EditorSession::checkOverlay() const
{
    return mCheckResult && mCheckOverlayOn ? &*mCheckResult : nullptr;
}

void EditorSession::setCheckOverlayOn(bool on)
{
    if (on == mCheckOverlayOn)
        return;
    mCheckOverlayOn = on;
    Q_EMIT checkOverlayChanged();
}

void EditorSession::dropCheckResult()
{
    if (!mCheckResult)
        return;
    // Saving under a name is no change to what the check saw.
    MapData now = map();
    now.setMapFileName(mCheckedMap.mapFileName());
    if (now == mCheckedMap)
        return;
    mCheckResult.reset();
    mCheckedMap = MapData();
    Q_EMIT checkOverlayChanged();
}

void EditorSession::locateCell(int floor, QPoint cell)
{
    if (!MapData::isOnBoard(cell.x(), cell.y()) || floor < 1 || floor > map().floorCount())
        return;
    if (floor != mCurrentFloor)
        selectFloorTab(floor - 1);
    setPositionText(QStringLiteral("%1階(%2,%3)").arg(mCurrentFloor).arg(cell.x()).arg(cell.y()));
    setStatusText(cellDescription(map().cell(cell.x(), cell.y(), mCurrentFloor)));
    Q_EMIT cellLocated(cell);
}

QString EditorSession::windowCaption() const
{
    const QString title = QStringLiteral("Q;zKマップエディタ");
    const QString separator = QStringLiteral(" \uFF0D ");
    const QString &name = map().floorName(mCurrentFloor);
    if (!name.isEmpty())
        return title + separator + name;
    if (!map().mapFileName().isEmpty())
        return title + separator + map().mapFileName() + QStringLiteral(".map");
    return title;
}

QString EditorSession::propertyMenuCaption() const
{
    return QStringLiteral("マップ「%1階」のプロパティ").arg(mCurrentFloor);
}

QString EditorSession::sampleCode() const
{
    if (mSelectedChip == CellString::empty())
        return QStringLiteral("  ");
    return mSelectedChip.right(2);
}

void EditorSession::refreshBoard()
{
    mLineMarks.clear();
    Q_EMIT boardRefreshed();
}

void EditorSession::dropLineStartForFloorChange()
{
    // A start cell belongs to the floor it was chosen on.
    if (mLineTool == LineWaitingEnd && mEditMode == ChipMode) {
        setLineTool(LineWaitingStart);
        setStatusText(askStartText());
    }
}

void EditorSession::selectFloorTab(int index)
{
    dropLineStartForFloorChange();
    setCurrentFloor(index + 1);
    refreshBoard();
    refreshStatusTexts();
}

void EditorSession::mouseOverBackground()
{
    mHoveredCell = QPoint();
    setPositionText(QString());
    if (mLineTool != LineOff && mEditMode == ChipMode)
        return;
    // An unlinked-warp warning stays until something else replaces it.
    if ((mEditMode != WarpMode || warpPickStage() == 0) &&
        !mStatusText.endsWith(QStringLiteral("ワープマスがあります。")))
        setStatusText(QString());
}

void EditorSession::toggleLineTool()
{
    if (mLineTool == LineOff)
        mBlocks.setOn(false);
    setLineTool(mLineTool != LineOff ? LineOff : LineWaitingStart);
}

void EditorSession::setLineTool(LineToolState state)
{
    mLineTool = state;
    Q_EMIT lineToolChanged();
}

void EditorSession::markLineStart(QPoint cell)
{
    mLineMarks.append(cell);
    Q_EMIT boardRefreshed();
}

void EditorSession::drawChipLine(QPoint target, bool commit)
{
    refreshBoard();
    const QVector<QPoint> cells = chipLine(mLineStart, target);
    if (commit) {
        mDocument.layChips(cells, mCurrentFloor, mSelectedChip);
        return;
    }
    mLineMarks += cells;
    Q_EMIT boardRefreshed();
}

void EditorSession::setEditMode(EditMode mode)
{
    const EditMode old = mEditMode;
    if (mode == old || mode < ChipMode || mode > WarpMode)
        return;
    // A line whose end was not chosen yet is dropped; the tool itself stays on.
    if (mLineTool == LineWaitingEnd)
        setLineTool(LineWaitingStart);
    mWarps.setMarkerListText(QString());
    mEditMode = mode;
    mBlocks.dropSelection();
    if (mode != WarpMode) {
        mWarps.leaveWarpMode();
        setStatusText(QString());
    }
    Q_EMIT editModeChanged(old, mode);
    Q_EMIT warpsChanged();
    if (mode == WarpMode) {
        if (const int unlinked = MapCheck::findUnlinkedWarpCell(map()))
            setStatusText(MapCheck::unlinkedWarpText(unlinked));
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
    mFileWatch.stop();
    mDocument.replace(emptiedMap());
    resetSessionState();
}

void EditorSession::resetSessionState()
{
    setCurrentFloor(1);
    setSelectedChip(CellString::defaultChip());
    // Told after the mode switch, so the old tool window is gone before anything is shown.
    mToolBoxMode = ToolBoxShown;
    mSelectedBranch = QStringLiteral("0000");
    Q_EMIT selectedBranchChanged();
    mWarps.rebuildMarkers();
    syncFloorTabCaptions();
    Q_EMIT floorsChanged();
    // Mode 0 for a moment, so that switching to map editing runs in full.
    mEditMode = NoMode;
    setEditMode(ChipMode);
    Q_EMIT toolBoxModeChanged();
}

void EditorSession::fileChosen(const QString &file)
{
    if (!file.isEmpty())
        mFileDialogFolder = QFileInfo(file).absolutePath();
}

MapLoadResult EditorSession::openMap(const QString &chosenFile)
{
    const QString basePath = MapFileName::basePathOf(chosenFile);
    // Taken before reading: a write in between is then seen as a change, never missed.
    const FloorFileContents read = MapFileWatch::readFloorFiles(basePath);
    const MapLoadResult loaded = MapFileReader::load(basePath);
    if (!loaded.fault) {
        resetMap();
        takeLoadedMap(loaded.map);
        mFileWatch.track(basePath, read);
    }
    return loaded;
}

MapSaveResult EditorSession::saveMap(const QString &basePath)
{
    // What is saved is then the saved state, a relinked pair's moved source included.
    mWarps.recordPendingStep();
    const MapSaveResult saved = MapFileWriter::save(map(), basePath);
    // Only a map that was written takes the new name.
    if (saved.fault)
        return saved;
    if (map().mapFileName() != basePath)
        mDocument.setMapFileName(basePath);
    mDocument.markSaved();
    // Written again, the files are no longer gone.
    if (mStatusText == mFileWatch.vanishedText())
        setStatusText(QString());
    mFileWatch.track(basePath);
    return saved;
}

void EditorSession::setToolBoxMode(ToolBoxMode mode)
{
    if (mode < ToolBoxShown || mode > ToolBoxHidden)
        return;
    mToolBoxMode = mode;
    Q_EMIT toolBoxModeChanged();
}

int EditorSession::selectedBranchDigit(int direction) const
{
    if (direction < 1 || direction > 4 || mSelectedBranch.size() < direction)
        return 0;
    return mSelectedBranch.at(direction - 1).digitValue();
}

void EditorSession::advanceBranchDigit(int direction)
{
    if (direction < 1 || direction > 4)
        return;
    const int digit = (selectedBranchDigit(direction) + 1) % 4;
    mSelectedBranch.replace(direction - 1, 1, QString::number(digit));
    Q_EMIT selectedBranchChanged();
}

void EditorSession::clearSelectedBranch()
{
    mSelectedBranch = QStringLiteral("0000");
    Q_EMIT selectedBranchChanged();
}

void EditorSession::setSelectedChip(const QString &cell)
{
    if (cell == mSelectedChip)
        return;
    mSelectedChip = cell;
    Q_EMIT selectedChipChanged();
}

void EditorSession::setToolBoxPosition(QPoint twips)
{
    const auto fit = [](int value) { return std::clamp(value, -32768, 32767); };
    mToolBoxPosition = QPoint(fit(twips.x()), fit(twips.y()));
}

void EditorSession::setStatusText(const QString &text)
{
    if (text == mStatusText)
        return;
    mStatusText = text;
    Q_EMIT statusChanged();
}

void EditorSession::setPositionText(const QString &text)
{
    if (text == mPositionText)
        return;
    mPositionText = text;
    Q_EMIT statusChanged();
}

void EditorSession::clickCell(QPoint cell, Qt::MouseButton button)
{
    if (!MapData::isOnBoard(cell.x(), cell.y()))
        return;
    const bool left = button == Qt::LeftButton;
    if (mEditMode == ChipMode && mLineTool == LineWaitingEnd && !left) {
        setLineTool(LineWaitingStart);
        refreshBoard();
        setStatusText(askStartText());
        return;
    }
    if (mEditMode == ChipMode && mLineTool == LineWaitingStart) {
        if (left) {
            markLineStart(cell);
            mLineStart = cell;
            setStatusText(askEndText());
            setLineTool(LineWaitingEnd);
        } else {
            setLineTool(LineOff);
            refreshBoard();
        }
        return;
    }
    if (mEditMode == ChipMode && mLineTool == LineWaitingEnd) {
        setLineTool(LineWaitingStart);
        drawChipLine(cell, true);
        refreshBoard();
        setStatusText(askStartText());
        return;
    }

    if (mEditMode == ChipMode && left) {
        mDocument.layChip(cell.x(), cell.y(), mCurrentFloor, mSelectedChip);
        refreshStatusTexts();
    }
    if (mEditMode == BranchMode) {
        mDocument.setBranch(cell.x(), cell.y(), mCurrentFloor,
                            button == Qt::RightButton ? QString() : mSelectedBranch);
        refreshBoard();
        return;
    }
    if (mEditMode == WarpMode) {
        mWarps.setMarkerListText(QString());
        const bool right = button == Qt::RightButton;
        if (warpPickStage() != WarpLinking::NotLinking) {
            if (warpPickStage() == WarpLinking::WaitingSource)
                mWarps.setWarpSource(cell, mCurrentFloor, right);
            else
                mWarps.setWarpDestination(cell, mCurrentFloor, right);
            Q_EMIT warpsChanged();
            return;
        }
        Q_EMIT warpsChanged();
    }
    if (button == Qt::RightButton)
        setSelectedChip(map().cell(cell.x(), cell.y(), mCurrentFloor));
    refreshBoard();
}

QString EditorSession::cellDescription(const QString &cell) const
{
    return mDescriptions.describe(CellString::chipIndex(cell),
                                  QString::number(CellString::decodeParameter(cell)));
}

void EditorSession::hoverCell(QPoint cell)
{
    mHoveredCell = cell;
    if (!MapData::isOnBoard(cell.x(), cell.y()))
        return;
    const QString description = cellDescription(map().cell(cell.x(), cell.y(), mCurrentFloor));
    setPositionText(QStringLiteral("%1階(%2,%3)").arg(mCurrentFloor).arg(cell.x()).arg(cell.y()));
    if (mEditMode == WarpMode && warpPickStage() != 0)
        return;
    if (mLineTool != LineOff && mEditMode == ChipMode) {
        if (mLineTool == LineWaitingEnd) {
            if (cell != mLinePreviewCell)
                drawChipLine(cell, false);
            mLinePreviewCell = cell;
        }
        return;
    }
    mHoverStatus = description;
    setStatusText(description);
}

void EditorSession::refreshStatusTexts()
{
    if (mStatusText.endsWith(QStringLiteral("ワープマスがあります。"))) {
        const int unlinked = MapCheck::findUnlinkedWarpCell(map());
        setStatusText(unlinked ? MapCheck::unlinkedWarpText(unlinked) : QString());
    }
    if (MapData::isOnBoard(mHoveredCell.x(), mHoveredCell.y())) {
        hoverCell(mHoveredCell);
        return;
    }
    // Nothing is under the pointer: what it last showed belongs to another floor.
    setPositionText(QString());
    if (!mHoverStatus.isEmpty() && mStatusText == mHoverStatus)
        setStatusText(QString());
}

bool EditorSession::clickMarker(int index, Qt::MouseButton button)
{
    return mWarps.clickMarker(index, button == Qt::RightButton, mEditMode == WarpMode,
                              mCurrentFloor);
}

bool EditorSession::isMarkerVisible(const WarpLinking::Marker &marker) const
{
    return mEditMode == WarpMode && marker.floor == mCurrentFloor;
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
        setStatusText(QStringLiteral("動かせません。"));
        return false;
    }
    mDocument.moveFloor(mCurrentFloor, delta);
    dropLineStartForFloorChange();
    setCurrentFloor(target);
    Q_EMIT warpsChanged();
    refreshBoard();
    refreshStatusTexts();
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
        mDocument.replaceAsStep(emptiedMap(), QStringLiteral("階層の削除"));
        resetSessionState();
        return;
    }
    const int floor = mCurrentFloor;
    mWarps.abandonHalfPlacedPair();
    mWarps.forgetPairs(mDocument.deleteFloor(floor));
    mFloorTabCaptions.removeLast();
    dropLineStartForFloorChange();
    setCurrentFloor(std::min(floor, map().floorCount()));
    Q_EMIT floorsChanged();
    Q_EMIT warpsChanged();
    refreshBoard();
    refreshStatusTexts();
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
        setStatusText(
            QStringLiteral("ワープの空き番号が足りないため、%1組のワープを複製できませんでした。")
                .arg(made.pairsNotMade));
    return true;
}

void EditorSession::takeLoadedMap(const MapData &loaded)
{
    mDocument.replace(loaded);
    showReplacedMap();
}

void EditorSession::showReplacedMap()
{
    mFloorTabCaptions.clear();
    syncFloorTabCaptions();
    mWarps.rebuildMarkers();
    Q_EMIT floorsChanged();
    Q_EMIT warpsChanged();
    refreshBoard();
}

MapLoadResult EditorSession::reloadMap()
{
    const QString basePath = map().mapFileName();
    const FloorFileContents read = MapFileWatch::readFloorFiles(basePath);
    const MapLoadResult loaded = MapFileReader::load(basePath);
    if (loaded.fault)
        return loaded;
    settleForHistory();
    mWarps.abandonHalfPlacedPair();
    const int floor = std::min(mCurrentFloor, loaded.map.floorCount());
    mDocument.replaceAsStep(loaded.map, QStringLiteral("読み込み直し"), floor);
    // The map now matches its files; undo brings back what the editor held.
    mDocument.markSaved();
    mFileWatch.track(basePath, read);
    setCurrentFloor(floor);
    showReplacedMap();
    return loaded;
}

void EditorSession::takeRecoveredMap(const MapData &recovered)
{
    resetMap();
    takeLoadedMap(recovered);
    mDocument.markModified();
}

bool EditorSession::hasUnsavedChanges() const
{
    return mDocument.isModified() || mWarps.hasPendingChange();
}

QString EditorSession::unsavedChangesQuestion() const
{
    const QString &name = map().mapFileName();
    const QString subject =
        name.isEmpty() ? QStringLiteral("このマップ")
                       : QStringLiteral("マップ「%1.map」").arg(QFileInfo(name).fileName());
    return subject + QStringLiteral("には保存されていない変更があります。\r\n保存しますか？");
}
