#pragma once

#include "session/tools/boardtool.h"

#include <QString>

// Branch mode: the left button sets the chosen branch setting on every cell the pointer
// passes, the right button clears it; a stroke is one step of the history.
class BranchBrushTool : public BoardTool
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
    void setBranches(const QVector<QPoint> &cells);

    bool mStroking = false;
    QString mSetting;
    QPoint mLast;
};
