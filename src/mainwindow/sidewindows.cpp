#include "mainwindow/sidewindows.h"

#include "mainwindow/boardview.h"
#include "mainwindow/windowplacement.h"
#include "toolwindows/toolwindowframe.h"
#include "toolwindows/toolwindowhost.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QScreen>

namespace {

const char *const PlacedProperty = "qzkPlaced";
const char *const CheckedProperty = "qzkPlacedFramed";
// The most a window manager adds below a resizable window that a fixed one lacks.
constexpr int ResizeHandle = 6;

} // namespace

SideWindows::SideWindows(QWidget &main, BoardView &board, ToolWindowHost &host,
                         std::function<QWidget *()> toolWindow)
    : QObject(&main), mMain(main), mBoard(board), mHost(host), mToolWindow(std::move(toolWindow))
{
    // Every window is seen as it first shows, whoever made it (message boxes, file dialogs).
    qApp->installEventFilter(this);
}

bool SideWindows::isSideWindow(const QWidget *widget) const
{
    if (!widget->isWindow() || widget == &mMain || qobject_cast<const ToolWindowFrame *>(widget))
        return false;
    const Qt::WindowType type = widget->windowType();
    if (type != Qt::Window && type != Qt::Dialog)
        return false;
    const QWidget *parent = widget->parentWidget();
    return parent && parent->window() == &mMain;
}

bool SideWindows::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::KeyPress && type != QEvent::WindowActivate &&
         type != QEvent::Move && type != QEvent::Hide) ||
        !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (type == QEvent::Show && isSideWindow(widget) &&
        !widget->property(PlacedProperty).toBool()) {
        // Where the user moves it later is theirs.
        widget->setProperty(PlacedProperty, true);
        place(widget);
    }
    // Placed before it was framed, the window may have guessed its frame wrong: once framed
    // (it is then moved or activated) it is placed again if it came out off the screen or
    // under the tool window.
    if ((type == QEvent::WindowActivate || type == QEvent::Move) && isSideWindow(widget) &&
        widget->property(PlacedProperty).toBool() && !widget->property(CheckedProperty).toBool() &&
        widget->frameGeometry() != widget->geometry()) {
        widget->setProperty(CheckedProperty, true);
        const QWidget *tool = mToolWindow();
        const QRect frame = widget->frameGeometry();
        if (mMain.screen() &&
            (!mMain.screen()->availableGeometry().contains(frame) ||
             (tool && tool->isVisible() && frame.intersects(tool->frameGeometry()))))
            place(widget);
    }
    if (type == QEvent::Hide && widget == mHiddenFor) {
        if (mHiddenTool)
            mHiddenTool->show();
        mHiddenTool = nullptr;
        mHiddenFor = nullptr;
    }
    if (type == QEvent::KeyPress && isSideWindow(widget))
        return takeKey(widget, event);
    return false;
}

void SideWindows::place(QWidget *window)
{
    const QScreen *screen = mMain.screen();
    if (!screen)
        return;
    // A window not shown yet has no frame: it gets the main window's.
    const QRect mainFrame = mMain.frameGeometry();
    QRect room = screen->availableGeometry();
    QMargins frame(mMain.geometry().left() - mainFrame.left(),
                   mMain.geometry().top() - mainFrame.top(),
                   mainFrame.right() - mMain.geometry().right(),
                   mainFrame.bottom() - mMain.geometry().bottom());
    if (window->frameGeometry() != window->geometry()) {
        const QRect own = window->frameGeometry();
        frame = QMargins(
            window->geometry().left() - own.left(), window->geometry().top() - own.top(),
            own.right() - window->geometry().right(), own.bottom() - window->geometry().bottom());
        // At 200 % a one-pixel border counts as no logical pixel: a window as wide as the
        // screen would still not fit, and the window manager would push it past the top.
        room.adjust(1, 1, -1, -1);
    } else if (!frame.isNull()) {
        // The main window has a fixed size; a resizable one may get a handle below, and
        // borders of its own: a guessed frame keeps off the screen's very edges.
        if (window->minimumSize() != window->maximumSize())
            frame.setBottom(frame.bottom() + ResizeHandle);
        room.adjust(2, 2, -2, -2);
    }
    QWidget *tool = mToolWindow();
    const QRect toolFrame = tool && tool->isVisible() ? tool->frameGeometry() : QRect();
    const QSize size = window->size().grownBy(frame);
    // A layout keeps its window from getting smaller than the layout's smallest size.
    const QSize smallest =
        window->minimumSize()
            .expandedTo(window->layout() ? window->layout()->minimumSize() : QSize())
            .boundedTo(window->size())
            .grownBy(frame);
    const QRect at = WindowPlacement::opening(size, smallest, mainFrame, toolFrame, room, Gap);
    // A modal window keeps the tool window from use anyway: where it finds no room clear of
    // it (a small screen at 200 %), the tool window goes until the modal window closes.
    if (window->isModal() && at.intersects(toolFrame)) {
        mHiddenTool = tool;
        mHiddenTool->hide();
        mHiddenFor = window;
    }
    // Placed by its client area: a move before the window is framed would take the frame
    // for none and put the client where the frame should go.
    window->setGeometry(at.marginsRemoved(frame));
}

bool SideWindows::takeKey(QWidget *window, QEvent *event)
{
    // Only a key none of the window's controls took comes here, and a modal window keeps
    // its own keys.
    if (window->isModal() || qobject_cast<QDialog *>(window))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        window->close();
        backToBoard();
        return true;
    }
    if (key->key() == Qt::Key_F12 && key->modifiers() == Qt::NoModifier) {
        backToBoard();
        return true;
    }
    return mHost.requestDeferredCommand(QKeySequence(key->keyCombination()));
}

void SideWindows::backToBoard()
{
    mMain.raise();
    mMain.activateWindow();
    mBoard.setFocus(Qt::OtherFocusReason);
}
