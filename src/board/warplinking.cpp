#include "board/warplinking.h"

#include "model/codetables.h"
#include "model/mapdocument.h"

namespace {

QString askSourceText()
{
    return QStringLiteral("ワープ元をクリックして下さい。");
}

QString askDestinationText()
{
    return QStringLiteral("ワープ先をクリックして下さい。");
}

bool isDeletedRow(const QString &row)
{
    return row.endsWith(QStringLiteral("削除"));
}

QPoint cellOf(const WarpRecord &record, int index)
{
    return index % 2 ? QPoint(record.srcX, record.srcY) : QPoint(record.dstX, record.dstY);
}

int floorOf(const WarpRecord &record, int index)
{
    return index % 2 ? record.srcFloor : record.dstFloor;
}

} // namespace

WarpLinking::WarpLinking(MapDocument &document, QObject *parent)
    : QObject(parent), mDocument(document)
{
}

QString WarpLinking::sampleCaption() const
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

QString WarpLinking::markerCaption(int index)
{
    const int pair = pairOfMarker(index);
    return index % 2 ? CodeTables::sourceLabel(pair) : CodeTables::destinationLabel(pair);
}

QPoint WarpLinking::markerCell(int index) const
{
    return cellOf(mDocument.data().warp(pairOfMarker(index)), index);
}

int WarpLinking::markerFloor(int index) const
{
    return floorOf(mDocument.data().warp(pairOfMarker(index)), index);
}

QVector<WarpLinking::Marker> WarpLinking::markers() const
{
    QVector<Marker> result;
    result.reserve(mMarkerOrder.size());
    for (int index : mMarkerOrder)
        result.append({index, markerCell(index), markerFloor(index), markerCaption(index),
                       !mTransparent.contains(index)});
    return result;
}

QVector<WarpLinking::Marker> WarpLinking::markersOf(const MapData &map)
{
    QVector<Marker> result;
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        const WarpRecord &record = map.warp(pair);
        if (!record.isDefined())
            continue;
        for (int index : {2 * pair - 1, 2 * pair})
            result.append(
                {index, cellOf(record, index), floorOf(record, index), markerCaption(index), true});
    }
    return result;
}

QString WarpLinking::pairRow(int pair, const WarpRecord &record)
{
    const QString label = CodeTables::sourceLabel(pair) + QStringLiteral("：");
    if (!record.isDefined())
        return label + QStringLiteral("削除");
    return label + QStringLiteral("%1,%2,%3-%4,%5,%6")
                       .arg(record.srcX)
                       .arg(record.srcY)
                       .arg(record.srcFloor)
                       .arg(record.dstX)
                       .arg(record.dstY)
                       .arg(record.dstFloor);
}

QStringList WarpLinking::rows() const
{
    const MapData &map = mDocument.data();
    int last = 0;
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair)
        if (map.warp(pair).isDefined())
            last = pair;
    QStringList rows;
    for (int pair = 1; pair <= last; ++pair)
        rows.append(pairRow(pair, map.warp(pair)));
    return rows;
}

WarpLinking::NewPair WarpLinking::startNewPair()
{
    if (mStage == WaitingDestination) {
        closeStep();
        dropHalfPlacedSource();
        mStage = WaitingSource;
        Q_EMIT statusTextChanged(askSourceText());
        return NewPair::BackToSource;
    }
    if (mDocument.data().freePairNumbers().isEmpty())
        return NewPair::Full;
    mRelinking = false;
    startFirstFreePair();
    return NewPair::Started;
}

void WarpLinking::startFirstFreePair()
{
    const QStringList free = mDocument.data().freePairNumbers();
    if (free.isEmpty()) {
        mStage = NotLinking;
        Q_EMIT statusTextChanged(QString());
        return;
    }
    mSelectedWarp = free.first().toInt();
    mStage = WaitingSource;
    Q_EMIT statusTextChanged(askSourceText());
}

bool WarpLinking::relinkRow(int row)
{
    interrupt();
    if (row < 0 || row >= MapData::MaxWarps)
        return false;
    mSelectedWarp = row + 1;
    mRelinking = mDocument.data().warp(mSelectedWarp).isDefined();
    mStage = WaitingSource;
    Q_EMIT statusTextChanged(askSourceText());
    return true;
}

WarpLinking::Deletion WarpLinking::requestDeletion(int row)
{
    interrupt();
    if (row < 0 || row >= MapData::MaxWarps)
        return Deletion::NoSelection;
    if (!mDocument.data().warp(row + 1).isDefined()) {
        Q_EMIT statusTextChanged(QStringLiteral("既に削除済みです。"));
        return Deletion::AlreadyDeleted;
    }
    mPendingDeletion = row + 1;
    return Deletion::Ask;
}

QString WarpLinking::deletionQuestion(int row) const
{
    return QStringLiteral("ワープ「") + CodeTables::sourceLabel(row + 1) +
           QStringLiteral("」を\r\n削除しますか？");
}

void WarpLinking::answerDeletion(bool yes)
{
    const int pair = mPendingDeletion;
    mPendingDeletion = 0;
    if (yes && pair > 0)
        deletePair(pair);
}

void WarpLinking::deletePair(int pair)
{
    if (!mDocument.data().warp(pair).isDefined())
        return;
    mDocument.deleteWarp(pair);
    destroyMarker(2 * pair - 1);
    destroyMarker(2 * pair);
}

void WarpLinking::highlightRow(int row)
{
    const MapData &map = mDocument.data();
    makeMarkersTransparent();
    const int pair = row + 1;
    if (row >= 0 && pair <= MapData::MaxWarps && map.warp(pair).isDefined()) {
        mTransparent.remove(2 * pair);
        mTransparent.remove(2 * pair - 1);
        bringToFront(2 * pair);
        bringToFront(2 * pair - 1);
    }
}

void WarpLinking::setWarpSource(QPoint cell, int floor, bool rightButton)
{
    if (rightButton) {
        mStage = NotLinking;
        Q_EMIT statusTextChanged(QString());
        return;
    }
    // Any cell may be a source; the map check reports sources that are not warp cells.
    openStep();
    mDocument.setWarpSource(mSelectedWarp, cell, floor);
    const int marker = 2 * mSelectedWarp - 1;
    if (!mRelinking)
        createMarker(marker);
    bringToFront(marker);
    mStage = WaitingDestination;
    Q_EMIT statusTextChanged(askDestinationText());
}

void WarpLinking::setWarpDestination(QPoint cell, int floor, bool rightButton)
{
    if (rightButton) {
        // One step back: the source stays in the record, only a new pair's marker goes.
        closeStep();
        dropHalfPlacedSource();
        mStage = WaitingSource;
        Q_EMIT statusTextChanged(askSourceText());
        return;
    }
    mDocument.setWarpDestination(mSelectedWarp, cell, floor);
    closeStep();
    const int marker = 2 * mSelectedWarp;
    if (!mRelinking)
        createMarker(marker);
    bringToFront(marker);
    // Sources lie above destinations on a shared cell.
    const MapData &map = mDocument.data();
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair)
        if (map.warp(pair).isDefined())
            bringToFront(2 * pair - 1);
    mStage = NotLinking;
    if (map.warpCount() >= MapData::MaxWarps || mRelinking) {
        Q_EMIT statusTextChanged(QString());
        return;
    }
    startFirstFreePair();
}

bool WarpLinking::clickMarker(int index, bool rightButton, bool warpMode, int currentFloor)
{
    if (mStage == WaitingSource && index % 2 == 1 && !mRelinking)
        return false;
    if (warpMode && mStage == WaitingSource) {
        setWarpSource(markerCell(index), currentFloor, rightButton);
        return true;
    }
    if (warpMode && mStage == WaitingDestination) {
        setWarpDestination(markerCell(index), currentFloor, rightButton);
        return true;
    }
    const QStringList pairRows = rows();
    const QPoint cell = markerCell(index);
    QString text;
    for (int p = 1; p <= 2 * pairRows.size(); ++p) {
        if (isDeletedRow(pairRows.at((p - 1) / 2)) || !mMarkerOrder.contains(p))
            continue;
        const bool visible = warpMode && markerFloor(p) == currentFloor;
        if (visible && markerCell(p) == cell)
            text += QStringLiteral("\r\n") + markerCaption(p);
    }
    mMarkerListText = text;
    return true;
}

void WarpLinking::interrupt()
{
    closeStep();
    if (mStage == NotLinking)
        return;
    if (mStage == WaitingDestination)
        dropHalfPlacedSource();
    mStage = NotLinking;
    Q_EMIT statusTextChanged(QString());
}

bool WarpLinking::takeBackHalfPlacedEnd()
{
    // After another edit closed the pair's step, that edit is the last action, not the end.
    if (mStage != WaitingDestination || !mDocument.isStepHeld())
        return false;
    mDocument.dropHeldStep();
    dropHalfPlacedSource();
    mStage = WaitingSource;
    Q_EMIT statusTextChanged(askSourceText());
    return true;
}

bool WarpLinking::hasPendingChange() const
{
    return mDocument.heldStepChangesMap();
}

void WarpLinking::leaveWarpMode()
{
    makeMarkersTransparent();
    closeStep();
    if (mStage == WaitingDestination)
        dropHalfPlacedSource();
    mStage = NotLinking;
    // A question the warp window was asking goes with the window.
    mPendingDeletion = 0;
}

void WarpLinking::rebuildMarkers()
{
    mMarkerOrder.clear();
    mTransparent.clear();
    mMarkerListText.clear();
    mSelectedWarp = 0;
    mStage = NotLinking;
    mRelinking = false;
    for (const Marker &marker : markersOf(mDocument.data()))
        createMarker(marker.index);
}

void WarpLinking::abandonHalfPlacedPair()
{
    if (mStage == WaitingDestination && !mRelinking)
        interrupt();
}

void WarpLinking::forgetPairs(const QList<int> &pairs)
{
    if (!pairs.isEmpty()) {
        closeStep();
        mStage = NotLinking;
        Q_EMIT statusTextChanged(QString());
    }
    for (int pair : pairs) {
        destroyMarker(2 * pair - 1);
        destroyMarker(2 * pair);
    }
}

void WarpLinking::dropHalfPlacedSource()
{
    // Only a new pair's source marker is half-placed; a relinked pair keeps its markers.
    if (!mRelinking)
        destroyMarker(2 * mSelectedWarp - 1);
}

void WarpLinking::makeMarkersTransparent()
{
    const MapData &map = mDocument.data();
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        if (map.warp(pair).isDefined()) {
            mTransparent.insert(2 * pair - 1);
            mTransparent.insert(2 * pair);
        }
    }
}

void WarpLinking::createMarker(int index)
{
    mMarkerOrder.removeAll(index);
    mMarkerOrder.append(index);
    mTransparent.remove(index);
}

void WarpLinking::destroyMarker(int index)
{
    mMarkerOrder.removeAll(index);
    mTransparent.remove(index);
}

void WarpLinking::bringToFront(int index)
{
    if (mMarkerOrder.removeAll(index) > 0)
        mMarkerOrder.append(index);
}

void WarpLinking::openStep()
{
    mDocument.holdStep(mRelinking ? QStringLiteral("ワープの再設定")
                                  : QStringLiteral("ワープの設定"));
}

void WarpLinking::closeStep()
{
    mDocument.releaseStep();
}
