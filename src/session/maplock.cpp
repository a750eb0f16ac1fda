#include "session/maplock.h"

#include "model/filenamecase.h"
#include "session/lockfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

MapLock::MapLock(const QString &lockFolder) : mFolder(lockFolder)
{
    if (mFolder.isEmpty())
        mFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                  QStringLiteral("/open-maps");
}

QString MapLock::markerPath(const QString &floorOneFile) const
{
    // The folder is resolved even when the file is not written yet, so that two spellings
    // of one map (a link, "..") share one marker.
    const QFileInfo file(floorOneFile);
    QString canonical = file.canonicalFilePath();
    if (canonical.isEmpty()) {
        const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
        canonical = (folder.isEmpty() ? file.absolutePath() : folder) + u'/' + file.fileName();
    }
    if (FileNameCase == Qt::CaseInsensitive)
        canonical = canonical.toCaseFolded();
    const QByteArray key =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex();
    return mFolder + u'/' + QString::fromLatin1(key) + QStringLiteral(".lock");
}

bool MapLock::hold(const QString &floorOneFile)
{
    const QString path = markerPath(floorOneFile);
    if (mLock && path == mHeldPath)
        return true;
    release();
    // Without a folder for markers nothing can be told either way; the editor goes on quietly.
    if (!QDir().mkpath(mFolder))
        return true;
    auto lock = std::make_unique<QLockFile>(path);
    // Only a marker whose editor is gone is stale, however long the map stays open.
    lock->setStaleLockTime(0);
    if (!LockFiles::tryLock(*lock))
        return lock->error() != QLockFile::LockFailedError;
    mLock = std::move(lock);
    mHeldPath = path;
    return true;
}

void MapLock::release()
{
    mLock.reset();
    mHeldPath.clear();
}
