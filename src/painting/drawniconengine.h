#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QImage>
#include <QList>

#include <functional>

// An icon drawn at a pixel ratio only when a size that needs it is first asked for. Drawing
// every ratio up front cost the start-up more than anything else the tool column does, and a
// screen of one ratio never shows the other's pictures. Sizes between the ratios, and the
// disabled look, come from Qt's own scaling of the nearest larger drawing, as for an icon
// made of pixmaps.
class DrawnIconEngine : public QIconEngine
{
public:
    // draw gives the picture at a pixel ratio; logicalSize is its side at ratio 1.
    DrawnIconEngine(int logicalSize, QList<qreal> ratios, std::function<QImage(qreal)> draw);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    bool isNull() override { return false; }

private:
    int mLogicalSize;
    QList<qreal> mRatios;
    QList<qreal> mDrawnRatios;
    std::function<QImage(qreal)> mDraw;
    QIcon mDrawn;
};
