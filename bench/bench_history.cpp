#include "benchmaps.h"
#include "model/chipdescriptions.h"
#include "model/mapdocument.h"
#include "session/editorsession.h"
#include "session/recoverystore.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <malloc.h>

// Undo and redo as the session runs them (markers, tabs and signals included), on the
// full map, and the recovery copy.
namespace {

struct Session
{
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session{document, descriptions};

    Session() { session.takeLoadedMap(fullMap()); }
};

// Times only the undo or only the redo of one step done once beforehand.
template <typename Step> void undoAndRedo(benchmark::State &state, Step &&step)
{
    Session s;
    step(s.session);
    if (s.document.undoStack().count() != 1) {
        state.SkipWithError("the step did not make one history entry");
        return;
    }
    const bool timeUndo = state.range(0) == 0;
    if (!timeUndo)
        s.session.undo();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (timeUndo)
            s.session.undo();
        else
            s.session.redo();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        // The other half, untimed, so the next timed call has its step to take again.
        if (timeUndo)
            s.session.redo();
        else
            s.session.undo();
    }
    state.SetLabel(timeUndo ? "undo" : "redo");
}

void BM_BoardWideLine(benchmark::State &state)
{
    undoAndRedo(state, [](EditorSession &session) {
        session.choices().setChip(QStringLiteral("01_[]"));
        session.tools().toggleTool(QStringLiteral("line"));
        session.tools().click({1, 1}, Qt::LeftButton);
        session.tools().click({24, 16}, Qt::LeftButton);
    });
}
BENCHMARK(BM_BoardWideLine)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_FloorDeletion(benchmark::State &state)
{
    undoAndRedo(state, [](EditorSession &session) { session.deleteCurrentFloor(); });
}
BENCHMARK(BM_FloorDeletion)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_PropertiesOk(benchmark::State &state)
{
    undoAndRedo(state, [](EditorSession &session) {
        session.document().setFloorTexts(1, QStringLiteral("新しい名前"), QString(),
                                         QStringLiteral("おわり"));
    });
}
BENCHMARK(BM_PropertiesOk)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_RecoveryCopy(benchmark::State &state)
{
    QTemporaryDir dir;
    RecoveryStore store(dir.filePath(QStringLiteral("recovery")));
    const MapData map = fullMap();
    for (auto _ : state) {
        if (!store.write(map)) {
            state.SkipWithError("the copy was not written");
            return;
        }
    }
}
BENCHMARK(BM_RecoveryCopy)->Unit(benchmark::kMillisecond);

// The heap a history of 1,000 steps holds: chip clicks all over the full map, every tenth
// step a board-wide line. Measured as the growth of the heap in use (glibc's mallinfo2)
// between an empty history and a full one, so the map itself is not counted.
void BM_HistoryMemory(benchmark::State &state)
{
    for (auto _ : state) {
        Session s;
        const std::size_t before = mallinfo2().uordblks;
        for (int step = 0; step < 1000; ++step) {
            const QPoint cell(1 + step % 24, 1 + (step / 24) % 16);
            const QPoint first = step % 10 == 9 ? QPoint(1, cell.y()) : cell;
            // Always a chip the cell does not hold, so every step changes the map.
            const QString road = QStringLiteral("01_[]");
            s.session.choices().setChip(s.session.map().cell(first.x(), first.y(), 1) == road
                                            ? QStringLiteral("03_xm")
                                            : road);
            if (step % 10 == 9) {
                s.session.tools().toggleTool(QStringLiteral("line"));
                s.session.tools().click({1, cell.y()}, Qt::LeftButton);
                s.session.tools().click({24, cell.y()}, Qt::LeftButton);
                s.session.tools().toggleTool(QStringLiteral("line"));
            } else {
                s.session.tools().click(cell, Qt::LeftButton);
            }
        }
        const std::size_t after = mallinfo2().uordblks;
        state.counters["steps"] = double(s.document.undoStack().count());
        state.counters["history_MB"] = double(after - before) / (1024.0 * 1024.0);
    }
}
BENCHMARK(BM_HistoryMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
