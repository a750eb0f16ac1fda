#include "prompts/strayinputguard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

StrayInputGuard::StrayInputGuard(QWidget &box) : mBox(box)
{
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

bool StrayInputGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &mBox && event->type() == QEvent::Show)
        mShown.start();
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
    if (!repeated && mShown.isValid() && mShown.elapsed() >= SettleMs)
        return false;
    // Typing or clicking on through the box is one run of input: only a pause ends it.
    if (mShown.isValid())
        mShown.restart();
    // An override taken here keeps an access key's shortcut from firing as well.
    if (event->type() == QEvent::ShortcutOverride)
        event->accept();
    return true;
}
