#include "model/cellblock.h"

#include "model/cellstring.h"

#include <cstdint>

namespace {

bool onFloor(const WarpRecord &record, bool source, int floor)
{
    return (source ? record.srcFloor : record.dstFloor) == floor;
}

QPoint endOf(const WarpRecord &record, bool source)
{
    return source ? QPoint(record.srcX, record.srcY) : QPoint(record.dstX, record.dstY);
}

void setEnd(WarpRecord &record, bool source, QPoint cell, int floor)
{
    const auto x = std::uint8_t(cell.x());
    const auto y = std::uint8_t(cell.y());
    const auto f = std::uint8_t(floor);
    if (source) {
        record.srcX = x;
        record.srcY = y;
        record.srcFloor = f;
    } else {
        record.dstX = x;
        record.dstY = y;
        record.dstFloor = f;
    }
}

// As the warp window deletes a pair: the cells stay, the floors mark the record free.
void freeRecord(MapData &map, int pair)
{
    WarpRecord record = map.warp(pair);
    record.srcFloor = 0;
    record.dstFloor = 0;
    map.setWarp(pair, record);
}

bool hasEndIn(const WarpRecord &record, int floor, const QRect &cells)
{
    for (bool source : {true, false})
        if (onFloor(record, source, floor) && cells.contains(endOf(record, source)))
            return true;
    return false;
}

// Deletes every pair with an end on `floor` in `area` but outside `keep` (ends that move
// with the cells); returns how many.
int freePairsUnder(MapData &map, int floor, const QRect &area, const QRect &keep = QRect())
{
    int freed = 0;
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        const WarpRecord &record = map.warp(pair);
        if (!record.isDefined())
            continue;
        for (bool source : {true, false}) {
            const QPoint end = endOf(record, source);
            if (onFloor(record, source, floor) && area.contains(end) && !keep.contains(end)) {
                freeRecord(map, pair);
                ++freed;
                break;
            }
        }
    }
    return freed;
}

} // namespace

CellBlock::CellBlock(int width, int height)
    : mWidth(width), mHeight(height), mCells(width * height, CellString::empty()),
      mBranches(width * height)
{
}

CellBlock CellBlock::extract(const MapData &map, int floor, const QRect &cells)
{
    const QRect area = cells & board();
    CellBlock block(area.width(), area.height());
    for (int y = 0; y < block.mHeight; ++y) {
        for (int x = 0; x < block.mWidth; ++x) {
            const QPoint at = area.topLeft() + QPoint(x, y);
            block.setCell(x, y, map.cell(at.x(), at.y(), floor));
            block.setBranch(x, y, map.branch(at.x(), at.y(), floor));
        }
    }
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        const WarpRecord &record = map.warp(pair);
        if (!record.isDefined() || !onFloor(record, true, floor) || !onFloor(record, false, floor))
            continue;
        const QPoint source = endOf(record, true);
        const QPoint destination = endOf(record, false);
        if (area.contains(source) && area.contains(destination))
            block.addPair({source - area.topLeft(), destination - area.topLeft()});
    }
    return block;
}

bool CellBlock::clear(MapData &map, int floor, const QRect &cells)
{
    const QRect area = cells & board();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            map.setCell(x, y, floor, CellString::empty());
            map.setBranch(x, y, floor, QString());
        }
    }
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair)
        if (map.warp(pair).isDefined() && hasEndIn(map.warp(pair), floor, area))
            freeRecord(map, pair);
    return !area.isEmpty();
}

int CellBlock::lay(MapData &map, int floor, QPoint topLeft, int *coveredPairs) const
{
    const int covered = freePairsUnder(map, floor, QRect(topLeft, size()) & board());
    if (coveredPairs)
        *coveredPairs = covered;
    return layCells(map, floor, topLeft);
}

int CellBlock::layCells(MapData &map, int floor, QPoint topLeft) const
{
    for (int y = 0; y < mHeight; ++y) {
        for (int x = 0; x < mWidth; ++x) {
            const QPoint at = topLeft + QPoint(x, y);
            if (!board().contains(at))
                continue;
            map.setCell(at.x(), at.y(), floor, cell(x, y));
            map.setBranch(at.x(), at.y(), floor, branch(x, y));
        }
    }
    const QStringList free = map.freePairNumbers();
    int nextFree = 0;
    int missing = 0;
    for (const Pair &pair : mPairs) {
        const QPoint source = topLeft + pair.source;
        const QPoint destination = topLeft + pair.destination;
        if (!board().contains(source) || !board().contains(destination))
            continue;
        if (nextFree >= free.size()) {
            ++missing;
            continue;
        }
        const int number = free.at(nextFree++).toInt();
        WarpRecord record;
        setEnd(record, true, source, floor);
        setEnd(record, false, destination, floor);
        map.setWarp(number, record);
    }
    return missing;
}

bool CellBlock::relocate(MapData &map, int floor, const QRect &cells, Turn turn, QPoint topLeft,
                         int *coveredPairs)
{
    const QRect area = cells & board();
    if (area.isEmpty())
        return false;
    const CellBlock lifted = extract(map, floor, area);
    CellBlock cellsOnly = lifted.turned(turn);
    cellsOnly.mPairs.clear();
    // Ends are found before the cells move, so a pair whose ends both lie inside is
    // moved once.
    QVector<std::pair<int, bool>> ends;
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        const WarpRecord &record = map.warp(pair);
        if (!record.isDefined())
            continue;
        for (bool source : {true, false})
            if (onFloor(record, source, floor) && area.contains(endOf(record, source)))
                ends.append({pair, source});
    }
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            map.setCell(x, y, floor, CellString::empty());
            map.setBranch(x, y, floor, QString());
        }
    }
    const int covered =
        freePairsUnder(map, floor, QRect(topLeft, cellsOnly.size()) & board(), area);
    if (coveredPairs)
        *coveredPairs = covered;
    cellsOnly.layCells(map, floor, topLeft);
    for (const auto &[pair, source] : ends) {
        WarpRecord record = map.warp(pair);
        if (!record.isDefined())
            continue;
        const QPoint inside = endOf(record, source) - area.topLeft();
        const QPoint moved = topLeft + turnedPoint(inside, area.size(), turn);
        if (board().contains(moved))
            setEnd(record, source, moved, floor);
        else
            record.srcFloor = record.dstFloor = 0;
        map.setWarp(pair, record);
    }
    return true;
}

QSize CellBlock::turnedSize(QSize size, Turn turn)
{
    return turn == Turn::RotateClockwise || turn == Turn::RotateCounterClockwise ? size.transposed()
                                                                                 : size;
}

QPoint CellBlock::turnedPoint(QPoint point, QSize size, Turn turn)
{
    switch (turn) {
    case Turn::FlipLeftRight:
        return QPoint(size.width() - 1 - point.x(), point.y());
    case Turn::FlipUpDown:
        return QPoint(point.x(), size.height() - 1 - point.y());
    case Turn::RotateClockwise:
        return QPoint(size.height() - 1 - point.y(), point.x());
    case Turn::RotateCounterClockwise:
        return QPoint(point.y(), size.width() - 1 - point.x());
    case Turn::None:
        break;
    }
    return point;
}

QString CellBlock::turnedBranch(const QString &setting, Turn turn)
{
    if (setting.size() != 4)
        return setting;
    // Digit order: up, left, right, down.
    const QChar up = setting[0], left = setting[1], right = setting[2], down = setting[3];
    switch (turn) {
    case Turn::FlipLeftRight:
        return QString(up) + right + left + down;
    case Turn::FlipUpDown:
        return QString(down) + left + right + up;
    case Turn::RotateClockwise:
        // Up turns into right, right into down, down into left, left into up.
        return QString(left) + down + up + right;
    case Turn::RotateCounterClockwise:
        // Up turns into left, left into down, down into right, right into up.
        return QString(right) + up + down + left;
    case Turn::None:
        break;
    }
    return setting;
}

CellBlock CellBlock::turned(Turn turn) const
{
    const QSize to = turnedSize(size(), turn);
    CellBlock result(to.width(), to.height());
    for (int y = 0; y < mHeight; ++y) {
        for (int x = 0; x < mWidth; ++x) {
            const QPoint at = turnedPoint(QPoint(x, y), size(), turn);
            result.setCell(at.x(), at.y(), cell(x, y));
            result.setBranch(at.x(), at.y(), turnedBranch(branch(x, y), turn));
        }
    }
    for (const Pair &pair : mPairs)
        result.addPair(
            {turnedPoint(pair.source, size(), turn), turnedPoint(pair.destination, size(), turn)});
    return result;
}
