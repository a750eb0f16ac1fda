#include "session/tools/warplinktool.h"

#include "model/codetables.h"
#include "model/mapdocument.h"
#include "session/statusline.h"
#include "session/tools/toolcontext.h"

QString WarpLinkTool::sampleCaption() const
{
    switch (mStage) {
    case WaitingSource:
        return CodeTables::sourceLabel(mSelectedWarp);
    case WaitingDestination:
        return CodeTables::destinationLabel(mSelectedWarp);
    default:
        return {};
    }
}

void WarpLinkTool::tellStage()
{
    StatusLine &status = mContext.status();
    switch (mStage) {
    case WaitingSource:
        status.tell(StatusLine::Kind::AskWarpSource);
        break;
    case WaitingDestination:
        status.tell(StatusLine::Kind::AskWarpDestination);
        break;
    default:
        status.clear();
        break;
    }
    Q_EMIT markersChanged();
}

WarpLinkTool::NewPair WarpLinkTool::startNewPair()
{
    if (mStage == WaitingDestination) {
        closeStep();
        dropHalfPlacedSource();
        mStage = WaitingSource;
        tellStage();
        return NewPair::BackToSource;
    }
    if (mContext.map().freePairNumbers().isEmpty())
        return NewPair::Full;
    mRelinking = false;
    startFirstFreePair();
    return NewPair::Started;
}

void WarpLinkTool::startFirstFreePair()
{
    const QStringList free = mContext.map().freePairNumbers();
    if (free.isEmpty()) {
        mStage = NotLinking;
        tellStage();
        return;
    }
    mSelectedWarp = free.first().toInt();
    mStage = WaitingSource;
    tellStage();
}

bool WarpLinkTool::relink(int pair)
{
    interrupt();
    if (pair < 1 || pair > MapData::MaxWarps)
        return false;
    mSelectedWarp = pair;
    mRelinking = mContext.map().warp(mSelectedWarp).isDefined();
    mStage = WaitingSource;
    tellStage();
    return true;
}

void WarpLinkTool::press(QPoint cell, Qt::MouseButton button)
{
    mMarkers.clearList();
    const bool right = button == Qt::RightButton;
    if (mStage == WaitingSource) {
        setWarpSource(cell, right);
        return;
    }
    if (mStage == WaitingDestination) {
        setWarpDestination(cell, right);
        return;
    }
    Q_EMIT markersChanged();
    if (right)
        mContext.setChip(mContext.map().cell(cell.x(), cell.y(), mContext.floor()));
}

void WarpLinkTool::hover(QPoint cell)
{
    // The prompt for the next end stays while the pointer moves.
    if (mStage == NotLinking)
        BoardTool::hover(cell);
}

void WarpLinkTool::followMap(const MapChange &change)
{
    // In warp mode pairs change mostly by this tool's own clicks, which keep the markers'
    // order; a pair that went otherwise (its chips replaced) takes its markers along.
    const bool fromElsewhere = mContext.mode() != WarpMode && change.has(MapChange::Pairs);
    if (change.replayed || change.has(MapChange::WholeMap) || fromElsewhere) {
        rebuildMarkers();
        return;
    }
    const bool halfPlaced = mStage == WaitingDestination && !mRelinking;
    const bool dropped =
        change.has(MapChange::Pairs) && mMarkers.dropVanishedPairs(halfPlaced ? mSelectedWarp : 0);
    const bool floors = change.has(MapChange::FloorCount) || change.has(MapChange::FloorShown);
    // Pairs a floor copy or a merge made have no markers yet.
    if (floors && mMarkers.lacksPairs()) {
        rebuildMarkers();
        return;
    }
    // Pairs that went with their floor end any linking.
    if (dropped && change.has(MapChange::FloorCount) && mStage != NotLinking) {
        closeStep();
        mStage = NotLinking;
        tellStage();
        return;
    }
    // Other floors shown, or under other numbers, show other markers.
    if (dropped || floors)
        Q_EMIT markersChanged();
}

void WarpLinkTool::leave()
{
    if (mStage == NotLinking)
        BoardTool::leave();
}

void WarpLinkTool::setWarpSource(QPoint cell, bool rightButton)
{
    if (rightButton) {
        mStage = NotLinking;
        tellStage();
        return;
    }
    // Any cell may be a source; the map check reports sources that are not warp cells.
    openStep();
    mContext.document().setWarpSource(mSelectedWarp, cell, mContext.floor());
    const int marker = 2 * mSelectedWarp - 1;
    if (!mRelinking)
        mMarkers.create(marker);
    mMarkers.bringToFront(marker);
    mStage = WaitingDestination;
    tellStage();
}

void WarpLinkTool::setWarpDestination(QPoint cell, bool rightButton)
{
    if (rightButton) {
        // One step back: the source stays in the record, only a new pair's marker goes.
        closeStep();
        dropHalfPlacedSource();
        mStage = WaitingSource;
        tellStage();
        return;
    }
    mContext.document().setWarpDestination(mSelectedWarp, cell, mContext.floor());
    closeStep();
    const int marker = 2 * mSelectedWarp;
    if (!mRelinking)
        mMarkers.create(marker);
    mMarkers.bringToFront(marker);
    mMarkers.bringSourcesToFront();
    mStage = NotLinking;
    if (mContext.map().warpCount() >= MapData::MaxWarps || mRelinking) {
        tellStage();
        return;
    }
    startFirstFreePair();
}

bool WarpLinkTool::pressMarker(int index, Qt::MouseButton button)
{
    const bool right = button == Qt::RightButton;
    const bool warpMode = mContext.mode() == WarpMode;
    if (mStage == WaitingSource && index % 2 == 1 && !mRelinking)
        return false;
    if (warpMode && mStage == WaitingSource) {
        setWarpSource(mMarkers.cell(index), right);
        return true;
    }
    if (warpMode && mStage == WaitingDestination) {
        setWarpDestination(mMarkers.cell(index), right);
        return true;
    }
    mMarkers.listOnCellOf(index);
    Q_EMIT markersChanged();
    return true;
}

void WarpLinkTool::interrupt()
{
    closeStep();
    if (mStage == NotLinking)
        return;
    if (mStage == WaitingDestination)
        dropHalfPlacedSource();
    mStage = NotLinking;
    tellStage();
}

bool WarpLinkTool::takeBackHalfPlacedEnd()
{
    // After another edit closed the pair's step, that edit is the last action, not the end.
    if (mStage != WaitingDestination || !mContext.document().isStepHeld())
        return false;
    mContext.document().dropHeldStep();
    dropHalfPlacedSource();
    mStage = WaitingSource;
    tellStage();
    return true;
}

bool WarpLinkTool::hasPendingChange() const
{
    return mContext.document().heldStepChangesMap();
}

void WarpLinkTool::leaveWarpMode()
{
    mMarkers.dimAll();
    closeStep();
    if (mStage == WaitingDestination)
        dropHalfPlacedSource();
    mStage = NotLinking;
}

void WarpLinkTool::rebuildMarkers()
{
    mSelectedWarp = 0;
    mStage = NotLinking;
    mRelinking = false;
    mMarkers.rebuild();
    Q_EMIT markersChanged();
}

void WarpLinkTool::abandonHalfPlacedPair()
{
    if (mStage == WaitingDestination && !mRelinking)
        interrupt();
}

void WarpLinkTool::dropHalfPlacedSource()
{
    // Only a new pair's source marker is half-placed; a relinked pair keeps its markers.
    if (!mRelinking)
        mMarkers.destroy(2 * mSelectedWarp - 1);
}

void WarpLinkTool::openStep()
{
    mContext.document().holdStep(mRelinking ? QStringLiteral("ワープの再設定")
                                            : QStringLiteral("ワープの設定"));
}

void WarpLinkTool::closeStep()
{
    mContext.document().releaseStep();
}
