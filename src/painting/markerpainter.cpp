#include "painting/markerpainter.h"

#include "painting/boardpainter.h"
#include "painting/textoutline.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

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
    // An outline, as all text in pictures, placed where centred text would be.
    QPainterPath path = TextOutline::outline(font(), caption);
    const QFontMetricsF metrics(TextOutline::enlarged(font()));
    constexpr qreal Scale = TextOutline::Scale;
    const QPointF centre = QRectF(rect).center();
    path.translate(centre.x() - metrics.horizontalAdvance(caption) / Scale / 2,
                   centre.y() + (metrics.ascent() - metrics.descent()) / Scale / 2);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, Qt::black);
    painter.restore();
}
