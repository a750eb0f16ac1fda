#pragma once

#include <QObject>

class BoardView;
class QAction;
class QMenu;
class QWidget;

// The key that takes the keyboard between the main window's board and the tool window of
// the current mode, both ways. Also makes the focus visible in every window from the
// moment it opens: Qt's styles draw it only once Tab was pressed in that window, so a
// dialog opened by keys would not show which button Enter or Space presses.
class KeyboardFocus : public QObject
{
    Q_OBJECT

public:
    KeyboardFocus(BoardView &board, QWidget *window, QMenu *viewMenu);

    // Shared with the tool windows, which pass the key on to the main window.
    QAction *switchAction() const { return mSwitch; }
    void switchWindows();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    BoardView &mBoard;
    QWidget *mWindow;
    QAction *mSwitch;
};
