#include "mapfile/mapfileform.h"

#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "model/mapdata.h"

#include <QList>

namespace MapFileForm {

MapData of(const MapData &map)
{
    QList<QByteArray> files;
    for (int floor = 1; floor <= map.floorCount(); ++floor) {
        EncodedFloor encoded = MapFileWriter::encodeFloor(map, floor);
        if (encoded.fault)
            return map;
        files.append(std::move(encoded.bytes));
    }
    MapLoadResult read = MapFileReader::loadFromMemory(files);
    if (!read.ok())
        return map;
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair)
        read.map.setWarp(pair, map.warp(pair));
    return std::move(read.map);
}

} // namespace MapFileForm
