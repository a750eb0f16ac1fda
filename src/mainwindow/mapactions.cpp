#include "mainwindow/mapactions.h"

#include "board/mapstats.h"
#include "dialogs/chipfinddialog.h"
#include "dialogs/chippicker.h"
#include "dialogs/chipreplacedialog.h"
#include "dialogs/mapinfowindow.h"
#include "mainwindow/routeoverlay.h"
#include "session/editorsession.h"
#include "session/tools/selectiontool.h"

#include <QAction>
#include <QDialog>
#include <QMenu>

MapActions::MapActions(EditorSession &session, const ChipPictures &pictures, BoardView &board,
                       QWidget *window)
    : QObject(window), mSession(session), mPictures(pictures), mWindow(window),
      mOverlay(new RouteOverlay(session, board))
{
    // The numbers follow every edit while their window is open.
    connect(&session.document(), &MapDocument::mapChanged, this, [this] {
        if (mInfo)
            showStats();
    });
}

void MapActions::addToEditMenu(QMenu *menu)
{
    menu->addSeparator();
    mReplace = menu->addAction(QStringLiteral("チップの置換(&E)…"));
    mReplace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(mReplace, &QAction::triggered, this, &MapActions::replaceChips);
    mFind = menu->addAction(QStringLiteral("チップの検索(&F)"));
    mFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(mFind, &QAction::triggered, this, &MapActions::findChip);
    mNext = menu->addAction(QStringLiteral("次を検索(&N)"));
    mNext->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    connect(mNext, &QAction::triggered, this, [this] { findNext(true); });
    mPrevious = menu->addAction(QStringLiteral("前を検索(&B)"));
    mPrevious->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
    connect(mPrevious, &QAction::triggered, this, [this] { findNext(false); });
}

QList<QAction *> MapActions::toolWindowCommands() const
{
    return {mReplace, mFind, mNext, mPrevious};
}

void MapActions::addToToolMenu(QMenu *menu)
{
    QAction *info = menu->addAction(QStringLiteral("マップの情報(&I)"));
    connect(info, &QAction::triggered, this, &MapActions::showMapInfo);
}

void MapActions::replaceChips()
{
    ChipReplaceDialog dialog(mSession.map(), mSession.currentFloor(),
                             mSession.tools().selection().selection(), mPictures,
                             mSession.descriptions(), mWindow);
    dialog.setObjectName(QStringLiteral("chipReplaceDialog"));
    dialog.fromPicker()->setCell(mSession.choices().chip());
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The board and the markers follow the document's change event.
    const int count = mSession.document().replaceChips(dialog.replacement());
    mSession.status().tellText(QStringLiteral("%1 個のマスを置き換えました。").arg(count));
}

void MapActions::findChip()
{
    ChipFindDialog dialog(mPictures, mSession.descriptions(), mWindow);
    ChipPicker *picker = dialog.picker();
    picker->setCell(mFindChip.isEmpty() ? mSession.choices().chip() : mFindChip);
    if (dialog.exec() != QDialog::Accepted)
        return;
    mFindChip = picker->cell();
    mFound = {0, 0, mSession.currentFloor()};
    findNext(true);
}

void MapActions::findNext(bool forward)
{
    // Until a chip is asked for, the palette's chip is the one found.
    const QString chip = mFindChip.isEmpty() ? mSession.choices().chip() : mFindChip;
    // After a floor change the search goes on from the floor shown.
    if (!mFound.isValid() || mFound.floor != mSession.currentFloor())
        mFound = {0, 0, mSession.currentFloor()};
    const ChipFind::Place found = ChipFind::next(mSession.map(), chip, mFound, forward);
    if (!found.isValid()) {
        mSession.status().tellText(QStringLiteral("見つかりませんでした。"));
        return;
    }
    mFound = found;
    mSession.locateCell(found.floor, QPoint(found.x, found.y));
}

void MapActions::showMapInfo()
{
    if (!mInfo) {
        mInfo = new MapInfoWindow(mPictures, mSession.descriptions(), mWindow);
        connect(mInfo, &MapInfoWindow::routeShown, mOverlay, &RouteOverlay::setRouteShown);
        connect(mInfo, &MapInfoWindow::unreachableShown, mOverlay,
                &RouteOverlay::setUnreachableShown);
        // Closing the window takes its pictures off the board.
        connect(mInfo, &QObject::destroyed, mOverlay, [this] {
            mOverlay->setRouteShown(false);
            mOverlay->setUnreachableShown(false);
        });
        showStats();
    }
    mInfo->show();
    mInfo->raise();
    mInfo->activateWindow();
}

void MapActions::showStats()
{
    const MapStats stats = MapStats::compute(mSession.map());
    mInfo->showStats(stats);
    mOverlay->setRoute(stats.route());
}
