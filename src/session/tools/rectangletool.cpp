#include "session/tools/rectangletool.h"

#include "model/cellfill.h"
#include "model/mapdocument.h"
#include "session/tools/toolcontext.h"

void RectangleTool::setOn(bool on)
{
    if (on == mOn)
        return;
    cancel();
    mOn = on;
    Q_EMIT stateChanged();
}

void RectangleTool::setBorderOnly(bool borderOnly)
{
    if (borderOnly == mBorderOnly)
        return;
    mBorderOnly = borderOnly;
    if (mDragging)
        Q_EMIT pictureChanged();
}

QVector<QPoint> RectangleTool::cells() const
{
    return CellFill::rectangle(mCorner, mOppositeCorner, mBorderOnly);
}

void RectangleTool::press(QPoint cell, Qt::MouseButton button)
{
    cancel();
    if (button == Qt::RightButton && mContext.mode() != BranchMode) {
        // As with the brush, the right button picks up the cell's chip.
        mContext.setChip(mContext.map().cell(cell.x(), cell.y(), mContext.floor()));
        return;
    }
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    mDragging = true;
    mButton = button;
    mCorner = mOppositeCorner = cell;
    Q_EMIT pictureChanged();
}

void RectangleTool::move(QPoint cell)
{
    if (!mDragging || cell == mOppositeCorner)
        return;
    mOppositeCorner = cell;
    Q_EMIT pictureChanged();
}

void RectangleTool::release(QPoint cell)
{
    if (!mDragging)
        return;
    mOppositeCorner = cell;
    const QVector<QPoint> laid = cells();
    const Qt::MouseButton button = mButton;
    cancel();
    MapDocument &document = mContext.document();
    const QString stepText = QStringLiteral("四角形");
    if (mContext.mode() == BranchMode) {
        document.setBranches(laid, mContext.floor(),
                             button == Qt::LeftButton ? mContext.branch() : QString(), stepText);
    } else {
        document.layChips(laid, mContext.floor(), mContext.chip(), stepText);
    }
}

void RectangleTool::cancel()
{
    if (!mDragging)
        return;
    mDragging = false;
    Q_EMIT pictureChanged();
}

ToolPicture RectangleTool::picture() const
{
    ToolPicture picture;
    if (mDragging)
        picture.marks = cells();
    return picture;
}
