#include "mainwindow/boardview.h"

#include "session/editorsession.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

// On-off steps of a flash and their length.
constexpr int FlashSteps = 6;
constexpr int FlashStepMs = 180;

} // namespace

namespace {

int cellSlot(int x, int y)
{
    return (x - 1) * MapData::Height + (y - 1);
}

} // namespace

BoardView::BoardView(EditorSession &session, const CellComposer &composer, QWidget *parent)
    : QWidget(parent), mSession(session), mComposer(composer), mPainter(composer),
      mCells(MapData::Width * MapData::Height), mFlashTimer(new QTimer(this))
{
    setFixedSize(BoardPainter::size());
    connect(&mSession, &EditorSession::checkOverlayChanged, this, qOverload<>(&QWidget::update));
    connect(&mSession.blocks(), &BlockTool::changed, this, &BoardView::render);
    mFlashTimer->setInterval(FlashStepMs);
    connect(mFlashTimer, &QTimer::timeout, this, [this] {
        mFlashVisible = !mFlashVisible;
        if (--mFlashSteps <= 0) {
            mFlashTimer->stop();
            mFlashVisible = false;
        }
        update(cellRect(mFlashCell.x(), mFlashCell.y()));
    });
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    render();
}

const QImage &BoardView::cellImage(int x, int y) const
{
    return mCells[cellSlot(x, y)];
}

QPoint BoardView::cellAt(QPoint position)
{
    if (position.x() < 0 || position.y() < 0)
        return {};
    const int x = position.x() / CellSize + 1;
    const int y = position.y() / CellSize + 1;
    return MapData::isOnBoard(x, y) ? QPoint(x, y) : QPoint();
}

void BoardView::render()
{
    const MapData &map = mSession.map();
    const int floor = mSession.currentFloor();
    const bool branchMode = mSession.editMode() == EditorSession::BranchMode;
    for (int x = 1; x <= MapData::Width; ++x)
        for (int y = 1; y <= MapData::Height; ++y)
            mCells[cellSlot(x, y)] = mPainter.cellPicture(map, x, y, floor, branchMode);
    // The line marker is laid on the plain chip picture, as the line tool only runs
    // in chip mode.
    for (const QPoint &p : mSession.lineMarks()) {
        if (MapData::isOnBoard(p.x(), p.y()))
            mCells[cellSlot(p.x(), p.y())] =
                mComposer.lineMarkPicture(map.cell(p.x(), p.y(), floor));
    }
    // A floating block is drawn like the line preview, cut off at the board's edge.
    if (const CellBlock *block = mSession.blocks().floatingBlock()) {
        const QPoint at = mSession.blocks().floatingAt();
        for (int y = 0; y < block->height(); ++y) {
            for (int x = 0; x < block->width(); ++x) {
                const QPoint p = at + QPoint(x, y);
                if (MapData::isOnBoard(p.x(), p.y()))
                    mCells[cellSlot(p.x(), p.y())] = mComposer.lineMarkPicture(block->cell(x, y));
            }
        }
    }
    update();
}

void BoardView::flashCell(QPoint cell)
{
    if (!MapData::isOnBoard(cell.x(), cell.y()))
        return;
    update(cellRect(mFlashCell.x(), mFlashCell.y()));
    mFlashCell = cell;
    mFlashVisible = true;
    mFlashSteps = FlashSteps;
    mFlashTimer->start();
    update(cellRect(cell.x(), cell.y()));
}

void BoardView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y) {
            if (cellRect(x, y).intersects(event->rect()))
                BoardPainter::paintCell(painter, x, y, cellImage(x, y));
        }
    }
    if (const MapCheck::Report *check = mSession.checkOverlay())
        BoardPainter::paintCheckOverlay(painter, *check, mSession.currentFloor());
    const BlockTool &blocks = mSession.blocks();
    BoardPainter::paintBlockOutline(painter, blocks.selection(), true);
    if (const CellBlock *block = blocks.floatingBlock())
        BoardPainter::paintBlockOutline(
            painter, QRect(blocks.floatingAt(), block->size()) & CellBlock::board(), false);
    if (mFlashVisible)
        BoardPainter::paintCellOutline(painter, mFlashCell, QColor(255, 230, 0));
}

void BoardView::mousePressEvent(QMouseEvent *event)
{
    const QPoint cell = cellAt(event->position().toPoint());
    if (!cell.isNull())
        Q_EMIT cellPressed(cell, event->button());
}

void BoardView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The board is edited with single clicks; QWidget would pass this on as a second press.
    event->accept();
}

void BoardView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint cell = cellAt(event->position().toPoint());
    if (!cell.isNull())
        Q_EMIT cellHovered(cell);
    if (event->buttons() != Qt::NoButton)
        Q_EMIT cellDragged(nearestCell(event->position().toPoint()));
}

void BoardView::mouseReleaseEvent(QMouseEvent *event)
{
    Q_EMIT cellReleased(nearestCell(event->position().toPoint()));
}

QPoint BoardView::nearestCell(QPoint position) const
{
    return cellAt(QPoint(std::clamp(position.x(), 0, width() - 1),
                         std::clamp(position.y(), 0, height() - 1)));
}

void BoardView::leaveEvent(QEvent *event)
{
    // The session stops describing a cell the pointer is no longer over.
    Q_EMIT cellHovered(QPoint());
    QWidget::leaveEvent(event);
}
