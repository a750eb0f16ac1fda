#pragma once

#include <QAccessibleInterface>

// A childless part of a widget's accessible interface (a board cell, a header, a palette
// chip): no object of its own, valid and shown as long as the interface that made it.
class AccessibleLeaf : public QAccessibleInterface
{
public:
    explicit AccessibleLeaf(const QAccessibleInterface *owner) : mOwner(owner) {}

    bool isValid() const override { return mOwner->isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return mOwner->window(); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}

private:
    const QAccessibleInterface *mOwner;
};
