#pragma once

#include <QWidget>

class EditorSession;
class ToolWindowHost;

// What the three tool windows share: a small fixed-size window that stays above the
// editor, rolls up to its caption while the tool box is set to "minimised except while
// in use", passes F2..F7 on to the main window's menu commands, and leaves its position
// to the next tool window when it goes.
class ToolWindowFrame : public QWidget
{
    Q_OBJECT

public:
    // Sizes in twips: the client width and the full window height, caption included.
    ToolWindowFrame(EditorSession &session, ToolWindowHost &host, int clientWidthTwips,
                    int fullHeightTwips);
    ~ToolWindowFrame() override;

    static int twipsToPixels(int twips) { return qRound(twips / 15.0); }
    // A control's place given in twips, as logical pixels.
    static QRect twipsRect(int left, int top, int width, int height)
    {
        return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                twipsToPixels(height)};
    }
    static constexpr int CaptionTwips = 300;
    static constexpr int RolledUpTwips = 405;

    // The height the window rolls down to, in twips, caption included.
    void setFullHeightTwips(int twips) { mFullHeightTwips = twips; }
    // Twips of window height, caption included, for a client area `pixels` high.
    static int windowHeightTwips(int pixels) { return pixels * 15 + CaptionTwips; }
    void rollUp();
    void rollDown();
    bool isRolledUp() const;
    // While asking a question the window blocks the main window and stays unrolled.
    void setModalQuestion(bool asking);

protected:
    // Grows the window, never shrinks it, so that a client area of `client` fits and the
    // window manager has room for the whole title.
    void growToFit(QSize client);
    // Call once the window's controls exist, so keys reach the frame before them.
    void watchKeysOfChildren();

    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    EditorSession &mSession;
    ToolWindowHost &mHost;

private:
    void setWindowHeight(int twips);
    static bool claimsKey(const QKeyEvent *event);
    bool forwardKey(QKeyEvent *event);

    int mFullHeightTwips;
    bool mHoldHeight = false;
};
