#include "benchmaps.h"
#include "board/mapstats.h"
#include "model/cellfill.h"
#include "model/chipreplace.h"
#include "model/mapdocument.h"

#include <benchmark/benchmark.h>

// Edits and numbers that must fit in a frame: each as the editor runs it on the document,
// one step of the history.
namespace {

// Filling the whole empty board: finding the area and laying it.
void BM_FillWholeEmptyBoard(benchmark::State &state)
{
    MapDocument document;
    document.replace(MapData::resetMap());
    for (auto _ : state) {
        const QVector<QPoint> area = CellFill::area(document.data(), 1, {12, 8});
        document.layChips(area, 1, CellString::defaultChip(), QStringLiteral("塗りつぶし"));
        state.PauseTiming();
        if (area.size() != MapData::Width * MapData::Height || document.undoStack().count() != 1)
            state.SkipWithError("the fill did not cover the board in one step");
        document.undo();
        document.undoStack().clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FillWholeEmptyBoard)->Unit(benchmark::kMillisecond);

// The shortest route and the unreachable cells of nine full floors with 79 pairs.
void BM_RouteAndUnreachableFullMap(benchmark::State &state)
{
    const MapData map = fullMap();
    for (auto _ : state) {
        const MapRoute route = MapRoute::compute(map);
        benchmark::DoNotOptimize(route.unreachableCount());
    }
}
BENCHMARK(BM_RouteAndUnreachableFullMap)->Unit(benchmark::kMillisecond);

// All the map's numbers, as the information window recomputes them after an edit.
void BM_MapStatsFullMap(benchmark::State &state)
{
    const MapData map = fullMap();
    for (auto _ : state)
        benchmark::DoNotOptimize(MapStats::compute(map).pairsUsed());
}
BENCHMARK(BM_MapStatsFullMap)->Unit(benchmark::kMillisecond);

// Replacing a chip on all nine full floors, warp cells by road so their pairs go too.
void BM_ReplaceEveryFloor(benchmark::State &state)
{
    MapDocument document;
    document.replace(fullMap());
    const ChipReplace replacement(QStringLiteral("37_W1"), CellString::defaultChip(),
                                  ChipReplace::Scope::EveryFloor, 1);
    for (auto _ : state) {
        const int count = document.replaceChips(replacement);
        state.PauseTiming();
        if (count == 0 || document.undoStack().count() != 1)
            state.SkipWithError("nothing was replaced");
        document.undo();
        document.undoStack().clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReplaceEveryFloor)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
