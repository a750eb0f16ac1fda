#pragma once

#include <QStringList>

class QSettings;

// The maps opened or saved last, newest first, kept in the settings between runs.
class RecentMaps
{
public:
    static constexpr int MaxCount = 8;

    explicit RecentMaps(QSettings &settings);

    // Floor-1 files, newest first.
    QStringList files() const;
    // Puts a map's floor-1 file at the top; an older entry of the same file goes.
    void add(const QString &floorOneFile);
    // Drops the entries whose file is gone and returns them.
    QStringList prune();

private:
    void store(const QStringList &files);

    QSettings &mSettings;
};
