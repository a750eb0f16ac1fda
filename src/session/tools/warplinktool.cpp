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

QPoint WarpLinkTool::markerCell(int index) const
{
    return WarpPairs::markerCell(mContext.map(), index);
}

int WarpLinkTool::markerFloor(int index) const
{
    return WarpPairs::markerFloor(mContext.map(), index);
}

QVector<WarpLinkTool::Marker> WarpLinkTool::markers() const
{
    QVector<Marker> result;
    result.reserve(mMarkerOrder.size());
    for (int index : mMarkerOrder)
        result.append({index, markerCell(index), markerFloor(index),
                       WarpPairs::markerCaption(index), !mTransparent.contains(index)});
    return result;
}

bool WarpLinkTool::isVisible(const Marker &marker) const
{
    return mContext.mode() == WarpMode && marker.floor == mContext.floor();
}

QStringList WarpLinkTool::rows() const
{
    return WarpPairs::rows(mContext.map());
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

bool WarpLinkTool::relinkRow(int row)
{
    interrupt();
    if (row < 0 || row >= MapData::MaxWarps)
        return false;
    mSelectedWarp = row + 1;
    mRelinking = mContext.map().warp(mSelectedWarp).isDefined();
    mStage = WaitingSource;
    tellStage();
    return true;
}

WarpLinkTool::Deletion WarpLinkTool::requestDeletion(int row)
{
    interrupt();
    if (row < 0 || row >= MapData::MaxWarps)
        return Deletion::NoSelection;
    if (!mContext.map().warp(row + 1).isDefined()) {
        mContext.status().tellText(QStringLiteral("既に削除済みです。"));
        return Deletion::AlreadyDeleted;
    }
    mPendingDeletion = row + 1;
    return Deletion::Ask;
}

QString WarpLinkTool::deletionQuestion(int row)
{
    return QStringLiteral("ワープ「") + CodeTables::sourceLabel(row + 1) +
           QStringLiteral("」を\r\n削除しますか？");
}

void WarpLinkTool::answerDeletion(bool yes)
{
    const int pair = mPendingDeletion;
    mPendingDeletion = 0;
    if (yes && pair > 0)
        deletePair(pair);
}

void WarpLinkTool::deletePair(int pair)
{
    if (!mContext.map().warp(pair).isDefined())
        return;
    mContext.document().deleteWarp(pair);
    destroyMarker(2 * pair - 1);
    destroyMarker(2 * pair);
    Q_EMIT markersChanged();
}

void WarpLinkTool::highlightRow(int row)
{
    makeMarkersTransparent();
    const int pair = row + 1;
    if (row >= 0 && pair <= MapData::MaxWarps && mContext.map().warp(pair).isDefined()) {
        mTransparent.remove(2 * pair);
        mTransparent.remove(2 * pair - 1);
        bringToFront(2 * pair);
        bringToFront(2 * pair - 1);
    }
    Q_EMIT markersChanged();
}

void WarpLinkTool::press(QPoint cell, Qt::MouseButton button)
{
    mMarkerListText.clear();
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
    // In warp mode pairs change by this tool's own clicks, which keep the markers' order.
    const bool fromElsewhere = mContext.mode() != WarpMode && change.has(MapChange::Pairs);
    if (change.replayed || change.has(MapChange::WholeMap) || fromElsewhere)
        rebuildMarkers();
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
        createMarker(marker);
    bringToFront(marker);
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
        createMarker(marker);
    bringToFront(marker);
    // Sources lie above destinations on a shared cell.
    const MapData &map = mContext.map();
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair)
        if (map.warp(pair).isDefined())
            bringToFront(2 * pair - 1);
    mStage = NotLinking;
    if (map.warpCount() >= MapData::MaxWarps || mRelinking) {
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
        setWarpSource(markerCell(index), right);
        return true;
    }
    if (warpMode && mStage == WaitingDestination) {
        setWarpDestination(markerCell(index), right);
        return true;
    }
    // The captions of every marker shown on the clicked cell.
    const MapData &map = mContext.map();
    const QPoint cell = markerCell(index);
    QString text;
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        if (!map.warp(pair).isDefined())
            continue;
        for (int p : {2 * pair - 1, 2 * pair}) {
            const bool shown = warpMode && markerFloor(p) == mContext.floor();
            if (mMarkerOrder.contains(p) && shown && markerCell(p) == cell)
                text += QStringLiteral("\r\n") + WarpPairs::markerCaption(p);
        }
    }
    mMarkerListText = text;
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
    makeMarkersTransparent();
    closeStep();
    if (mStage == WaitingDestination)
        dropHalfPlacedSource();
    mStage = NotLinking;
    // A question the warp window was asking goes with the window.
    mPendingDeletion = 0;
}

void WarpLinkTool::clearMarkerList()
{
    mMarkerListText.clear();
}

void WarpLinkTool::rebuildMarkers()
{
    mMarkerOrder.clear();
    mTransparent.clear();
    mMarkerListText.clear();
    mSelectedWarp = 0;
    mStage = NotLinking;
    mRelinking = false;
    for (const Marker &marker : WarpPairs::markersOf(mContext.map()))
        createMarker(marker.index);
    Q_EMIT markersChanged();
}

void WarpLinkTool::abandonHalfPlacedPair()
{
    if (mStage == WaitingDestination && !mRelinking)
        interrupt();
}

void WarpLinkTool::forgetPairs(const QList<int> &pairs)
{
    if (!pairs.isEmpty()) {
        closeStep();
        mStage = NotLinking;
        tellStage();
    }
    for (int pair : pairs) {
        destroyMarker(2 * pair - 1);
        destroyMarker(2 * pair);
    }
}

void WarpLinkTool::dropHalfPlacedSource()
{
    // Only a new pair's source marker is half-placed; a relinked pair keeps its markers.
    if (!mRelinking)
        destroyMarker(2 * mSelectedWarp - 1);
}

void WarpLinkTool::makeMarkersTransparent()
{
    const MapData &map = mContext.map();
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        if (map.warp(pair).isDefined()) {
            mTransparent.insert(2 * pair - 1);
            mTransparent.insert(2 * pair);
        }
    }
}

void WarpLinkTool::createMarker(int index)
{
    mMarkerOrder.removeAll(index);
    mMarkerOrder.append(index);
    mTransparent.remove(index);
}

void WarpLinkTool::destroyMarker(int index)
{
    mMarkerOrder.removeAll(index);
    mTransparent.remove(index);
}

void WarpLinkTool::bringToFront(int index)
{
    if (mMarkerOrder.removeAll(index) > 0)
        mMarkerOrder.append(index);
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
