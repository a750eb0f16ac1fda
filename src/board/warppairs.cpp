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
    QString row = CodeTables::sourceLabel(pair) + QChar(u'：');
    if (!record.isDefined())
        return row + QStringLiteral("削除");
    // Joined piece by piece: a chain of arg() copies and scans the row once per number, and
    // the warp window makes every row each time it opens.
    const int numbers[] = {record.srcX, record.srcY, record.srcFloor,
                           record.dstX, record.dstY, record.dstFloor};
    const char16_t separators[] = {u',', u',', u'-', u',', u','};
    row.reserve(row.size() + 20);
    row += QString::number(numbers[0]);
    for (int i = 1; i < 6; ++i) {
        row += QChar(separators[i - 1]);
        row += QString::number(numbers[i]);
    }
    return row;
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
