#pragma once

#include "model/cellblock.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <optional>

class EditorSession;

// What the pointer does on the board besides a click: paint strokes, the selection
// rectangle, moving it, and a pasted block floating under the pointer until it is laid.
// The board forwards its presses, drags and releases here.
class BlockTool : public QObject
{
    Q_OBJECT

public:
    explicit BlockTool(EditorSession &session);

    // The selection tool button.
    bool isOn() const { return mOn; }
    void setOn(bool on);
    // The selected cells of the current floor; empty when nothing is selected.
    const QRect &selection() const { return mSelection; }
    bool isFloating() const { return mFloating.has_value(); }
    // The floating block (a pasted one, or the selection while it is dragged) and where
    // its top-left cell is.
    const CellBlock *floatingBlock() const { return mFloating ? &*mFloating : nullptr; }
    QPoint floatingAt() const { return mFloatingAt; }
    // The chip the floating block would lay on board cell `cell`, if it covers that cell.
    const QString *floatingCellAt(QPoint cell) const;

    void press(QPoint cell, Qt::MouseButton button);
    void drag(QPoint cell);
    void release(QPoint cell);
    void hover(QPoint cell);

    // Commands of the edit menu; each does nothing when it cannot act.
    bool isUsable() const;
    bool canCopy() const { return isUsable() && !mSelection.isEmpty() && !mFloating; }
    bool canTurn() const { return isUsable() && (!mSelection.isEmpty() || mFloating); }
    void selectAll();
    std::optional<CellBlock> copy() const;
    std::optional<CellBlock> cut();
    void deleteSelection();
    void startFloating(const CellBlock &block);
    void turn(CellBlock::Turn turn);
    // Esc: a floating block goes first, then the selection.
    void drop();
    // The mode or floor changed: the selection and any drag go.
    void dropSelection();

Q_SIGNALS:
    void changed();

private:
    enum class Drag
    {
        None,
        Stroke,
        Selecting,
        Moving
    };
    bool startsStroke(Qt::MouseButton button) const;
    void paintTo(QPoint cell);
    void endStroke();
    void layFloating();
    void afterPairsChanged();

    EditorSession &mSession;
    bool mOn = false;
    QRect mSelection;
    std::optional<CellBlock> mFloating;
    QPoint mFloatingAt;
    QPoint mPointer{1, 1};
    Drag mDrag = Drag::None;
    Qt::MouseButton mButton = Qt::NoButton;
    QPoint mAnchor;
    QPoint mLast;
};
