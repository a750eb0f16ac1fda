#pragma once

#include <QFont>
#include <QPainterPath>
#include <QString>

// Text in pictures is drawn as a filled outline made large and scaled down: drawn glyphs and
// small outlines come out a level or two apart at their edges depending on what the font
// engine drew before, and a picture must be the same in every process (a saved picture
// matches the command line's pixel for pixel).
namespace TextOutline {

// How many times larger text is outlined than it is shown.
inline constexpr int Scale = 16;

// The bold sans-serif face of chip labels and values, `pixelSize` pixels high.
QFont labelFont(qreal pixelSize);
// `font` made Scale times larger, in the unit its size is set in.
QFont enlarged(QFont font);
// `text` in `font` as an outline at the font's size, with QPainterPath::addText's origin.
QPainterPath outline(const QFont &font, const QString &text);

} // namespace TextOutline
