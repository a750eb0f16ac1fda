#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class ToolContext;
class ToolSwitch;

// The keyboard's cell on the board. It drives the active tool as the pointer does: a move
// is a hover, Space or Enter a left click, Backspace a right click, so every tool answers
// the keyboard without knowing of it. A press that shapes what it lays (a rectangle) stays
// down: the arrows drag it, the next Space, Enter or Backspace releases it, Esc drops it, and Shift
// is held as it would be with the pointer.
class CellCursor : public QObject
{
    Q_OBJECT

public:
    CellCursor(ToolSwitch &tools, ToolContext &context);

    // 1-based board cell (x, y) of the floor shown.
    QPoint cell() const { return mCell; }
    // Puts the cursor on a cell without acting there, as a click on it does.
    void place(QPoint cell);
    // The board took the keyboard: the status bar describes the cursor's cell.
    void show();
    // A key pressed while the board has the keyboard; false for keys it leaves alone.
    bool key(int key, Qt::KeyboardModifiers modifiers);

    // What a screen reader says of cell (x, y) of the floor shown: where ("(5,3)"), which
    // chip, its branch setting and the warp end standing on it.
    QString cellName(QPoint cell) const;

Q_SIGNALS:
    void moved(QPoint cell);

private:
    void moveTo(QPoint cell, bool extend);
    void act(Qt::MouseButton button);

    ToolSwitch &mTools;
    ToolContext &mContext;
    QPoint mCell{1, 1};
    // Where Shift+arrows began the selection they grow; null when no such selection.
    QPoint mAnchor;
};
