#pragma once

#include "mapfile/mapfault.h"
#include "model/mapdata.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

struct MapLoadResult
{
    // The map read; the reset, unnamed map when fault is set.
    MapData map = MapData::resetMap();
    std::optional<MapFault> fault;
    // The files held more than 79 warp pairs: the first 79 in reading order were kept and
    // the user is warned once with the texts below.
    bool warpOverflow = false;
    // The lines holding bytes that are not code page 932, in reading order. They were read
    // with a replacement character and the user is told once with the texts below.
    QList<FilePlace> replaced;
    // The map's name: the path of its floor files without "_n" and ".map"; empty when unnamed.
    QString fileName;

    bool ok() const { return !fault.has_value(); }
    static QString warpOverflowTitle();
    static QString warpOverflowText();
    static QString replacedTitle();
    QString replacedText() const;
};

// Reads the floor files of a map. It validates as it reads and stops at the first fault,
// whose line number counts the lines read over all floor files so far.
class MapFileReader
{
public:
    // basePath: the map's path without ".map"; floor n >= 2 is read from base_n.map.
    static MapLoadResult load(const QString &basePath);
    // The same rules over files already in memory, floorFiles[0] being floor 1. At most
    // nine are read.
    static MapLoadResult loadFromMemory(const QList<QByteArray> &floorFiles,
                                        const QString &basePath = QString());
    // Floor files are counted while they follow each other: base_2.map, base_3.map, ... up
    // to base_9.map; the floor-1 file is not looked at.
    static int countFloors(const QString &basePath);
};
