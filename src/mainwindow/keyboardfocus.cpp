#include "mainwindow/keyboardfocus.h"

#include "mainwindow/boardview.h"
#include "toolwindows/toolwindowframe.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

KeyboardFocus::KeyboardFocus(BoardView &board, QWidget *window, QMenu *viewMenu)
    : QObject(window), mBoard(board), mWindow(window),
      mSwitch(viewMenu->addAction(QStringLiteral("ツールウィンドウと盤面の切り替え(&K)")))
{
    mSwitch->setShortcut(QKeySequence(Qt::Key_F12));
    connect(mSwitch, &QAction::triggered, this, &KeyboardFocus::switchWindows);
    qApp->installEventFilter(this);
}

bool KeyboardFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->isWindow())
            widget->setAttribute(Qt::WA_KeyboardFocusChange);
    }
    return QObject::eventFilter(watched, event);
}

void KeyboardFocus::switchWindows()
{
    ToolWindowFrame *tool = nullptr;
    for (ToolWindowFrame *frame : mWindow->findChildren<ToolWindowFrame *>())
        if (frame->isVisible())
            tool = frame;
    QWidget *active = QApplication::activeWindow();
    if (!tool || active == tool) {
        mWindow->activateWindow();
        mBoard.setFocus(Qt::OtherFocusReason);
        return;
    }
    if (tool->isRolledUp())
        tool->rollDown();
    tool->raise();
    tool->activateWindow();
    // The control that had the keys last gets them again; at first the window's first one.
    if (QWidget *last = tool->focusWidget()) {
        last->setFocus(Qt::OtherFocusReason);
        return;
    }
    QWidget *first = tool;
    while (!(first->focusPolicy() & Qt::TabFocus) || !first->isVisibleTo(tool) ||
           !first->isEnabled()) {
        first = first->nextInFocusChain();
        if (first == tool || !tool->isAncestorOf(first))
            return;
    }
    first->setFocus(Qt::TabFocusReason);
}
