#include "painting/drawniconengine.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <utility>

DrawnIconEngine::DrawnIconEngine(int logicalSize, QList<qreal> ratios,
                                 std::function<QImage(qreal)> draw)
    : mLogicalSize(logicalSize), mRatios(std::move(ratios)), mDraw(std::move(draw))
{
    std::sort(mRatios.begin(), mRatios.end());
}

void DrawnIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
                            QIcon::State state)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
}

QPixmap DrawnIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    if (mRatios.isEmpty() || size.isEmpty())
        return {};
    // The smallest ratio whose drawing is at least as large as asked for, else the largest.
    const qreal needed = qreal(std::max(size.width(), size.height())) / mLogicalSize;
    const auto fits = std::find_if(mRatios.cbegin(), mRatios.cend(),
                                   [needed](qreal ratio) { return ratio >= needed; });
    const qreal ratio = fits == mRatios.cend() ? mRatios.last() : *fits;
    if (!mDrawnRatios.contains(ratio)) {
        // Kept in device pixels: sizes are asked for in device pixels here.
        QImage image = mDraw(ratio);
        image.setDevicePixelRatio(1.0);
        mDrawn.addPixmap(QPixmap::fromImage(image));
        mDrawnRatios.append(ratio);
    }
    return mDrawn.pixmap(size, 1.0, mode, state);
}

QIconEngine *DrawnIconEngine::clone() const
{
    return new DrawnIconEngine(*this);
}
