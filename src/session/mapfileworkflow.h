#pragma once

#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "session/mapfilewatch.h"

#include <QObject>
#include <QString>
#include <QTimer>

class EditorSession;
class MapData;
class Prompter;
class QWidget;
class RecentMaps;

// The map's files as the user works with them: open, save, save as, new map and quit with
// the question about unsaved changes, the reload after an outside change, the save guard,
// the second-editor warning, the recent maps and where file dialogs start. It asks and
// tells through the prompter; windows only forward the commands.
class MapFileWorkflow : public QObject
{
    Q_OBJECT

public:
    // lockFolder: where map markers go; empty for the user's data folder.
    MapFileWorkflow(EditorSession &session, Prompter &prompter, RecentMaps &recentMaps,
                    const QString &lockFolder = QString(), QObject *parent = nullptr);

    // Questions are placed over this window (none at first).
    void setWindow(QWidget *window) { mWindow = window; }

    // The file menu's commands. Each ends a stroke held on the board first, so that what
    // is saved or given up is one whole step.
    void newMap();
    void openMap();
    // True when the map was written.
    bool overwriteMap();
    bool saveMapAs();
    // The quit question; true when the user confirmed (quitRequested is then emitted).
    bool quit();
    // Before the map is replaced or the editor ends: true when that may go ahead (no
    // unsaved changes, or they were saved or given up).
    bool settleUnsavedChanges();
    // Opens the map whose floor-1 file is given and tells the user what the load found.
    // Every way of opening a map (dialog, recent list, drop, command line) comes here.
    void openMapFile(const QString &floorOneFile);
    // The same after the question about unsaved changes, as drops and the recent list do.
    void openMapFileAfterQuestion(const QString &floorOneFile);
    // A map from the recent list; a file that is gone is taken off the list instead.
    void openRecentMap(const QString &floorOneFile);

    // The same steps without a word to the user. A faulty map leaves the one open as it
    // was; a map is named after a base path, and counts as saved, only once written there.
    MapLoadResult loadMap(const QString &chosenFile);
    MapSaveResult writeMap(const QString &basePath);
    // Reads the map again as one step of the history; a fault keeps the map as it was,
    // marked as changed since it differs from its files.
    MapLoadResult reloadMap();
    // A map restored from a recovery copy: unsaved, and watched and locked as if opened.
    // known: what its files held as the editor that made the copy last read or wrote them.
    void takeRecoveredMap(const MapData &map, const QString &fileName = QString(),
                          const FloorFileContents &known = FloorFileContents(MapData::MaxFloors));
    // What a load found, told the same way after an open and after a reload.
    void reportLoad(const MapLoadResult &loaded);

    // Where the next open or save dialog starts: the folder of the file chosen or opened
    // last, at first the working folder at start.
    const QString &fileDialogFolder() const { return mFileDialogFolder; }
    // A file was chosen in a dialog or named on the command line.
    void fileChosen(const QString &file);
    RecentMaps &recentMaps() { return mRecentMaps; }
    MapFileWatch &watch() { return mWatch; }
    QString unsavedChangesQuestion() const;

Q_SIGNALS:
    void quitRequested();
    void recentMapsChanged();
    // Around every file dialog, so the tool window can step aside.
    void fileDialogOpening();
    void fileDialogClosed();

private:
    void endStroke();
    void askWhenFree();
    // Before 上書き保存: false when the files changed outside and the user keeps them.
    bool mayOverwrite();
    bool save(const QString &basePath);
    void rememberMap(const QString &floorOneFile);
    void followName();

    EditorSession &mSession;
    Prompter &mPrompter;
    RecentMaps &mRecentMaps;
    QWidget *mWindow = nullptr;
    MapFileWatch mWatch;
    QString mFileDialogFolder;
    QTimer mRetry;
    bool mTellOpenElsewhere = false;
    bool mTellLockProblem = false;
    bool mAsking = false;
    bool mAskingToQuit = false;
    bool mQuitting = false;
    // The map was named after the watched files when it last changed.
    bool mWasWatchedName = false;
};
