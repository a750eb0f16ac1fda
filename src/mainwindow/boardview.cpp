#include "mainwindow/boardview.h"

#include "mainwindow/boardaccessible.h"
#include "mainwindow/markerlabel.h"
#include "painting/chippictures.h"
#include "painting/markerpainter.h"
#include "prompts/spokennews.h"
#include "session/editorsession.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QSet>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {

// On-off steps of a flash and their length.
constexpr int FlashSteps = 6;
constexpr int FlashStepMs = 180;

} // namespace

namespace {

// Beyond this many changed cells the whole board is painted again, which is as quick as
// gathering their region.
constexpr int ManyCells = 64;

int cellSlot(int x, int y)
{
    return (x - 1) * MapData::Height + (y - 1);
}

} // namespace

BoardView::BoardView(EditorSession &session, const CellComposer &composer, QWidget *parent)
    : QWidget(parent), mSession(session), mComposer(composer),
      mPainter(std::make_unique<BoardPainter>(composer)), mCells(MapData::Width * MapData::Height),
      mFlashTimer(new QTimer(this)), mFlashLayer(new QWidget(this))
{
    setFixedSize(BoardPainter::size());
    connect(&mSession.checks(), &CheckOverlay::changed, this, qOverload<>(&QWidget::update));
    connect(&mSession.comparison(), &MapComparison::changed, this, qOverload<>(&QWidget::update));
    connect(&mSession.merge(), &MapMergeState::changed, this, qOverload<>(&QWidget::update));
    connect(&mSession.tools(), &ToolSwitch::pictureChanged, this, &BoardView::render);
    connect(&mSession.document(), &MapDocument::mapChanged, this, &BoardView::followMap);
    mCursorCell = mSession.cursor().cell();
    connect(&mSession.cursor(), &CellCursor::moved, this,
            [this](QPoint cell) { cursorMoved(mCursorCell, cell); });
    setFocusPolicy(Qt::StrongFocus);
    // Installing twice is harmless: Qt keeps one of each factory.
    QAccessible::installFactory(&BoardAccessible::factory);
    setAccessibleName(QStringLiteral("盤面"));
    setAccessibleDescription(QStringLiteral(
        "矢印キーでマスを移動、スペースかEnterで左クリック、BackSpaceで右クリックと同じ操作"));
    mFlashTimer->setInterval(FlashStepMs);
    connect(mFlashTimer, &QTimer::timeout, this, [this] {
        mFlashVisible = !mFlashVisible;
        if (--mFlashSteps <= 0) {
            mFlashTimer->stop();
            mFlashVisible = false;
        }
        // Markers laid after the flash began would cover it.
        mFlashLayer->raise();
        mFlashLayer->update(cellRect(mFlashCell.x(), mFlashCell.y()));
    });
    // The outline lies above the warp markers, which are widgets over the cells.
    mFlashLayer->setAttribute(Qt::WA_TransparentForMouseEvents);
    mFlashLayer->installEventFilter(this);
    // The cell cursor is drawn on the same layer, above the markers too.
    mFlashLayer->setGeometry(rect());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    render();
}

BoardView::~BoardView() = default;

const QImage &BoardView::cellImage(int x, int y) const
{
    return mCells[cellSlot(x, y)];
}

QPoint BoardView::cellAt(QPoint position) const
{
    return BoardPainter::cellAt(position, mScale);
}

QRect BoardView::cellRect(int x, int y) const
{
    const QRect logical = BoardPainter::cellRect(x, y);
    return {QPoint(qRound(logical.x() * mScale), qRound(logical.y() * mScale)),
            QSize(qRound(logical.width() * mScale), qRound(logical.height() * mScale))};
}

const CellComposer &BoardView::composer() const
{
    return mZoomedComposer ? *mZoomedComposer : mComposer;
}

void BoardView::setScale(qreal scale)
{
    if (qFuzzyCompare(scale, mScale))
        return;
    mScale = scale;
    // The painter keeps a reference to its composer, so it goes first.
    mPainter.reset();
    mZoomedComposer.reset();
    mZoomedPictures.reset();
    if (!qFuzzyCompare(scale, 1.0)) {
        mZoomedPictures =
            std::make_unique<ChipPictures>(mComposer.pictures().devicePixelRatio() * scale);
        mZoomedComposer = std::make_unique<CellComposer>(*mZoomedPictures);
    }
    mPainter = std::make_unique<BoardPainter>(composer());
    setFixedSize(qRound(BoardPainter::size().width() * scale),
                 qRound(BoardPainter::size().height() * scale));
    mFlashLayer->setGeometry(rect());
    mCellTexts.clear(); // pictures of another size
    render();
    showMarkers();
}

void BoardView::setShowValues(bool on)
{
    if (on == mShowValues)
        return;
    mShowValues = on;
    update();
}

void BoardView::render()
{
    const MapData &map = mSession.map();
    const int floor = mSession.currentFloor();
    const bool branchMode = mSession.editMode() == EditorSession::BranchMode;
    const ToolPicture picture = mSession.tools().picture();
    const SelectionTool &selection = mSession.tools().selection();
    // The floor's check marks and compared cells are drawn with it; anything else the
    // board shows besides its cells asks for its own repaint.
    const bool whole = mCellTexts.isEmpty() || floor != mShownFloor;
    const bool switched = mShownFloor != 0 && floor != mShownFloor;
    mShownFloor = floor;
    mCellTexts.resize(mCells.size());
    QRegion changed;
    int changedCells = 0;
    // Only cells whose picture or value changed are painted again: a full repaint also
    // repaints every warp marker over the board.
    const auto show = [&](int x, int y, const QImage &image, const QString &text) {
        const int slot = cellSlot(x, y);
        if (!whole && image.cacheKey() == mCells[slot].cacheKey() && text == mCellTexts[slot])
            return;
        mCells[slot] = image;
        mCellTexts[slot] = text;
        if (++changedCells <= ManyCells)
            changed += cellRect(x, y);
    };
    QSet<int> marked;
    for (const QPoint &p : picture.marks)
        if (MapData::isOnBoard(p.x(), p.y()))
            marked.insert(cellSlot(p.x(), p.y()));
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y) {
            const QString &cell = map.cell(x, y, floor);
            // A floating block shows the chips it would lay, cut off at the board's edge, and
            // in branch mode the settings it would lay; the paint event outlines them lightly.
            if (const QString *chip =
                    picture.floating ? selection.floatingCellAt({x, y}) : nullptr) {
                const QString &branch = *selection.floatingBranchAt({x, y});
                show(x, y,
                     branchMode && !branch.isEmpty() ? composer().branchPicture(*chip, branch)
                                                     : composer().chipPicture(*chip),
                     *chip);
            }
            // The line marker is laid on the plain chip picture, as the line tool only runs
            // in chip mode.
            else if (marked.contains(cellSlot(x, y)))
                show(x, y, composer().lineMarkPicture(cell), cell);
            else
                show(x, y, mPainter->cellPicture(map, x, y, floor, branchMode), cell);
        }
    }
    // The outlines of the selection and of a floating block.
    const QRect floating =
        picture.floating ? QRect(picture.floatingAt, picture.floating->size()) & CellBlock::board()
                         : QRect();
    if (!whole && (picture.selection != mShownSelection || floating != mShownFloating)) {
        for (const QRect &cells : {mShownSelection, mShownFloating, picture.selection, floating})
            if (!cells.isEmpty())
                changed += cellRect(cells.left(), cells.top())
                               .united(cellRect(cells.right(), cells.bottom()));
    }
    mShownSelection = picture.selection;
    mShownFloating = floating;
    if (whole || changedCells > ManyCells)
        update();
    else if (!changed.isEmpty())
        update(changed);
    if (switched)
        floorSwitched();
}

void BoardView::flashCell(QPoint cell)
{
    if (!MapData::isOnBoard(cell.x(), cell.y()))
        return;
    mFlashLayer->update(cellRect(mFlashCell.x(), mFlashCell.y()));
    mFlashCell = cell;
    mFlashVisible = true;
    mFlashSteps = FlashSteps;
    mFlashTimer->start();
    mFlashLayer->raise();
    mFlashLayer->show();
    mFlashLayer->update(cellRect(cell.x(), cell.y()));
}

void BoardView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    // Everything below is drawn in the board's own units; the pictures were drawn at this
    // scale, so they land pixel for pixel and vector parts stay sharp.
    painter.scale(mScale, mScale);
    const MapData &map = mSession.map();
    const SelectionTool &blocks = mSession.tools().selection();
    const ToolPicture picture = mSession.tools().picture();
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y) {
            if (!event->region().intersects(cellRect(x, y)))
                continue;
            BoardPainter::paintCell(painter, x, y, cellImage(x, y));
            if (!mShowValues)
                continue;
            // A floating block shows its own values over the cells it would replace.
            const QString *floating = blocks.floatingCellAt({x, y});
            mPainter->paintCellValue(
                painter, x, y, floating ? *floating : map.cell(x, y, mSession.currentFloor()));
        }
    }
    if (const MapCheck::Report *check = mSession.checks().shown())
        BoardPainter::paintCheckOverlay(painter, *check, mSession.currentFloor());
    BoardPainter::paintChangedCells(painter,
                                    mSession.comparison().markedOn(mSession.currentFloor()));
    BoardPainter::paintChangedCells(painter, mSession.merge().markedOn(mSession.currentFloor()));
    BoardPainter::paintBlockOutline(painter, picture.selection, true);
    if (const CellBlock *block = picture.floating) {
        const QRect cells = QRect(picture.floatingAt, block->size()) & CellBlock::board();
        BoardPainter::paintFloatingCells(painter, cells);
        BoardPainter::paintBlockOutline(painter, cells, false);
    }
}

void BoardView::showMarkers()
{
    const WarpMarkers &warps = mSession.tools().warps().markers();
    const QVector<WarpMarkers::Marker> &markers = warps.all();
    QVector<bool> alive(mMarkerLabels.size());
    const int side = qRound(MarkerPainter::Size * mScale);
    for (const WarpMarkers::Marker &marker : markers) {
        while (mMarkerLabels.size() <= marker.index) {
            auto *label = new MarkerLabel(int(mMarkerLabels.size()), this);
            label->hide();
            label->setMouseTracking(true);
            label->installEventFilter(this);
            mMarkerLabels.append(label);
            mStackRank.append(++mTopRank); // a new child is on top
            alive.append(false);
        }
        MarkerLabel *label = mMarkerLabels.at(marker.index);
        alive[marker.index] = true;
        label->setObjectName(QStringLiteral("marker%1").arg(marker.index));
        label->setText(marker.caption);
        label->setGeometry(
            QRect(cellRect(marker.cell.x(), marker.cell.y()).topLeft(), QSize(side, side)));
        label->setScale(mScale);
        label->setOpaque(marker.opaque);
        label->setVisible(warps.isVisible(marker));
    }
    // Later markers in the list lie above earlier ones.
    int below = 0;
    bool stacked = true;
    for (const WarpMarkers::Marker &marker : markers) {
        stacked = stacked && mStackRank.at(marker.index) > below;
        below = mStackRank.at(marker.index);
    }
    if (!stacked) {
        for (const WarpMarkers::Marker &marker : markers) {
            mMarkerLabels.at(marker.index)->raise();
            mStackRank[marker.index] = ++mTopRank;
        }
    }
    // The blinking outline stays above every marker.
    mFlashLayer->raise();
    for (qsizetype index = 1; index < mMarkerLabels.size(); ++index) {
        if (alive.at(index) || mMarkerLabels.at(index)->objectName().isEmpty())
            continue;
        mMarkerLabels.at(index)->hide();
        mMarkerLabels.at(index)->setObjectName(QString());
    }
}

MarkerLabel *BoardView::markerLabel(int index) const
{
    MarkerLabel *label = mMarkerLabels.value(index);
    return label && !label->objectName().isEmpty() ? label : nullptr;
}

bool BoardView::markerEvent(int index, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        // The board is edited with single clicks: the second press of a double click does
        // nothing, and it must not reach the cell below either. In warp mode it shows
        // where the pair leads: the other end's floor and cell.
        if (mSession.editMode() == EditorSession::WarpMode) {
            const WarpMarkers &markers = mSession.tools().warps().markers();
            const int other = WarpPairs::otherEnd(index);
            mSession.locateCell(markers.floor(other), markers.cell(other));
        }
        return true;
    case QEvent::MouseButtonPress:
        if (!mSession.tools().pressMarker(index, static_cast<QMouseEvent *>(event)->button()))
            Q_EMIT markerRefused();
        return true;
    case QEvent::MouseMove:
        mSession.tools().hover(mSession.tools().warps().markers().cell(index));
        return true;
    default:
        return false;
    }
}

void BoardView::paintOverlay()
{
    QPainter painter(mFlashLayer);
    if (showsCursor()) {
        // Drawn in device pixels, so it is as plain at 400 % as at 100 %: a dark ring with
        // a light one inside, unlike the dashed selection and the yellow flash.
        const QRect cell = cellRect(mCursorCell.x(), mCursorCell.y());
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 0, 128), 3));
        painter.drawRect(cell.adjusted(1, 1, -2, -2));
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(cell.adjusted(3, 3, -4, -4));
    }
    if (mFlashVisible) {
        painter.scale(mScale, mScale);
        BoardPainter::paintCellOutline(painter, mFlashCell, QColor(255, 230, 0));
    }
}

bool BoardView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mFlashLayer && event->type() == QEvent::Paint) {
        paintOverlay();
        return true;
    }
    if (auto *label = qobject_cast<MarkerLabel *>(watched)) {
        if (markerLabel(label->index()) == label)
            return markerEvent(label->index(), event);
    }
    return QWidget::eventFilter(watched, event);
}

void BoardView::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT shiftHeld(event->modifiers() & Qt::ShiftModifier);
    const QPoint cell = cellAt(event->position().toPoint());
    if (!cell.isNull())
        Q_EMIT cellPressed(cell, event->button());
}

void BoardView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The board is edited with single clicks; QWidget would pass this on as a second press.
    event->accept();
}

void BoardView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    event->accept();
    // A notch is 120; touchpads send many small steps that add up to one.
    mWheelDelta += event->angleDelta().y();
    while (mWheelDelta >= 120) {
        mWheelDelta -= 120;
        Q_EMIT zoomStepRequested(+1);
    }
    while (mWheelDelta <= -120) {
        mWheelDelta += 120;
        Q_EMIT zoomStepRequested(-1);
    }
}

void BoardView::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT shiftHeld(event->modifiers() & Qt::ShiftModifier);
    const QPoint cell = cellAt(event->position().toPoint());
    if (!cell.isNull())
        Q_EMIT cellHovered(cell);
    if (event->buttons() != Qt::NoButton)
        Q_EMIT cellDragged(nearestCell(event->position().toPoint()));
}

void BoardView::mouseReleaseEvent(QMouseEvent *event)
{
    Q_EMIT shiftHeld(event->modifiers() & Qt::ShiftModifier);
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

int BoardView::cellChildIndex(QPoint cell)
{
    return (cell.y() - 1) * MapData::Width + (cell.x() - 1);
}

bool BoardView::event(QEvent *event)
{
    // Esc drops a rectangle drawn by keys before the window's Esc drops the selection.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape &&
        mSession.tools().isStretching()) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void BoardView::keyPressEvent(QKeyEvent *event)
{
    if (mSession.cursor().key(event->key(), event->modifiers()))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void BoardView::takeKeysAtStart()
{
    mQuietFocus = true;
    setFocus(Qt::OtherFocusReason);
}

void BoardView::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    mFlashLayer->update(cellRect(mCursorCell.x(), mCursorCell.y()));
    // A click shows its own cell; the keyboard's arrival shows the cursor's.
    if (event->reason() != Qt::MouseFocusReason && !std::exchange(mQuietFocus, false))
        mSession.cursor().show();
    // After Qt has told assistive technology that the board has the focus, so the cell is
    // what is spoken last.
    QMetaObject::invokeMethod(this, &BoardView::announceCursor, Qt::QueuedConnection);
}

void BoardView::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    mFlashLayer->update(cellRect(mCursorCell.x(), mCursorCell.y()));
}

void BoardView::cursorMoved(QPoint from, QPoint to)
{
    mCursorCell = to;
    if (!mFloorNewsCell.isNull() && mFloorNewsCell != to) {
        const QPoint told = mFloorNewsCell;
        mFloorNewsCell = QPoint();
        if (QAccessible::isActive())
            tellNameChanged(told);
    }
    if (!showsCursor())
        return;
    mFlashLayer->update(cellRect(from.x(), from.y()));
    const QRect rect = cellRect(to.x(), to.y());
    mFlashLayer->update(rect);
    // At a zoom where the board scrolls, the cursor stays in view.
    for (QWidget *up = parentWidget(); up; up = up->parentWidget()) {
        if (auto *area = qobject_cast<QScrollArea *>(up)) {
            area->ensureVisible(rect.center().x(), rect.center().y(), rect.width() / 2 + 1,
                                rect.height() / 2 + 1);
            break;
        }
    }
    announceCursor();
}

void BoardView::followMap(const MapChange &change)
{
    // The markers are the warp-link tool's: they follow its markersChanged.
    const int floor = mShownFloor;
    render();
    // Another floor shown has told every cell already.
    if (!QAccessible::isActive() || mShownFloor != floor)
        return;
    // A reader that keeps the cells' texts learns which of them now say something else.
    // Pairs name the cells they stand on.
    if (change.replayed || change.has(MapChange::WholeMap) || change.has(MapChange::FloorCount) ||
        change.has(MapChange::Pairs)) {
        for (int y = 1; y <= MapData::Height; ++y)
            for (int x = 1; x <= MapData::Width; ++x)
                tellNameChanged(QPoint(x, y));
        return;
    }
    for (const MapChange::FloorCell &changed : change.cells)
        if (changed.floor == floor)
            tellNameChanged(changed.cell);
}

void BoardView::tellNameChanged(QPoint cell)
{
    QAccessibleEvent event(this, QAccessible::NameChanged);
    event.setChild(cellChildIndex(cell));
    QAccessible::updateAccessibility(&event);
}

void BoardView::floorSwitched()
{
    // The floor is said once, with the first cell read on it.
    mFloorNewsCell = mCursorCell;
    if (!QAccessible::isActive())
        return;
    for (int y = 1; y <= MapData::Height; ++y)
        for (int x = 1; x <= MapData::Width; ++x)
            tellNameChanged(QPoint(x, y));
    // With the board focused the reader hears its cell's new name, the floor first.
    if (!hasFocus())
        SpokenNews::tell(this, QStringLiteral("%1階").arg(mShownFloor));
}

QString BoardView::accessibleCellName(QPoint cell) const
{
    const QString name = mSession.cursor().cellName(cell);
    if (cell != mFloorNewsCell)
        return name;
    return QStringLiteral("%1階 ").arg(mShownFloor) + name;
}

void BoardView::announceCursor()
{
    if (!QAccessible::isActive() || !hasFocus())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(cellChildIndex(mCursorCell));
    QAccessible::updateAccessibility(&event);
}
