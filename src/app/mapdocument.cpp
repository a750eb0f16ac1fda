#include "app/mapdocument.h"

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
