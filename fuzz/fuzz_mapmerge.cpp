// Feeds arbitrary bytes to the merge as three maps (base, ours, theirs), separated by the
// byte 0x1D, each of one to three floor files separated by 0x1E. When all three load, the
// merged map must save, load again and save again to the same bytes. The first floor files
// are also merged as git's driver merges them: any input either fails with a reason or
// gives a floor file the reader accepts.

#include "board/mapmerge.h"
#include "fuzzsupport.h"
#include "mapfile/mapfilereader.h"
#include "model/chipdescriptions.h"
#include "model/mapdata.h"
#include "session/floorfilemerge.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <cstdint>

namespace {

const char Target[] = "fuzz_mapmerge";

QList<QByteArray> saveToMemory(const MapData &map)
{
    return ::saveToMemory(map, Target, "a merged map cannot be saved");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> maps = input.split('\x1d');
    while (maps.size() < 3)
        maps.append(maps.first());
    std::array<QList<QByteArray>, 3> files;
    for (int i = 0; i < 3; ++i)
        files[i] = floorFiles(maps[i]);

    const ChipDescriptions names;
    const FloorFileMerge single = FloorFileMerge::run(files[0][0], files[1][0], files[2][0], names);
    if (single.ok()) {
        QList<QByteArray> floors(MapData::MaxFloors,
                                 MapFileWriter::encodeFloor(MapData::resetMap(), 1).bytes);
        floors[0] = single.bytes;
        if (!MapFileReader::loadFromMemory(floors).ok())
            broken(Target, "a merged floor file does not load");
    } else if (single.failure.isEmpty()) {
        broken(Target, "a failed floor-file merge gives no reason");
    }

    std::array<MapData, 3> loaded;
    for (int i = 0; i < 3; ++i) {
        const MapLoadResult result = MapFileReader::loadFromMemory(files[i]);
        if (result.fault)
            return 0;
        loaded[i] = result.map;
    }
    const MapMerge::Result merged = MapMerge::merge(loaded[0], loaded[1], loaded[2], names);
    merged.lines();
    const QList<QByteArray> saved = saveToMemory(merged.merged);
    const MapLoadResult again = MapFileReader::loadFromMemory(saved);
    if (again.fault)
        broken(Target, "a merged map does not load");
    if (saveToMemory(again.map) != saved)
        broken(Target, "saving a reloaded merged map gives other bytes");
    return 0;
}
