#include "benchmain.h"
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

// The editor holding the map changed everywhere while it compares it with the full map.
struct Comparing
{
    ChipDescriptions descriptions = names();
    MapDocument document;
    MapComparison comparison{document, descriptions};

    Comparing()
    {
        document.replace(changedEverywhere());
        comparison.start(fullMap(), QStringLiteral("full.map"), false);
    }
};

// What one edit costs while the comparison runs: the differences and the cells to outline on
// every floor.
void BM_EditorRecompute(benchmark::State &state)
{
    Comparing editor;
    if (!differsEverywhere(editor.comparison.result())) {
        state.SkipWithError("the maps do not differ in every cell");
        return;
    }
    for (auto _ : state)
        editor.comparison.recompute();
}
BENCHMARK(BM_EditorRecompute)->Unit(benchmark::kMillisecond)->Repetitions(5);

// The same with the open window taking the new lines and drawing the ones it shows.
void BM_EditorRecomputeWithWindow(benchmark::State &state)
{
    Comparing editor;
    CompareWindow window(editor.comparison);
    window.show();
    MapData other = fullMap();
    other.setFloorName(1, QStringLiteral("別の名前"));
    bool flip = false;
    for (auto _ : state) {
        editor.comparison.start(flip ? other : fullMap(), QStringLiteral("full.map"), false);
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

// qzk-map as a script runs it, over `maps` saved in a scratch folder under their names
// (which `command`'s arguments name); every run must end with `status`. Wall time per run;
// cpu_ms is the process's own CPU time, which a loaded machine does not stretch as it
// stretches the wall time.
void runMapProgram(benchmark::State &state, const QVector<QPair<QString, MapData>> &maps,
                   const QStringList &command, int status, const char *failure)
{
    QTemporaryDir dir;
    for (const auto &[name, map] : maps) {
        if (!MapFileWriter::save(map, dir.filePath(name)).ok()) {
            state.SkipWithError("cannot write the maps");
            return;
        }
    }
    QStringList args{command.first()};
    for (const QString &file : command.mid(1))
        args.append(dir.filePath(file));
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(QStringLiteral(QZK_MAP_PROGRAM), args);
        if (!process.waitForFinished(60000) || process.exitCode() != status) {
            state.SkipWithError(failure);
            return;
        }
    }
    state.counters["cpu_ms"] = (childCpuMs() - cpuBefore) / double(state.iterations());
}

// `qzk-map diff`: start, read 18 floor files, compare, print, end.
void BM_DiffProcess(benchmark::State &state)
{
    runMapProgram(state,
                  {{QStringLiteral("a"), fullMap()}, {QStringLiteral("b"), changedEverywhere()}},
                  {QStringLiteral("diff"), QStringLiteral("a.map"), QStringLiteral("b.map")}, 1,
                  "qzk-map diff did not report differences");
}
BENCHMARK(BM_DiffProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

// `qzk-map merge` of three such maps, ours and theirs each changed everywhere and two ways,
// so every cell, branch point and pair is a conflict: read 27 floor files, merge, write 9,
// check the merged map, print thousands of lines, end.
void BM_MergeProcess(benchmark::State &state)
{
    runMapProgram(state,
                  {{QStringLiteral("base"), fullMap()},
                   {QStringLiteral("ours"), changedEverywhere(1)},
                   {QStringLiteral("theirs"), changedEverywhere(2)}},
                  {QStringLiteral("merge"), QStringLiteral("base.map"), QStringLiteral("ours.map"),
                   QStringLiteral("theirs.map"), QStringLiteral("out.map")},
                  1, "qzk-map merge did not report conflicts");
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
    return runBenchmarks<QApplication>(argc, argv);
}
