// Feeds arbitrary bytes to the map reader as one to three floor files. Every input must
// either load or fail with one of the two load messages; a map that loads must save, and
// what it saves must load and save again to the same bytes.

#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "model/mapdata.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The floor files are separated by the byte 0x1E; pieces after the third stay in it.
QList<QByteArray> floorFiles(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
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

[[noreturn]] void broken(const char *what)
{
    std::fprintf(stderr, "fuzz_mapreader: %s\n", what);
    std::abort();
}

QList<QByteArray> saveToMemory(const MapData &map)
{
    QList<QByteArray> files;
    for (int floor = 1; floor <= map.floorCount(); ++floor) {
        const EncodedFloor encoded = MapFileWriter::encodeFloor(map, floor);
        if (encoded.fault)
            broken("a loaded map cannot be saved");
        files.append(encoded.bytes);
    }
    return files;
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
        broken("unexpected fault message");
    if (fault.title != QStringLiteral("読み込みに失敗しました。"))
        broken("unexpected fault title");
    if (result.map != MapData::resetMap())
        broken("a failed load left data behind");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QList<QByteArray> files = floorFiles(data, size);
    const MapLoadResult first = MapFileReader::loadFromMemory(files);
    if (first.fault) {
        checkFault(first);
        return 0;
    }
    if (first.map.floorCount() != files.size() || first.map.warpCount() > MapData::MaxWarps)
        broken("floor or warp count out of step");

    const QList<QByteArray> saved = saveToMemory(first.map);
    const MapLoadResult second = MapFileReader::loadFromMemory(saved);
    if (second.fault)
        broken("a saved map does not load");
    if (saveToMemory(second.map) != saved)
        broken("saving a reloaded map gives other bytes");
    return 0;
}
