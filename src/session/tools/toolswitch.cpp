#include "session/tools/toolswitch.h"

#include "board/mapcheck.h"
#include "model/mapdata.h"
#include "model/mapdocument.h"
#include "session/statusline.h"
#include "session/tools/toolcontext.h"

ToolSwitch::ToolSwitch(ToolContext &context)
    : mContext(context), mChipBrush(context), mBranchBrush(context), mLine(context),
      mSelection(context), mWarps(context), mFill(context), mRectangle(context)
{
    for (BoardTool *tool : std::initializer_list<BoardTool *>{
             &mChipBrush, &mBranchBrush, &mLine, &mSelection, &mWarps, &mFill, &mRectangle}) {
        connect(tool, &BoardTool::pictureChanged, this, &ToolSwitch::pictureChanged);
    }
    connect(&context.document(), &MapDocument::mapChanged, this, &ToolSwitch::followMap);
}

void ToolSwitch::followMap(const MapChange &change)
{
    if (change.replayed) {
        // A stroke or drag belongs to the map as it was.
        mPressed = nullptr;
        mChipBrush.cancel();
        mBranchBrush.cancel();
        mRectangle.cancel();
        mFill.setBounds({});
    }
    for (BoardTool *tool : std::initializer_list<BoardTool *>{
             &mChipBrush, &mBranchBrush, &mLine, &mSelection, &mWarps, &mFill, &mRectangle})
        tool->followMap(change);
}

BoardTool &ToolSwitch::active()
{
    switch (mContext.mode()) {
    case WarpMode:
        return mWarps;
    case BranchMode:
        if (mSelection.isActive())
            return mSelection;
        if (mFill.isOn())
            return mFill;
        if (mRectangle.isOn())
            return mRectangle;
        return mBranchBrush;
    default:
        if (mSelection.isActive())
            return mSelection;
        if (mFill.isOn())
            return mFill;
        if (mRectangle.isOn())
            return mRectangle;
        if (mLine.isOn())
            return mLine;
        return mChipBrush;
    }
}

void ToolSwitch::press(QPoint cell, Qt::MouseButton button)
{
    if (!MapData::isOnBoard(cell.x(), cell.y()))
        return;
    // A drag whose release never came (the pointer grab was lost) ends here.
    if (mPressed)
        mPressed->release(cell);
    Q_EMIT cellPressed(cell);
    mPressed = &active();
    mPressed->press(cell, button);
}

void ToolSwitch::move(QPoint cell)
{
    if (mPressed && MapData::isOnBoard(cell.x(), cell.y()))
        mPressed->move(cell);
}

void ToolSwitch::release(QPoint cell)
{
    BoardTool *pressed = mPressed;
    mPressed = nullptr;
    if (pressed)
        pressed->release(cell);
}

void ToolSwitch::endStroke()
{
    if (mPressed != &mChipBrush && mPressed != &mBranchBrush)
        return;
    // The release still to come goes nowhere.
    mPressed->cancel();
    mPressed = nullptr;
}

void ToolSwitch::click(QPoint cell, Qt::MouseButton button)
{
    press(cell, button);
    release(cell);
}

void ToolSwitch::hover(QPoint cell)
{
    mHovered = cell;
    if (!MapData::isOnBoard(cell.x(), cell.y()))
        return;
    mContext.status().setPosition(
        QStringLiteral("%1階(%2,%3)").arg(mContext.floor()).arg(cell.x()).arg(cell.y()));
    mSelection.track(cell);
    active().hover(cell);
}

void ToolSwitch::leave()
{
    mHovered = QPoint();
    mContext.status().setPosition(QString());
    active().leave();
}

bool ToolSwitch::pressMarker(int index, Qt::MouseButton button)
{
    Q_EMIT cellPressed(mWarps.markerCell(index));
    return mWarps.pressMarker(index, button);
}

ToolPicture ToolSwitch::picture() const
{
    // Line marks outlive the line tool's turn until the board is drawn again.
    ToolPicture picture = mSelection.picture();
    picture.marks = mLine.marks();
    // The selection tool is off while the fill tool is on: its bounds show as the selection.
    if (mFill.isOn())
        picture.selection = mFill.picture().selection;
    if (mRectangle.isOn())
        picture.marks += mRectangle.picture().marks;
    return picture;
}

void ToolSwitch::switchOthersOff(const QObject *keep)
{
    if (keep != &mLine)
        mLine.setOn(false);
    if (keep != &mFill)
        mFill.setOn(false);
    if (keep != &mRectangle)
        mRectangle.setOn(false);
    if (keep != &mSelection) {
        // A floating block goes as Esc drops it.
        if (mSelection.isFloating())
            mSelection.drop();
        mSelection.setOn(false);
    }
}

void ToolSwitch::toggleLineTool()
{
    if (!mLine.isOn())
        switchOthersOff(&mLine);
    mLine.setOn(!mLine.isOn());
}

void ToolSwitch::setSelectionOn(bool on)
{
    if (on && mSelection.isUsable())
        switchOthersOff(&mSelection);
    mSelection.setOn(on);
}

void ToolSwitch::setFillOn(bool on)
{
    if (on && mContext.mode() == WarpMode)
        return;
    const QRect bounds =
        on && mSelection.isOn() && !mSelection.isFloating() ? mSelection.selection() : QRect();
    if (on)
        switchOthersOff(&mFill);
    mFill.setOn(on);
    mFill.setBounds(bounds);
}

void ToolSwitch::setRectangleOn(bool on)
{
    if (on && mContext.mode() == WarpMode)
        return;
    if (on)
        switchOthersOff(&mRectangle);
    mRectangle.setOn(on);
}

void ToolSwitch::modeChanged(EditMode mode)
{
    mPressed = nullptr;
    mChipBrush.cancel();
    mBranchBrush.cancel();
    mRectangle.cancel();
    mFill.setBounds({});
    // A line whose end was not chosen yet is dropped; the tool itself stays on.
    mLine.dropStart(false);
    mWarps.clearMarkerList();
    mContext.setMode(mode);
    mSelection.dropSelection();
    if (mode != WarpMode) {
        mWarps.leaveWarpMode();
        mContext.status().clear();
    }
}

void ToolSwitch::floorChanged()
{
    // A selection or a stroke belongs to the floor it was made on.
    mPressed = nullptr;
    mChipBrush.cancel();
    mBranchBrush.cancel();
    mRectangle.cancel();
    mFill.setBounds({});
    mSelection.dropSelection();
}

void ToolSwitch::refreshStatus()
{
    StatusLine &status = mContext.status();
    if (status.kind() == StatusLine::Kind::UnlinkedWarp) {
        if (const int unlinked = MapCheck::findUnlinkedWarpCell(mContext.map()))
            status.tell(StatusLine::Kind::UnlinkedWarp, unlinked);
        else
            status.clear();
    }
    if (MapData::isOnBoard(mHovered.x(), mHovered.y())) {
        hover(mHovered);
        return;
    }
    // Nothing is under the pointer: what it last showed belongs to another floor.
    status.setPosition(QString());
    if (status.kind() == StatusLine::Kind::CellDescription)
        status.clear();
}
