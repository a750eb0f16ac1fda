#pragma once

#include "board/mapmerge.h"
#include "model/chipdescriptions.h"

#include <QByteArray>
#include <QString>

// One floor file merged alone, as git's merge driver sees it: three versions of a file and
// nothing of the map around it, not even the floor's number. The floor is read among empty
// floors at a number none of its pairs leads to, merged by the map merge's rules and
// written as the editor writes it. The number matters in one place: floor 1's start group
// is left out of "*TERMINAL", so a file whose own "*TERMINAL" shows that is read as floor 1.
struct FloorFileMerge
{
    // Why the files could not be merged; empty when they were.
    QString failure;
    QByteArray bytes;
    // The merged floor differs from ours as read, so ours' file is to be replaced.
    bool changesOurs = false;
    MapMerge::Result merge;

    bool ok() const { return failure.isEmpty(); }

    static FloorFileMerge run(const QByteArray &base, const QByteArray &ours,
                              const QByteArray &theirs, const ChipDescriptions &names);
};
