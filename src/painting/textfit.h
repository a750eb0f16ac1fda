#pragma once

#include <QRect>
#include <QSize>

class QAbstractButton;
class QString;
class QWidget;

// The windows are laid out in twips for a small font; with a larger or wider font (a
// Japanese face, a high font DPI) a caption would be cut. These give a control the room its
// caption needs, never less than the layout gave it.
namespace TextFit {

// The part of a button's rectangle the style leaves to its caption.
QRect buttonTextArea(const QAbstractButton *button);
// The size `control` needs to show its caption whole in its own font and style.
QSize neededSize(const QWidget *control);
// `control` placed at `rect`, grown right and down where its caption needs it.
QRect place(QWidget *control, const QRect &rect);
// The width a window needs so that the window manager can show `title` beside its
// caption buttons, measured in the window's font.
int titleWidth(const QWidget *window, const QString &title);

} // namespace TextFit
