#pragma once

#include "board/warppairs.h"
#include "session/tools/boardtool.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

// Warp mode: linking pairs with two clicks, the markers that show the pairs (which
// exist, their stacking order and highlighting) and what the warp window asks of them.
class WarpLinkTool : public BoardTool
{
    Q_OBJECT

public:
    using Marker = WarpPairs::Marker;
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
    enum class Deletion
    {
        NoSelection,
        AlreadyDeleted,
        Ask
    };

    using BoardTool::BoardTool;

    int selectedWarp() const { return mSelectedWarp; }
    int stage() const { return mStage; }
    bool relinking() const { return mRelinking; }
    // The caption the next click places, empty while not linking.
    QString sampleCaption() const;
    // The captions of the markers on a clicked cell, each after a line break.
    const QString &markerListText() const { return mMarkerListText; }

    // Every marker that exists, bottom first.
    QVector<Marker> markers() const;
    // Markers are shown in warp mode on the floor they stand on.
    bool isVisible(const Marker &marker) const;
    QPoint markerCell(int index) const;
    int markerFloor(int index) const;
    // The warp window's rows.
    QStringList rows() const;

    // Warp window buttons. Rows are 0-based; -1 means no row is selected.
    NewPair startNewPair();
    bool relinkRow(int row);
    // Ask: the pair waits for the answer to the deletion question.
    Deletion requestDeletion(int row);
    bool isAskingDeletion() const { return mPendingDeletion != 0; }
    void answerDeletion(bool yes);
    static QString deletionQuestion(int row);
    void deletePair(int pair);
    void highlightRow(int row);

    // A board click: places the next end of the pair being linked; otherwise the right
    // button picks up the cell's chip.
    void press(QPoint cell, Qt::MouseButton button) override;
    void hover(QPoint cell) override;
    void leave() override;
    // Pairs changed by undo, a new map or a block of cells: the markers are made anew.
    void followMap(const MapChange &change) override;
    // A click on marker `index` seen on the floor shown; false when it must be refused
    // with a beep.
    bool pressMarker(int index, Qt::MouseButton button);

    // Board clicks while a pair is being placed.
    void setWarpSource(QPoint cell, bool rightButton);
    void setWarpDestination(QPoint cell, bool rightButton);

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
    void clearMarkerList();
    // Removes every marker and rebuilds them for the pairs of the map, in pair order, as
    // a loaded map has them.
    void rebuildMarkers();
    // Before a floor goes: a new pair waiting for its destination is given up.
    void abandonHalfPlacedPair();
    // Pairs that were deleted with a floor: their markers go and linking ends.
    void forgetPairs(const QList<int> &pairs);

Q_SIGNALS:
    // Markers, the sample caption, the marker list or the rows changed.
    void markersChanged();

private:
    void tellStage();
    void createMarker(int index);
    void destroyMarker(int index);
    void bringToFront(int index);
    void startFirstFreePair();
    void dropHalfPlacedSource();
    void makeMarkersTransparent();
    // A pair's two clicks are one step of the map's history.
    void openStep();
    void closeStep();

    int mSelectedWarp = 0;
    int mStage = NotLinking;
    bool mRelinking = false;
    QVector<int> mMarkerOrder;
    QSet<int> mTransparent;
    QString mMarkerListText;
    int mPendingDeletion = 0;
};
