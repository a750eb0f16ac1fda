#pragma once

#include "model/cellblock.h"
#include "session/tools/boardtool.h"

#include <optional>

// 範囲選択 and blocks of cells: the selection rectangle, moving it, and a pasted block
// floating under the pointer until it is laid. Map edit and branch mode only.
class SelectionTool : public BoardTool
{
    Q_OBJECT

public:
    using BoardTool::BoardTool;

    // The selection tool button.
    bool isOn() const override { return mOn; }
    void setOn(bool on) override;
    // A floating block goes as Esc drops it.
    void yield() override;
    bool isHolding() const override { return mFloating.has_value(); }
    // The selected cells of the floor shown; empty when nothing is selected.
    const QRect &selection() const;
    bool isFloating() const { return mFloating.has_value(); }
    // The floating block (a pasted one, or the selection while it is dragged) and where
    // its top-left cell is.
    const CellBlock *floatingBlock() const { return mFloating ? &*mFloating : nullptr; }
    QPoint floatingAt() const { return mFloatingAt; }
    // The chip the floating block would lay on board cell `cell`, if it covers that cell.
    const QString *floatingCellAt(QPoint cell) const;
    // And the branch setting it would lay there.
    const QString *floatingBranchAt(QPoint cell) const;
    // Whether it takes the board's input now rather than the mode's brush.
    bool isActive() const { return mOn || mFloating; }

    void press(QPoint cell, Qt::MouseButton button) override;
    void move(QPoint cell) override;
    void release(QPoint cell) override;
    // The pointer's cell, where a pasted block appears; tracked whatever tool is active.
    void track(QPoint cell);
    void cancel() override { dropSelection(); }
    ToolPicture picture() const override;

    // Commands of the edit menu; each does nothing when it cannot act.
    bool isUsable() const;
    bool canCopy() const { return isUsable() && !selection().isEmpty() && !mFloating; }
    bool canTurn() const { return isUsable() && (!selection().isEmpty() || mFloating); }
    void selectAll();
    // The cells from one corner to the opposite one, both included, in any direction.
    static QRect span(QPoint corner, QPoint opposite);
    // Selects cells without a drag, as Shift+arrows do; nothing while a block floats.
    void select(const QRect &cells);
    std::optional<CellBlock> copy() const;
    std::optional<CellBlock> cut();
    void deleteSelection();
    void startFloating(const CellBlock &block);
    void turn(CellBlock::Turn turn);
    // Esc: a floating block goes first, then the selection.
    void drop();
    // The mode or floor changed: the selection and any drag go.
    void dropSelection();
    // A step undone or redone hands back the selection as it was on that side of it.
    void followMap(const MapChange &change) override;

private:
    enum class Drag
    {
        None,
        Selecting,
        Moving
    };
    void layFloating();
    void relocate(CellBlock::Turn turn, QPoint target, const QString &stepText);
    void tellChanged();
    // The document holds the selection, so that steps can remember it.
    void setSelected(const QRect &cells);

    bool mOn = false;
    std::optional<CellBlock> mFloating;
    QPoint mFloatingAt;
    QPoint mPointer{1, 1};
    Drag mDrag = Drag::None;
    QPoint mAnchor;
};
