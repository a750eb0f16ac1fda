#pragma once

#include <QList>
#include <QObject>

class EditorSession;
class QAction;
class QMenu;

// The floor menu's commands beyond add, move and delete: duplicating the current floor,
// and showing the next or previous floor from the keyboard as the floor tabs do.
class FloorCommands : public QObject
{
    Q_OBJECT

public:
    FloorCommands(EditorSession &session, QMenu *floorMenu, QObject *parent = nullptr);

    QAction *duplicateAction() const { return mDuplicate; }
    // The keys tool windows hand on to these commands.
    QList<QAction *> toolWindowCommands() const { return {mNextFloor, mPreviousFloor}; }

private:
    void showFloorBeside(int delta);
    void showDuplicateState();

    EditorSession &mSession;
    QAction *mDuplicate = nullptr;
    QAction *mNextFloor = nullptr;
    QAction *mPreviousFloor = nullptr;
};
