#include "model/cellfill.h"

#include <algorithm>
#include <array>

namespace CellFill {

QVector<QPoint> area(const MapData &map, int floor, QPoint start, const QRect &bounds)
{
    const QRect board(1, 1, MapData::Width, MapData::Height);
    const QRect inside = bounds.isEmpty() ? board : bounds & board;
    QVector<QPoint> cells;
    if (!MapData::isValidFloor(floor) || !inside.contains(start))
        return cells;

    const QString &text = map.cell(start.x(), start.y(), floor);
    std::array<bool, MapData::Width * MapData::Height> seen{};
    const auto seenAt = [&](QPoint p) -> bool & {
        return seen[(p.y() - 1) * MapData::Width + (p.x() - 1)];
    };
    QVector<QPoint> pending{start};
    seenAt(start) = true;
    while (!pending.isEmpty()) {
        const QPoint here = pending.takeLast();
        for (const QPoint step : {QPoint(0, -1), QPoint(-1, 0), QPoint(1, 0), QPoint(0, 1)}) {
            const QPoint next = here + step;
            if (!inside.contains(next) || seenAt(next) ||
                map.cell(next.x(), next.y(), floor) != text)
                continue;
            seenAt(next) = true;
            pending.append(next);
        }
    }
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (seenAt({x, y}))
                cells.append({x, y});
        }
    }
    return cells;
}

QVector<QPoint> rectangle(QPoint corner, QPoint oppositeCorner, bool borderOnly)
{
    // QRect::normalized() loses a cell when the corners come right to left.
    const QRect whole(
        QPoint(std::min(corner.x(), oppositeCorner.x()), std::min(corner.y(), oppositeCorner.y())),
        QPoint(std::max(corner.x(), oppositeCorner.x()), std::max(corner.y(), oppositeCorner.y())));
    const QRect cut = whole & QRect(1, 1, MapData::Width, MapData::Height);
    QVector<QPoint> cells;
    for (int y = cut.top(); y <= cut.bottom(); ++y) {
        for (int x = cut.left(); x <= cut.right(); ++x) {
            const bool onBorder =
                x == whole.left() || x == whole.right() || y == whole.top() || y == whole.bottom();
            if (!borderOnly || onBorder)
                cells.append({x, y});
        }
    }
    return cells;
}

} // namespace CellFill
