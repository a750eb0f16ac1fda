#include "session/recentmaps.h"

#include "model/filenamecase.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QString settingsKey()
{
    return QStringLiteral("recentMaps");
}

} // namespace

RecentMaps::RecentMaps(QSettings &settings) : mSettings(settings) {}

QStringList RecentMaps::files() const
{
    return mSettings.value(settingsKey()).toStringList().mid(0, MaxCount);
}

void RecentMaps::add(const QString &floorOneFile)
{
    // One spelling per file, whichever folder the path was given from.
    const QString path = QFileInfo(floorOneFile).absoluteFilePath();
    QStringList list = files();
    list.removeIf([&path](const QString &file) { return file.compare(path, FileNameCase) == 0; });
    list.prepend(path);
    store(list.mid(0, MaxCount));
}

QStringList RecentMaps::prune()
{
    QStringList kept;
    QStringList gone;
    for (const QString &file : files())
        (QFileInfo::exists(file) ? kept : gone).append(file);
    if (!gone.isEmpty())
        store(kept);
    return gone;
}

void RecentMaps::store(const QStringList &files)
{
    mSettings.setValue(settingsKey(), files);
    mSettings.sync();
}
