#pragma once

#include <QMargins>
#include <QObject>
#include <QPointer>

#include <functional>

class BoardView;
class QWidget;
class ToolWindowHost;

// The windows the main window opens besides its tool window: the check report, the
// information, compare and merge windows, the dialogs and message boxes. The first time each
// shows it is placed by WindowPlacement::opening, inside the screen and clear of the
// always-on-top tool window. A modeless one gives the keyboard back to the board: Esc closes
// it, F12 leaves it open, and the keys the tool windows hand on work in it as well.
class SideWindows : public QObject
{
    Q_OBJECT

public:
    SideWindows(QWidget &main, BoardView &board, ToolWindowHost &host,
                std::function<QWidget *()> toolWindow);

    // Between the main window, the tool window and the windows placed here.
    static constexpr int Gap = 16;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isSideWindow(const QWidget *widget) const;
    void checkWhenSettled(QWidget *window);
    void checkPlacement(QWidget *window);
    void place(QWidget *window);
    QMargins frameOf(const QWidget &window);
    QMargins knownFrame();
    bool takeKey(QWidget *window, QEvent *event);
    void backToBoard();

    QWidget &mMain;
    BoardView &mBoard;
    ToolWindowHost &mHost;
    std::function<QWidget *()> mToolWindow;
    // The tool window hidden while a modal window that found no room beside it is open.
    QPointer<QWidget> mHiddenTool;
    QPointer<QWidget> mHiddenFor;
    // The last frame a window was seen with, for a window whose own is not told yet.
    QMargins mKnownFrame;
};
