#include "benchmain.h"
#include "board/chipline.h"
#include "painting/cellcomposer.h"
#include "painting/chippictures.h"
#include "session/editorsession.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>

namespace {

// A floor where every cell holds a chip and a branch setting, composed cell by cell
// into one offscreen image as the board shows it.
// state.range(0): device pixel ratio; state.range(1): 1 to compose every cell afresh
// (the first redraw), 0 to reuse what earlier redraws composed.
void BM_FullBoardRedrawWithBranches(benchmark::State &state)
{
    const ChipPictures pictures(state.range(0));
    const bool cold = state.range(1) != 0;
    std::unique_ptr<CellComposer> composer = std::make_unique<CellComposer>(pictures);
    MapData map;
    for (int x = 1; x <= MapData::Width; ++x)
        for (int y = 1; y <= MapData::Height; ++y) {
            const int chip = 1 + (x * 16 + y) % 47;
            map.setCell(x, y, 1, QStringLiteral("%1_xx").arg(chip, 2, 10, QLatin1Char('0')));
            map.setBranch(x, y, 1,
                          QString::number(1000 + (x * y) % 4000).right(4).replace(u'4', u'3'));
        }
    QImage board(MapData::Width * 24 * state.range(0), MapData::Height * 24 * state.range(0),
                 QImage::Format_RGB32);
    board.setDevicePixelRatio(state.range(0));
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            composer = std::make_unique<CellComposer>(pictures);
            state.ResumeTiming();
        }
        QPainter painter(&board);
        for (int x = 1; x <= MapData::Width; ++x)
            for (int y = 1; y <= MapData::Height; ++y)
                painter.drawImage(QPoint((x - 1) * 24, (y - 1) * 24),
                                  composer->branchPicture(map.cell(x, y, 1), map.branch(x, y, 1)));
        painter.end();
        benchmark::DoNotOptimize(board.constBits());
    }
}
BENCHMARK(BM_FullBoardRedrawWithBranches)
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_LineWalkAcrossBoard(benchmark::State &state)
{
    for (auto _ : state) {
        QVector<QPoint> cells = chipLine(QPoint(1, 16), QPoint(24, 1));
        benchmark::DoNotOptimize(cells.data());
    }
}
BENCHMARK(BM_LineWalkAcrossBoard)->Unit(benchmark::kNanosecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QGuiApplication>(argc, argv);
}
