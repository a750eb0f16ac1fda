#pragma once

#include "session/tools/boardtool.h"

// The line tool of map edit mode: a start cell, then an end cell, and the chosen chip
// is laid along the straight line between them as one step. While the end is chosen,
// the line follows the pointer as a preview.
class LineTool : public BoardTool
{
    Q_OBJECT

public:
    enum State
    {
        Off = 0,
        WaitingStart = 1,
        WaitingEnd = 2
    };

    using BoardTool::BoardTool;

    State state() const { return mState; }
    bool isOn() const override { return mState != Off; }
    void setOn(bool on) override;
    // Cells that carry the line marker until the next board refresh.
    const QVector<QPoint> &marks() const { return mMarks; }
    void clearMarks()
    {
        if (mMarks.isEmpty())
            return;
        mMarks.clear();
        Q_EMIT pictureChanged();
    }
    // A start cell belongs to the floor and mode it was chosen in; the tool stays on.
    // `ask` puts the question for a new start into the status bar.
    void dropStart(bool ask);

    void press(QPoint cell, Qt::MouseButton button) override;
    void hover(QPoint cell) override;
    void leave() override {}
    ToolPicture picture() const override;

private:
    void setState(State state);

    State mState = Off;
    QPoint mStart;
    QPoint mPreviewCell;
    QVector<QPoint> mMarks;
};
