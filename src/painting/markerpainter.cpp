#include "painting/markerpainter.h"

#include "painting/boardpainter.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

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
    // An outline, not glyphs, and outlined large then scaled down: drawn glyphs and small
    // outlines come out a level or two apart at their edges depending on what the process
    // drew before, and a saved picture must match the command line's pixel for pixel.
    // Placed where centred text would be.
    constexpr qreal Large = 16;
    QFont large = font();
    large.setPointSizeF(large.pointSizeF() * Large);
    const QFontMetricsF metrics(large);
    QPainterPath path;
    path.addText(0, 0, large, caption);
    path = QTransform::fromScale(1 / Large, 1 / Large).map(path);
    const QPointF centre = QRectF(rect).center();
    path.translate(centre.x() - metrics.horizontalAdvance(caption) / Large / 2,
                   centre.y() + (metrics.ascent() - metrics.descent()) / Large / 2);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, Qt::black);
    painter.restore();
}
