#include "painting/boardpainter.h"

#include "model/mapdata.h"
#include "painting/cellcomposer.h"
#include "painting/chippictures.h"
#include "painting/markerpainter.h"

#include <QPainter>
#include <QPen>

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

void BoardPainter::paintCheckOverlay(QPainter &painter, const MapCheck::Report &check, int floor)
{
    // Light enough that the chips stay readable under the tint.
    const QColor visitedTint(64, 160, 255, 70);
    const QColor routeTint(255, 140, 0, 130);
    painter.save();
    for (const QPoint &cell : check.visitedOn(floor))
        painter.fillRect(cellRect(cell.x(), cell.y()), visitedTint);
    for (const QPoint &cell : check.routeOn(floor))
        painter.fillRect(cellRect(cell.x(), cell.y()), routeTint);
    for (const QPoint &cell : check.namedOn(floor))
        paintCellOutline(painter, cell, Qt::red);
    painter.restore();
}

void BoardPainter::paintCellOutline(QPainter &painter, QPoint cell, const QColor &color)
{
    constexpr int Width = 2;
    painter.save();
    painter.setPen(QPen(color, Width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    // Inside the cell, so neighbouring outlines do not cover each other.
    painter.drawRect(QRectF(cellRect(cell.x(), cell.y()))
                         .adjusted(Width / 2.0, Width / 2.0, -Width / 2.0, -Width / 2.0));
    painter.restore();
}

void BoardPainter::paintBlockOutline(QPainter &painter, const QRect &cells, bool dashed)
{
    if (cells.isEmpty())
        return;
    constexpr int Width = 2;
    const QRectF area = QRectF(cellRect(cells.left(), cells.top()))
                            .united(cellRect(cells.right(), cells.bottom()))
                            .adjusted(Width / 2.0, Width / 2.0, -Width / 2.0, -Width / 2.0);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    // Dark under light, so the outline shows on every chip.
    painter.setPen(QPen(Qt::black, Width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(area);
    painter.setPen(QPen(dashed ? Qt::white : QColor(255, 152, 0), Width,
                        dashed ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawRect(area);
    painter.restore();
}

QImage BoardPainter::floorPicture(const MapData &map, int floor,
                                  const QVector<WarpLinking::Marker> &markers,
                                  const MapCheck::Report *check) const
{
    const qreal ratio = mComposer.pictures().devicePixelRatio();
    QImage image(size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    for (int x = 1; x <= MapData::Width; ++x)
        for (int y = 1; y <= MapData::Height; ++y)
            paintCell(painter, x, y, cellPicture(map, x, y, floor, true));
    if (check)
        paintCheckOverlay(painter, *check, floor);
    // Markers reaching past the board are cut off at its edge, as the board view does.
    for (const WarpLinking::Marker &marker : markers)
        if (marker.floor == floor)
            paintMarker(painter, marker);
    return image;
}
