#pragma once

// What the fuzz targets share: how an input splits into floor files, a map saved to
// memory, and stopping with the reason a fault was found.

#include "mapfile/mapfilewriter.h"
#include "model/mapdata.h"

#include <QByteArray>
#include <QList>

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void broken(const char *target, const char *what)
{
    std::fprintf(stderr, "%s: %s\n", target, what);
    std::abort();
}

// One to three floor files separated by the byte 0x1E; pieces after the third stay in it.
inline QList<QByteArray> floorFiles(const QByteArray &input)
{
    QList<QByteArray> files;
    qsizetype start = 0;
    while (files.size() < 2) {
        const qsizetype separator = input.indexOf('\x1e', start);
        if (separator < 0)
            break;
        files.append(input.mid(start, separator - start));
        start = separator + 1;
    }
    files.append(input.mid(start));
    return files;
}

// The map's floor files as the writer makes them; a map that cannot be saved is a fault.
inline QList<QByteArray> saveToMemory(const MapData &map, const char *target, const char *fault)
{
    QList<QByteArray> files;
    for (int floor = 1; floor <= map.floorCount(); ++floor) {
        const EncodedFloor encoded = MapFileWriter::encodeFloor(map, floor);
        if (encoded.fault)
            broken(target, fault);
        files.append(encoded.bytes);
    }
    return files;
}
