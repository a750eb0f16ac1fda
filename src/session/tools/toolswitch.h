#pragma once

#include "session/tools/branchbrushtool.h"
#include "session/tools/chipbrushtool.h"
#include "session/tools/filltool.h"
#include "session/tools/linetool.h"
#include "session/tools/rectangletool.h"
#include "session/tools/selectiontool.h"
#include "session/tools/toolinfo.h"
#include "session/tools/warplinktool.h"

#include <QObject>
#include <QPoint>

// Picks the active board tool from the mode and the tool buttons, and hands it the
// board's input: board view -> tool switch -> active tool -> document. Tools with an
// on-off button are registered here with what they say of themselves (ToolInfo); the
// menu, the tool column and the test script are built from that list.
class ToolSwitch : public QObject, public EditModes
{
    Q_OBJECT

public:
    explicit ToolSwitch(ToolContext &context);

    BoardTool &active();
    ChipBrushTool &chipBrush() { return mChipBrush; }
    BranchBrushTool &branchBrush() { return mBranchBrush; }
    LineTool &line() { return mLine; }
    const LineTool &line() const { return mLine; }
    SelectionTool &selection() { return mSelection; }
    const SelectionTool &selection() const { return mSelection; }
    WarpLinkTool &warps() { return mWarps; }
    FillTool &fill() { return mFill; }
    const FillTool &fill() const { return mFill; }
    RectangleTool &rectangle() { return mRectangle; }
    const RectangleTool &rectangle() const { return mRectangle; }
    const WarpLinkTool &warps() const { return mWarps; }

    // The board's pointer input, in board cells (x, y) of the floor shown.
    void press(QPoint cell, Qt::MouseButton button);
    void move(QPoint cell);
    void release(QPoint cell);
    // A stroke of a brush under way ends here, as if its button came up.
    void endStroke();
    // A press and a release on the same cell.
    void click(QPoint cell, Qt::MouseButton button);
    // The tool a press went to still shapes what its release lays (BoardTool::isStretching).
    bool isStretching() const { return mPressed && mPressed->isStretching(); }
    // Esc: what a press is shaping goes without being laid; nothing when none is.
    void cancelPress();
    // (0, 0): the pointer left the board.
    void hover(QPoint cell);
    void leave();
    // A press on warp marker `index`; false when it must be refused with a beep.
    bool pressMarker(int index, Qt::MouseButton button);
    ToolPicture picture() const;

    struct Registered
    {
        BoardTool *tool;
        ToolInfo info;
    };
    // Earlier registrations come first in the menu and the column.
    void registerTool(BoardTool &tool, const ToolInfo &info);
    const QVector<Registered> &registered() const { return mRegistered; }
    // Null for a name nobody registered.
    BoardTool *tool(const QString &name) const;
    // A tool's button: on switches the other exclusive tools off; nothing in a mode the
    // tool does not serve.
    void setToolOn(const QString &name, bool on);
    void toggleTool(const QString &name);
    // Shift held with the pointer: a rectangle becomes its border.
    void setBorderOnly(bool borderOnly) { mRectangle.setBorderOnly(borderOnly); }

    // What changes under the tools.
    void modeChanged(EditMode mode);
    void floorChanged();
    // After the cells or the floor changed: the unlinked-warp warning names where it is
    // now, and the cell under the pointer is described again.
    void refreshStatus();

Q_SIGNALS:
    // A button went down on a board cell or on a marker standing on one.
    void cellPressed(QPoint cell);
    void pictureChanged();
    // A registered tool was switched on or off, or the mode changed what can be used.
    void toolStateChanged();

private:
    void followMap(const MapChange &change);
    void tellPicture();
    const Registered *find(const QString &name) const;

    ToolContext &mContext;
    ChipBrushTool mChipBrush;
    BranchBrushTool mBranchBrush;
    LineTool mLine;
    SelectionTool mSelection;
    WarpLinkTool mWarps;
    FillTool mFill;
    RectangleTool mRectangle;
    // The board cell under the pointer, (0, 0) when it is elsewhere.
    QPoint mHovered;
    // The tool a press went to gets the drag and the release.
    BoardTool *mPressed = nullptr;
    QVector<Registered> mRegistered;
    bool mFollowingMap = false;
};
