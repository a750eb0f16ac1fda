#pragma once

#include "session/tools/boardtool.h"

// 四角形: a drag from one corner to the other, previewed as the line tool previews its
// line, lays the chosen chip on every cell of the rectangle on release, or only on its
// border while Shift is held. In branch mode it sets the chosen branch setting (left
// button) or clears it (right button).
class RectangleTool : public BoardTool
{
    Q_OBJECT

public:
    using BoardTool::BoardTool;

    bool isOn() const override { return mOn; }
    void setOn(bool on) override;
    // Shift, as the pointer's last event saw it.
    void setBorderOnly(bool borderOnly);

    void press(QPoint cell, Qt::MouseButton button) override;
    void move(QPoint cell) override;
    void release(QPoint cell) override;
    void cancel() override;
    bool isStretching() const override { return mDragging; }
    ToolPicture picture() const override;

private:
    QVector<QPoint> cells() const;

    bool mOn = false;
    bool mBorderOnly = false;
    bool mDragging = false;
    Qt::MouseButton mButton = Qt::NoButton;
    QPoint mCorner;
    QPoint mOppositeCorner;
};
