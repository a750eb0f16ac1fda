#include "session/tools/selectiontool.h"

#include "model/mapdocument.h"
#include "session/statusline.h"
#include "session/tools/toolcontext.h"

#include <algorithm>

namespace {

QString turnStepText(CellBlock::Turn turn)
{
    switch (turn) {
    case CellBlock::Turn::FlipLeftRight:
        return QStringLiteral("左右反転");
    case CellBlock::Turn::FlipUpDown:
        return QStringLiteral("上下反転");
    case CellBlock::Turn::RotateClockwise:
        return QStringLiteral("右に90度回転");
    case CellBlock::Turn::RotateCounterClockwise:
        return QStringLiteral("左に90度回転");
    case CellBlock::Turn::None:
        break;
    }
    return QStringLiteral("移動");
}

QString doesNotFitText()
{
    return QStringLiteral("回転すると盤面に収まりません。");
}

QString coveredPairsText(int pairs)
{
    return QStringLiteral("重なったワープのペアを%1組削除しました。").arg(pairs);
}

} // namespace

bool SelectionTool::isUsable() const
{
    return mContext.mode() == ChipMode || mContext.mode() == BranchMode;
}

void SelectionTool::setOn(bool on)
{
    if (on && !isUsable())
        on = false;
    if (on == mOn)
        return;
    mOn = on;
    if (!on)
        setSelected(QRect());
    tellChanged();
}

const QRect &SelectionTool::selection() const
{
    return mContext.document().selection();
}

void SelectionTool::yield()
{
    if (isFloating())
        drop();
    setOn(false);
}

const QString *SelectionTool::floatingCellAt(QPoint cell) const
{
    if (!mFloating || !QRect(mFloatingAt, mFloating->size()).contains(cell))
        return nullptr;
    const QPoint inBlock = cell - mFloatingAt;
    return &mFloating->cell(inBlock.x(), inBlock.y());
}

const QString *SelectionTool::floatingBranchAt(QPoint cell) const
{
    if (!mFloating || !QRect(mFloatingAt, mFloating->size()).contains(cell))
        return nullptr;
    const QPoint inBlock = cell - mFloatingAt;
    return &mFloating->branch(inBlock.x(), inBlock.y());
}

ToolPicture SelectionTool::picture() const
{
    ToolPicture picture;
    picture.selection = selection();
    picture.floating = floatingBlock();
    picture.floatingAt = mFloatingAt;
    return picture;
}

void SelectionTool::tellChanged()
{
    Q_EMIT stateChanged();
    Q_EMIT pictureChanged();
}

void SelectionTool::press(QPoint cell, Qt::MouseButton button)
{
    // A release that never came (the pointer grab was lost) ends the drag here.
    if (mDrag == Drag::Moving)
        mFloating.reset();
    mDrag = Drag::None;
    if (mFloating) {
        if (button == Qt::LeftButton)
            layFloating();
        else
            drop();
        return;
    }
    if (!mOn || !isUsable())
        return;
    if (button != Qt::LeftButton) {
        dropSelection();
        return;
    }
    mAnchor = cell;
    if (selection().contains(cell)) {
        mDrag = Drag::Moving;
        mFloating = CellBlock::extract(mContext.map(), mContext.floor(), selection());
        mFloatingAt = selection().topLeft();
    } else {
        mDrag = Drag::Selecting;
        setSelected(QRect());
    }
    tellChanged();
}

void SelectionTool::move(QPoint cell)
{
    switch (mDrag) {
    case Drag::Selecting:
        setSelected(span(mAnchor, cell));
        tellChanged();
        break;
    case Drag::Moving:
        mFloatingAt = selection().topLeft() + cell - mAnchor;
        tellChanged();
        break;
    case Drag::None:
        break;
    }
}

void SelectionTool::release(QPoint cell)
{
    const Drag drag = mDrag;
    mDrag = Drag::None;
    if (drag == Drag::Selecting) {
        // A click without a drag only drops what was selected.
        setSelected(cell == mAnchor ? QRect() : span(mAnchor, cell));
        tellChanged();
    } else if (drag == Drag::Moving) {
        mFloating.reset();
        const QPoint target = selection().topLeft() + cell - mAnchor;
        if (target != selection().topLeft())
            relocate(CellBlock::Turn::None, target, QStringLiteral("移動"));
        tellChanged();
    }
}

void SelectionTool::track(QPoint cell)
{
    mPointer = cell;
    if (mFloating && mDrag == Drag::None && mFloatingAt != cell) {
        mFloatingAt = cell;
        tellChanged();
    }
}

void SelectionTool::selectAll()
{
    if (!isUsable() || mDrag != Drag::None)
        return;
    setOn(true);
    mFloating.reset();
    setSelected(CellBlock::board());
    tellChanged();
}

QRect SelectionTool::span(QPoint corner, QPoint opposite)
{
    // QRect::normalized() would leave out a row or column when the drag goes up or left.
    return QRect(QPoint(std::min(corner.x(), opposite.x()), std::min(corner.y(), opposite.y())),
                 QPoint(std::max(corner.x(), opposite.x()), std::max(corner.y(), opposite.y())));
}

void SelectionTool::select(const QRect &cells)
{
    if (!mOn || !isUsable() || mFloating || mDrag != Drag::None)
        return;
    setSelected(cells & CellBlock::board());
    tellChanged();
}

std::optional<CellBlock> SelectionTool::copy() const
{
    if (!canCopy() || mDrag != Drag::None)
        return std::nullopt;
    return CellBlock::extract(mContext.map(), mContext.floor(), selection());
}

std::optional<CellBlock> SelectionTool::cut()
{
    std::optional<CellBlock> block = copy();
    if (block) {
        mContext.document().clearCells(selection(), mContext.floor(), QStringLiteral("切り取り"));
    }
    return block;
}

void SelectionTool::deleteSelection()
{
    if (!canCopy() || mDrag != Drag::None)
        return;
    mContext.document().clearCells(selection(), mContext.floor(), QStringLiteral("削除"));
}

void SelectionTool::startFloating(const CellBlock &block)
{
    if (!isUsable() || mDrag != Drag::None || block.isEmpty())
        return;
    setSelected(QRect());
    mFloating = block;
    mFloatingAt = mPointer;
    tellChanged();
}

void SelectionTool::layFloating()
{
    int covered = 0;
    const int missing =
        mContext.document().layBlock(*mFloating, mContext.floor(), mFloatingAt, &covered);
    mFloating.reset();
    QString told;
    if (covered > 0)
        told = coveredPairsText(covered);
    if (missing > 0)
        told +=
            QStringLiteral("空き番号が足りず、ワープのペアを%1組作れませんでした。").arg(missing);
    if (!told.isEmpty())
        mContext.status().tellText(told);
    tellChanged();
}

void SelectionTool::turn(CellBlock::Turn turn)
{
    if (!canTurn() || mDrag != Drag::None)
        return;
    if (mFloating) {
        CellBlock turned = mFloating->turned(turn);
        if (!CellBlock::board().contains(QRect(QPoint(1, 1), turned.size()))) {
            mContext.status().tellText(doesNotFitText());
            return;
        }
        mFloating = std::move(turned);
        tellChanged();
        return;
    }
    const QRect target(selection().topLeft(), CellBlock::turnedSize(selection().size(), turn));
    if (!CellBlock::board().contains(target)) {
        mContext.status().tellText(doesNotFitText());
        return;
    }
    relocate(turn, selection().topLeft(), turnStepText(turn));
    tellChanged();
}

void SelectionTool::relocate(CellBlock::Turn turn, QPoint target, const QString &stepText)
{
    const QRect before = selection();
    const QRect after =
        QRect(target, CellBlock::turnedSize(before.size(), turn)) & CellBlock::board();
    MapDocument &document = mContext.document();
    // The moved cells stay selected; the step hands that selection back on undo and redo.
    document.beginStep(stepText);
    const int covered = document.relocateCells(before, mContext.floor(), turn, target, stepText);
    setSelected(after);
    document.endStep();
    if (covered > 0)
        mContext.status().tellText(coveredPairsText(covered));
}

void SelectionTool::followMap(const MapChange &change)
{
    if (!change.replayed)
        return;
    // A step hands back the selection it was made with; the drag or block of the moment goes.
    mDrag = Drag::None;
    mFloating.reset();
    if (!isUsable())
        setSelected(QRect());
    else if (!selection().isEmpty())
        mOn = true;
    tellChanged();
}

void SelectionTool::drop()
{
    if (mDrag == Drag::Moving || mDrag == Drag::Selecting)
        mDrag = Drag::None;
    if (mFloating)
        mFloating.reset();
    else if (mDrag == Drag::None)
        setSelected(QRect());
    tellChanged();
}

void SelectionTool::dropSelection()
{
    bool dropped = mDrag != Drag::None || !selection().isEmpty();
    if (mDrag == Drag::Moving)
        mFloating.reset();
    mDrag = Drag::None;
    if (!isUsable() && (mFloating || mOn)) {
        mFloating.reset();
        mOn = false;
        dropped = true;
    }
    setSelected(QRect());
    if (dropped)
        tellChanged();
}

void SelectionTool::setSelected(const QRect &cells)
{
    mContext.document().setSelection(cells);
}
