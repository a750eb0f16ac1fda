#include "session/floorfilemerge.h"

#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "model/cellstring.h"
#include "model/mapdata.h"

#include <QList>

#include <array>
#include <optional>

namespace {

QByteArray emptyFloor()
{
    static const QByteArray empty = MapFileWriter::encodeFloor(MapData::resetMap(), 1).bytes;
    return empty;
}

QList<QByteArray> amongEmptyFloors(const QByteArray &file, int floor)
{
    QList<QByteArray> files(MapData::MaxFloors, emptyFloor());
    files[floor - 1] = file;
    return files;
}

// The lines after "*TERMINAL" up to the next keyword; nullopt when there is no such line.
std::optional<QByteArray> terminalLines(const QByteArray &file)
{
    const QList<QByteArray> lines = file.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed() != "*TERMINAL")
            continue;
        QByteArray section;
        for (++i; i < lines.size() && !lines[i].startsWith('*'); ++i)
            section += lines[i].trimmed() + '\n';
        return section.trimmed();
    }
    return std::nullopt;
}

bool hasStart(const MapData &map, int floor)
{
    for (int x = 1; x <= MapData::Width; ++x)
        for (int y = 1; y <= MapData::Height; ++y)
            if (map.cell(x, y, floor) == CellString::start())
                return true;
    return false;
}

struct Version
{
    const QByteArray *bytes = nullptr;
    QString name;
};

} // namespace

FloorFileMerge FloorFileMerge::run(const QByteArray &base, const QByteArray &ours,
                                   const QByteArray &theirs, const ChipDescriptions &names)
{
    FloorFileMerge result;
    // Git gives an empty base when both sides added the file.
    const QByteArray noBase = base.isEmpty() ? emptyFloor() : QByteArray();
    std::array<Version, 3> versions{
        {{&ours, QStringLiteral("こちら")},
         {&theirs, QStringLiteral("あちら")},
         {base.isEmpty() ? &noBase : &base, QStringLiteral("共通の元")}}};
    // Read as floor 1 and as floor 2, each of its pairs leaving the floor shows where it
    // leads in at least one of the two.
    std::array<bool, MapData::MaxFloors + 1> taken{};
    std::optional<bool> isFloorOne;
    for (Version &version : versions) {
        for (const int floor : {1, 2}) {
            const MapLoadResult loaded =
                MapFileReader::loadFromMemory(amongEmptyFloors(*version.bytes, floor));
            if (loaded.fault) {
                result.failure = version.name + QStringLiteral("のファイルが読めません：") +
                                 QString(loaded.fault->message)
                                     .replace(QStringLiteral("\r\n"), QStringLiteral(" "));
                return result;
            }
            for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
                const WarpRecord &record = loaded.map.warp(pair);
                if (record.isDefined() && record.dstFloor != floor)
                    taken[record.dstFloor] = true;
            }
            if (floor == 1 && !isFloorOne && hasStart(loaded.map, 1)) {
                const std::optional<QByteArray> stored = terminalLines(*version.bytes);
                if (stored &&
                    *stored == terminalLines(MapFileWriter::encodeFloor(loaded.map, 1).bytes))
                    isFloorOne = true;
                else if (stored)
                    isFloorOne = false;
            }
        }
    }
    int floor = isFloorOne.value_or(true) && !taken[1] ? 1 : 2;
    while (floor <= MapData::MaxFloors && taken[floor])
        ++floor;
    if (floor > MapData::MaxFloors) {
        result.failure =
            QStringLiteral("ワープの行き先がすべての階にあり、この階が何階か分かりません。");
        return result;
    }
    std::array<MapData, 3> maps;
    for (int i = 0; i < 3; ++i)
        maps[i] = MapFileReader::loadFromMemory(amongEmptyFloors(*versions[i].bytes, floor)).map;
    result.merge = MapMerge::merge(maps[2], maps[0], maps[1], names);
    result.merge.unnamedFloor = floor == 1 && isFloorOne.value_or(false) ? 0 : floor;
    const EncodedFloor encoded = MapFileWriter::encodeFloor(result.merge.merged, floor);
    if (encoded.fault) {
        result.failure = encoded.fault->message;
        return result;
    }
    result.bytes = encoded.bytes;
    result.changesOurs = encoded.bytes != MapFileWriter::encodeFloor(maps[0], floor).bytes;
    return result;
}
