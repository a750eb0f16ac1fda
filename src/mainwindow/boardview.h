#pragma once

#include "painting/boardpainter.h"
#include "painting/cellcomposer.h"

#include <QImage>
#include <QPoint>
#include <QVector>
#include <QWidget>

class EditorSession;
class QTimer;

// The 24 x 16 cells of the current floor. Redrawn from the session on every board
// refresh; mouse input is reported per cell (1-based x, y).
class BoardView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CellSize = BoardPainter::CellSize;

    BoardView(EditorSession &session, const CellComposer &composer, QWidget *parent = nullptr);

    // The picture cell (x, y) shows now.
    const QImage &cellImage(int x, int y) const;
    // The cell under a point of this widget, or (0, 0) when there is none.
    static QPoint cellAt(QPoint position);
    static QRect cellRect(int x, int y) { return BoardPainter::cellRect(x, y); }

    void render();
    // Blinks an outline around cell (x, y) a few times.
    void flashCell(QPoint cell);
    // The cell outlined now by flashCell, or (0, 0).
    QPoint flashingCell() const { return mFlashVisible ? mFlashCell : QPoint(); }

Q_SIGNALS:
    void cellPressed(QPoint cell, Qt::MouseButton button);
    // (0, 0) when the pointer left the board.
    void cellHovered(QPoint cell);
    // The pointer moved with a button held (to the nearest board cell when it left the
    // board), and the button came up.
    void cellDragged(QPoint cell);
    void cellReleased(QPoint cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPoint nearestCell(QPoint position) const;

    EditorSession &mSession;
    const CellComposer &mComposer;
    BoardPainter mPainter;
    QVector<QImage> mCells;
    QTimer *mFlashTimer;
    QPoint mFlashCell;
    int mFlashSteps = 0;
    bool mFlashVisible = false;
};
