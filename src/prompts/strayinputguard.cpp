#include "prompts/strayinputguard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>
#include <QWindow>

StrayInputGuard::StrayInputGuard(QWidget &box) : mBox(box)
{
    mSettle.setSingleShot(true);
    mSettle.setInterval(SettleMs);
    connect(&mSettle, &QTimer::timeout, this, [this] {
        mHeld = false;
        setButtonsEnabled(true);
    });
    // The buttons get the keys and clicks before the box does.
    qApp->installEventFilter(this);
}

StrayInputGuard::~StrayInputGuard()
{
    qApp->removeEventFilter(this);
}

bool StrayInputGuard::isInBox(QObject *object) const
{
    const QWidget *widget = qobject_cast<const QWidget *>(object);
    return widget && (widget == &mBox || mBox.isAncestorOf(widget));
}

void StrayInputGuard::setButtonsEnabled(bool enabled)
{
    const QList<QAbstractButton *> buttons = mBox.findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons)
        button->setEnabled(enabled);
    if (!enabled)
        return;
    // Disabled, the default button lost the focus the box gave it.
    for (QAbstractButton *button : buttons) {
        const auto *push = qobject_cast<QPushButton *>(button);
        if (push && push->isDefault())
            button->setFocus();
    }
}

bool StrayInputGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &mBox && event->type() == QEvent::Show && !mHeld) {
        mHeld = true;
        setButtonsEnabled(false);
    }
    if (mHeld && !mSettle.isActive() && event->type() == QEvent::Expose &&
        watched == mBox.windowHandle() && mBox.windowHandle()->isExposed())
        mSettle.start();
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        break;
    default:
        return false;
    }
    if (!isInBox(watched))
        return false;
    const bool repeated =
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        static_cast<QKeyEvent *>(event)->isAutoRepeat();
    if (!repeated && !mHeld)
        return false;
    // An override taken here keeps an access key's shortcut from firing as well.
    if (event->type() == QEvent::ShortcutOverride)
        event->accept();
    return true;
}
