#pragma once

#include "model/mapdata.h"

#include <QObject>
#include <QPoint>
#include <QVector>

// The one map being edited. Every change goes through a method here, so the rules
// (and later an undo stack or an unsaved mark) live in one place.
class MapDocument : public QObject
{
    Q_OBJECT

public:
    explicit MapDocument(QObject *parent = nullptr);

    const MapData &data() const { return mData; }

    void layChip(int x, int y, int floor, const QString &cell);
    void layChips(const QVector<QPoint> &cells, int floor, const QString &cell);
    void setBranch(int x, int y, int floor, const QString &setting);
    // Takes a whole map, as the loader and the reset produce it.
    void replace(const MapData &data);
    void setMapFileName(const QString &name);
    // The three texts of a floor: its name, background picture and end comment.
    void setFloorTexts(int floor, const QString &name, const QString &background,
                       const QString &endText);

    // Warp pairs (numbers 1..79).
    void setWarpSource(int pair, QPoint cell, int floor);
    // Gives the pair its destination, which makes it exist.
    void setWarpDestination(int pair, QPoint cell, int floor);
    void deleteWarp(int pair);

    // Floors, with the rules of Floors; addFloor is false at nine floors.
    bool addFloor();
    void moveFloor(int floor, int delta);
    QList<int> deleteFloor(int floor);

Q_SIGNALS:
    void changed();

private:
    MapData mData;
};
