#include "session/tools/chipbrushtool.h"

#include "board/chipline.h"
#include "model/mapdocument.h"
#include "session/tools/toolcontext.h"

void ChipBrushTool::press(QPoint cell, Qt::MouseButton button)
{
    // A release that never came (the pointer grab was lost) ends the stroke here.
    cancel();
    MapDocument &document = mContext.document();
    if (button == Qt::LeftButton) {
        // The whole stroke, its first cell included, is one step of the history.
        document.beginStep(QStringLiteral("チップの配置"));
        mStroking = true;
        mLast = cell;
        document.layChip(cell.x(), cell.y(), mContext.floor(), mContext.chip());
    } else if (button == Qt::RightButton) {
        mContext.setChip(mContext.map().cell(cell.x(), cell.y(), mContext.floor()));
    }
}

void ChipBrushTool::move(QPoint cell)
{
    if (!mStroking || cell == mLast)
        return;
    // Every cell between the last position and this one, so a fast pointer leaves no gaps.
    QVector<QPoint> cells = chipLine(mLast, cell);
    cells.removeAll(mLast);
    mLast = cell;
    mContext.document().layChips(cells, mContext.floor(), mContext.chip());
}

void ChipBrushTool::release(QPoint)
{
    cancel();
}

void ChipBrushTool::cancel()
{
    if (!mStroking)
        return;
    mStroking = false;
    mContext.document().endStep();
}
