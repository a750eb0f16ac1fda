#pragma once

#include <QAccessibleWidget>
#include <QHash>

class BoardView;
class QObject;
class QString;

// The board as assistive technology sees it: a table of 16 rows and 24 columns whose
// cells are named by where they are and what lies there.
class BoardAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit BoardAccessible(BoardView *board);
    ~BoardAccessible() override;

    // The factory for QAccessible::installFactory: the board's interface, or none.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    BoardView *board() const;
    // The header of a column (Qt::Horizontal) or a row (Qt::Vertical), 0-based; it lies
    // outside the table's children, as the board draws no headers.
    QAccessibleInterface *header(Qt::Orientation orientation, int index) const;

    // QAccessibleInterface
    void *interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    // QAccessibleTableInterface
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface *> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int columnCount() const override;
    int rowCount() const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    // Cells are made when first asked for and kept, so a reader sees the same object.
    mutable QHash<int, QAccessible::Id> mCells;
    mutable QHash<int, QAccessible::Id> mHeaders;
};
