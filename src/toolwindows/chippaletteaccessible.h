#pragma once

#include <QAccessibleWidget>
#include <QHash>

class ChipPalette;
class QObject;
class QString;

// The chip palette as assistive technology sees it: its controls, and before them a list
// of the 48 chips it paints, each named by its description and chosen by a press.
class ChipPaletteAccessible : public QAccessibleWidget
{
public:
    explicit ChipPaletteAccessible(ChipPalette *palette);
    ~ChipPaletteAccessible() override;

    // The factory for QAccessible::installFactory: the palette's interface, or none.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    ChipPalette *palette() const;
    QAccessibleInterface *list() const;
    // The item of palette cell 1..48.
    QAccessibleInterface *item(int cell) const;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    // Made when first asked for and kept, so a reader sees the same objects.
    mutable QAccessible::Id mList = 0;
    mutable QHash<int, QAccessible::Id> mItems;
};
