#pragma once

#include <QList>
#include <QObject>

class EditorSession;
class Prompter;
class QAction;
class QMenu;
class QWidget;

// The floor menu: moving, adding, deleting and duplicating the current floor, and showing
// the next or previous floor from the keyboard as the floor tabs do. Questions and
// warnings are asked over `window`.
class FloorCommands : public QObject
{
    Q_OBJECT

public:
    FloorCommands(EditorSession &session, Prompter &prompter, QWidget *window, QMenu *floorMenu);

    // Warns at nine floors.
    void addFloor();
    // Beeps at the first or the last floor.
    void moveFloor(int delta);
    // Asks first.
    void deleteFloor();
    QAction *duplicateAction() const { return mDuplicate; }
    // The keys tool windows hand on to these commands.
    QList<QAction *> toolWindowCommands() const { return {mNextFloor, mPreviousFloor}; }

private:
    void showFloorBeside(int delta);
    void showDuplicateState();

    EditorSession &mSession;
    Prompter &mPrompter;
    QWidget *mWindow;
    QAction *mDuplicate = nullptr;
    QAction *mNextFloor = nullptr;
    QAction *mPreviousFloor = nullptr;
};
