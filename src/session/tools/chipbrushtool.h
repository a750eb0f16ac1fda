#pragma once

#include "session/tools/boardtool.h"

// Map edit mode: the left button lays the chosen chip into every cell the pointer
// passes, the whole stroke one step of the history; the right button picks up a cell's
// chip.
class ChipBrushTool : public BoardTool
{
    Q_OBJECT

public:
    using BoardTool::BoardTool;

    void press(QPoint cell, Qt::MouseButton button) override;
    void move(QPoint cell) override;
    void release(QPoint cell) override;
    void cancel() override;
    bool isStroking() const { return mStroking; }

private:
    bool mStroking = false;
    QPoint mLast;
};
