#include "mainwindow/boardaccessible.h"

#include "mainwindow/boardview.h"
#include "model/mapdata.h"
#include "session/editorsession.h"
#include "toolwindows/accessibleleaf.h"

namespace {

// One board cell of the floor shown; it has no object of its own, so it asks the board.
class BoardCellAccessible : public AccessibleLeaf, public QAccessibleTableCellInterface
{
public:
    BoardCellAccessible(BoardAccessible *table, QPoint cell)
        : AccessibleLeaf(table), mTable(table), mCell(cell)
    {
    }

    QAccessibleInterface *parent() const override { return mTable; }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return mTable->board()->accessibleCellName(mCell);
        return {};
    }
    QRect rect() const override
    {
        BoardView *board = mTable->board();
        const QRect local = board->cellRect(mCell.x(), mCell.y());
        return QRect(board->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        BoardView *board = mTable->board();
        state.focusable = true;
        state.selectable = true;
        const bool current = board->session().cursor().cell() == mCell;
        state.focused = current && board->hasFocus();
        state.active = current;
        state.invisible = !board->isVisible();
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface *>(this)
                   : nullptr;
    }

    bool isSelected() const override
    {
        return mTable->board()->session().tools().selection().selection().contains(mCell);
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        return {mTable->header(Qt::Horizontal, columnIndex())};
    }
    QList<QAccessibleInterface *> rowHeaderCells() const override
    {
        return {mTable->header(Qt::Vertical, rowIndex())};
    }
    int columnIndex() const override { return mCell.x() - 1; }
    int rowIndex() const override { return mCell.y() - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return mTable; }

private:
    BoardAccessible *mTable;
    QPoint mCell;
};

// The header of one column or row: its number, as a spreadsheet's headers say it.
class BoardHeaderAccessible : public AccessibleLeaf
{
public:
    BoardHeaderAccessible(BoardAccessible *table, Qt::Orientation orientation, int index)
        : AccessibleLeaf(table), mTable(table), mOrientation(orientation), mIndex(index)
    {
    }

    QAccessibleInterface *parent() const override { return mTable; }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return {};
        return mOrientation == Qt::Horizontal ? mTable->columnDescription(mIndex)
                                              : mTable->rowDescription(mIndex);
    }
    // The band of cells it heads.
    QRect rect() const override
    {
        BoardView *board = mTable->board();
        const bool column = mOrientation == Qt::Horizontal;
        const QRect first =
            column ? board->cellRect(mIndex + 1, 1) : board->cellRect(1, mIndex + 1);
        const QRect last = column ? board->cellRect(mIndex + 1, MapData::Height)
                                  : board->cellRect(MapData::Width, mIndex + 1);
        const QRect local = first.united(last);
        return QRect(board->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override
    {
        return mOrientation == Qt::Horizontal ? QAccessible::ColumnHeader : QAccessible::RowHeader;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !mTable->board()->isVisible();
        return state;
    }

private:
    BoardAccessible *mTable;
    Qt::Orientation mOrientation;
    int mIndex;
};

} // namespace

BoardAccessible::BoardAccessible(BoardView *board) : QAccessibleWidget(board, QAccessible::Table) {}

BoardAccessible::~BoardAccessible()
{
    for (const QAccessible::Id id : std::as_const(mCells))
        QAccessible::deleteAccessibleInterface(id);
    for (const QAccessible::Id id : std::as_const(mHeaders))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface *BoardAccessible::header(Qt::Orientation orientation, int index) const
{
    const int count = orientation == Qt::Horizontal ? MapData::Width : MapData::Height;
    if (index < 0 || index >= count)
        return nullptr;
    const int key = (orientation == Qt::Horizontal ? 0 : 100) + index;
    if (const QAccessible::Id id = mHeaders.value(key))
        return QAccessible::accessibleInterface(id);
    auto *header =
        new BoardHeaderAccessible(const_cast<BoardAccessible *>(this), orientation, index);
    mHeaders.insert(key, QAccessible::registerAccessibleInterface(header));
    return header;
}

QAccessibleInterface *BoardAccessible::factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("BoardView") && object && object->isWidgetType())
        return new BoardAccessible(static_cast<BoardView *>(object));
    return nullptr;
}

BoardView *BoardAccessible::board() const
{
    return static_cast<BoardView *>(widget());
}

void *BoardAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

int BoardAccessible::childCount() const
{
    return MapData::Width * MapData::Height;
}

QAccessibleInterface *BoardAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    return cellAt(index / MapData::Width, index % MapData::Width);
}

int BoardAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child));
    return mCells.key(id, -1);
}

QAccessibleInterface *BoardAccessible::childAt(int x, int y) const
{
    const QPoint cell = board()->cellAt(board()->mapFromGlobal(QPoint(x, y)));
    return cell.isNull() ? nullptr : cellAt(cell.y() - 1, cell.x() - 1);
}

QAccessibleInterface *BoardAccessible::focusChild() const
{
    if (!board()->hasFocus())
        return nullptr;
    const QPoint cell = board()->session().cursor().cell();
    return cellAt(cell.y() - 1, cell.x() - 1);
}

QAccessibleInterface *BoardAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= MapData::Height || column < 0 || column >= MapData::Width)
        return nullptr;
    const int index = row * MapData::Width + column;
    if (const QAccessible::Id id = mCells.value(index))
        return QAccessible::accessibleInterface(id);
    auto *cell =
        new BoardCellAccessible(const_cast<BoardAccessible *>(this), QPoint(column + 1, row + 1));
    mCells.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QString BoardAccessible::columnDescription(int column) const
{
    return QStringLiteral("%1列").arg(column + 1);
}

QString BoardAccessible::rowDescription(int row) const
{
    return QStringLiteral("%1行").arg(row + 1);
}

int BoardAccessible::columnCount() const
{
    return MapData::Width;
}

int BoardAccessible::rowCount() const
{
    return MapData::Height;
}
