#include "board/mapcheck.h"
#include "model/mapdata.h"

#include <benchmark/benchmark.h>

namespace {

void setPair(MapData &map, int pair, int sx, int sy, int sf, int dx, int dy, int df)
{
    const auto b = [](int v) { return std::uint8_t(v); };
    map.setWarp(pair, {b(sx), b(sy), b(sf), b(dx), b(dy), b(df)});
}

// Nine floors full of road with a branch setting on every cell and all 79 pairs: NEXT cells
// at the bottom-left of floors 1..8 lead to the top-left of the next floor, BACK cells there
// lead back, and 63 warps on row 5 point back to their floor's entry.
MapData fullMap(const QString &road, const QString &rowSetting)
{
    MapData map = MapData::resetMap();
    map.setFloorCount(MapData::MaxFloors);
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
        for (int y = 1; y <= MapData::Height; ++y) {
            for (int x = 1; x <= MapData::Width; ++x) {
                map.setCell(x, y, floor, road);
                map.setBranch(x, y, floor, rowSetting);
            }
        }
    }
    int pair = 0;
    for (int floor = 1; floor < MapData::MaxFloors; ++floor) {
        map.setCell(1, 16, floor, QStringLiteral("36_W4"));
        setPair(map, ++pair, 1, 16, floor, 1, 1, floor + 1);
    }
    for (int floor = 2; floor <= MapData::MaxFloors; ++floor) {
        map.setCell(1, 1, floor, QStringLiteral("35_W5"));
        setPair(map, ++pair, 1, 1, floor, 1, 16, floor - 1);
    }
    for (int i = 0; pair < MapData::MaxWarps; ++i) {
        const int floor = 1 + i % MapData::MaxFloors;
        const int x = 3 + 3 * (i / MapData::MaxFloors);
        map.setCell(x, 5, floor, QStringLiteral("37_W1"));
        setPair(map, ++pair, x, 5, floor, 1, 1, floor);
    }
    map.setCell(1, 1, 1, QStringLiteral("33_S_"));
    return map;
}

// One way on from every cell: odd rows to the right, even rows to the left, down at the
// row ends, so the search walks all 3456 cells and finds the goal on the very last one.
MapData serpentineMap()
{
    MapData map = fullMap(QStringLiteral("01_[]"), QStringLiteral("0000"));
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
        for (int y = 1; y <= MapData::Height; ++y) {
            const bool toRight = y % 2 == 1;
            for (int x = 1; x <= MapData::Width; ++x) {
                const bool rowEnd = toRight ? x == MapData::Width : x == 1;
                map.setBranch(x, y, floor,
                              rowEnd    ? QStringLiteral("0001")
                              : toRight ? QStringLiteral("0010")
                                        : QStringLiteral("0100"));
            }
        }
        // The NEXT cell is left only through its pair.
        map.setBranch(1, 16, floor, QStringLiteral("0000"));
    }
    map.setCell(1, 16, MapData::MaxFloors, QStringLiteral("34_G_"));
    return map;
}

// Every direction open everywhere: branch points on every cell until the stack is full.
MapData openMap()
{
    MapData map = fullMap(QStringLiteral("01_[]"), QStringLiteral("3333"));
    map.setCell(24, 16, MapData::MaxFloors, QStringLiteral("34_G_"));
    return map;
}

void runCheck(benchmark::State &state, const MapData &map, MapCheck::Reachability expected)
{
    if (MapCheck::run(map).reachability != expected) {
        state.SkipWithError("the map does not exercise the search it was built for");
        return;
    }
    for (auto _ : state) {
        MapCheck::Report report = MapCheck::run(map);
        benchmark::DoNotOptimize(report);
    }
}

void BM_MapCheckSerpentine(benchmark::State &state)
{
    runCheck(state, serpentineMap(), MapCheck::Reachability::GoalReached);
}
BENCHMARK(BM_MapCheckSerpentine)->Unit(benchmark::kMicrosecond);

void BM_MapCheckOpenRoad(benchmark::State &state)
{
    runCheck(state, openMap(), MapCheck::Reachability::SearchAbandoned);
}
BENCHMARK(BM_MapCheckOpenRoad)->Unit(benchmark::kMicrosecond);

// The check as the board takes it: the report and the cells to draw on every floor.
void BM_MapCheckWithOverlay(benchmark::State &state)
{
    const MapData map = serpentineMap();
    for (auto _ : state) {
        const MapCheck::Report report = MapCheck::run(map);
        for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
            benchmark::DoNotOptimize(report.visitedOn(floor));
            benchmark::DoNotOptimize(report.routeOn(floor));
            benchmark::DoNotOptimize(report.namedOn(floor));
        }
    }
}
BENCHMARK(BM_MapCheckWithOverlay)->Unit(benchmark::kMicrosecond);

void BM_FindUnlinkedWarpCell(benchmark::State &state)
{
    const MapData map = serpentineMap();
    for (auto _ : state)
        benchmark::DoNotOptimize(MapCheck::findUnlinkedWarpCell(map));
}
BENCHMARK(BM_FindUnlinkedWarpCell)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
