#pragma once

#include <QPoint>
#include <QRect>

// Where the tool window goes when the main window grows over it.
namespace WindowPlacement {

// The top-left corner for `window` so that it covers none of `main`: where it is when it
// covers nothing, else right of `main` with a gap, else left of it, within `screen`. Where
// neither side has room it stays.
QPoint beside(const QRect &window, const QRect &main, const QRect &screen, int gap);

} // namespace WindowPlacement
