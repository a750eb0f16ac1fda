#include "benchmaps.h"

#include "board/mapdiff.h"
#include "board/mapmerge.h"
#include "dialogs/comparewindow.h"
#include "mapfile/mapfilewriter.h"
#include "model/chipdescriptions.h"
#include "model/mapdocument.h"
#include "session/mapcomparison.h"

#include <QApplication>
#include <QListView>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

// The full map with every cell on another chip, branch points on other cells and every
// pair's destination elsewhere: the most a comparison can find. Each shift changes it
// another way.
MapData changedEverywhere(int shift = 1)
{
    MapData map = fullMap();
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
        for (int x = 1; x <= MapData::Width; ++x) {
            for (int y = 1; y <= MapData::Height; ++y) {
                const int chip = 1 + (x * 16 + y + floor + shift) % 47;
                map.setCell(x, y, floor, CellString::make(chip, CodeTables::chipCode(chip)));
                const QString setting =
                    shift == 1 ? QStringLiteral("3302") : QStringLiteral("3312");
                map.setBranch(x, y, floor, (x + y) % 3 == 1 ? setting : QString());
            }
        }
    }
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        WarpRecord record = map.warp(pair);
        record.dstX = std::uint8_t(1 + (record.dstX + shift - 1) % MapData::Width);
        map.setWarp(pair, record);
    }
    return map;
}

ChipDescriptions names()
{
    ChipDescriptions descriptions;
    descriptions.load(QStringLiteral(QZK_SOURCE_DATA "/Tavolin.dat"));
    return descriptions;
}

bool differsEverywhere(const MapDiff::Result &result)
{
    // 3456 cells, the branch points of two cell patterns, 79 moved pairs.
    return result.differences.size() > 3456 + 79;
}

void BM_DiffFullMaps(benchmark::State &state)
{
    const MapData before = fullMap();
    const MapData after = changedEverywhere();
    const ChipDescriptions descriptions = names();
    if (!differsEverywhere(MapDiff::compare(before, after, descriptions))) {
        state.SkipWithError("the maps do not differ in every cell");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(MapDiff::compare(before, after, descriptions));
}
BENCHMARK(BM_DiffFullMaps)->Unit(benchmark::kMillisecond);

// What one edit costs while the comparison runs: the differences and the cells to outline on
// every floor.
void BM_EditorRecompute(benchmark::State &state)
{
    const ChipDescriptions descriptions = names();
    MapDocument document;
    document.replace(changedEverywhere());
    MapComparison comparison(document, descriptions);
    comparison.start(fullMap(), QStringLiteral("full.map"), false);
    if (!differsEverywhere(comparison.result())) {
        state.SkipWithError("the maps do not differ in every cell");
        return;
    }
    for (auto _ : state)
        comparison.recompute();
}
BENCHMARK(BM_EditorRecompute)->Unit(benchmark::kMillisecond)->Repetitions(5);

// The same with the open window taking the new lines and drawing the ones it shows.
void BM_EditorRecomputeWithWindow(benchmark::State &state)
{
    const ChipDescriptions descriptions = names();
    MapDocument document;
    document.replace(changedEverywhere());
    MapComparison comparison(document, descriptions);
    comparison.start(fullMap(), QStringLiteral("full.map"), false);
    CompareWindow window(comparison);
    window.show();
    MapData other = fullMap();
    other.setFloorName(1, QStringLiteral("別の名前"));
    bool flip = false;
    for (auto _ : state) {
        comparison.start(flip ? other : fullMap(), QStringLiteral("full.map"), false);
        flip = !flip;
        QCoreApplication::processEvents();
    }
    if (window.list()->model()->rowCount() < 3456)
        state.SkipWithError("the window does not list every difference");
}
BENCHMARK(BM_EditorRecomputeWithWindow)->Unit(benchmark::kMillisecond)->Repetitions(5);

double childCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// `qzk-map diff` as a script runs it: start, read 18 floor files, compare, print, end.
// Wall time per run; cpu_ms is the process's own CPU time, which a loaded machine does not
// stretch as it stretches the wall time.
void BM_DiffProcess(benchmark::State &state)
{
    QTemporaryDir dir;
    if (!MapFileWriter::save(fullMap(), dir.filePath(QStringLiteral("a"))).ok() ||
        !MapFileWriter::save(changedEverywhere(), dir.filePath(QStringLiteral("b"))).ok()) {
        state.SkipWithError("cannot write the maps");
        return;
    }
    const QStringList args{QStringLiteral("diff"), dir.filePath(QStringLiteral("a.map")),
                           dir.filePath(QStringLiteral("b.map"))};
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(QStringLiteral(QZK_MAP_PROGRAM), args);
        if (!process.waitForFinished(60000) || process.exitCode() != 1) {
            state.SkipWithError("qzk-map diff did not report differences");
            return;
        }
    }
    state.counters["cpu_ms"] = (childCpuMs() - cpuBefore) / double(state.iterations());
}
BENCHMARK(BM_DiffProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

// `qzk-map merge` of three such maps, ours and theirs each changed everywhere and two ways,
// so every cell, branch point and pair is a conflict: read 27 floor files, merge, write 9,
// check the merged map, print thousands of lines, end.
void BM_MergeProcess(benchmark::State &state)
{
    QTemporaryDir dir;
    if (!MapFileWriter::save(fullMap(), dir.filePath(QStringLiteral("base"))).ok() ||
        !MapFileWriter::save(changedEverywhere(1), dir.filePath(QStringLiteral("ours"))).ok() ||
        !MapFileWriter::save(changedEverywhere(2), dir.filePath(QStringLiteral("theirs"))).ok()) {
        state.SkipWithError("cannot write the maps");
        return;
    }
    const QStringList args{QStringLiteral("merge"), dir.filePath(QStringLiteral("base.map")),
                           dir.filePath(QStringLiteral("ours.map")),
                           dir.filePath(QStringLiteral("theirs.map")),
                           dir.filePath(QStringLiteral("out.map"))};
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(QStringLiteral(QZK_MAP_PROGRAM), args);
        if (!process.waitForFinished(60000) || process.exitCode() != 1) {
            state.SkipWithError("qzk-map merge did not report conflicts");
            return;
        }
    }
    state.counters["cpu_ms"] = (childCpuMs() - cpuBefore) / double(state.iterations());
}
BENCHMARK(BM_MergeProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

void BM_MergeFullMaps(benchmark::State &state)
{
    const MapData base = fullMap();
    const MapData ours = changedEverywhere(1);
    const MapData theirs = changedEverywhere(2);
    const ChipDescriptions descriptions = names();
    if (MapMerge::merge(base, ours, theirs, descriptions).conflicts.size() < 3456 + 79) {
        state.SkipWithError("the maps do not conflict in every cell");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(MapMerge::merge(base, ours, theirs, descriptions));
}
BENCHMARK(BM_MergeFullMaps)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // The window is measured as it fills its list, not as a screen shows it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
