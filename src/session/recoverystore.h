#pragma once

#include "mapfile/mapfilereader.h"

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

    explicit RecoveryStore(const QString &recoveryFolder);
    // A normal end: the copy is not needed any more.
    ~RecoveryStore();

    // Writes the whole map with the normal writer, replacing the last copy only once every
    // file of the new one is written.
    bool write(const MapData &map);
    void remove();
    bool hasCopy() const;

    // Copies of editors that ended without removing theirs, newest first. Their locks are
    // taken, so another editor starting meanwhile does not offer them too.
    QList<Copy> takeLeftCopies();
    // The copied map, named as the original.
    static MapLoadResult load(const Copy &copy);
    // Deletes a copy taken with takeLeftCopies.
    void discard(const Copy &copy);

    static QString defaultFolder();

private:
    QString copyFolder(const QString &id) const;
    QString lockPath(const QString &id) const;

    QString mFolder;
    QString mId;
    std::unique_ptr<QLockFile> mLock;
    struct TakenLock
    {
        QString id;
        std::shared_ptr<QLockFile> lock;
    };
    QList<TakenLock> mTakenLocks;
};
