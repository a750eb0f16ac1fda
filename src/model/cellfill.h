#pragma once

#include "model/mapdata.h"

#include <QPoint>
#include <QRect>
#include <QVector>

// Which cells a fill and a rectangle cover. Positions are 1-based board cells, returned in
// reading order (row by row, each row from the left).
namespace CellFill {

// The cells joined to `start` through their four sides that hold exactly the same cell text
// (chip and number), staying inside `bounds` (the whole board when `bounds` is empty).
// Empty when `start` lies outside them.
QVector<QPoint> area(const MapData &map, int floor, QPoint start, const QRect &bounds = QRect());

// The cells of the rectangle between two corners given in any order, cut to the board;
// with `borderOnly` only its outermost ring.
QVector<QPoint> rectangle(QPoint corner, QPoint oppositeCorner, bool borderOnly);

} // namespace CellFill
