#include "session/tools/toolswitch.h"

#include "board/mapcheck.h"
#include "model/mapdata.h"
#include "model/mapdocument.h"
#include "session/statusline.h"
#include "session/tools/toolcontext.h"

#include <QScopedValueRollback>

using namespace Qt::StringLiterals;

ToolSwitch::ToolSwitch(ToolContext &context)
    : mContext(context), mChipBrush(context), mBranchBrush(context), mLine(context),
      mSelection(context), mWarps(context), mFill(context), mRectangle(context)
{
    for (BoardTool *tool : std::initializer_list<BoardTool *>{&mChipBrush, &mBranchBrush, &mWarps})
        connect(tool, &BoardTool::pictureChanged, this, &ToolSwitch::tellPicture);
    connect(&context.document(), &MapDocument::mapChanged, this, &ToolSwitch::followMap);

    const QList<EditMode> chips{ChipMode};
    const QList<EditMode> board{ChipMode, BranchMode};
    registerTool(mLine, {u"line"_s, QString(), u"ラインツール"_s,
                         u"線を引くように、マップチップを配置します。"_s, QKeySequence(), chips});
    registerTool(mSelection, {u"selection"_s, u"範囲選択(&S)"_s, QString(), u"範囲選択"_s,
                              QKeySequence(Qt::Key_F8), board});
    registerTool(mFill, {u"fill"_s, u"塗りつぶし(&K)"_s, QString(),
                         u"同じチップがつながった範囲を、選んだチップで塗りつぶします。"_s,
                         QKeySequence(Qt::Key_F9), board});
    registerTool(mRectangle, {u"rectangle"_s, u"四角形(&Q)"_s, QString(),
                              u"ドラッグした四角形に、選んだチップを配置します。Shiftで枠だけ。"_s,
                              QKeySequence(Qt::Key_F11), board});
}

void ToolSwitch::registerTool(BoardTool &tool, const ToolInfo &info)
{
    mRegistered.append({&tool, info});
    connect(&tool, &BoardTool::pictureChanged, this, &ToolSwitch::tellPicture);
    connect(&tool, &BoardTool::stateChanged, this, &ToolSwitch::toolStateChanged);
}

const ToolSwitch::Registered *ToolSwitch::find(const QString &name) const
{
    for (const Registered &entry : mRegistered)
        if (entry.info.name == name)
            return &entry;
    return nullptr;
}

BoardTool *ToolSwitch::tool(const QString &name) const
{
    const Registered *entry = find(name);
    return entry ? entry->tool : nullptr;
}

void ToolSwitch::setToolOn(const QString &name, bool on)
{
    const Registered *entry = find(name);
    if (!entry || (on && !entry->info.serves(mContext.mode())))
        return;
    // On first: the fill tool takes its bounds from a selection the others' going drops.
    entry->tool->setOn(on);
    if (!on || !entry->info.exclusive)
        return;
    for (const Registered &other : std::as_const(mRegistered))
        if (other.tool != entry->tool && other.info.exclusive)
            other.tool->yield();
}

void ToolSwitch::toggleTool(const QString &name)
{
    if (const BoardTool *found = tool(name))
        setToolOn(name, !found->isOn());
}

void ToolSwitch::tellPicture()
{
    // The board draws the tools' pictures when it follows the change under way.
    if (!mFollowingMap)
        Q_EMIT pictureChanged();
}

void ToolSwitch::followMap(const MapChange &change)
{
    const QScopedValueRollback following(mFollowingMap, true);
    const bool wholeMap = change.has(MapChange::WholeMap);
    const bool floorShown = change.has(MapChange::FloorShown);
    if (change.replayed || wholeMap || floorShown) {
        // A stroke or drag belongs to the map as it was, and a selection to the map and the
        // floor it was made on; a replayed step hands back its own.
        mPressed = nullptr;
        mChipBrush.cancel();
        mBranchBrush.cancel();
        mRectangle.cancel();
        mFill.setBounds({});
        if (wholeMap || floorShown)
            mSelection.dropSelection();
    }
    // Line marks belong to the board as it was.
    if (change.replayed || wholeMap || floorShown || change.has(MapChange::Cells) ||
        change.has(MapChange::Branches) || change.has(MapChange::Pairs))
        mLine.clearMarks();
    for (BoardTool *tool : std::initializer_list<BoardTool *>{
             &mChipBrush, &mBranchBrush, &mLine, &mSelection, &mWarps, &mFill, &mRectangle})
        tool->followMap(change);
}

BoardTool &ToolSwitch::active()
{
    const EditMode mode = mContext.mode();
    if (mode == WarpMode)
        return mWarps;
    // A block under way comes first, then the tool whose button is on, then the brush.
    for (auto want : {&BoardTool::isHolding, &BoardTool::isOn})
        for (const Registered &entry : std::as_const(mRegistered))
            if (entry.info.serves(mode) && (entry.tool->*want)())
                return *entry.tool;
    return mode == BranchMode ? static_cast<BoardTool &>(mBranchBrush) : mChipBrush;
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

void ToolSwitch::cancelPress()
{
    if (!isStretching())
        return;
    BoardTool *pressed = mPressed;
    mPressed = nullptr;
    pressed->cancel();
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
    Q_EMIT cellPressed(mWarps.markers().cell(index));
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

void ToolSwitch::modeChanged(EditMode mode)
{
    mPressed = nullptr;
    mChipBrush.cancel();
    mBranchBrush.cancel();
    mRectangle.cancel();
    mFill.setBounds({});
    // A line whose end was not chosen yet is dropped; the tool itself stays on.
    mLine.dropStart(false);
    mWarps.markers().clearList();
    mContext.setMode(mode);
    mSelection.dropSelection();
    Q_EMIT toolStateChanged();
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
