#pragma once

#include "board/mapcheck.h"
#include "board/warppairs.h"
#include "painting/chippictures.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QVector>

class CellComposer;
class MapData;
class QPainter;

// Draws the board as the editor shows it: the cell pictures in their grid, branch arms on
// the cells that have a setting, warp markers over the cells. The board view and the
// pictures written by qzk-map both draw through here.
class BoardPainter
{
public:
    static constexpr int CellSize = ChipPictures::Size;

    explicit BoardPainter(const CellComposer &composer) : mComposer(composer) {}

    // One floor's size in logical pixels.
    static QSize size();
    static QRect cellRect(int x, int y);
    // The cell under a point of a board drawn `scale` times its size, or (0, 0) when there
    // is none.
    static QPoint cellAt(QPointF position, qreal scale);

    // The picture of cell (x, y) of a floor, with its branch arms when `branches` is on.
    QImage cellPicture(const MapData &map, int x, int y, int floor, bool branches) const;
    static void paintCell(QPainter &painter, int x, int y, const QImage &picture);
    // The value of a numbered chip, drawn small over the corner of its cell; nothing for
    // other chips.
    void paintCellValue(QPainter &painter, int x, int y, const QString &cell) const;
    static void paintMarker(QPainter &painter, const WarpPairs::Marker &marker);

    // What a map check saw on a floor, over the cell pictures: the cells its search stood
    // on tinted, the way to the goal it reached stronger, the cells its lines name outlined.
    static void paintCheckOverlay(QPainter &painter, const MapCheck::Report &check, int floor);
    // The cells a comparison found changed, outlined inside the check's outlines so both show.
    static void paintChangedCells(QPainter &painter, const QVector<QPoint> &cells);
    // The outline that points out one cell.
    static void paintCellOutline(QPainter &painter, QPoint cell, const QColor &color);
    // The outline around a rectangle of cells (1-based), dashed for a selection, solid for
    // a block that floats over the board.
    // A light frame inside each cell of a floating block, so its chips stand apart from
    // the board's own.
    static void paintFloatingCells(QPainter &painter, const QRect &cells);
    static void paintBlockOutline(QPainter &painter, const QRect &cells, bool dashed);

    // A whole floor with branch arms and the markers standing on it, at the pictures'
    // pixel ratio, with a check's overlay under the markers when one is given and the
    // numbered chips' values when `values` is on. Later markers lie above earlier ones.
    QImage floorPicture(const MapData &map, int floor, const QVector<WarpPairs::Marker> &markers,
                        const MapCheck::Report *check = nullptr, bool values = true) const;

private:
    const CellComposer &mComposer;
    // Value pictures by pixel ratio and value: a board shows few distinct values.
    mutable QHash<qreal, QHash<QString, QImage>> mValuePictures;
};
