#include "painting/routepainter.h"

#include "board/maproute.h"
#include "painting/boardpainter.h"
#include "painting/textoutline.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

namespace RoutePainter {

void paintRoute(QPainter &painter, const MapRoute &route, int floor)
{
    // The tint of the check's way, so the two read alike.
    const QColor routeTint(255, 140, 0, 130);
    const QVector<QPoint> cells = route.routeOn(floor);
    const QVector<int> numbers = route.routeNumbersOn(floor);
    const QFont font = TextOutline::labelFont(10);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < cells.size(); ++i) {
        const QRect rect = BoardPainter::cellRect(cells[i].x(), cells[i].y());
        painter.fillRect(rect, routeTint);
        QPainterPath path = TextOutline::outline(font, QString::number(numbers[i]));
        // Top left, one pixel inside the grid line: the value sits bottom right.
        const QRectF bounds = path.boundingRect();
        path.translate(rect.left() + 2 - bounds.left(), rect.top() + 2 - bounds.top());
        const QPainterPath halo =
            QPainterPathStroker(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin))
                .createStroke(path);
        painter.fillPath(halo, Qt::white);
        painter.fillPath(path, QColor(160, 0, 0));
    }
    painter.restore();
}

void paintUnreachable(QPainter &painter, const MapRoute &route, int floor)
{
    for (const QPoint &cell : route.unreachableOn(floor))
        BoardPainter::paintCellOutline(painter, cell, QColor(200, 0, 200));
}

} // namespace RoutePainter
