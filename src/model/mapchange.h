#pragma once

#include <QFlags>
#include <QPoint>
#include <QRect>
#include <QVector>

#include <optional>

// What one change of the document touched, so that every view can follow the document
// from one event instead of being told by whoever made the change.
struct MapChange
{
    enum Part
    {
        Cells = 0x1,
        Branches = 0x2,
        Pairs = 0x4,
        // A floor's name, background picture or end comment.
        FloorTexts = 0x8,
        // Floors came, went or changed places.
        FloorCount = 0x10,
        // The whole map was replaced (opened, reset, read again): anything may differ.
        WholeMap = 0x20,
        FileName = 0x40,
        // The change put a floor on show, another one or other cells under its number (a
        // floor moved, deleted or copied, a map taken as a step): tools let go of what
        // belonged to the floor shown before. A replayed step says so by `replayed`.
        FloorShown = 0x80,
    };
    Q_DECLARE_FLAGS(Parts, Part)

    struct FloorCell
    {
        int floor;
        QPoint cell;
    };

    Parts parts;
    // The board cells whose chip or branch setting changed; not filled for WholeMap.
    QVector<FloorCell> cells;
    // Floors whose cells or texts changed.
    QVector<int> floors;
    // Undo or redo replayed a step; the document then shows the step's floor.
    bool replayed = false;
    // What a replayed step hands back: the selection as it was on that side of the step.
    std::optional<QRect> selection;

    static MapChange wholeMap()
    {
        MapChange change;
        change.parts = Parts(WholeMap | Cells | Branches | Pairs | FloorTexts | FloorCount);
        return change;
    }
    bool isEmpty() const { return !parts; }
    bool has(Part part) const { return parts.testFlag(part); }
    void addCell(int floor, QPoint cell, Part part);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(MapChange::Parts)
