#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where windows go on the screen.
namespace WindowPlacement {

// The top-left corner for `window` so that it covers none of `main`: where it is when it
// covers nothing, else right of `main` with a gap, else left of it, within `screen`. Where
// neither side has room it stays.
QPoint beside(const QRect &window, const QRect &main, const QRect &screen, int gap);

// Where a window of frame size `size` opens: wholly inside `screen` and clear of the
// always-on-top `tool` window (null when none is shown) by `gap`, covering as little of
// `main` as it can, beside it or else over its middle. A window larger than the room it gets is made smaller, down to
// `smallest`; where even that finds no room beside the tool window, it may lie under it.
QRect opening(const QSize &size, const QSize &smallest, const QRect &main, const QRect &tool,
              const QRect &screen, int gap);

} // namespace WindowPlacement
