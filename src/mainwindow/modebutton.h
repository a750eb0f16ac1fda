#pragma once

#include <QToolButton>

class QAccessibleInterface;

// One of the tool column's edit-mode buttons: exactly one is down, so assistive technology
// is told it is a radio button, not a check box.
class ModeButton : public QToolButton
{
    Q_OBJECT

public:
    explicit ModeButton(QWidget *parent = nullptr);

    // The factory for QAccessible::installFactory: a mode button's interface, or none.
    static QAccessibleInterface *factory(const QString &className, QObject *object);
};
