#pragma once

#include <QFont>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

// The look of a warp marker, shared by the editor's marker labels and the board pictures:
// the caption in bold black, centred, on cyan while the marker keeps its background.
class MarkerPainter
{
public:
    // 375 twips: one pixel wider than a cell, so a marker covers the cell's grid line.
    static constexpr int Size = 375 / 15;

    static QFont font();
    // Where the marker of a board cell (1-based x, y) goes on the board.
    static QRect rect(QPoint cell);
    static void paint(QPainter &painter, const QRect &rect, const QString &caption, bool opaque);
    // The caption's outline as paint() places it in a marker at (0, 0). Outlining is most of
    // a marker's cost, so a marker drawn again and again keeps it.
    static QPainterPath captionOutline(const QString &caption);
    static void paint(QPainter &painter, const QPainterPath &outline, bool opaque);
};
