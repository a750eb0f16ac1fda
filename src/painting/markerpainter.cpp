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

namespace {

// An outline, as all text in pictures, placed where centred text would be.
QPainterPath placedOutline(const QString &caption, const QRect &rect)
{
    QPainterPath path = TextOutline::outline(MarkerPainter::font(), caption);
    const QFontMetricsF metrics(TextOutline::enlarged(MarkerPainter::font()));
    constexpr qreal Scale = TextOutline::Scale;
    const QPointF centre = QRectF(rect).center();
    path.translate(centre.x() - metrics.horizontalAdvance(caption) / Scale / 2,
                   centre.y() + (metrics.ascent() - metrics.descent()) / Scale / 2);
    return path;
}

void fillMarker(QPainter &painter, const QRect &rect, const QPainterPath &outline, bool opaque)
{
    painter.save();
    if (opaque)
        painter.fillRect(rect, Qt::cyan);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(outline, Qt::black);
    painter.restore();
}

} // namespace

QRect MarkerPainter::rect(QPoint cell)
{
    return {BoardPainter::cellRect(cell.x(), cell.y()).topLeft(), QSize(Size, Size)};
}

void MarkerPainter::paint(QPainter &painter, const QRect &rect, const QString &caption, bool opaque)
{
    fillMarker(painter, rect, placedOutline(caption, rect), opaque);
}

QPainterPath MarkerPainter::captionOutline(const QString &caption)
{
    return placedOutline(caption, QRect(0, 0, Size, Size));
}

void MarkerPainter::paint(QPainter &painter, const QPainterPath &outline, bool opaque)
{
    fillMarker(painter, QRect(0, 0, Size, Size), outline, opaque);
}
