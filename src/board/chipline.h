#pragma once

#include <QPoint>
#include <QVector>

// The cells of the line tool between two board cells, in walk order: runs along one
// axis separated by single steps along the other. Every cell is an orthogonal
// neighbour of the one before; the walk stops at the far end or at the board edge.
QVector<QPoint> chipLine(QPoint start, QPoint target);

// True when cell (x, y) lies on the board edge in the given direction
// (1 up, 2 left, 3 right, 4 down), so that its neighbour that way is off the board.
bool isAtBoardEdge(int x, int y, int direction);
