#include "board/warppairs.h"

#include "model/codetables.h"
#include "model/mapdata.h"

namespace WarpPairs {

QString markerCaption(int index)
{
    const int pair = pairOfMarker(index);
    return index % 2 ? CodeTables::sourceLabel(pair) : CodeTables::destinationLabel(pair);
}

QPoint markerCell(const MapData &map, int index)
{
    const WarpRecord &record = map.warp(pairOfMarker(index));
    return index % 2 ? QPoint(record.srcX, record.srcY) : QPoint(record.dstX, record.dstY);
}

int markerFloor(const MapData &map, int index)
{
    const WarpRecord &record = map.warp(pairOfMarker(index));
    return index % 2 ? record.srcFloor : record.dstFloor;
}

QVector<Marker> markersOf(const MapData &map)
{
    QVector<Marker> result;
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        if (!map.warp(pair).isDefined())
            continue;
        for (int index : {2 * pair - 1, 2 * pair})
            result.append({index, markerCell(map, index), markerFloor(map, index),
                           markerCaption(index), true});
    }
    return result;
}

QString pairRow(int pair, const WarpRecord &record)
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

QStringList rows(const MapData &map)
{
    int last = 0;
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair)
        if (map.warp(pair).isDefined())
            last = pair;
    QStringList result;
    for (int pair = 1; pair <= last; ++pair)
        result.append(pairRow(pair, map.warp(pair)));
    return result;
}

} // namespace WarpPairs
