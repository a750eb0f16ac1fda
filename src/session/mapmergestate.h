#pragma once

#include "board/mapmerge.h"
#include "mapfile/mapfilereader.h"
#include "model/mapdata.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QVector>

#include <array>
#include <memory>

class EditorSession;

// A three-way merge being resolved in the editor: the merged map is the map being edited,
// and each conflict is taken from ours, theirs or the base, each choice one step of the
// history. A conflict is left while its place holds ours' value and nobody chose ours for
// it: undoing a choice makes it left again, and an edit by hand resolves it too.
class MapMergeState : public QObject
{
    Q_OBJECT

public:
    enum class Side
    {
        Ours,
        Theirs,
        Base,
    };

    explicit MapMergeState(EditorSession &session, QObject *parent = nullptr);

    // git's mergetool hands over versions of one floor file; the map is the one that file
    // belongs to, read from the working tree, with that floor read from `version` instead
    // (an empty version: an empty floor, as when both sides added the file).
    static MapLoadResult mapWithFloorFrom(const QString &mergedFile, const QString &version);

    // Merges the map being edited (ours) with `theirs` from `base`, as one step.
    void start(const MapData &base, const MapData &theirs, const QString &theirsName);
    void stop();

    bool isActive() const { return mActive; }
    const QString &theirsName() const { return mTheirsName; }
    const MapMerge::Result &result() const { return *mResult; }
    int conflictCount() const { return int(mResult->conflicts.size()); }
    bool isLeft(int index) const { return mLeft.value(index); }
    int leftCount() const;
    // Floors, and pairs that did not fit, can only be kept as ours has them.
    bool canChoose(int index, Side side) const;
    // Takes the side for every conflict given that allows it, as one step.
    void choose(const QList<int> &indices, Side side);
    // The cells of the conflicts left on a floor; none while stopped.
    const QVector<QPoint> &markedOn(int floor) const;

Q_SIGNALS:
    void changed();
    // Another map replaced the merged one (opened, reset): the merge has ended.
    void abandoned();

private:
    void apply(MapData &map, const MapMerge::Conflict &conflict, Side side) const;
    bool holdsOurs(const MapData &map, const MapMerge::Conflict &conflict) const;
    void recompute();

    EditorSession &mSession;
    bool mActive = false;
    QString mTheirsName;
    // On the heap: three maps' worth would crowd the stack of whoever holds a session.
    std::unique_ptr<MapMerge::Result> mResult = std::make_unique<MapMerge::Result>();
    QVector<bool> mOursChosen;
    QVector<bool> mLeft;
    std::array<QVector<QPoint>, MapData::MaxFloors + 1> mMarked;
};
