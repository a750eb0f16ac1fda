#pragma once

#include "model/mapchange.h"
#include "painting/boardpainter.h"
#include "painting/cellcomposer.h"

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QVector>
#include <QWidget>

#include <memory>

class ChipPictures;
class EditorSession;
class MarkerLabel;
class QTimer;

// The 24 x 16 cells of the current floor, drawn at the view's zoom. Redrawn from the
// session on every board refresh; mouse input is reported per cell (1-based x, y).
class BoardView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CellSize = BoardPainter::CellSize;

    BoardView(EditorSession &session, const CellComposer &composer, QWidget *parent = nullptr);
    ~BoardView() override;

    // The picture cell (x, y) shows now.
    const QImage &cellImage(int x, int y) const;
    // The cell under a point of this widget, or (0, 0) when there is none.
    QPoint cellAt(QPoint position) const;
    // Where cell (x, y) is in this widget.
    QRect cellRect(int x, int y) const;

    qreal scale() const { return mScale; }
    // Draws everything `scale` times its size, from pictures drawn at that size.
    void setScale(qreal scale);
    bool showsValues() const { return mShowValues; }
    void setShowValues(bool on);

    void render();
    // Draws what the document's change touched and tells screen readers of changed cells.
    void followMap(const MapChange &change);
    // Blinks an outline around cell (x, y) a few times.
    void flashCell(QPoint cell);
    // The cell outlined now by flashCell, or (0, 0).
    QPoint flashingCell() const { return mFlashVisible ? mFlashCell : QPoint(); }
    // Lays the warp markers over their cells, shown in warp mode on their floor.
    void showMarkers();
    // The label of a marker the map has now; null for any other index.
    MarkerLabel *markerLabel(int index) const;

    EditorSession &session() const { return mSession; }
    // Whether the cell cursor is drawn: while the board has the keyboard.
    bool showsCursor() const { return hasFocus(); }
    // The keys go to the board when the editor opens; the status bar stays empty until
    // the cursor moves.
    void takeKeysAtStart();
    // Cells are children of the board's accessible table, row by row.
    static int cellChildIndex(QPoint cell);
    // What a screen reader says of cell (x, y): its place and content, led by the floor
    // for the cursor's cell when the floor changed since the cursor last moved.
    QString accessibleCellName(QPoint cell) const;

Q_SIGNALS:
    void cellPressed(QPoint cell, Qt::MouseButton button);
    // (0, 0) when the pointer left the board.
    void cellHovered(QPoint cell);
    // The pointer moved with a button held (to the nearest board cell when it left the
    // board), and the button came up.
    void cellDragged(QPoint cell);
    void cellReleased(QPoint cell);
    // Whether Shift was held at the pointer's last event.
    void shiftHeld(bool held);
    // Ctrl + wheel: +1 a step larger, -1 a step smaller.
    void zoomStepRequested(int direction);
    // A click on a marker that is refused (a beep is due).
    void markerRefused();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPoint nearestCell(QPoint position) const;
    bool markerEvent(int index, QEvent *event);
    const CellComposer &composer() const;
    void cursorMoved(QPoint from, QPoint to);
    // Tells assistive technology that the cursor's cell has the focus now.
    void announceCursor();
    // Tells screen readers the board shows another floor: every cell says something else.
    void floorSwitched();
    void tellNameChanged(QPoint cell);
    void paintOverlay();

    EditorSession &mSession;
    const CellComposer &mComposer;
    qreal mScale = 1.0;
    bool mShowValues = true;
    // Pictures drawn for a zoom other than 100 %.
    std::unique_ptr<ChipPictures> mZoomedPictures;
    std::unique_ptr<CellComposer> mZoomedComposer;
    std::unique_ptr<BoardPainter> mPainter;
    QVector<QImage> mCells;
    // What each cell shows a value of, and what else the board showed when last rendered;
    // no texts until the board is first rendered at this zoom.
    QVector<QString> mCellTexts;
    int mShownFloor = 0;
    QRect mShownSelection;
    QRect mShownFloating;
    QTimer *mFlashTimer;
    QWidget *mFlashLayer;
    QPoint mFlashCell;
    QPoint mCursorCell;
    // The cursor's cell while its name still carries the floor just switched to; null after.
    QPoint mFloorNewsCell;
    int mFlashSteps = 0;
    bool mFlashVisible = false;
    int mWheelDelta = 0;
    bool mQuietFocus = false;
    // Labels by marker index, never deleted: opening a map only moves and shows them.
    // Those of markers the map lacks are hidden and have no name.
    QVector<MarkerLabel *> mMarkerLabels;
    // Each label's place in the stack (higher is above), so labels are raised only when
    // the markers' order differs from the stack's.
    QVector<int> mStackRank;
    int mTopRank = 0;
};
