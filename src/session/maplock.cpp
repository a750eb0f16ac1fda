#include "session/maplock.h"

#include "mapfile/fileproblem.h"
#include "model/filenamecase.h"
#include "session/lockfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

namespace {

QString reasonFor(const QString &path, int systemError)
{
    const FileProblem::Kind kind = FileProblem::classify(path, systemError, true);
    return FileProblem::reason(kind, QString::fromLocal8Bit(std::strerror(systemError)));
}

} // namespace

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
    mProblem.clear();
    // Without a marker nothing can be told either way: editing goes on, the problem is
    // kept for the user to hear of.
    errno = 0;
    if (!QDir().mkpath(mFolder)) {
        mProblem = reasonFor(mFolder, errno);
        return true;
    }
    auto lock = std::make_unique<QLockFile>(path);
    // Only a marker whose editor is gone is stale, however long the map stays open.
    lock->setStaleLockTime(0);
    errno = 0;
    if (!LockFiles::tryLock(*lock)) {
        if (lock->error() == QLockFile::LockFailedError)
            return false;
        mProblem = reasonFor(path, errno);
        return true;
    }
    mLock = std::move(lock);
    mHeldPath = path;
    return true;
}

void MapLock::release()
{
    mLock.reset();
    mHeldPath.clear();
}
