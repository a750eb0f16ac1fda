#include "mainwindow/floorcommands.h"

#include "session/editorsession.h"
#include "session/prompter.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

FloorCommands::FloorCommands(EditorSession &session, Prompter &prompter, QWidget *window,
                             QMenu *floorMenu)
    : QObject(window), mSession(session), mPrompter(prompter), mWindow(window)
{
    QAction *floorRight = floorMenu->addAction(QStringLiteral("右に移動(&R)"));
    connect(floorRight, &QAction::triggered, this, [this] { moveFloor(+1); });
    QAction *floorLeft = floorMenu->addAction(QStringLiteral("左に移動(&L)"));
    connect(floorLeft, &QAction::triggered, this, [this] { moveFloor(-1); });
    floorMenu->addSeparator();
    QAction *add = floorMenu->addAction(QStringLiteral("フロアを１つ追加(&A)"));
    connect(add, &QAction::triggered, this, &FloorCommands::addFloor);
    QAction *remove = floorMenu->addAction(QStringLiteral("このフロアを削除(&D)"));
    connect(remove, &QAction::triggered, this, &FloorCommands::deleteFloor);
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

void FloorCommands::addFloor()
{
    if (!mSession.addFloor())
        mPrompter.tell(mWindow, Prompter::Icon::Warning, QStringLiteral("Q:zKエディタ"),
                       QStringLiteral("このエディタでは、９階層までしか作れません^_^;)"));
}

void FloorCommands::moveFloor(int delta)
{
    if (!mSession.moveFloor(delta))
        mPrompter.beep();
}

void FloorCommands::deleteFloor()
{
    if (mPrompter.askYesNo(mWindow, QStringLiteral("Q:zKエディタ"), mSession.deleteFloorQuestion()))
        mSession.deleteCurrentFloor();
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
