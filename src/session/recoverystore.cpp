#include "session/recoverystore.h"

#include "mapfile/fileproblem.h"
#include "mapfile/mapfilewriter.h"
#include "model/mapdata.h"
#include "session/lockfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

const QString MapBase = QStringLiteral("map");
// Written last, so a copy without it is incomplete.
const QString InfoFile = QStringLiteral("original.txt");
const QString NewSuffix = QStringLiteral(".new");
// The original's floor files as its editor knew them, one file per floor number.
const QString KnownFolder = QStringLiteral("known");

bool isComplete(const QString &folder)
{
    return QFileInfo::exists(folder + u'/' + InfoFile);
}

// What the file system said about path just now, with the name of the file.
QString problemWith(const QString &path, int systemError)
{
    const FileProblem::Kind kind = FileProblem::classify(path, systemError, true);
    return FileProblem::reason(kind, QString::fromLocal8Bit(std::strerror(systemError))) +
           QStringLiteral("\r\nファイル：") + QDir::toNativeSeparators(path);
}

// The copy on disk is what the map saves as, floor by floor.
bool readsBackAs(const QString &basePath, const MapData &map)
{
    const MapLoadResult loaded = MapFileReader::load(basePath);
    if (!loaded.ok() || loaded.map.floorCount() != map.floorCount())
        return false;
    for (int floor = 1; floor <= map.floorCount(); ++floor) {
        if (MapFileWriter::encodeFloor(loaded.map, floor).bytes !=
            MapFileWriter::encodeFloor(map, floor).bytes)
            return false;
    }
    return true;
}

} // namespace

RecoveryStore::RecoveryStore(const QString &recoveryFolder, const QString &id)
    : mFolder(recoveryFolder),
      mId(id.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces) : id)
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

bool RecoveryStore::fail(const QString &problem)
{
    mWriteProblem = problem;
    return false;
}

bool RecoveryStore::write(const MapData &map, const QString &fileName,
                          const FloorFileContents &known)
{
    errno = 0;
    if (!QDir().mkpath(mFolder))
        return fail(problemWith(mFolder, errno));
    if (!mLock) {
        mLock = std::make_unique<QLockFile>(lockPath(mId));
        // Age never makes the lock stale: only the end of the process that holds it.
        mLock->setStaleLockTime(0);
        errno = 0;
        if (!mLock->tryLock(0)) {
            const int error = errno;
            mLock.reset();
            return fail(problemWith(lockPath(mId), error));
        }
    }
    const QString target = copyFolder(mId);
    const QString fresh = target + NewSuffix;
    QDir(fresh).removeRecursively();
    // What a failed try wrote goes, so that it takes no room from the next one.
    const auto failFresh = [&](const QString &problem) {
        QDir(fresh).removeRecursively();
        return fail(problem);
    };
    errno = 0;
    if (!QDir().mkpath(fresh))
        return failFresh(problemWith(fresh, errno));
    const QString base = fresh + u'/' + MapBase;
    const MapSaveResult saved = MapFileWriter::save(map, base);
    if (!saved.ok())
        return failFresh(saved.fault->message);
    for (qsizetype i = 0; i < known.size(); ++i) {
        if (!known[i])
            continue;
        errno = 0;
        if (!QDir().mkpath(fresh + u'/' + KnownFolder))
            return failFresh(problemWith(fresh + u'/' + KnownFolder, errno));
        QSaveFile copy(fresh + u'/' + KnownFolder + u'/' + QString::number(i + 1));
        errno = 0;
        if (!copy.open(QIODevice::WriteOnly) || copy.write(*known[i]) < 0 || !copy.commit())
            return failFresh(problemWith(copy.fileName(), errno));
    }
    QSaveFile info(fresh + u'/' + InfoFile);
    errno = 0;
    if (!info.open(QIODevice::WriteOnly) || info.write(fileName.toUtf8()) < 0 || !info.commit())
        return failFresh(problemWith(info.fileName(), errno));
    if (!readsBackAs(base, map))
        return failFresh(QStringLiteral("書き込んだコピーを読み直すと、内容が一致しません。") +
                         QStringLiteral("\r\nファイル：") + QDir::toNativeSeparators(base));
    // The old copy stops counting before its files go; until the rename the complete new
    // copy is found under its own name.
    QFile::remove(target + u'/' + InfoFile);
    QDir(target).removeRecursively();
    errno = 0;
    if (!QDir().rename(fresh, target))
        return fail(problemWith(target, errno));
    mWriteProblem.clear();
    return true;
}

QString RecoveryStore::probeFolder() const
{
    QTemporaryFile probe(mFolder + QStringLiteral("/probe-XXXXXX"));
    errno = 0;
    if (!probe.open() || probe.write("probe", 5) != 5 || !probe.flush())
        return problemWith(mFolder + QStringLiteral("/probe"), errno)
            .section(QStringLiteral("\r\n"), 0, 0);
    return {};
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
        if (!LockFiles::tryLock(*lock)) {
            // A lock that cannot be made in the folder says nothing about the copy's
            // editor (taking over a dead one's lock writes files too).
            if (mFolderProblem.isEmpty())
                mFolderProblem = probeFolder();
            if (mFolderProblem.isEmpty())
                continue; // its editor is still running
            lock.reset();
        }
        if (!isComplete(entry.filePath())) {
            // Its editor died while writing its first copy: nothing to offer.
            if (lock) {
                QDir(entry.filePath()).removeRecursively();
                lock->unlock();
            }
            continue;
        }
        if (lock)
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
        loaded.fileName = copy.originalName;
    return loaded;
}

FloorFileContents RecoveryStore::knownFiles(const Copy &copy)
{
    FloorFileContents known(MapData::MaxFloors);
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
        QFile file(copy.folder + u'/' + KnownFolder + u'/' + QString::number(floor));
        if (file.open(QIODevice::ReadOnly))
            known[floor - 1] = file.readAll();
    }
    return known;
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
            return;
        }
    }
    // A copy offered without its lock (the folder was full): the dead editor's lock goes
    // too if it can be taken now; a live editor's stays.
    QLockFile lock(lockPath(id));
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        lock.unlock();
}
