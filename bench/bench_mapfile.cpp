#include "benchmaps.h"
#include "mapfile/mapfilename.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "model/cellstring.h"
#include "model/codetables.h"
#include "model/mapdata.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QList<QByteArray> fullMapFiles()
{
    const MapData map = fullMap();
    QList<QByteArray> files;
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor)
        files.append(MapFileWriter::encodeFloor(map, floor).bytes);
    return files;
}

struct SavedMap
{
    QTemporaryDir dir;
    QString base = dir.filePath(QStringLiteral("full"));
    QList<QByteArray> files = fullMapFiles();
    SavedMap() { MapFileWriter::save(fullMap(), base); }
};

void setBytes(benchmark::State &state, const QList<QByteArray> &files)
{
    qint64 bytes = 0;
    for (const QByteArray &file : files)
        bytes += file.size();
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_LoadFullMap(benchmark::State &state)
{
    const SavedMap saved;
    for (auto _ : state) {
        MapLoadResult result = MapFileReader::load(saved.base);
        if (!result.ok())
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(result);
    }
    setBytes(state, saved.files);
}
BENCHMARK(BM_LoadFullMap)->Unit(benchmark::kMicrosecond);

void BM_ReadSameBytesWithQFile(benchmark::State &state)
{
    const SavedMap saved;
    for (auto _ : state) {
        for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
            QFile file(MapFileName::floorFilePath(saved.base, floor));
            file.open(QIODevice::ReadOnly);
            QByteArray bytes = file.readAll();
            benchmark::DoNotOptimize(bytes);
        }
    }
    setBytes(state, saved.files);
}
BENCHMARK(BM_ReadSameBytesWithQFile)->Unit(benchmark::kMicrosecond);

void BM_LoadFullMapFromMemory(benchmark::State &state)
{
    const QList<QByteArray> files = fullMapFiles();
    for (auto _ : state) {
        MapLoadResult result = MapFileReader::loadFromMemory(files);
        benchmark::DoNotOptimize(result);
    }
    setBytes(state, files);
}
BENCHMARK(BM_LoadFullMapFromMemory)->Unit(benchmark::kMicrosecond);

void BM_EncodeFullMap(benchmark::State &state)
{
    const MapData map = fullMap();
    for (auto _ : state) {
        for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
            EncodedFloor encoded = MapFileWriter::encodeFloor(map, floor);
            benchmark::DoNotOptimize(encoded);
        }
    }
    setBytes(state, fullMapFiles());
}
BENCHMARK(BM_EncodeFullMap)->Unit(benchmark::kMicrosecond);

// The save writes temporary files and replaces the targets only when all were written;
// QSaveFile flushes each file to the disk before it takes the old one's place.
void BM_SaveFullMap(benchmark::State &state)
{
    const SavedMap saved;
    const MapData map = fullMap();
    for (auto _ : state) {
        MapSaveResult result = MapFileWriter::save(map, saved.base);
        if (!result.ok())
            state.SkipWithError("save failed");
        benchmark::DoNotOptimize(result);
    }
    setBytes(state, saved.files);
}
BENCHMARK(BM_SaveFullMap)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_WriteSameBytesWithQSaveFile(benchmark::State &state)
{
    const SavedMap saved;
    for (auto _ : state) {
        for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
            QSaveFile file(MapFileName::floorFilePath(saved.base, floor));
            file.open(QIODevice::WriteOnly);
            file.write(saved.files[floor - 1]);
            file.commit();
        }
    }
    setBytes(state, saved.files);
}
BENCHMARK(BM_WriteSameBytesWithQSaveFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_WriteSameBytesWithQFile(benchmark::State &state)
{
    const SavedMap saved;
    for (auto _ : state) {
        for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
            QFile file(MapFileName::floorFilePath(saved.base, floor));
            file.open(QIODevice::WriteOnly | QIODevice::Truncate);
            file.write(saved.files[floor - 1]);
        }
    }
    setBytes(state, saved.files);
}
BENCHMARK(BM_WriteSameBytesWithQFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
