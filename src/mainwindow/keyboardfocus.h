#pragma once

#include <QObject>

class BoardView;
class QAction;
class QMenu;
class QWidget;

// The key that takes the keyboard between the main window's board and the tool window of
// the current mode, both ways.
class KeyboardFocus : public QObject
{
    Q_OBJECT

public:
    KeyboardFocus(BoardView &board, QWidget *window, QMenu *viewMenu);

    // Shared with the tool windows, which pass the key on to the main window.
    QAction *switchAction() const { return mSwitch; }
    void switchWindows();

private:
    BoardView &mBoard;
    QWidget *mWindow;
    QAction *mSwitch;
};
