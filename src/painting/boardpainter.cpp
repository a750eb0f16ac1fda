#include "painting/boardpainter.h"

#include "model/mapdata.h"
#include "painting/cellcomposer.h"
#include "painting/chippictures.h"
#include "painting/markerpainter.h"

#include <QPainter>

QSize BoardPainter::size()
{
    return {MapData::Width * CellSize, MapData::Height * CellSize};
}

QRect BoardPainter::cellRect(int x, int y)
{
    return {(x - 1) * CellSize, (y - 1) * CellSize, CellSize, CellSize};
}

QImage BoardPainter::cellPicture(const MapData &map, int x, int y, int floor, bool branches) const
{
    const QString &cell = map.cell(x, y, floor);
    const QString &branch = map.branch(x, y, floor);
    return branches && !branch.isEmpty() ? mComposer.branchPicture(cell, branch)
                                         : mComposer.chipPicture(cell);
}

void BoardPainter::paintCell(QPainter &painter, int x, int y, const QImage &picture)
{
    painter.drawImage(cellRect(x, y).topLeft(), picture);
}

void BoardPainter::paintMarker(QPainter &painter, const WarpLinking::Marker &marker)
{
    MarkerPainter::paint(painter, MarkerPainter::rect(marker.cell), marker.caption, marker.opaque);
}

QImage BoardPainter::floorPicture(const MapData &map, int floor,
                                  const QVector<WarpLinking::Marker> &markers) const
{
    const qreal ratio = mComposer.pictures().devicePixelRatio();
    QImage image(size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    for (int x = 1; x <= MapData::Width; ++x)
        for (int y = 1; y <= MapData::Height; ++y)
            paintCell(painter, x, y, cellPicture(map, x, y, floor, true));
    // Markers reaching past the board are cut off at its edge, as the board view does.
    for (const WarpLinking::Marker &marker : markers)
        if (marker.floor == floor)
            paintMarker(painter, marker);
    return image;
}
