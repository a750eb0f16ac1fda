#include "session/mapfileworkflow.h"

#include "mapfile/mapfilename.h"
#include "session/editorsession.h"
#include "session/prompter.h"
#include "session/recentmaps.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWindow>

namespace {

QString editorTitle()
{
    return QStringLiteral("Q:zKエディタ");
}

bool modalDialogOpen()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) &&
           QGuiApplication::modalWindow();
}

} // namespace

MapFileWorkflow::MapFileWorkflow(EditorSession &session, Prompter &prompter, RecentMaps &recentMaps,
                                 const QString &lockFolder, QObject *parent)
    : QObject(parent), mSession(session), mPrompter(prompter), mRecentMaps(recentMaps),
      mWatch(session.document(), lockFolder), mFileDialogFolder(QDir::currentPath())
{
    mRetry.setSingleShot(true);
    connect(&mRetry, &QTimer::timeout, this, &MapFileWorkflow::askWhenFree);
    // Asked after the command under way (an open or a save) has finished.
    connect(&mWatch, &MapFileWatch::changedOutside, this, [this] { mRetry.start(0); });
    connect(&mWatch, &MapFileWatch::openElsewhere, this, [this] {
        mTellOpenElsewhere = true;
        mRetry.start(0);
    });
    connect(&mWatch, &MapFileWatch::lockFolderUnwritable, this, [this] {
        mSession.status().tellText(mWatch.lockProblemStatusText());
        mTellLockProblem = true;
        mRetry.start(0);
    });
    connect(&mWatch, &MapFileWatch::filesVanished, this, [this] {
        mSession.status().tellFilesVanished(mWatch.vanishedText());
        mSession.document().markModified();
    });
    connect(&mSession.document(), &MapDocument::mapChanged, this, &MapFileWorkflow::followName);
}

void MapFileWorkflow::endStroke()
{
    MapDocument &document = mSession.document();
    if (document.isStepOpen() && !document.isStepHeld())
        mSession.tools().endStroke();
}

void MapFileWorkflow::followName()
{
    // Undo may give the map back the name of files that changed while it had none: they
    // are looked at now, so the question comes rather than the map showing as saved.
    const bool named =
        !mWatch.basePath().isEmpty() && mSession.document().fileName() == mWatch.basePath();
    if (named && !mWasWatchedName)
        mWatch.compareWithDisk();
    mWasWatchedName = named;
}

void MapFileWorkflow::askWhenFree()
{
    // Nothing is asked over a modal dialog, nor while a stroke is held on the board: a
    // reload then would become part of the stroke's step.
    const MapDocument &document = mSession.document();
    if (mAsking || modalDialogOpen() || (document.isStepOpen() && !document.isStepHeld())) {
        mRetry.start(200);
        return;
    }
    const QScopedValueRollback asking(mAsking, true);
    if (mTellLockProblem) {
        mTellLockProblem = false;
        mPrompter.tellUnbidden(mWindow, Prompter::Icon::Warning, editorTitle(),
                               mWatch.lockProblemMessage());
    }
    if (mTellOpenElsewhere) {
        mTellOpenElsewhere = false;
        mPrompter.tellUnbidden(mWindow, Prompter::Icon::Information, editorTitle(),
                               MapFileWatch::openElsewhereText());
    }
    if (!mWatch.takePendingChange())
        return;
    if (!mPrompter.askYesNoUnbidden(mWindow, editorTitle(),
                                    mWatch.reloadQuestion(mSession.hasUnsavedChanges()))) {
        mWatch.keepMapInMemory();
        return;
    }
    reportLoad(reloadMap());
}

void MapFileWorkflow::reportLoad(const MapLoadResult &loaded)
{
    if (loaded.fault) {
        mPrompter.tell(mWindow, Prompter::Icon::Warning, loaded.fault->title,
                       loaded.fault->message);
        return;
    }
    if (loaded.warpOverflow)
        mPrompter.tell(mWindow, Prompter::Icon::Warning, MapLoadResult::warpOverflowTitle(),
                       MapLoadResult::warpOverflowText());
    if (!loaded.replaced.isEmpty())
        mPrompter.tell(mWindow, Prompter::Icon::Warning, MapLoadResult::replacedTitle(),
                       loaded.replacedText());
}

MapLoadResult MapFileWorkflow::loadMap(const QString &chosenFile)
{
    const QString basePath = MapFileName::basePathOf(chosenFile);
    // Taken before reading: a write in between is then seen as a change, never missed.
    const FloorFileContents read = MapFileWatch::readFloorFiles(basePath);
    const MapLoadResult loaded = MapFileReader::load(basePath);
    if (!loaded.fault) {
        mWatch.stop();
        mSession.takeOpenedMap(loaded.map, loaded.fileName);
        mWatch.track(basePath, read);
        mWasWatchedName = true;
    }
    return loaded;
}

MapSaveResult MapFileWorkflow::writeMap(const QString &basePath)
{
    endStroke();
    // What is saved is then the saved state, a relinked pair's moved source included.
    mSession.tools().warps().recordPendingStep();
    const MapSaveResult saved = MapFileWriter::save(mSession.map(), basePath);
    // Only a map that was written takes the new name.
    if (saved.fault)
        return saved;
    mSession.document().setFileName(basePath);
    mSession.document().markSaved();
    // Written again, the files are no longer gone.
    if (mSession.status().kind() == StatusLine::Kind::FilesVanished)
        mSession.status().clear();
    // What was written, not what the files hold by now: another program may have written
    // since the rename, and that write must not pass for the editor's own.
    FloorFileContents written(MapData::MaxFloors);
    for (qsizetype i = 0; i < saved.written.size() && i < written.size(); ++i)
        written[i] = saved.written[i];
    // Higher floor files that could not be removed are as they were, not another's write.
    if (!saved.staleFilesLeft.isEmpty()) {
        const FloorFileContents disk = MapFileWatch::readFloorFiles(basePath);
        for (int floor = saved.written.size() + 1; floor <= MapData::MaxFloors; ++floor)
            if (saved.staleFilesLeft.contains(MapFileName::floorFilePath(basePath, floor)))
                written[floor - 1] = disk[floor - 1];
    }
    mWatch.track(basePath, written);
    mWasWatchedName = true;
    return saved;
}

MapLoadResult MapFileWorkflow::reloadMap()
{
    endStroke();
    const QString basePath = mSession.document().fileName();
    const FloorFileContents read = MapFileWatch::readFloorFiles(basePath);
    const MapLoadResult loaded = MapFileReader::load(basePath);
    if (loaded.fault) {
        // The map stays, but its files hold something else now: it is no longer saved, so
        // quitting asks and the recovery copy keeps it.
        mSession.document().markModified();
        return loaded;
    }
    mSession.takeReloadedMap(loaded.map);
    mWatch.track(basePath, read);
    mWasWatchedName = true;
    return loaded;
}

void MapFileWorkflow::takeRecoveredMap(const MapData &map, const QString &fileName,
                                       const FloorFileContents &known)
{
    mWatch.stop();
    mSession.takeOpenedMap(map, fileName);
    mSession.document().markModified();
    // Its files, if it has any, are watched from now on and guarded against overwriting
    // what other programs wrote to them, also while no editor ran.
    mWatch.track(fileName, known);
    mWasWatchedName = !fileName.isEmpty();
}

void MapFileWorkflow::fileChosen(const QString &file)
{
    if (!file.isEmpty())
        mFileDialogFolder = QFileInfo(file).absolutePath();
}

QString MapFileWorkflow::unsavedChangesQuestion() const
{
    const QString &name = mSession.document().fileName();
    const QString subject =
        name.isEmpty() ? QStringLiteral("このマップ")
                       : QStringLiteral("マップ「%1.map」").arg(QFileInfo(name).fileName());
    return subject + QStringLiteral("には保存されていない変更があります。\r\n保存しますか？");
}

bool MapFileWorkflow::settleUnsavedChanges()
{
    endStroke();
    if (!mSession.hasUnsavedChanges())
        return true;
    switch (mPrompter.askUnsavedChanges(mWindow, editorTitle(), unsavedChangesQuestion())) {
    case Prompter::UnsavedAnswer::Save:
        return overwriteMap();
    case Prompter::UnsavedAnswer::Discard:
        return true;
    case Prompter::UnsavedAnswer::Cancel:
        break;
    }
    return false;
}

void MapFileWorkflow::newMap()
{
    endStroke();
    // One question only: with unsaved changes, the one about them.
    if (mSession.hasUnsavedChanges()
            ? !settleUnsavedChanges()
            : !mPrompter.askYesNo(mWindow, QStringLiteral("新規マップの作成"),
                                  QStringLiteral("マップデータをクリアします。\r\n"
                                                 "よろしいですか？")))
        return;
    mWatch.stop();
    mWasWatchedName = false;
    mSession.comparison().stop();
    mSession.resetMap();
}

void MapFileWorkflow::openMap()
{
    if (!settleUnsavedChanges())
        return;
    Q_EMIT fileDialogOpening();
    const QString chosen = mPrompter.chooseOpenFile(mWindow, mFileDialogFolder);
    Q_EMIT fileDialogClosed();
    if (!chosen.isEmpty())
        openMapFile(MapFileName::floorOneFileOf(chosen));
}

void MapFileWorkflow::openMapFile(const QString &floorOneFile)
{
    endStroke();
    fileChosen(floorOneFile);
    const MapLoadResult loaded = loadMap(floorOneFile);
    if (!loaded.fault)
        rememberMap(floorOneFile);
    reportLoad(loaded);
}

void MapFileWorkflow::openMapFileAfterQuestion(const QString &floorOneFile)
{
    if (settleUnsavedChanges())
        openMapFile(floorOneFile);
}

void MapFileWorkflow::openRecentMap(const QString &floorOneFile)
{
    if (QFileInfo::exists(floorOneFile)) {
        openMapFileAfterQuestion(floorOneFile);
        return;
    }
    mRecentMaps.prune();
    Q_EMIT recentMapsChanged();
    mPrompter.tell(mWindow, Prompter::Icon::Warning, editorTitle(),
                   QDir::toNativeSeparators(floorOneFile) +
                       QStringLiteral("\r\nが見つかりません。一覧から外します。"));
}

void MapFileWorkflow::rememberMap(const QString &floorOneFile)
{
    mRecentMaps.add(floorOneFile);
    Q_EMIT recentMapsChanged();
}

bool MapFileWorkflow::mayOverwrite()
{
    return !mWatch.changedSinceReadOrWritten() ||
           mPrompter.askYesNo(mWindow, editorTitle(), mWatch.overwriteQuestion());
}

bool MapFileWorkflow::overwriteMap()
{
    endStroke();
    const QString name = mSession.document().fileName();
    if (name.isEmpty())
        return saveMapAs();
    return mayOverwrite() && save(name);
}

bool MapFileWorkflow::saveMapAs()
{
    endStroke();
    Q_EMIT fileDialogOpening();
    const QString chosen = mPrompter.chooseSaveFile(mWindow, mFileDialogFolder);
    Q_EMIT fileDialogClosed();
    if (chosen.isEmpty())
        return false;
    fileChosen(chosen);
    return save(MapFileName::basePathOf(chosen));
}

bool MapFileWorkflow::save(const QString &basePath)
{
    const MapSaveResult saved = writeMap(basePath);
    if (saved.fault) {
        // Nothing on disk changed; the map and its name stay as they were.
        mPrompter.tell(mWindow, Prompter::Icon::Critical, saved.fault->title, saved.fault->message);
        return false;
    }
    // A higher floor file left from an older save would come back as a floor on opening.
    if (!saved.staleFilesLeft.isEmpty())
        mPrompter.tell(mWindow, Prompter::Icon::Warning, editorTitle(),
                       QStringLiteral("古いフロアのファイルを削除できませんでした。\r\n") +
                           saved.staleFilesLeft.join(QStringLiteral("\r\n")));
    // A new name reaches the caption through the change event, the saved state through
    // modifiedChanged.
    rememberMap(MapFileName::floorFilePath(basePath, 1));
    return true;
}

bool MapFileWorkflow::quit()
{
    // One question per request: none while it is being asked, none once the answer was yes.
    if (mQuitting)
        return true;
    if (mAskingToQuit)
        return false;
    const QScopedValueRollback asking(mAskingToQuit, true);
    endStroke();
    // With unsaved changes only the question about them is asked.
    if (mSession.hasUnsavedChanges()) {
        if (!settleUnsavedChanges())
            return false;
    } else if (!mPrompter.askYesNo(mWindow, editorTitle(),
                                   QStringLiteral("エディタを終了します。よろしいですか？"))) {
        return false;
    }
    mQuitting = true;
    Q_EMIT quitRequested();
    return true;
}
