#include "mainwindow/markerlabel.h"

#include "painting/markerpainter.h"

#include <QPainter>

MarkerLabel::MarkerLabel(int index, QWidget *parent) : QLabel(parent), mIndex(index)
{
    setAlignment(Qt::AlignCenter);
    setFont(MarkerPainter::font());
}

void MarkerLabel::setOpaque(bool opaque)
{
    if (opaque == mOpaque)
        return;
    mOpaque = opaque;
    update();
}

void MarkerLabel::setScale(qreal scale)
{
    if (qFuzzyCompare(scale, mScale))
        return;
    mScale = scale;
    update();
}

void MarkerLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.scale(mScale, mScale);
    if (mOutlined != text()) {
        mOutline = MarkerPainter::captionOutline(text());
        mOutlined = text();
    }
    MarkerPainter::paint(painter, mOutline, mOpaque);
}
