#pragma once

#include "model/editmode.h"
#include "model/mapchange.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QVector>

class CellBlock;
class ToolContext;

// What the active tool wants drawn over the board besides the cells themselves.
struct ToolPicture
{
    // Cells that carry the line marker.
    QVector<QPoint> marks;
    // Outlined as the selection; empty when nothing is selected.
    QRect selection;
    // A block floating under the pointer, drawn as the line preview is, and where its
    // top-left cell is.
    const CellBlock *floating = nullptr;
    QPoint floatingAt;
};

// One way of working on the board. The board's pointer input reaches the active tool
// through the tool switch; a tool edits the map through its context's document, whose
// change event tells the views, never calling back up.
class BoardTool : public QObject, public EditModes
{
    Q_OBJECT

public:
    explicit BoardTool(ToolContext &context) : mContext(context) {}

    // A mouse button went down on board cell (x, y) of the floor shown.
    virtual void press(QPoint cell, Qt::MouseButton button) = 0;
    // The pointer moved with the button held, to the nearest board cell.
    virtual void move(QPoint) {}
    virtual void release(QPoint) {}
    // The pointer moved over a cell with no button held: the status bar describes it.
    virtual void hover(QPoint cell);
    // The pointer left the board: the description goes, an unlinked-warp warning stays.
    virtual void leave();
    // The mode or floor changed, or Esc: a drag under way ends.
    virtual void cancel() {}
    virtual ToolPicture picture() const { return {}; }
    // The document changed, by this tool or anything else.
    virtual void followMap(const MapChange &) {}

    // Tools with an on-off button (see ToolInfo).
    virtual bool isOn() const { return false; }
    virtual void setOn(bool) {}
    // Another exclusive tool was switched on.
    virtual void yield() { setOn(false); }
    // Holds something under way that takes the board's input before any tool switched on.
    virtual bool isHolding() const { return false; }
    // A press still shapes what its release lays (a rectangle's opposite corner follows the
    // pointer). Pressed by keys, it stays down until the next Space; the arrows stretch it.
    virtual bool isStretching() const { return false; }

Q_SIGNALS:
    // What picture() returns changed.
    void pictureChanged();
    // Switched on or off, or what its menu item shows changed.
    void stateChanged();

protected:
    ToolContext &mContext;
};
