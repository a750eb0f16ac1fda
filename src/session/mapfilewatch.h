#pragma once

#include "session/maplock.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include <optional>

class MapDocument;

// What the floor files of one map hold: floor n at index n - 1, nothing for a missing file.
using FloorFileContents = QVector<std::optional<QByteArray>>;

// The open map's floor files as other programs see them. It remembers what the editor last
// read or wrote, watches the files and their folder, and tells once a burst of outside
// changes has settled. Contents are compared, never times: the editor's own saves and a
// touch that changes nothing are no change.
class MapFileWatch : public QObject
{
    Q_OBJECT

public:
    explicit MapFileWatch(MapDocument &document, const QString &lockFolder = QString(),
                          QObject *parent = nullptr);

    static FloorFileContents readFloorFiles(const QString &basePath);

    // The map was read from or written to the files under basePath and they held
    // `contents`. Watches them and holds the map's marker; a new name held by another
    // editor is told through openElsewhere.
    void track(const QString &basePath, const FloorFileContents &contents);
    void track(const QString &basePath) { track(basePath, readFloorFiles(basePath)); }
    // The map has no files any more (a new map).
    void stop();
    const QString &basePath() const { return mBasePath; }
    // What the editor last read from or wrote to the map's files; none while the map has
    // no files of its own.
    FloorFileContents knownFiles() const;

    // Looks at the files now instead of waiting for the watcher to settle.
    void compareWithDisk();
    // An outside change is waiting for its question; taking it clears it, so a change
    // seen while the question is open asks again.
    bool takePendingChange();
    // The answer no to the question: the map stays, and no longer matches its files.
    void keepMapInMemory();

    // The save guard: a floor file is missing, new or holds other bytes than the editor
    // last read or wrote.
    bool changedSinceReadOrWritten() const;

    QString reloadQuestion(bool unsavedChanges) const;
    QString overwriteQuestion() const;
    QString vanishedText() const;
    static QString openElsewhereText();
    // A map's marker could not be written: the folder and the reason.
    QString lockProblemMessage() const;
    QString lockProblemStatusText() const;

Q_SIGNALS:
    void changedOutside();
    // The floor-1 file is gone: there is nothing to reload.
    void filesVanished();
    void openElsewhere();
    // Once per run of the editor, at the first map whose marker could not be written.
    void lockFolderUnwritable();
    // The files were looked at, once a burst of changes settled or on request, whatever
    // was found.
    void compared();

private:
    void watchFiles();
    void compareMapsFiles();
    bool isMapsFiles() const;
    QString mapName() const;

    MapDocument &mDocument;
    QFileSystemWatcher mWatcher;
    QTimer mSettle;
    MapLock mLock;
    QString mBasePath;
    FloorFileContents mKnown; // last read or written
    FloorFileContents mSeen;  // last looked at
    bool mChangePending = false;
    bool mLockProblemTold = false;
};
