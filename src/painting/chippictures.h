#pragma once

#include "model/editmode.h"

#include <QIcon>
#include <QImage>

// The editor's pictures, drawn in code: 48 chip pictures and 19 overlays, all 24 x 24
// logical pixels, rendered at the screen's device pixel ratio so they stay crisp. Each is
// drawn the first time it is asked for, so start-up draws none of them.
class ChipPictures
{
public:
    static constexpr int Size = 24;
    static constexpr int ChipPictureCount = 48;
    static constexpr int OverlayCount = 19;
    static constexpr int EmptyPicture = 48;
    static constexpr int BranchMask = 17;
    static constexpr int LineMarker = 18;
    static constexpr int LineMarkerMask = 19;

    explicit ChipPictures(qreal devicePixelRatio = 1.0);

    // Chip picture k (1..47 chips, 48 the empty cell); any other index gives the empty cell.
    const QImage &chip(int index) const;
    // Overlay k: 1..16 branch arms (direction d 1 up, 2 left, 3 right, 4 down, digit v
    // 0..3 at 4*(d-1)+v+1), 17 the branch mask, 18 the line marker, 19 its mask.
    // Masks are white where the chip shows through and black where the overlay goes;
    // overlays are black except where they draw. Index outside 1..19: an all-black image.
    const QImage &overlay(int index) const;

    // Button pictures of the main window's tool column: a board tool's by the name it is
    // registered under (null for a name without one), and each mode's.
    QIcon toolIcon(const QString &name) const;
    QIcon modeIcon(EditModes::EditMode mode) const;

    qreal devicePixelRatio() const { return mRatio; }

private:
    qreal mRatio;
    mutable QImage mChips[ChipPictureCount + 1];
    mutable QImage mOverlays[OverlayCount + 1];
};
