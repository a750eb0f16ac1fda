#pragma once

#include "board/mapdiff.h"
#include "mapfile/mapfilereader.h"
#include "model/mapdata.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QVector>

#include <array>

class ChipDescriptions;
class MapDocument;

// The map being edited compared with another one: a map read from its files, or the
// map's own saved files. While it runs, every edit recomputes the differences, and a save
// reads the saved files again, so the comparison always speaks of the map as it is.
class MapComparison : public QObject
{
    Q_OBJECT

public:
    MapComparison(const MapDocument &document, const ChipDescriptions &names,
                  QObject *parent = nullptr);

    // Compares with the map whose floor-1 file is given; a fault leaves things as they were.
    MapLoadResult startWithMap(const QString &floorOneFile);
    // Compares with the files the map was last read from or saved to; false when it has none.
    bool canCompareWithSaved() const;
    MapLoadResult startWithSaved();
    // Compares with a map already in memory (the files' map).
    void start(const MapData &other, const QString &otherName, bool savedFiles);
    void stop();

    bool isActive() const { return mActive; }
    bool comparesWithSaved() const { return mSavedFiles; }
    // The other map's floor-1 file, as the window names it.
    const QString &otherName() const { return mOtherName; }
    // The edited map's floor-1 file; empty while it has none.
    QString editedName() const;
    // Other map before, edited map after.
    const MapDiff::Result &result() const { return mResult; }
    // The cells to point out on a floor of the edited map; none while stopped.
    const QVector<QPoint> &markedOn(int floor) const;

    void recompute();

Q_SIGNALS:
    void changed();

private:
    void onModifiedChanged(bool modified);

    const MapDocument &mDocument;
    const ChipDescriptions &mNames;
    MapData mOther;
    QString mOtherName;
    // The base path the saved files were read from.
    QString mSavedBase;
    bool mActive = false;
    bool mSavedFiles = false;
    MapDiff::Result mResult;
    std::array<QVector<QPoint>, MapData::MaxFloors + 1> mMarked;
};
