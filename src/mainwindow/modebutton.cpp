#include "mainwindow/modebutton.h"

#include <QAccessibleWidget>

namespace {

class ModeButtonAccessible : public QAccessibleWidget
{
public:
    explicit ModeButtonAccessible(ModeButton *button)
        : QAccessibleWidget(button, QAccessible::RadioButton)
    {
    }

    ModeButton *button() const { return static_cast<ModeButton *>(widget()); }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

} // namespace

ModeButton::ModeButton(QWidget *parent) : QToolButton(parent)
{
    QAccessible::installFactory(&ModeButton::factory);
    setCheckable(true);
    setAutoExclusive(true);
}

QAccessibleInterface *ModeButton::factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("ModeButton") && object && object->isWidgetType())
        return new ModeButtonAccessible(static_cast<ModeButton *>(object));
    return nullptr;
}
