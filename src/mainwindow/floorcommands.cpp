#include "mainwindow/floorcommands.h"

#include "session/editorsession.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

FloorCommands::FloorCommands(EditorSession &session, QMenu *floorMenu, QObject *parent)
    : QObject(parent), mSession(session)
{
    mDuplicate = floorMenu->addAction(QStringLiteral("このフロアを複製(&C)"));
    connect(mDuplicate, &QAction::triggered, this, [this] { mSession.duplicateFloor(); });
    floorMenu->addSeparator();
    mNextFloor = floorMenu->addAction(QStringLiteral("次のフロアを表示(&N)"));
    mNextFloor->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    connect(mNextFloor, &QAction::triggered, this, [this] { showFloorBeside(+1); });
    mPreviousFloor = floorMenu->addAction(QStringLiteral("前のフロアを表示(&P)"));
    mPreviousFloor->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    connect(mPreviousFloor, &QAction::triggered, this, [this] { showFloorBeside(-1); });

    connect(&mSession, &EditorSession::floorsChanged, this, &FloorCommands::showDuplicateState);
    showDuplicateState();
}

void FloorCommands::showFloorBeside(int delta)
{
    const int floor = mSession.currentFloor() + delta;
    // Like the tabs, the keys stop at the first and the last floor.
    if (floor >= 1 && floor <= mSession.map().floorCount())
        mSession.selectFloorTab(floor - 1);
}

void FloorCommands::showDuplicateState()
{
    mDuplicate->setEnabled(mSession.map().floorCount() < MapData::MaxFloors);
}
