#include "session/blocktool.h"

#include "board/chipline.h"
#include "session/editorsession.h"

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
    case CellBlock::Turn::None:
        break;
    }
    return QStringLiteral("移動");
}

QString doesNotFitText()
{
    return QStringLiteral("回転すると盤面に収まりません。");
}

} // namespace

BlockTool::BlockTool(EditorSession &session) : mSession(session) {}

bool BlockTool::isUsable() const
{
    return mSession.editMode() == EditorSession::ChipMode ||
           mSession.editMode() == EditorSession::BranchMode;
}

void BlockTool::setOn(bool on)
{
    if (on && !isUsable())
        on = false;
    if (on && mSession.lineToolState() != EditorSession::LineOff)
        mSession.toggleLineTool();
    if (on == mOn)
        return;
    mOn = on;
    if (!on)
        mSelection = QRect();
    Q_EMIT changed();
}

bool BlockTool::startsStroke(Qt::MouseButton button) const
{
    if (mSession.editMode() == EditorSession::ChipMode)
        return button == Qt::LeftButton && mSession.lineToolState() == EditorSession::LineOff;
    return mSession.editMode() == EditorSession::BranchMode &&
           (button == Qt::LeftButton || button == Qt::RightButton);
}

const QString *BlockTool::floatingCellAt(QPoint cell) const
{
    if (!mFloating || !QRect(mFloatingAt, mFloating->size()).contains(cell))
        return nullptr;
    const QPoint inBlock = cell - mFloatingAt;
    return &mFloating->cell(inBlock.x(), inBlock.y());
}

void BlockTool::press(QPoint cell, Qt::MouseButton button)
{
    // A release that never came (the pointer grab was lost) ends the drag here.
    if (mDrag == Drag::Stroke)
        endStroke();
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
    if (mOn && isUsable()) {
        if (button != Qt::LeftButton) {
            dropSelection();
            return;
        }
        mAnchor = cell;
        if (mSelection.contains(cell)) {
            mDrag = Drag::Moving;
            mFloating = CellBlock::extract(mSession.map(), mSession.currentFloor(), mSelection);
            mFloatingAt = mSelection.topLeft();
        } else {
            mDrag = Drag::Selecting;
            mSelection = QRect();
        }
        Q_EMIT changed();
        return;
    }
    if (!startsStroke(button)) {
        mSession.clickCell(cell, button);
        return;
    }
    // The whole stroke, its first cell included, is one step of the history.
    QString text = QStringLiteral("チップの配置");
    if (mSession.editMode() == EditorSession::BranchMode)
        text = button == Qt::RightButton ? QStringLiteral("分岐点の解除")
                                         : QStringLiteral("分岐点の設定");
    mSession.document().beginStep(text);
    mDrag = Drag::Stroke;
    mButton = button;
    mLast = cell;
    mSession.clickCell(cell, button);
}

void BlockTool::drag(QPoint cell)
{
    if (!MapData::isOnBoard(cell.x(), cell.y()))
        return;
    switch (mDrag) {
    case Drag::Stroke:
        if (cell != mLast)
            paintTo(cell);
        break;
    case Drag::Selecting:
        mSelection = QRect(mAnchor, cell).normalized();
        Q_EMIT changed();
        break;
    case Drag::Moving:
        mFloatingAt = mSelection.topLeft() + cell - mAnchor;
        Q_EMIT changed();
        break;
    case Drag::None:
        break;
    }
}

void BlockTool::paintTo(QPoint cell)
{
    // Every cell between the last position and this one, so a fast pointer leaves no gaps.
    QVector<QPoint> cells = chipLine(mLast, cell);
    cells.removeAll(mLast);
    mLast = cell;
    MapDocument &document = mSession.document();
    const int floor = mSession.currentFloor();
    if (mSession.editMode() == EditorSession::ChipMode) {
        document.layChips(cells, floor, mSession.selectedChip());
    } else {
        const QString setting = mButton == Qt::RightButton ? QString() : mSession.selectedBranch();
        for (const QPoint &p : std::as_const(cells))
            document.setBranch(p.x(), p.y(), floor, setting);
    }
    mSession.refreshBoard();
}

void BlockTool::endStroke()
{
    mDrag = Drag::None;
    mSession.document().endStep();
}

void BlockTool::release(QPoint cell)
{
    const Drag drag = mDrag;
    if (drag == Drag::Stroke) {
        endStroke();
        return;
    }
    mDrag = Drag::None;
    if (drag == Drag::Selecting) {
        // A click without a drag only drops what was selected.
        mSelection = cell == mAnchor ? QRect() : QRect(mAnchor, cell).normalized();
        Q_EMIT changed();
    } else if (drag == Drag::Moving) {
        mFloating.reset();
        const QPoint target = mSelection.topLeft() + cell - mAnchor;
        if (target != mSelection.topLeft()) {
            mSession.document().relocateCells(mSelection, mSession.currentFloor(),
                                              CellBlock::Turn::None, target,
                                              QStringLiteral("移動"));
            mSelection = QRect(target, mSelection.size()) & CellBlock::board();
            afterPairsChanged();
        }
        Q_EMIT changed();
    }
}

void BlockTool::hover(QPoint cell)
{
    if (!MapData::isOnBoard(cell.x(), cell.y()))
        return;
    mPointer = cell;
    if (mFloating && mDrag == Drag::None && mFloatingAt != cell) {
        mFloatingAt = cell;
        Q_EMIT changed();
    }
}

void BlockTool::selectAll()
{
    if (!isUsable() || mDrag != Drag::None)
        return;
    setOn(true);
    mFloating.reset();
    mSelection = CellBlock::board();
    Q_EMIT changed();
}

std::optional<CellBlock> BlockTool::copy() const
{
    if (!canCopy() || mDrag != Drag::None)
        return std::nullopt;
    return CellBlock::extract(mSession.map(), mSession.currentFloor(), mSelection);
}

std::optional<CellBlock> BlockTool::cut()
{
    std::optional<CellBlock> block = copy();
    if (block) {
        mSession.document().clearCells(mSelection, mSession.currentFloor(),
                                       QStringLiteral("切り取り"));
        afterPairsChanged();
    }
    return block;
}

void BlockTool::deleteSelection()
{
    if (!canCopy() || mDrag != Drag::None)
        return;
    mSession.document().clearCells(mSelection, mSession.currentFloor(), QStringLiteral("削除"));
    afterPairsChanged();
}

void BlockTool::startFloating(const CellBlock &block)
{
    if (!isUsable() || mDrag != Drag::None || block.isEmpty())
        return;
    mSelection = QRect();
    mFloating = block;
    mFloatingAt = mPointer;
    Q_EMIT changed();
}

void BlockTool::layFloating()
{
    const int missing =
        mSession.document().layBlock(*mFloating, mSession.currentFloor(), mFloatingAt);
    mFloating.reset();
    afterPairsChanged();
    if (missing > 0)
        mSession.setStatusText(
            QStringLiteral("空き番号が足りず、ワープのペアを%1組作れませんでした。").arg(missing));
    Q_EMIT changed();
}

void BlockTool::turn(CellBlock::Turn turn)
{
    if (!canTurn() || mDrag != Drag::None)
        return;
    if (mFloating) {
        CellBlock turned = mFloating->turned(turn);
        if (!CellBlock::board().contains(QRect(QPoint(1, 1), turned.size()))) {
            mSession.setStatusText(doesNotFitText());
            return;
        }
        mFloating = std::move(turned);
        Q_EMIT changed();
        return;
    }
    const QRect target(mSelection.topLeft(), CellBlock::turnedSize(mSelection.size(), turn));
    if (!CellBlock::board().contains(target)) {
        mSession.setStatusText(doesNotFitText());
        return;
    }
    mSession.document().relocateCells(mSelection, mSession.currentFloor(), turn,
                                      mSelection.topLeft(), turnStepText(turn));
    mSelection = target;
    afterPairsChanged();
    Q_EMIT changed();
}

void BlockTool::drop()
{
    if (mDrag == Drag::Moving || mDrag == Drag::Selecting)
        mDrag = Drag::None;
    if (mFloating)
        mFloating.reset();
    else if (mDrag == Drag::None)
        mSelection = QRect();
    Q_EMIT changed();
}

void BlockTool::dropSelection()
{
    if (mDrag == Drag::Stroke)
        endStroke();
    bool dropped = mDrag != Drag::None || !mSelection.isEmpty();
    if (mDrag == Drag::Moving)
        mFloating.reset();
    mDrag = Drag::None;
    if (!isUsable() && (mFloating || mOn)) {
        mFloating.reset();
        mOn = false;
        dropped = true;
    }
    mSelection = QRect();
    if (dropped)
        Q_EMIT changed();
}

void BlockTool::afterPairsChanged()
{
    // The markers follow the pairs the map has now, as after undo.
    mSession.warps().rebuildMarkers();
    mSession.warpsEdited();
    mSession.refreshBoard();
}
