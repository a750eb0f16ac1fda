#include "benchmaps.h"
#include "model/cellblock.h"
#include "model/chipdescriptions.h"
#include "model/mapdocument.h"
#include "session/editorsession.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

// Block edits as the session does them on the full map: each one step of the history,
// with the markers rebuilt.
namespace {

struct Session
{
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session{document, descriptions};

    Session() { session.takeLoadedMap(fullMap()); }
};

// A whole floor with 40 pairs inside, pasted onto floor 2 of a map with 39 pairs left.
void BM_PasteFullFloorWith40Pairs(benchmark::State &state)
{
    Session s;
    MapData map = fullMap();
    for (int pair = 40; pair <= MapData::MaxWarps; ++pair)
        map.setWarp(pair, WarpRecord{});
    s.session.takeLoadedMap(map);
    CellBlock block = CellBlock::extract(map, 1, CellBlock::board());
    for (int i = 0; i < 40; ++i)
        block.addPair({QPoint(i % 24, i % 16), QPoint(23 - i % 24, 15 - i % 16)});
    s.session.selectFloorTab(1);
    SelectionTool &blocks = s.session.tools().selection();
    for (auto _ : state) {
        state.PauseTiming();
        blocks.startFloating(block);
        blocks.track(QPoint(1, 1));
        state.ResumeTiming();
        blocks.press(QPoint(1, 1), Qt::LeftButton);
        state.PauseTiming();
        if (s.session.map().warpCount() != MapData::MaxWarps)
            state.SkipWithError("the pairs were not made");
        s.session.undo();
        state.ResumeTiming();
    }
}

// A 16 x 16 selection turned a quarter clockwise in place.
void BM_QuarterTurn16x16(benchmark::State &state)
{
    Session s;
    SelectionTool &blocks = s.session.tools().selection();
    blocks.setOn(true);
    blocks.press(QPoint(1, 1), Qt::LeftButton);
    blocks.move(QPoint(16, 16));
    blocks.release(QPoint(16, 16));
    if (blocks.selection() != QRect(1, 1, 16, 16))
        state.SkipWithError("nothing selected");
    for (auto _ : state)
        blocks.turn(CellBlock::Turn::RotateClockwise);
}

BENCHMARK(BM_PasteFullFloorWith40Pairs)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_QuarterTurn16x16)->Unit(benchmark::kMillisecond)->Repetitions(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
