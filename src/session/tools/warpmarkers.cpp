#include "session/tools/warpmarkers.h"

#include "model/mapdata.h"
#include "session/tools/toolcontext.h"

QVector<WarpMarkers::Marker> WarpMarkers::all() const
{
    QVector<Marker> result;
    result.reserve(mOrder.size());
    for (int index : mOrder)
        result.append({index, cell(index), floor(index), WarpPairs::markerCaption(index),
                       !mTransparent.contains(index)});
    return result;
}

bool WarpMarkers::isVisible(const Marker &marker) const
{
    return mContext.mode() == EditModes::WarpMode && marker.floor == mContext.floor();
}

QPoint WarpMarkers::cell(int index) const
{
    return WarpPairs::markerCell(mContext.map(), index);
}

int WarpMarkers::floor(int index) const
{
    return WarpPairs::markerFloor(mContext.map(), index);
}

void WarpMarkers::listOnCellOf(int index)
{
    const MapData &map = mContext.map();
    const QPoint clicked = cell(index);
    const bool warpMode = mContext.mode() == EditModes::WarpMode;
    QString text;
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        if (!map.warp(pair).isDefined())
            continue;
        for (int p : {2 * pair - 1, 2 * pair}) {
            const bool shown = warpMode && floor(p) == mContext.floor();
            if (mOrder.contains(p) && shown && cell(p) == clicked)
                text += QStringLiteral("\r\n") + WarpPairs::markerCaption(p);
        }
    }
    mListText = text;
}

void WarpMarkers::create(int index)
{
    mOrder.removeAll(index);
    mOrder.append(index);
    mTransparent.remove(index);
}

void WarpMarkers::destroy(int index)
{
    mOrder.removeAll(index);
    mTransparent.remove(index);
}

void WarpMarkers::destroyPair(int pair)
{
    destroy(2 * pair - 1);
    destroy(2 * pair);
}

void WarpMarkers::bringToFront(int index)
{
    if (mOrder.removeAll(index) > 0)
        mOrder.append(index);
}

void WarpMarkers::bringSourcesToFront()
{
    const MapData &map = mContext.map();
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair)
        if (map.warp(pair).isDefined())
            bringToFront(2 * pair - 1);
}

void WarpMarkers::highlightPair(int pair)
{
    dimAll();
    if (pair >= 1 && pair <= MapData::MaxWarps && mContext.map().warp(pair).isDefined()) {
        mTransparent.remove(2 * pair);
        mTransparent.remove(2 * pair - 1);
        bringToFront(2 * pair);
        bringToFront(2 * pair - 1);
    }
}

void WarpMarkers::dimAll()
{
    const MapData &map = mContext.map();
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        if (map.warp(pair).isDefined()) {
            mTransparent.insert(2 * pair - 1);
            mTransparent.insert(2 * pair);
        }
    }
}

bool WarpMarkers::dropVanishedPairs(int keptPair)
{
    const MapData &map = mContext.map();
    const auto vanished = [&](int index) {
        const int pair = WarpPairs::pairOfMarker(index);
        return pair != keptPair && !map.warp(pair).isDefined();
    };
    const qsizetype before = mOrder.size();
    mOrder.removeIf(vanished);
    mTransparent.removeIf(vanished);
    return mOrder.size() != before;
}

bool WarpMarkers::lacksPairs() const
{
    const MapData &map = mContext.map();
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair)
        if (map.warp(pair).isDefined() &&
            (!mOrder.contains(2 * pair - 1) || !mOrder.contains(2 * pair)))
            return true;
    return false;
}

void WarpMarkers::rebuild()
{
    mOrder.clear();
    mTransparent.clear();
    mListText.clear();
    for (const Marker &marker : WarpPairs::markersOf(mContext.map()))
        create(marker.index);
}
