#include "mainwindow/markerlabel.h"

#include "painting/markerpainter.h"

#include <QPainter>

MarkerLabel::MarkerLabel(QWidget *parent) : QLabel(parent)
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

void MarkerLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    MarkerPainter::paint(painter, rect(), text(), mOpaque);
}
