#include "session/recoverystore.h"

#include "mapfile/mapfilewriter.h"
#include "model/mapdata.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

namespace {

const QString MapBase = QStringLiteral("map");
// Written last, so a copy without it is incomplete.
const QString InfoFile = QStringLiteral("original.txt");
const QString NewSuffix = QStringLiteral(".new");

bool isComplete(const QString &folder)
{
    return QFileInfo::exists(folder + u'/' + InfoFile);
}

} // namespace

RecoveryStore::RecoveryStore(const QString &recoveryFolder)
    : mFolder(recoveryFolder), mId(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

RecoveryStore::~RecoveryStore()
{
    remove();
    for (const TakenLock &taken : std::as_const(mTakenLocks))
        taken.lock->unlock();
}

QString RecoveryStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery");
}

QString RecoveryStore::copyFolder(const QString &id) const
{
    return mFolder + u'/' + id;
}

QString RecoveryStore::lockPath(const QString &id) const
{
    return mFolder + u'/' + id + QStringLiteral(".lock");
}

bool RecoveryStore::write(const MapData &map)
{
    if (!QDir().mkpath(mFolder))
        return false;
    if (!mLock) {
        mLock = std::make_unique<QLockFile>(lockPath(mId));
        // Age never makes the lock stale: only the end of the process that holds it.
        mLock->setStaleLockTime(0);
        if (!mLock->tryLock(0)) {
            mLock.reset();
            return false;
        }
    }
    const QString target = copyFolder(mId);
    const QString fresh = target + NewSuffix;
    QDir(fresh).removeRecursively();
    if (!QDir().mkpath(fresh) || !MapFileWriter::save(map, fresh + u'/' + MapBase).ok())
        return false;
    QSaveFile info(fresh + u'/' + InfoFile);
    if (!info.open(QIODevice::WriteOnly) || info.write(map.mapFileName().toUtf8()) < 0 ||
        !info.commit())
        return false;
    // The old copy stops counting before its files go; until the rename the complete new
    // copy is found under its own name.
    QFile::remove(target + u'/' + InfoFile);
    QDir(target).removeRecursively();
    return QDir().rename(fresh, target);
}

void RecoveryStore::remove()
{
    QDir(copyFolder(mId)).removeRecursively();
    QDir(copyFolder(mId) + NewSuffix).removeRecursively();
    if (mLock) {
        mLock->unlock();
        mLock.reset();
    }
}

bool RecoveryStore::hasCopy() const
{
    return isComplete(copyFolder(mId));
}

QList<RecoveryStore::Copy> RecoveryStore::takeLeftCopies()
{
    QList<Copy> copies;
    const QFileInfoList folders =
        QDir(mFolder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : folders) {
        QString id = entry.fileName();
        if (id.endsWith(NewSuffix)) {
            id.chop(NewSuffix.size());
            // A new copy counts only when the write stopped before its rename.
            if (isComplete(copyFolder(id)))
                continue;
        }
        if (id == mId)
            continue;
        auto lock = std::make_shared<QLockFile>(lockPath(id));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue; // its editor is still running
        if (!isComplete(entry.filePath())) {
            // Its editor died while writing its first copy: nothing to offer.
            QDir(entry.filePath()).removeRecursively();
            lock->unlock();
            continue;
        }
        mTakenLocks.append({id, lock});
        QFile info(entry.filePath() + u'/' + InfoFile);
        if (!info.open(QIODevice::ReadOnly))
            continue;
        copies.append(
            {entry.filePath(), QString::fromUtf8(info.readAll()), QFileInfo(info).lastModified()});
    }
    std::sort(copies.begin(), copies.end(),
              [](const Copy &a, const Copy &b) { return a.written > b.written; });
    return copies;
}

MapLoadResult RecoveryStore::load(const Copy &copy)
{
    MapLoadResult loaded = MapFileReader::load(copy.folder + u'/' + MapBase);
    if (loaded.ok())
        loaded.map.setMapFileName(copy.originalName);
    return loaded;
}

void RecoveryStore::discard(const Copy &copy)
{
    QDir(copy.folder).removeRecursively();
    QString id = QFileInfo(copy.folder).fileName();
    if (id.endsWith(NewSuffix))
        id.chop(NewSuffix.size());
    QDir(copyFolder(id) + NewSuffix).removeRecursively();
    QDir(copyFolder(id)).removeRecursively();
    for (qsizetype i = 0; i < mTakenLocks.size(); ++i) {
        if (mTakenLocks.at(i).id == id) {
            mTakenLocks.at(i).lock->unlock();
            mTakenLocks.removeAt(i);
            break;
        }
    }
}
