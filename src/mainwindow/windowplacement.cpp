#include "mainwindow/windowplacement.h"

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

} // namespace WindowPlacement
