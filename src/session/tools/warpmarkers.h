#pragma once

#include "board/warppairs.h"

#include <QPoint>
#include <QSet>
#include <QString>
#include <QVector>

class ToolContext;

// The markers that show the pairs in warp mode: which exist, their stacking order and
// which are highlighted, and the captions listed for a clicked cell. Whoever changes them
// tells the views.
class WarpMarkers
{
public:
    using Marker = WarpPairs::Marker;

    explicit WarpMarkers(const ToolContext &context) : mContext(context) {}

    // Every marker that exists, bottom first.
    QVector<Marker> all() const;
    // Markers are shown in warp mode on the floor they stand on.
    bool isVisible(const Marker &marker) const;
    QPoint cell(int index) const;
    int floor(int index) const;
    // The captions of the markers on a clicked cell, each after a line break.
    const QString &listText() const { return mListText; }

    // The captions of every marker shown on the cell of marker `index`.
    void listOnCellOf(int index);
    void clearList() { mListText.clear(); }
    // A marker made (or made again) lies on top.
    void create(int index);
    void destroy(int index);
    void destroyPair(int pair);
    void bringToFront(int index);
    // Sources lie above destinations on a shared cell.
    void bringSourcesToFront();
    // Every pair's markers dimmed, then `pair`'s (if it exists) lit and on top.
    void highlightPair(int pair);
    void dimAll();
    // The markers of pairs the map no longer has go, except those of `keptPair` (a new
    // pair whose destination is still to come); false when none went.
    bool dropVanishedPairs(int keptPair);
    // A pair of the map misses a marker.
    bool lacksPairs() const;
    // Every marker made anew for the pairs of the map, in pair order, as a loaded map has
    // them.
    void rebuild();

private:
    const ToolContext &mContext;
    QVector<int> mOrder;
    QSet<int> mTransparent;
    QString mListText;
};
