#include "painting/textoutline.h"

#include <QTransform>

namespace TextOutline {

QFont labelFont(qreal pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    // Outlines for a path need no hinting, and the hinting interpreter is slow.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setBold(true);
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    return font;
}

QFont enlarged(QFont font)
{
    if (font.pixelSize() > 0)
        font.setPixelSize(font.pixelSize() * Scale);
    else
        font.setPointSizeF(font.pointSizeF() * Scale);
    return font;
}

QPainterPath outline(const QFont &font, const QString &text)
{
    QPainterPath path;
    path.addText(0, 0, enlarged(font), text);
    return QTransform::fromScale(1.0 / Scale, 1.0 / Scale).map(path);
}

} // namespace TextOutline
