#include "benchmain.h"
#include "benchmaps.h"
#include "mainwindow/boardview.h"
#include "mainwindow/mainwindow.h"
#include "mapfile/mapfilewriter.h"
#include "model/cellstring.h"
#include "model/chipdescriptions.h"
#include "model/codetables.h"
#include "model/mapdata.h"
#include "model/mapdocument.h"
#include "painting/chippictures.h"
#include "prompts/messageboxprompter.h"
#include "prompts/systemdocumentopener.h"
#include "session/editorsession.h"
#include "session/mapfileworkflow.h"
#include "session/recentmaps.h"
#include "session/viewsettings.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// What a person waits for: the real main window and session, from the input to the next
// frame (pending events handled and the window painted again).
namespace {

// The full map saved once, and an editor that has opened it.
struct Editor
{
    QTemporaryDir dir;
    QString floorOneFile = dir.filePath(QStringLiteral("full.map"));
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session{document, descriptions};
    ChipPictures pictures;
    MessageBoxPrompter prompter;
    SystemDocumentOpener opener;
    QSettings settings{dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    RecentMaps recentMaps{settings};
    ViewSettings view{settings};
    MapFileWorkflow files{session, prompter, recentMaps};
    MainWindow window{session, files, pictures, prompter, opener, view};

    Editor()
    {
        MapFileWriter::save(fullMap(), dir.filePath(QStringLiteral("full")));
        window.show();
        frame();
    }

    bool open()
    {
        const bool ok = files.loadMap(floorOneFile).ok();
        frame();
        return ok && session.map().warpCount() == MapData::MaxWarps;
    }

    void frame()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        const QPixmap shown = window.grab();
        benchmark::DoNotOptimize(shown.cacheKey());
    }

    void mouse(QEvent::Type type, int x, int y, Qt::MouseButton button)
    {
        BoardView *board = window.board();
        const QPointF at = window.board()->cellRect(x, y).center();
        QMouseEvent event(type, at, board->mapToGlobal(at), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(board, &event);
    }
};

void BM_EnterWarpMode(benchmark::State &state)
{
    Editor editor;
    if (!editor.open())
        state.SkipWithError("the full map did not open");
    for (auto _ : state) {
        state.PauseTiming();
        editor.session.setEditMode(EditorSession::ChipMode);
        editor.frame();
        state.ResumeTiming();
        editor.session.setEditMode(EditorSession::WarpMode);
        editor.frame();
    }
}

// Markers shown: every floor holds some of the 79 pairs' ends.
void BM_SwitchFloorTabInWarpMode(benchmark::State &state)
{
    Editor editor;
    if (!editor.open())
        state.SkipWithError("the full map did not open");
    editor.session.setEditMode(EditorSession::WarpMode);
    editor.frame();
    int index = 0;
    for (auto _ : state) {
        index = (index + 1) % MapData::MaxFloors;
        editor.window.floorTabs()->setCurrentIndex(index);
        editor.frame();
    }
    if (editor.session.currentFloor() != index + 1)
        state.SkipWithError("the tabs did not switch floors");
}

// The line tool waits for its end at (1,16); each step moves the mouse to a far corner,
// which lays a new preview across the board.
// state.range(0): zoom in percent.
void BM_LinePreviewAcrossBoard(benchmark::State &state)
{
    Editor editor;
    if (!editor.open())
        state.SkipWithError("the full map did not open");
    editor.view.setZoomPercent(int(state.range(0)));
    editor.session.tools().toggleTool(QStringLiteral("line"));
    editor.mouse(QEvent::MouseButtonPress, 1, 16, Qt::LeftButton);
    editor.mouse(QEvent::MouseButtonRelease, 1, 16, Qt::LeftButton);
    editor.frame();
    if (editor.session.tools().line().state() != LineTool::WaitingEnd)
        state.SkipWithError("the line tool does not wait for its end");
    bool far = false;
    for (auto _ : state) {
        far = !far;
        editor.mouse(QEvent::MouseMove, 24, far ? 1 : 3, Qt::NoButton);
        editor.frame();
    }
}

// A stroke held down on the full map: each step moves the pointer to the next cell of a
// row across the board, which lays the chip there and paints the frame.
void BM_DragStrokeStep(benchmark::State &state)
{
    Editor editor;
    if (!editor.open())
        state.SkipWithError("the full map did not open");
    editor.mouse(QEvent::MouseButtonPress, 1, 1, Qt::LeftButton);
    editor.frame();
    int step = 0;
    for (auto _ : state) {
        ++step;
        const int x = 1 + step % MapData::Width;
        const int y = 1 + (step / MapData::Width) % MapData::Height;
        editor.mouse(QEvent::MouseMove, x, y, Qt::LeftButton);
        editor.frame();
    }
    editor.mouse(QEvent::MouseButtonRelease, 1, 1, Qt::LeftButton);
    if (editor.document.undoStack().count() != 1)
        state.SkipWithError("the stroke was not one step");
}

// The whole board of a floor with its markers and a check's overlay drawn again, markers
// included, at state.range(0) percent.
void BM_FullBoardRedrawZoomed(benchmark::State &state)
{
    Editor editor;
    if (!editor.open())
        state.SkipWithError("the full map did not open");
    editor.session.setEditMode(EditorSession::WarpMode);
    editor.session.checks().run();
    editor.session.checks().setOn(true);
    editor.view.setZoomPercent(int(state.range(0)));
    editor.frame();
    if (!editor.session.checks().shown())
        state.SkipWithError("no check overlay");
    for (auto _ : state) {
        const QPixmap board = editor.window.board()->grab();
        benchmark::DoNotOptimize(board.cacheKey());
    }
}

// One step of the cell cursor on a full map: the key, the cursor drawn at its new cell
// and, with state.range(1) on, what a screen reader then asks for: the focused cell of
// the board's table and its name. state.range(0): zoom in percent.
void BM_CursorStep(benchmark::State &state)
{
    Editor editor;
    if (!editor.open())
        state.SkipWithError("the full map did not open");
    editor.view.setZoomPercent(int(state.range(0)));
    BoardView *board = editor.window.board();
    editor.window.activateWindow();
    board->setFocus();
    editor.frame();
    if (!board->hasFocus())
        state.SkipWithError("the board did not take the keyboard");
    const bool reader = state.range(1) != 0;
    bool right = false;
    for (auto _ : state) {
        right = !right;
        QKeyEvent key(QEvent::KeyPress, right ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QCoreApplication::sendEvent(board, &key);
        if (reader) {
            QAccessibleInterface *table = QAccessible::queryAccessibleInterface(board);
            QAccessibleEvent focus(board, QAccessible::Focus);
            focus.setChild(BoardView::cellChildIndex(editor.session.cursor().cell()));
            QAccessibleInterface *cell = focus.accessibleInterface();
            benchmark::DoNotOptimize(cell->text(QAccessible::Name).size() + table->childCount());
        }
        editor.frame();
    }
}

void BM_OpenFullMap(benchmark::State &state)
{
    Editor editor;
    for (auto _ : state) {
        if (!editor.open())
            state.SkipWithError("the full map did not open");
    }
}

// Undo and redo in turn of one chip laid on the full map, in warp mode, where the markers
// are shown and follow the replayed step.
void BM_UndoRedoStep(benchmark::State &state)
{
    Editor editor;
    if (!editor.open())
        state.SkipWithError("the full map did not open");
    editor.session.tools().click(QPoint(5, 5), Qt::LeftButton);
    editor.session.setEditMode(EditorSession::WarpMode);
    editor.frame();
    bool undo = false;
    for (auto _ : state) {
        undo = !undo;
        if (undo)
            editor.session.undo();
        else
            editor.session.redo();
        editor.frame();
    }
    if (editor.document.undoStack().count() != 1)
        state.SkipWithError("the chip was not one step");
}

// The full map read again after an edit in the editor, which the files do not have.
void BM_ReloadFullMap(benchmark::State &state)
{
    Editor editor;
    if (!editor.open())
        state.SkipWithError("the full map did not open");
    bool other = false;
    for (auto _ : state) {
        state.PauseTiming();
        other = !other;
        editor.session.choices().setChip(other ? CellString::empty() : CellString::start());
        editor.session.tools().click(QPoint(5, 5), Qt::LeftButton);
        editor.frame();
        state.ResumeTiming();
        if (!editor.files.reloadMap().ok())
            state.SkipWithError("the full map was not read again");
        editor.frame();
    }
}

// The full map emptied, as the new-map command does once it is answered.
void BM_NewMapAfterFullMap(benchmark::State &state)
{
    Editor editor;
    for (auto _ : state) {
        state.PauseTiming();
        if (!editor.open())
            state.SkipWithError("the full map did not open");
        state.ResumeTiming();
        editor.session.resetMap();
        editor.frame();
    }
}

BENCHMARK(BM_EnterWarpMode)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_SwitchFloorTabInWarpMode)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_LinePreviewAcrossBoard)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);
BENCHMARK(BM_DragStrokeStep)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_FullBoardRedrawZoomed)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);
BENCHMARK(BM_CursorStep)
    ->Args({100, 0})
    ->Args({400, 0})
    ->Args({400, 1})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);
BENCHMARK(BM_OpenFullMap)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_UndoRedoStep)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ReloadFullMap)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_NewMapAfterFullMap)->Unit(benchmark::kMillisecond)->Repetitions(5);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QApplication>(argc, argv);
}
