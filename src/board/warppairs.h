#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>

class MapData;
struct WarpRecord;

// The pair rules the board and the warp window share: marker numbering, captions and the
// warp window's rows. Marker k of pair n is 2n-1 (source) or 2n (destination).
namespace WarpPairs {

struct Marker
{
    int index = 0; // 2n-1 source, 2n destination of pair n
    QPoint cell;
    int floor = 0;
    QString caption;
    bool opaque = true;
};

inline int pairOfMarker(int index)
{
    return (index + 1) / 2;
}
// The marker at the pair's other end.
inline int otherEnd(int index)
{
    return index % 2 ? index + 1 : index - 1;
}
QString markerCaption(int index);
// The board cell and floor marker `index` stands on.
QPoint markerCell(const MapData &map, int index);
int markerFloor(const MapData &map, int index);
// The markers a map has as soon as it is loaded: every pair's, in pair order, each
// with its background.
QVector<Marker> markersOf(const MapData &map);
// The warp window's rows: every pair up to the highest complete one, "削除" for the
// numbers without a pair.
QStringList rows(const MapData &map);
QString pairRow(int pair, const WarpRecord &record);

} // namespace WarpPairs
