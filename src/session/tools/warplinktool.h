#pragma once

#include "session/tools/boardtool.h"
#include "session/tools/warpmarkers.h"

#include <QString>

// Warp mode: linking a pair with two clicks, one step of the history, and the markers
// that show the pairs.
class WarpLinkTool : public BoardTool
{
    Q_OBJECT

public:
    enum Stage
    {
        NotLinking = 0,
        WaitingSource = 1,
        WaitingDestination = 2
    };
    enum class NewPair
    {
        Started,
        BackToSource,
        Full
    };

    explicit WarpLinkTool(ToolContext &context) : BoardTool(context), mMarkers(context) {}

    int selectedWarp() const { return mSelectedWarp; }
    int stage() const { return mStage; }
    bool relinking() const { return mRelinking; }
    // The caption the next click places, empty while not linking.
    QString sampleCaption() const;
    WarpMarkers &markers() { return mMarkers; }
    const WarpMarkers &markers() const { return mMarkers; }

    // The first free pair waits for its source, or a destination still to come goes back
    // to waiting for the source.
    NewPair startNewPair();
    // Pair `pair` (new or linked) waits for its source; false for no such pair.
    bool relink(int pair);

    // A board click: places the next end of the pair being linked; otherwise the right
    // button picks up the cell's chip.
    void press(QPoint cell, Qt::MouseButton button) override;
    void hover(QPoint cell) override;
    void leave() override;
    // Pairs changed by undo, a new map or a block of cells: the markers are made anew; in
    // warp mode those of a pair that went go, and floor commands and merges make markers
    // for pairs that have none.
    void followMap(const MapChange &change) override;
    // A click on marker `index` seen on the floor shown; false when it must be refused
    // with a beep.
    bool pressMarker(int index, Qt::MouseButton button);

    // Ends any linking; a new pair's half-placed source marker goes.
    void interrupt();
    // While a pair waits for its destination and nothing was edited since its source: the
    // source goes back to where it was (with a new pair's marker), no step is left, and the
    // pair waits for its source again. False when there was no such end.
    bool takeBackHalfPlacedEnd();
    // The pair's open step: a half-placed relink has moved a source nobody has saved yet.
    bool hasPendingChange() const;
    // Records the open step as it is (before the map is saved).
    void recordPendingStep() { closeStep(); }
    // Leaving warp mode: linking ends and the markers lose their highlight.
    void leaveWarpMode();
    // Linking ends and every marker is made anew for the pairs of the map.
    void rebuildMarkers();
    // Before a floor goes: a new pair waiting for its destination is given up.
    void abandonHalfPlacedPair();

Q_SIGNALS:
    // Markers, the sample caption or the marker list changed.
    void markersChanged();

private:
    void setWarpSource(QPoint cell, bool rightButton);
    void setWarpDestination(QPoint cell, bool rightButton);
    void tellStage();
    void startFirstFreePair();
    void dropHalfPlacedSource();
    // A pair's two clicks are one step of the map's history.
    void openStep();
    void closeStep();

    WarpMarkers mMarkers;
    int mSelectedWarp = 0;
    int mStage = NotLinking;
    bool mRelinking = false;
};
