#include "session/mapcomparison.h"

#include "mapfile/mapfileform.h"
#include "mapfile/mapfilename.h"
#include "model/mapdocument.h"

MapComparison::MapComparison(const MapDocument &document, const ChipDescriptions &names,
                             QObject *parent)
    : QObject(parent), mDocument(document), mNames(names)
{
    connect(&mDocument, &MapDocument::mapChanged, this, [this](const MapChange &change) {
        if (!mActive)
            return;
        // Another map, or the map read again: the saved files are the ones it has now, and
        // a map without any has nothing to be compared with.
        if (mSavedFiles && change.has(MapChange::WholeMap)) {
            if (mDocument.fileName().isEmpty() || startWithSaved().fault)
                stop();
            return;
        }
        // Saved under another name: those files are now the saved ones.
        if (mSavedFiles && mDocument.fileName() != mSavedBase && !mDocument.isModified() &&
            startWithSaved().ok())
            return;
        recompute();
    });
    connect(&mDocument, &MapDocument::modifiedChanged, this, &MapComparison::onModifiedChanged);
}

QString MapComparison::editedName() const
{
    const QString base = mDocument.fileName();
    return base.isEmpty() ? QString() : MapFileName::floorFilePath(base, 1);
}

MapLoadResult MapComparison::startWithMap(const QString &floorOneFile)
{
    MapLoadResult loaded = MapFileReader::load(MapFileName::basePathOf(floorOneFile));
    if (loaded.ok())
        start(loaded.map, floorOneFile, false);
    return loaded;
}

bool MapComparison::canCompareWithSaved() const
{
    return !mDocument.fileName().isEmpty();
}

MapLoadResult MapComparison::startWithSaved()
{
    const QString base = mDocument.fileName();
    MapLoadResult loaded = MapFileReader::load(base);
    if (loaded.ok()) {
        mSavedBase = base;
        start(loaded.map, MapFileName::floorFilePath(base, 1), true);
    }
    return loaded;
}

void MapComparison::start(const MapData &other, const QString &otherName, bool savedFiles)
{
    mOther = MapFileForm::of(other);
    mOtherName = otherName;
    mSavedFiles = savedFiles;
    mActive = true;
    recompute();
}

void MapComparison::stop()
{
    if (!mActive)
        return;
    mActive = false;
    mOther = MapData();
    mResult = {};
    for (QVector<QPoint> &cells : mMarked)
        cells.clear();
    Q_EMIT changed();
}

const QVector<QPoint> &MapComparison::markedOn(int floor) const
{
    // Slot 0 stays empty.
    return floor >= 1 && floor <= MapData::MaxFloors ? mMarked[floor] : mMarked[0];
}

void MapComparison::recompute()
{
    if (!mActive)
        return;
    // The edited map as a save would leave it; the other one was put in that form once.
    mResult = MapDiff::compare(mOther, MapFileForm::of(mDocument.data()), mNames);
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor)
        mMarked[floor] = mResult.markedOn(floor);
    Q_EMIT changed();
}

void MapComparison::onModifiedChanged(bool modified)
{
    // Saved: the files hold the map as it is now. Back to the saved state by undo, the
    // files are read again all the same; they may have changed on disk meanwhile.
    if (mActive && mSavedFiles && !modified && startWithSaved().fault)
        recompute();
}
