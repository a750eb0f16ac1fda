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
#include <QTimer>

namespace {

const char *const PlacedProperty = "qzkPlaced";
const char *const CheckedProperty = "qzkPlacedFramed";
const char *const SettleTimerName = "qzkPlacementSettle";
// How long a new window keeps still before its place is judged.
constexpr int SettleTime = 250;
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
    // it is placed again if it came out off the screen or under the tool window.
    if ((type == QEvent::WindowActivate || type == QEvent::Move) && isSideWindow(widget) &&
        widget->property(PlacedProperty).toBool() && !widget->property(CheckedProperty).toBool())
        checkWhenSettled(widget);
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

void SideWindows::checkWhenSettled(QWidget *window)
{
    // While it frames a new window the window manager may move it more than once (its own
    // placement, then ours); judged on the way, it would be left where a later move put it.
    auto *timer =
        window->findChild<QTimer *>(QLatin1String(SettleTimerName), Qt::FindDirectChildrenOnly);
    if (!timer) {
        timer = new QTimer(window);
        timer->setObjectName(QLatin1String(SettleTimerName));
        timer->setSingleShot(true);
        timer->setInterval(SettleTime);
        connect(timer, &QTimer::timeout, this, [this, window] { checkPlacement(window); });
    }
    timer->start();
}

void SideWindows::checkPlacement(QWidget *window)
{
    if (!window->isVisible())
        return;
    // The window system may not tell a frame at once (X11 without a frame size from the
    // window manager yet): one seen before stands in for it.
    QMargins frame = frameOf(*window);
    if (frame.isNull())
        frame = knownFrame();
    // No frame ever seen: the framing's own move comes later, or there is no frame.
    if (frame.isNull())
        return;
    window->setProperty(CheckedProperty, true);
    const QWidget *tool = mToolWindow();
    const QRect framed = window->geometry().marginsAdded(frame);
    if (mMain.screen() && (!mMain.screen()->availableGeometry().contains(framed) ||
                           (tool && tool->isVisible() && framed.intersects(tool->frameGeometry()))))
        place(window);
}

QMargins SideWindows::frameOf(const QWidget &window)
{
    const QRect client = window.geometry();
    const QRect frame = window.frameGeometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    // Read while the window manager is still framing it, a frame can come out negative
    // (measured against a frame window not sized yet): that is no frame known.
    if (margins.left() < 0 || margins.top() < 0 || margins.right() < 0 || margins.bottom() < 0)
        return {};
    if (!margins.isNull())
        mKnownFrame = margins;
    return margins;
}

QMargins SideWindows::knownFrame()
{
    const QMargins main = frameOf(mMain);
    return main.isNull() ? mKnownFrame : main;
}

void SideWindows::place(QWidget *window)
{
    const QScreen *screen = mMain.screen();
    if (!screen)
        return;
    const QRect mainFrame = mMain.frameGeometry();
    QRect room = screen->availableGeometry();
    QMargins frame = frameOf(*window);
    if (!frame.isNull()) {
        // At 200 % a one-pixel border counts as no logical pixel: a window as wide as the
        // screen would still not fit, and the window manager would push it past the top.
        room.adjust(1, 1, -1, -1);
    } else if (frame = knownFrame(); !frame.isNull()) {
        // A window not framed yet gets the main window's frame, which has a fixed size; a
        // resizable one may get a handle below, and borders of its own: a guessed frame
        // keeps off the screen's very edges.
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
