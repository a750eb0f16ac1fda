#include "mainwindow/mergeactions.h"

#include "mapfile/mapfilename.h"
#include "mapfile/mapfilereader.h"
#include "session/editorsession.h"
#include "session/mapfileworkflow.h"
#include "session/prompter.h"

#include <QMenu>

#include <array>

MergeActions::MergeActions(EditorSession &session, const MapFileWorkflow &files, Prompter &prompter,
                           QWidget *window, DialogRunner runDialog)
    : QObject(window), mSession(session), mFiles(files), mPrompter(prompter), mWindow(window),
      mRunDialog(std::move(runDialog))
{
}

void MergeActions::addToCompareMenu(QMenu *menu)
{
    menu->addSeparator();
    QAction *merge = menu->addAction(QStringLiteral("三方向マージ(&M)..."));
    connect(merge, &QAction::triggered, this, &MergeActions::mergeWithOtherMap);
}

void MergeActions::mergeWithOtherMap()
{
    // The file dialog has no title of its own: the status bar says which map it asks for.
    QString base;
    mSession.status().tellText(QStringLiteral(
        "三方向マージ：共通の元のマップ（両方が変更する前のマップ）を選んでください。"));
    mRunDialog([&] { base = mPrompter.chooseOpenFile(mWindow, mFiles.fileDialogFolder()); });
    if (base.isEmpty())
        return;
    QString theirs;
    mSession.status().tellText(
        QStringLiteral("三方向マージ：取り込むマップ（あちら）を選んでください。"));
    mRunDialog([&] { theirs = mPrompter.chooseOpenFile(mWindow, mFiles.fileDialogFolder()); });
    if (theirs.isEmpty())
        return;
    mergeWithMapFiles(MapFileName::floorOneFileOf(base), MapFileName::floorOneFileOf(theirs));
}

bool MergeActions::read(const QString &floorOneFile, MapData &map)
{
    const MapLoadResult loaded = MapFileReader::load(MapFileName::basePathOf(floorOneFile));
    if (loaded.fault) {
        mPrompter.tell(mWindow, Prompter::Icon::Warning, loaded.fault->title,
                       loaded.fault->message);
        return false;
    }
    map = loaded.map;
    return true;
}

bool MergeActions::mergeWithMapFiles(const QString &baseFile, const QString &theirsFile)
{
    MapData base;
    MapData theirs;
    if (!read(baseFile, base) || !read(theirsFile, theirs))
        return false;
    mSession.merge().start(base, theirs, theirsFile);
    mSession.status().tellText(
        QStringLiteral("三方向マージ：衝突 %1件").arg(mSession.merge().conflictCount()));
    showWindow();
    return true;
}

bool MergeActions::mergeForTool(const QString &baseFile, const QString &localFile,
                                const QString &remoteFile, const QString &mergedFile)
{
    std::array<MapData, 3> maps;
    const std::array<QString, 3> versions{baseFile, localFile, remoteFile};
    for (int i = 0; i < 3; ++i) {
        const MapLoadResult loaded = MapMergeState::mapWithFloorFrom(mergedFile, versions[i]);
        if (loaded.fault) {
            mPrompter.tell(mWindow, Prompter::Icon::Warning, loaded.fault->title,
                           loaded.fault->message);
            return false;
        }
        maps[i] = loaded.map;
    }
    mSession.takeLoadedMap(maps[1],
                           MapFileName::basePathOf(MapFileName::floorOneFileOf(mergedFile)));
    mSession.merge().start(maps[0], maps[2], remoteFile);
    showWindow();
    return true;
}

void MergeActions::showWindow()
{
    if (!mMergeWindow) {
        mMergeWindow = new MergeWindow(mSession.merge(), mWindow);
        connect(mMergeWindow, &MergeWindow::placeChosen, &mSession, &EditorSession::showPlace);
        // The outlines on the board go with the window.
        connect(mMergeWindow, &QObject::destroyed, &mSession.merge(), &MapMergeState::stop);
        connect(&mSession.merge(), &MapMergeState::abandoned, mMergeWindow, &QWidget::close);
    }
    mMergeWindow->show();
    mMergeWindow->raise();
    mMergeWindow->activateWindow();
}
