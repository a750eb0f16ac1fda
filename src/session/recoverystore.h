#pragma once

#include "mapfile/mapfilereader.h"
#include "session/mapfilewatch.h"

#include <QDateTime>
#include <QList>
#include <QLockFile>
#include <QString>

#include <memory>

class MapData;

// Copies of maps with unsaved changes, so that a crash or a power cut loses a few seconds
// of work at most. Each running editor keeps one copy in a folder of its own under the
// recovery folder, beside a lock file it holds while it runs; a copy whose lock nobody
// holds was left by an editor that did not end normally.
class RecoveryStore
{
public:
    // A copy left behind by an editor that is not running any more.
    struct Copy
    {
        QString folder;
        QString originalName; // the map's base path when it was edited; empty if unnamed
        QDateTime written;
    };

    // id: the name of this editor's copy, a new one when empty.
    explicit RecoveryStore(const QString &recoveryFolder, const QString &id = {});
    // A normal end: the copy is not needed any more.
    ~RecoveryStore();

    // Writes the whole map with the normal writer, replacing the last copy only once every
    // file of the new one is written and reads back as written. On failure the last copy
    // stays and writeProblem() says why.
    // known: what the map's files held when the editor last read or wrote them, so that
    // a restored map still asks before it overwrites what changed while no editor ran.
    bool write(const MapData &map, const QString &fileName = QString(),
               const FloorFileContents &known = {});
    // Why the last write failed, in Japanese, naming the file where one is to blame.
    const QString &writeProblem() const { return mWriteProblem; }
    void remove();
    bool hasCopy() const;

    // Copies of editors that ended without removing theirs, newest first. Their locks are
    // taken, so another editor starting meanwhile does not offer them too. A lock that
    // cannot be made at all (the folder is full or read-only) hides no copy: the copy is
    // offered without one, and folderProblem() says why.
    QList<Copy> takeLeftCopies();
    const QString &folderProblem() const { return mFolderProblem; }
    const QString &folder() const { return mFolder; }
    // The copied map, named as the original.
    static MapLoadResult load(const Copy &copy);
    // What the original's files held as the copy's editor knew them; a floor the copy does
    // not record counts as missing.
    static FloorFileContents knownFiles(const Copy &copy);
    // Deletes a copy taken with takeLeftCopies.
    void discard(const Copy &copy);

    static QString defaultFolder();

private:
    QString copyFolder(const QString &id) const;
    QString lockPath(const QString &id) const;
    bool fail(const QString &problem);
    // Empty when a file can be written in the folder.
    QString probeFolder() const;

    QString mFolder;
    QString mId;
    std::unique_ptr<QLockFile> mLock;
    QString mWriteProblem;
    QString mFolderProblem;
    struct TakenLock
    {
        QString id;
        std::shared_ptr<QLockFile> lock;
    };
    QList<TakenLock> mTakenLocks;
};
