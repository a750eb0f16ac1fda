#include "toolwindows/chippaletteaccessible.h"

#include "toolwindows/accessibleleaf.h"
#include "toolwindows/chippalette.h"

namespace {

// One chip of the palette; it has no object of its own, so it asks the palette.
class ChipItemAccessible : public AccessibleLeaf, public QAccessibleActionInterface
{
public:
    ChipItemAccessible(const ChipPaletteAccessible *palette, int cell)
        : AccessibleLeaf(palette), mPalette(palette), mCell(cell)
    {
    }

    QAccessibleInterface *parent() const override { return mPalette->list(); }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? mPalette->palette()->model().cellDescription(mCell)
                                      : QString();
    }
    QRect rect() const override
    {
        const ChipPalette *palette = mPalette->palette();
        const QRect local = ChipPalette::cellRect(mCell);
        return QRect(palette->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        const ChipPalette *palette = mPalette->palette();
        state.focusable = true;
        state.selectable = true;
        state.selected = palette->model().chosenCell() == mCell;
        state.focused = state.selected && palette->hasFocus();
        state.invisible = !palette->isVisible();
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            mPalette->palette()->model().pick(mCell);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    const ChipPaletteAccessible *mPalette;
    int mCell;
};

// The grid of chips: a list whose current item is the chosen chip.
class ChipListAccessible : public QAccessibleInterface
{
public:
    explicit ChipListAccessible(const ChipPaletteAccessible *palette) : mPalette(palette) {}

    bool isValid() const override { return mPalette->isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return mPalette->window(); }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessibleInterface *parent() const override
    {
        return const_cast<ChipPaletteAccessible *>(mPalette);
    }
    QAccessibleInterface *child(int index) const override { return mPalette->item(index + 1); }
    int childCount() const override { return ChipPaletteModel::CellCount; }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int cell = 1; cell <= ChipPaletteModel::CellCount; ++cell)
            if (mPalette->item(cell) == child)
                return cell - 1;
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = mPalette->palette()->mapFromGlobal(QPoint(x, y));
        for (int cell = 1; cell <= ChipPaletteModel::CellCount; ++cell)
            if (ChipPalette::cellRect(cell).contains(local))
                return mPalette->item(cell);
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        const ChipPalette *palette = mPalette->palette();
        return palette->hasFocus() ? mPalette->item(palette->model().chosenCell()) : nullptr;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? QStringLiteral("マップチップ") : QString();
    }
    QRect rect() const override
    {
        const ChipPalette *palette = mPalette->palette();
        const QRect local =
            ChipPalette::cellRect(1).united(ChipPalette::cellRect(ChipPaletteModel::CellCount));
        return QRect(palette->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::List; }
    // The palette's keys go to the list: it is what takes the focus in the window.
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        state.invisible = !mPalette->palette()->isVisible();
        return state;
    }

private:
    const ChipPaletteAccessible *mPalette;
};

} // namespace

ChipPaletteAccessible::ChipPaletteAccessible(ChipPalette *palette) : QAccessibleWidget(palette) {}

ChipPaletteAccessible::~ChipPaletteAccessible()
{
    for (const QAccessible::Id id : std::as_const(mItems))
        QAccessible::deleteAccessibleInterface(id);
    if (mList)
        QAccessible::deleteAccessibleInterface(mList);
}

QAccessibleInterface *ChipPaletteAccessible::factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("ChipPalette") && object && object->isWidgetType())
        return new ChipPaletteAccessible(static_cast<ChipPalette *>(object));
    return nullptr;
}

ChipPalette *ChipPaletteAccessible::palette() const
{
    return static_cast<ChipPalette *>(widget());
}

QAccessibleInterface *ChipPaletteAccessible::list() const
{
    if (!mList)
        mList = QAccessible::registerAccessibleInterface(new ChipListAccessible(this));
    return QAccessible::accessibleInterface(mList);
}

QAccessibleInterface *ChipPaletteAccessible::item(int cell) const
{
    if (cell < 1 || cell > ChipPaletteModel::CellCount)
        return nullptr;
    if (const QAccessible::Id id = mItems.value(cell))
        return QAccessible::accessibleInterface(id);
    auto *item = new ChipItemAccessible(this, cell);
    mItems.insert(cell, QAccessible::registerAccessibleInterface(item));
    return item;
}

int ChipPaletteAccessible::childCount() const
{
    return QAccessibleWidget::childCount() + 1;
}

QAccessibleInterface *ChipPaletteAccessible::child(int index) const
{
    return index == 0 ? list() : QAccessibleWidget::child(index - 1);
}

int ChipPaletteAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (mList && child == QAccessible::accessibleInterface(mList))
        return 0;
    const int index = QAccessibleWidget::indexOfChild(child);
    return index < 0 ? -1 : index + 1;
}

QAccessibleInterface *ChipPaletteAccessible::childAt(int x, int y) const
{
    if (QAccessibleInterface *chip = list()->childAt(x, y))
        return chip;
    return QAccessibleWidget::childAt(x, y);
}

QAccessibleInterface *ChipPaletteAccessible::focusChild() const
{
    if (palette()->hasFocus())
        return item(palette()->model().chosenCell());
    return QAccessibleWidget::focusChild();
}
