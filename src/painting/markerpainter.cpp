#include "painting/markerpainter.h"

#include "painting/boardpainter.h"

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
    painter.setFont(font());
    painter.setPen(Qt::black);
    painter.drawText(rect, Qt::AlignCenter, caption);
    painter.restore();
}
