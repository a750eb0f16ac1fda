#include "session/tools/filltool.h"

#include "model/cellfill.h"
#include "model/mapdocument.h"
#include "session/tools/toolcontext.h"

void FillTool::setOn(bool on)
{
    // A selection there when the tool comes on bounds its fills.
    setBounds(on ? mContext.document().selection() : QRect());
    if (on == mOn)
        return;
    mOn = on;
    Q_EMIT stateChanged();
}

void FillTool::setBounds(const QRect &bounds)
{
    if (bounds == mBounds)
        return;
    mBounds = bounds;
    Q_EMIT pictureChanged();
}

void FillTool::press(QPoint cell, Qt::MouseButton button)
{
    const int floor = mContext.floor();
    const bool branches = mContext.mode() == BranchMode;
    if (button == Qt::RightButton && !branches) {
        // As with the brush, the right button picks up the cell's chip, wherever it is.
        mContext.setChip(mContext.map().cell(cell.x(), cell.y(), floor));
        return;
    }
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    const QVector<QPoint> area = CellFill::area(mContext.map(), floor, cell, mBounds);
    if (area.isEmpty())
        return;
    MapDocument &document = mContext.document();
    const QString stepText = QStringLiteral("塗りつぶし");
    if (branches) {
        document.setBranches(area, floor, button == Qt::LeftButton ? mContext.branch() : QString(),
                             stepText);
    } else {
        document.layChips(area, floor, mContext.chip(), stepText);
    }
}

ToolPicture FillTool::picture() const
{
    ToolPicture picture;
    picture.selection = mBounds;
    return picture;
}
