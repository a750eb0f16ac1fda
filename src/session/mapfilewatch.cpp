#include "session/mapfilewatch.h"

#include "mapfile/mapfilename.h"
#include "model/mapdocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A burst of writes to several floor files asks one question.
constexpr int SettleMilliseconds = 250;

} // namespace

MapFileWatch::MapFileWatch(MapDocument &document, const QString &lockFolder, QObject *parent)
    : QObject(parent), mDocument(document), mLock(lockFolder)
{
    mSettle.setSingleShot(true);
    mSettle.setInterval(SettleMilliseconds);
    connect(&mSettle, &QTimer::timeout, this, &MapFileWatch::compareWithDisk);
    connect(&mWatcher, &QFileSystemWatcher::fileChanged, &mSettle, qOverload<>(&QTimer::start));
    connect(&mWatcher, &QFileSystemWatcher::directoryChanged, &mSettle,
            qOverload<>(&QTimer::start));
}

FloorFileContents MapFileWatch::readFloorFiles(const QString &basePath)
{
    FloorFileContents contents(MapData::MaxFloors);
    if (basePath.isEmpty())
        return contents;
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
        QFile file(MapFileName::floorFilePath(basePath, floor));
        // A folder of that name is no floor file, as for the reader.
        if (QFileInfo(file.fileName()).isFile() && file.open(QIODevice::ReadOnly))
            contents[floor - 1] = file.readAll();
    }
    return contents;
}

void MapFileWatch::track(const QString &basePath, const FloorFileContents &contents)
{
    const bool newName = basePath != mBasePath;
    mBasePath = basePath;
    mKnown = contents;
    mSeen = contents;
    mChangePending = false;
    mSettle.stop();
    const QStringList watched = mWatcher.files() + mWatcher.directories();
    if (!watched.isEmpty())
        mWatcher.removePaths(watched);
    if (basePath.isEmpty()) {
        mLock.release();
        return;
    }
    watchFiles();
    if (!mLock.hold(MapFileName::floorFilePath(basePath, 1)) && newName)
        Q_EMIT openElsewhere();
    // Told once: the folder stays as it is for every map opened after.
    if (!mLock.problem().isEmpty() && !mLockProblemTold) {
        mLockProblemTold = true;
        Q_EMIT lockFolderUnwritable();
    }
}

void MapFileWatch::stop()
{
    track(QString(), FloorFileContents());
}

void MapFileWatch::watchFiles()
{
    // A file replaced by a rename is dropped from the watch; its new self is added again.
    QStringList paths;
    const QStringList watchedFiles = mWatcher.files();
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
        const QString path = MapFileName::floorFilePath(mBasePath, floor);
        if (!watchedFiles.contains(path) && QFileInfo(path).isFile())
            paths.append(path);
    }
    // The folder sees floor files come and go.
    const QString folder = QFileInfo(mBasePath).absolutePath();
    if (mWatcher.directories().isEmpty() && QFileInfo(folder).isDir())
        paths.append(folder);
    if (!paths.isEmpty())
        mWatcher.addPaths(paths);
}

bool MapFileWatch::isMapsFiles() const
{
    // After the map lost its name (its only floor deleted) the files are no longer its own.
    return !mBasePath.isEmpty() && mDocument.fileName() == mBasePath;
}

void MapFileWatch::compareWithDisk()
{
    if (isMapsFiles())
        compareMapsFiles();
    Q_EMIT compared();
}

void MapFileWatch::compareMapsFiles()
{
    const FloorFileContents disk = readFloorFiles(mBasePath);
    watchFiles();
    if (disk == mSeen)
        return;
    mSeen = disk;
    if (!disk.first()) {
        // Saving writes them again without asking: nothing of another program's is lost.
        mKnown = disk;
        mChangePending = false;
        Q_EMIT filesVanished();
        return;
    }
    mChangePending = true;
    Q_EMIT changedOutside();
}

FloorFileContents MapFileWatch::knownFiles() const
{
    return isMapsFiles() ? mKnown : FloorFileContents();
}

bool MapFileWatch::takePendingChange()
{
    const bool pending = mChangePending && isMapsFiles();
    mChangePending = false;
    return pending;
}

void MapFileWatch::keepMapInMemory()
{
    mDocument.markModified();
}

bool MapFileWatch::changedSinceReadOrWritten() const
{
    return isMapsFiles() && readFloorFiles(mBasePath) != mKnown;
}

QString MapFileWatch::mapName() const
{
    return QFileInfo(mBasePath).fileName();
}

QString MapFileWatch::reloadQuestion(bool unsavedChanges) const
{
    // The lines break between sentences, never inside a word, however wide the box.
    QString text =
        QStringLiteral("マップ「%1.map」が他のプログラムで変更されました。\r\n読み込み直しますか？")
            .arg(mapName());
    if (unsavedChanges)
        text += QStringLiteral("\r\n読み込み直すと、保存されていない変更は置き換えられます。");
    return text;
}

QString MapFileWatch::overwriteQuestion() const
{
    return QStringLiteral(
               "マップ「%1.map」は他のプログラムで変更されています。\r\n上書きしますか？")
        .arg(mapName());
}

QString MapFileWatch::vanishedText() const
{
    return QStringLiteral("マップ「%1.map」のファイルが削除されたか移動されました。")
        .arg(mapName());
}

QString MapFileWatch::lockProblemMessage() const
{
    return QStringLiteral("開いているマップを記録するフォルダに書き込めません。\r\n") +
           mLock.problem() + QStringLiteral("\r\nフォルダ：") +
           QDir::toNativeSeparators(mLock.folder()) +
           QStringLiteral("\r\n別のエディタで同じマップを開いても、そのことを知らせられません。");
}

QString MapFileWatch::lockProblemStatusText() const
{
    return QStringLiteral("開いているマップを記録するフォルダに書き込めません。") + mLock.problem();
}

QString MapFileWatch::openElsewhereText()
{
    return QStringLiteral("このマップは別のエディタでも開かれています。");
}
