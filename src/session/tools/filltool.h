#pragma once

#include "session/tools/boardtool.h"

#include <QRect>

// 塗りつぶし: a left click lays the chosen chip on the area of cells joined to the
// clicked one through their sides that hold the same cell text; in branch mode it sets
// the chosen branch setting there (left button) or clears it (right button). A
// selection made before the tool was switched on bounds the area.
class FillTool : public BoardTool
{
    Q_OBJECT

public:
    using BoardTool::BoardTool;

    bool isOn() const override { return mOn; }
    void setOn(bool on) override;
    // The cells a fill may reach; empty for the whole board.
    const QRect &bounds() const { return mBounds; }
    void setBounds(const QRect &bounds);

    void press(QPoint cell, Qt::MouseButton button) override;
    ToolPicture picture() const override;

private:
    bool mOn = false;
    QRect mBounds;
};
