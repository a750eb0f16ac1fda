#include "painting/boardpainter.h"

#include "model/mapdata.h"
#include "painting/cellcomposer.h"
#include "painting/chippictures.h"
#include "painting/markerpainter.h"
#include "painting/textoutline.h"
#include "session/chippalettemodel.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

QSize BoardPainter::size()
{
    return {MapData::Width * CellSize, MapData::Height * CellSize};
}

QRect BoardPainter::cellRect(int x, int y)
{
    return {(x - 1) * CellSize, (y - 1) * CellSize, CellSize, CellSize};
}

QPoint BoardPainter::cellAt(QPointF position, qreal scale)
{
    const qreal cell = CellSize * scale;
    if (position.x() < 0 || position.y() < 0 || cell <= 0)
        return {};
    const int x = int(position.x() / cell) + 1;
    const int y = int(position.y() / cell) + 1;
    return MapData::isOnBoard(x, y) ? QPoint(x, y) : QPoint();
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

void BoardPainter::paintCellValue(QPainter &painter, int x, int y, const QString &cell) const
{
    const QString value = ChipPaletteModel::valueTextOf(cell);
    if (value.isEmpty())
        return;
    // Drawn once per value at the pixel size it lands at, then laid on every such cell:
    // flattening the outlines again for each cell was most of a board's redraw at 400 %.
    const qreal ratio = painter.deviceTransform().m11();
    QImage &picture = mValuePictures[ratio][value];
    if (picture.isNull()) {
        QPainterPath path = TextOutline::outline(TextOutline::labelFont(9), value);
        // Bottom right, one pixel inside the cell's grid line.
        const QRectF bounds = path.boundingRect();
        path.translate(CellSize - 2 - bounds.right(), CellSize - 2 - bounds.bottom());
        // A white halo keeps the digits readable on every chip colour.
        const QPainterPath halo =
            QPainterPathStroker(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin))
                .createStroke(path);
        const int side = qMax(1, qRound(CellSize * ratio));
        picture = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(side / qreal(CellSize), side / qreal(CellSize));
        p.fillPath(halo, Qt::white);
        p.fillPath(path, Qt::black);
        p.end();
        picture.setDevicePixelRatio(ratio);
    }
    painter.drawImage(cellRect(x, y).topLeft(), picture);
}

void BoardPainter::paintMarker(QPainter &painter, const WarpPairs::Marker &marker)
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

void BoardPainter::paintChangedCells(QPainter &painter, const QVector<QPoint> &cells)
{
    if (cells.isEmpty())
        return;
    constexpr int Width = 2;
    // Two pixels in: the check's outline and the blinking one lie on the cell's edge.
    constexpr qreal Inset = 2 + Width / 2.0;
    painter.save();
    painter.setPen(QPen(QColor(230, 0, 230), Width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    for (const QPoint &cell : cells)
        painter.drawRect(
            QRectF(cellRect(cell.x(), cell.y())).adjusted(Inset, Inset, -Inset, -Inset));
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

void BoardPainter::paintFloatingCells(QPainter &painter, const QRect &cells)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 170), 1));
    for (int y = cells.top(); y <= cells.bottom(); ++y)
        for (int x = cells.left(); x <= cells.right(); ++x)
            painter.drawRect(QRectF(cellRect(x, y)).adjusted(1.5, 1.5, -1.5, -1.5));
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
                                  const QVector<WarpPairs::Marker> &markers,
                                  const MapCheck::Report *check, bool values) const
{
    const qreal ratio = mComposer.pictures().devicePixelRatio();
    QImage image(size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    for (int x = 1; x <= MapData::Width; ++x)
        for (int y = 1; y <= MapData::Height; ++y)
            paintCell(painter, x, y, cellPicture(map, x, y, floor, true));
    if (values)
        for (int x = 1; x <= MapData::Width; ++x)
            for (int y = 1; y <= MapData::Height; ++y)
                paintCellValue(painter, x, y, map.cell(x, y, floor));
    if (check)
        paintCheckOverlay(painter, *check, floor);
    // Markers reaching past the board are cut off at its edge, as the board view does.
    for (const WarpPairs::Marker &marker : markers)
        if (marker.floor == floor)
            paintMarker(painter, marker);
    return image;
}
