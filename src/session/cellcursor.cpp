#include "session/cellcursor.h"

#include "model/codetables.h"
#include "model/mapdata.h"
#include "session/tools/toolcontext.h"
#include "session/tools/toolswitch.h"

#include <QStringList>

#include <algorithm>

namespace {

QString passageName(QChar digit)
{
    static const char16_t *const names[4] = {u"道なし", u"通行禁止", u"一方通行", u"２ｗａｙ"};
    const int value = digit.digitValue();
    return value >= 0 && value < 4 ? QString::fromUtf16(names[value]) : QString();
}

} // namespace

CellCursor::CellCursor(ToolSwitch &tools, ToolContext &context) : mTools(tools), mContext(context)
{
    // The pointer and the cursor never fight: a click takes the cursor along.
    connect(&mTools, &ToolSwitch::cellPressed, this, &CellCursor::place);
}

void CellCursor::place(QPoint cell)
{
    if (!MapData::isOnBoard(cell.x(), cell.y()))
        return;
    mAnchor = QPoint();
    if (cell == mCell)
        return;
    mCell = cell;
    Q_EMIT moved(mCell);
}

bool CellCursor::key(int key, Qt::KeyboardModifiers modifiers)
{
    const bool toEdge = modifiers & Qt::ControlModifier;
    const bool extend = modifiers & Qt::ShiftModifier;
    mTools.setBorderOnly(extend);
    QPoint target = mCell;
    switch (key) {
    case Qt::Key_Left:
        target.setX(toEdge ? 1 : mCell.x() - 1);
        break;
    case Qt::Key_Right:
        target.setX(toEdge ? MapData::Width : mCell.x() + 1);
        break;
    case Qt::Key_Up:
        target.setY(toEdge ? 1 : mCell.y() - 1);
        break;
    case Qt::Key_Down:
        target.setY(toEdge ? MapData::Height : mCell.y() + 1);
        break;
    case Qt::Key_Home:
        target.setX(1);
        break;
    case Qt::Key_End:
        target.setX(MapData::Width);
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        act(Qt::LeftButton);
        return true;
    case Qt::Key_Backspace:
        act(Qt::RightButton);
        return true;
    case Qt::Key_Escape:
        if (!mTools.isStretching())
            return false;
        mTools.cancelPress();
        return true;
    default:
        return false;
    }
    target.setX(std::clamp(target.x(), 1, int(MapData::Width)));
    target.setY(std::clamp(target.y(), 1, int(MapData::Height)));
    moveTo(target, extend);
    return true;
}

void CellCursor::show()
{
    mTools.hover(mCell);
}

void CellCursor::act(Qt::MouseButton button)
{
    mAnchor = QPoint();
    // As a click comes with the pointer over its cell.
    mTools.hover(mCell);
    if (mTools.isStretching()) {
        mTools.release(mCell);
        return;
    }
    mTools.press(mCell, button);
    if (!mTools.isStretching())
        mTools.release(mCell);
}

void CellCursor::moveTo(QPoint cell, bool extend)
{
    SelectionTool &selection = mTools.selection();
    const bool selecting = extend && selection.isOn() && !selection.isFloating();
    if (!selecting)
        mAnchor = QPoint();
    else if (mAnchor.isNull() || selection.selection().isEmpty())
        mAnchor = mCell;
    const bool moved = cell != mCell;
    mCell = cell;
    // The status bar and a floating block follow the cursor as they follow the pointer, and
    // what a press shapes follows it as a drag.
    mTools.hover(mCell);
    if (mTools.isStretching())
        mTools.move(mCell);
    if (selecting)
        selection.select(SelectionTool::span(mAnchor, mCell));
    if (moved)
        Q_EMIT this->moved(mCell);
}

QString CellCursor::cellName(QPoint cell) const
{
    const MapData &map = mContext.map();
    const int floor = mContext.floor();
    // The place first: it is what changes from one cell to the next. The floor is told when
    // it changes, not with every cell.
    QStringList parts{QStringLiteral("(%1,%2)").arg(cell.x()).arg(cell.y())};
    const QString chip = mContext.describe(cell);
    parts << (chip.isEmpty() ? QStringLiteral("空き") : chip);
    const QString &branch = map.branch(cell.x(), cell.y(), floor);
    if (branch.size() == 4) {
        static const char16_t *const directions[4] = {u"上", u"左", u"右", u"下"};
        QStringList arms;
        for (int i = 0; i < 4; ++i)
            arms << QString::fromUtf16(directions[i]) + passageName(branch.at(i));
        parts << QStringLiteral("分岐(%1)").arg(arms.join(QStringLiteral("、")));
    }
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        const WarpRecord &record = map.warp(pair);
        if (!record.isDefined())
            continue;
        const QString label = CodeTables::sourceLabel(pair);
        if (record.srcFloor == floor && QPoint(record.srcX, record.srcY) == cell)
            parts << QStringLiteral("ワープ[%1]の入口").arg(label);
        if (record.dstFloor == floor && QPoint(record.dstX, record.dstY) == cell)
            parts << QStringLiteral("ワープ[%1]の出口").arg(label);
    }
    return parts.join(u' ');
}
