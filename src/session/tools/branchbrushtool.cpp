#include "session/tools/branchbrushtool.h"

#include "board/chipline.h"
#include "model/mapdocument.h"
#include "session/tools/toolcontext.h"

void BranchBrushTool::press(QPoint cell, Qt::MouseButton button)
{
    cancel();
    const bool clearing = button == Qt::RightButton;
    mSetting = clearing ? QString() : mContext.branch();
    if (button == Qt::LeftButton || clearing) {
        mContext.document().beginStep(clearing ? QStringLiteral("分岐点の解除")
                                               : QStringLiteral("分岐点の設定"));
        mStroking = true;
        mLast = cell;
    }
    setBranches({cell});
}

void BranchBrushTool::move(QPoint cell)
{
    if (!mStroking || cell == mLast)
        return;
    QVector<QPoint> cells = chipLine(mLast, cell);
    cells.removeAll(mLast);
    mLast = cell;
    setBranches(cells);
}

void BranchBrushTool::setBranches(const QVector<QPoint> &cells)
{
    for (const QPoint &p : cells)
        mContext.document().setBranch(p.x(), p.y(), mContext.floor(), mSetting);
}

void BranchBrushTool::release(QPoint)
{
    cancel();
}

void BranchBrushTool::cancel()
{
    if (!mStroking)
        return;
    mStroking = false;
    mContext.document().endStep();
}
