#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

class MapData;
class MapDocument;

// Linking warp pairs on the board: the two-click state machine, the markers that show
// the pairs (which exist, their stacking order and highlighting) and the pair rows of
// the warp window. Marker k of pair n is 2n-1 (source) or 2n (destination).
// It edits the document and tells what the status bar should say; the session it
// belongs to shows that text and knows the mode and floor a click happened in.
class WarpLinking : public QObject
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
    enum class Deletion
    {
        NoSelection,
        AlreadyDeleted,
        Ask
    };

    struct Marker
    {
        int index = 0; // 2n-1 source, 2n destination of pair n
        QPoint cell;
        int floor = 0;
        QString caption;
        bool opaque = true;
    };

    explicit WarpLinking(MapDocument &document, QObject *parent = nullptr);

    int selectedWarp() const { return mSelectedWarp; }
    int stage() const { return mStage; }
    bool relinking() const { return mRelinking; }
    // The caption the next click places, empty while not linking.
    QString sampleCaption() const;
    // The captions of the markers on a clicked cell, each after a line break.
    const QString &markerListText() const { return mMarkerListText; }
    void setMarkerListText(const QString &text) { mMarkerListText = text; }

    // Every marker that exists, bottom first.
    QVector<Marker> markers() const;
    // The markers a map has as soon as it is loaded: every pair's, in pair order, each
    // with its background.
    static QVector<Marker> markersOf(const MapData &map);
    static int pairOfMarker(int index) { return (index + 1) / 2; }
    static QString markerCaption(int index);
    // The board cell and floor a marker stands on.
    QPoint markerCell(int index) const;
    int markerFloor(int index) const;

    // The warp window's rows: every pair up to the highest complete one, "削除" for the
    // numbers without a pair.
    QStringList rows() const;
    static QString pairRow(int pair, const class WarpRecord &record);

    // Warp window buttons. Rows are 0-based; -1 means no row is selected.
    NewPair startNewPair();
    bool relinkRow(int row);
    // Ask: the pair waits for the answer to the deletion question.
    Deletion requestDeletion(int row);
    bool isAskingDeletion() const { return mPendingDeletion != 0; }
    void answerDeletion(bool yes);
    QString deletionQuestion(int row) const;
    void deletePair(int pair);
    void highlightRow(int row);

    // Board clicks while a pair is being placed.
    void setWarpSource(QPoint cell, int floor, bool rightButton);
    void setWarpDestination(QPoint cell, int floor, bool rightButton);
    // A click on a marker seen on `currentFloor`; false when it must be refused with a beep.
    bool clickMarker(int index, bool rightButton, bool warpMode, int currentFloor);

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
    // Removes every marker (after a reset) and rebuilds them for the pairs of a map,
    // in pair order, as a loaded map has them.
    void rebuildMarkers();
    // Before a floor goes: a new pair waiting for its destination is given up.
    void abandonHalfPlacedPair();
    // Pairs that were deleted with a floor: their markers go and linking ends.
    void forgetPairs(const QList<int> &pairs);

Q_SIGNALS:
    // What the status bar should say now (empty: nothing).
    void statusTextChanged(const QString &text);

private:
    void createMarker(int index);
    void destroyMarker(int index);
    void bringToFront(int index);
    void startFirstFreePair();
    void dropHalfPlacedSource();
    void makeMarkersTransparent();
    // A pair's two clicks are one step of the map's history.
    void openStep();
    void closeStep();

    MapDocument &mDocument;
    int mSelectedWarp = 0;
    int mStage = NotLinking;
    bool mRelinking = false;
    QVector<int> mMarkerOrder;
    QSet<int> mTransparent;
    QString mMarkerListText;
    int mPendingDeletion = 0;
};
