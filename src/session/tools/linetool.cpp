#include "session/tools/linetool.h"

#include "board/chipline.h"
#include "model/mapdocument.h"
#include "session/statusline.h"
#include "session/tools/toolcontext.h"

void LineTool::setState(State state)
{
    mState = state;
    Q_EMIT stateChanged();
}

void LineTool::setOn(bool on)
{
    if (on == isOn())
        return;
    setState(on ? WaitingStart : Off);
}

void LineTool::dropStart(bool ask)
{
    if (mState != WaitingEnd)
        return;
    setState(WaitingStart);
    if (ask)
        mContext.status().tell(StatusLine::Kind::AskLineStart);
}

void LineTool::press(QPoint cell, Qt::MouseButton button)
{
    const bool left = button == Qt::LeftButton;
    StatusLine &status = mContext.status();
    if (mState == WaitingStart) {
        if (!left) {
            setState(Off);
            clearMarks();
            return;
        }
        mMarks.append(cell);
        mStart = cell;
        Q_EMIT pictureChanged();
        status.tell(StatusLine::Kind::AskLineEnd);
        setState(WaitingEnd);
        return;
    }
    if (mState != WaitingEnd)
        return;
    setState(WaitingStart);
    clearMarks();
    if (left)
        mContext.document().layChips(chipLine(mStart, cell), mContext.floor(), mContext.chip());
    status.tell(StatusLine::Kind::AskLineStart);
}

void LineTool::hover(QPoint cell)
{
    // The prompt stays in the status bar while a line is being drawn.
    if (mState != WaitingEnd)
        return;
    if (cell != mPreviewCell) {
        mMarks = chipLine(mStart, cell);
        Q_EMIT pictureChanged();
    }
    mPreviewCell = cell;
}

ToolPicture LineTool::picture() const
{
    ToolPicture picture;
    picture.marks = mMarks;
    return picture;
}
