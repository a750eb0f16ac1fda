// Feeds arbitrary bytes to the map reader as one to three floor files. Every input must
// either load or fail with one of the two load messages; a map that loads must save, and
// what it saves must load and save again to the same bytes.

#include "fuzzsupport.h"
#include "mapfile/mapfilereader.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

namespace {

const char Target[] = "fuzz_mapreader";

QList<QByteArray> saveToMemory(const MapData &map)
{
    return ::saveToMemory(map, Target, "a loaded map cannot be saved");
}

void checkFault(const MapLoadResult &result)
{
    const MapFault &fault = *result.fault;
    const QString invalid = QStringLiteral("ファイル内に不正なデータが入っています。\r\n<%1行目>")
                                .arg(fault.lineNumber);
    const QString other =
        QStringLiteral("これはQ:zKのマップファイルではありません。\r\nError No.%1\r\n<%2行目>")
            .arg(fault.errorNumber)
            .arg(fault.lineNumber);
    const QString place =
        fault.floor > 0
            ? QStringLiteral("\r\n") + FilePlace{fault.floor, fault.path, fault.fileLine}.text()
            : QString();
    if (fault.message != (fault.kind == MapFault::Kind::InvalidData ? invalid : other) + place)
        broken(Target, "unexpected fault message");
    if (fault.title != QStringLiteral("読み込みに失敗しました。"))
        broken(Target, "unexpected fault title");
    if (result.map != MapData::resetMap())
        broken(Target, "a failed load left data behind");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QList<QByteArray> files =
        floorFiles(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const MapLoadResult first = MapFileReader::loadFromMemory(files);
    if (first.fault) {
        checkFault(first);
        return 0;
    }
    if (first.map.floorCount() != files.size() || first.map.warpCount() > MapData::MaxWarps)
        broken(Target, "floor or warp count out of step");

    const QList<QByteArray> saved = saveToMemory(first.map);
    const MapLoadResult second = MapFileReader::loadFromMemory(saved);
    if (second.fault)
        broken(Target, "a saved map does not load");
    if (saveToMemory(second.map) != saved)
        broken(Target, "saving a reloaded map gives other bytes");
    return 0;
}
