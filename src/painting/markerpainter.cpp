#include "painting/markerpainter.h"

#include "painting/boardpainter.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

QFont MarkerPainter::font()
{
    QFont bold = QGuiApplication::font();
    bold.setPointSizeF(15.75);
    bold.setBold(true);
    return bold;
}

QRect MarkerPainter::rect(QPoint cell)
{
    return {BoardPainter::cellRect(cell.x(), cell.y()).topLeft(), QSize(Size, Size)};
}

void MarkerPainter::paint(QPainter &painter, const QRect &rect, const QString &caption, bool opaque)
{
    painter.save();
    if (opaque)
        painter.fillRect(rect, Qt::cyan);
    // An outline, not glyphs: drawn glyphs come out a level or two apart at their edges
    // depending on what the process drew before, and a saved picture must match the
    // command line's pixel for pixel. Placed where centred text would be.
    const QFont bold = font();
    const QFontMetricsF metrics(bold);
    const QPointF centre = QRectF(rect).center();
    QPainterPath path;
    path.addText(centre.x() - metrics.horizontalAdvance(caption) / 2,
                 centre.y() + (metrics.ascent() - metrics.descent()) / 2, bold, caption);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, Qt::black);
    painter.restore();
}
