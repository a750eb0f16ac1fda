#include "mainwindow/windowplacement.h"

#include <QVector>

#include <algorithm>

namespace WindowPlacement {

QPoint beside(const QRect &window, const QRect &main, const QRect &screen, int gap)
{
    if (!window.intersects(main))
        return window.topLeft();
    // Kept at its height, within the screen.
    const int top = std::clamp(window.top(), screen.top(),
                               std::max(screen.top(), screen.bottom() - window.height() + 1));
    const int right = main.right() + 1 + gap;
    if (right + window.width() - 1 <= screen.right())
        return {right, top};
    const int left = main.left() - gap - window.width();
    if (left >= screen.left())
        return {left, top};
    return window.topLeft();
}

QRect opening(const QSize &size, const QSize &smallest, const QRect &main, const QRect &tool,
              const QRect &screen, int gap)
{
    // The room: the bands of the screen on each side of the tool window that can hold the
    // window at its smallest, else the whole screen.
    QVector<QRect> rooms;
    const QRect kept = tool.adjusted(-gap, -gap, gap, gap);
    if (!tool.isNull() && kept.intersects(screen)) {
        const QRect bands[] = {
            QRect(QPoint(kept.right() + 1, screen.top()), screen.bottomRight()),
            QRect(screen.topLeft(), QPoint(kept.left() - 1, screen.bottom())),
            QRect(QPoint(screen.left(), kept.bottom() + 1), screen.bottomRight()),
            QRect(screen.topLeft(), QPoint(screen.right(), kept.top() - 1))};
        for (const QRect &band : bands)
            if (band.width() >= smallest.width() && band.height() >= smallest.height())
                rooms.append(band);
    }
    if (rooms.isEmpty())
        rooms.append(screen);
    const QPoint middle = main.isNull() ? screen.center() : main.center();
    QRect best;
    long long bestShown = -1;
    long long bestCovered = 0;
    long long bestDistance = 0;
    for (const QRect &room : std::as_const(rooms)) {
        const QSize fitted = size.boundedTo(room.size()).expandedTo(smallest);
        // Over the middle of the main window, or beside one of its edges.
        QRect centred(QPoint(), fitted);
        centred.moveCenter(middle);
        QVector<QPoint> corners{centred.topLeft()};
        if (!main.isNull())
            corners += {QPoint(main.right() + 1 + gap, centred.top()),
                        QPoint(main.left() - gap - fitted.width(), centred.top()),
                        QPoint(centred.left(), main.bottom() + 1 + gap),
                        QPoint(centred.left(), main.top() - gap - fitted.height())};
        for (const QPoint &corner : std::as_const(corners)) {
            // A window larger than the room keeps its top-left corner in it.
            const QPoint at(
                std::max(room.left(), std::min(corner.x(), room.right() - fitted.width() + 1)),
                std::max(room.top(), std::min(corner.y(), room.bottom() - fitted.height() + 1)));
            const QRect placed(at, fitted);
            // Most of the window, then least of the board covered, then nearest the middle.
            const long long shown = 1LL * fitted.width() * fitted.height();
            const QRect over = placed.intersected(main);
            const long long covered = over.isEmpty() ? 0 : 1LL * over.width() * over.height();
            const QPoint off = placed.center() - middle;
            const long long distance = 1LL * off.x() * off.x() + 1LL * off.y() * off.y();
            if (shown > bestShown ||
                (shown == bestShown &&
                 (covered < bestCovered || (covered == bestCovered && distance < bestDistance)))) {
                best = placed;
                bestShown = shown;
                bestCovered = covered;
                bestDistance = distance;
            }
        }
    }
    return best;
}

} // namespace WindowPlacement
