#include "toolwindows/toolwindowframe.h"

#include "painting/textfit.h"
#include "session/editorsession.h"
#include "toolwindows/toolwindowhost.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <algorithm>

ToolWindowFrame::ToolWindowFrame(EditorSession &session, ToolWindowHost &host, int clientWidthTwips,
                                 int fullHeightTwips)
    : QWidget(host.hostWidget(),
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      mSession(session), mHost(host), mFullHeightTwips(fullHeightTwips)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedWidth(twipsToPixels(clientWidthTwips));
    setWindowHeight(fullHeightTwips);
}

ToolWindowFrame::~ToolWindowFrame()
{
    mSession.toolBox().setPosition(pos() * 15);
}

void ToolWindowFrame::growToFit(QSize client)
{
    const int width =
        std::max({client.width(), TextFit::titleWidth(this, windowTitle()), this->width()});
    setFixedWidth(width);
    mFullHeightTwips = std::max(mFullHeightTwips, windowHeightTwips(client.height()));
    setWindowHeight(mFullHeightTwips);
}

void ToolWindowFrame::setWindowHeight(int twips)
{
    // The window system draws the caption; the client gets the rest.
    setFixedHeight(std::max(1, twipsToPixels(twips - CaptionTwips)));
}

void ToolWindowFrame::rollUp()
{
    setWindowHeight(RolledUpTwips);
}

void ToolWindowFrame::rollDown()
{
    setWindowHeight(mFullHeightTwips);
}

bool ToolWindowFrame::isRolledUp() const
{
    return height() < twipsToPixels(mFullHeightTwips - CaptionTwips);
}

void ToolWindowFrame::watchKeysOfChildren()
{
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void ToolWindowFrame::setModalQuestion(bool asking)
{
    // Modality only changes on a hidden window; hiding must not roll the window up.
    mHoldHeight = true;
    const bool shown = isVisible();
    if (shown)
        hide();
    setWindowModality(asking ? Qt::WindowModal : Qt::NonModal);
    if (shown) {
        show();
        raise();
        activateWindow();
    }
    mHoldHeight = false;
    rollDown();
}

bool ToolWindowFrame::event(QEvent *event)
{
    if (!mHoldHeight && mSession.toolBox().mode() == ToolBoxState::RolledUp) {
        if (event->type() == QEvent::WindowActivate)
            rollDown();
        else if (event->type() == QEvent::WindowDeactivate)
            rollUp();
    }
    return QWidget::event(event);
}

bool ToolWindowFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && claimsKey(static_cast<QKeyEvent *>(event))) {
        // Tool windows share their parent's shortcuts. F2..F7 wait until this key event is
        // over; the main window's other commands (F1, Ctrl+S, Ctrl+Q...) are not theirs.
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress && forwardKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void ToolWindowFrame::mouseReleaseEvent(QMouseEvent *event)
{
    if (mSession.toolBox().mode() == ToolBoxState::RolledUp)
        rollDown();
    QWidget::mouseReleaseEvent(event);
}

bool ToolWindowFrame::claimsKey(const QKeyEvent *event)
{
    const int key = event->key();
    // Esc is the window's own too: it gives the keys back to the board rather than dropping
    // the board's selection behind the window.
    return (key >= Qt::Key_F1 && key <= Qt::Key_F35) || key == Qt::Key_Escape ||
           event->modifiers().testFlag(Qt::ControlModifier);
}

bool ToolWindowFrame::forwardKey(QKeyEvent *event)
{
    return mHost.requestDeferredCommand(QKeySequence(event->keyCombination()));
}
