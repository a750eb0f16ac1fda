#pragma once

#include "mapfile/mapfault.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class MapData;

struct MapSaveResult
{
    // Set when the save failed; the files on disk are then as they were before.
    std::optional<MapFault> fault;
    // Files of floors above the floor count that were there and could not be removed.
    QStringList staleFilesLeft;
    // The bytes of each floor file written, floor 1 first.
    QList<QByteArray> written;

    bool ok() const { return !fault.has_value(); }
};

// One floor file as the game reads it: code page 932, CR LF after every line.
struct EncodedFloor
{
    QByteArray bytes;
    std::optional<MapFault> fault; // a text code page 932 cannot hold
};

// Writes a map as one file per floor under its base path.
class MapFileWriter
{
public:
    // All or nothing: every floor is written to a temporary file beside its target first,
    // and the targets are replaced only when all were written. After a successful save the
    // files of higher floors of the same base name are removed, so the map reopens as saved.
    static MapSaveResult save(const MapData &map, const QString &basePath);

    static EncodedFloor encodeFloor(const MapData &map, int floor);
};
