#include "model/mapdocument.h"

#include "model/floors.h"

MapDocument::MapDocument(QObject *parent) : QObject(parent) {}

void MapDocument::layChip(int x, int y, int floor, const QString &cell)
{
    layChips({QPoint(x, y)}, floor, cell);
}

void MapDocument::layChips(const QVector<QPoint> &cells, int floor, const QString &cell)
{
    if (!MapData::isValidFloor(floor))
        return;
    bool any = false;
    for (const QPoint &p : cells) {
        if (!MapData::isOnBoard(p.x(), p.y()))
            continue;
        mData.setCell(p.x(), p.y(), floor, cell);
        any = true;
    }
    if (any)
        Q_EMIT changed();
}

void MapDocument::setBranch(int x, int y, int floor, const QString &setting)
{
    if (!MapData::isOnBoard(x, y) || !MapData::isValidFloor(floor))
        return;
    mData.setBranch(x, y, floor, setting);
    Q_EMIT changed();
}

void MapDocument::replace(const MapData &data)
{
    mData = data;
    Q_EMIT changed();
}

void MapDocument::setMapFileName(const QString &name)
{
    mData.setMapFileName(name);
    Q_EMIT changed();
}

void MapDocument::setFloorTexts(int floor, const QString &name, const QString &background,
                                const QString &endText)
{
    if (!MapData::isValidFloor(floor))
        return;
    mData.setFloorName(floor, name);
    mData.setFloorBackground(floor, background);
    mData.setFloorEndText(floor, endText);
    Q_EMIT changed();
}

void MapDocument::setWarpSource(int pair, QPoint cell, int floor)
{
    if (pair < 1 || pair > MapData::MaxWarps)
        return;
    WarpRecord record = mData.warp(pair);
    record.srcX = std::uint8_t(cell.x());
    record.srcY = std::uint8_t(cell.y());
    record.srcFloor = std::uint8_t(floor);
    mData.setWarp(pair, record);
    Q_EMIT changed();
}

void MapDocument::setWarpDestination(int pair, QPoint cell, int floor)
{
    if (pair < 1 || pair > MapData::MaxWarps || !MapData::isValidFloor(floor))
        return;
    WarpRecord record = mData.warp(pair);
    record.dstX = std::uint8_t(cell.x());
    record.dstY = std::uint8_t(cell.y());
    record.dstFloor = std::uint8_t(floor);
    mData.setWarp(pair, record);
    Q_EMIT changed();
}

void MapDocument::deleteWarp(int pair)
{
    if (pair < 1 || pair > MapData::MaxWarps || !mData.warp(pair).isDefined())
        return;
    // The cells stay in the record; only the floors mark it free.
    WarpRecord record = mData.warp(pair);
    record.srcFloor = 0;
    record.dstFloor = 0;
    mData.setWarp(pair, record);
    Q_EMIT changed();
}

bool MapDocument::addFloor()
{
    if (!Floors::addFloor(mData))
        return false;
    Q_EMIT changed();
    return true;
}

void MapDocument::moveFloor(int floor, int delta)
{
    Floors::moveFloor(mData, floor, delta);
    Q_EMIT changed();
}

QList<int> MapDocument::deleteFloor(int floor)
{
    const QList<int> deleted = Floors::deleteFloor(mData, floor);
    Q_EMIT changed();
    return deleted;
}
