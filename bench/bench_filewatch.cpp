#include "benchmaps.h"
#include "mapfile/mapfilename.h"
#include "mapfile/mapfilewriter.h"
#include "model/chipdescriptions.h"
#include "model/mapdocument.h"
#include "session/editorsession.h"
#include "session/mapfileworkflow.h"
#include "session/prompter.h"
#include "session/recentmaps.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

// The open map's files changed by another program: how soon the session tells, and how
// long reading the full map again takes.
namespace {

// Keeps the map in memory whatever is asked.
struct SilentPrompter : Prompter
{
    bool askYesNo(QWidget *, const QString &, const QString &) override { return false; }
    UnsavedAnswer askUnsavedChanges(QWidget *, const QString &, const QString &) override
    {
        return UnsavedAnswer::Cancel;
    }
    RestoreAnswer askRestore(QWidget *, const QString &, const QString &) override
    {
        return RestoreAnswer::Later;
    }
    void tell(QWidget *, Icon, const QString &, const QString &) override {}
    void beep() override {}
    QString chooseOpenFile(QWidget *, const QString &) override { return {}; }
    QString chooseSaveFile(QWidget *, const QString &) override { return {}; }
};

struct Session
{
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session{document, descriptions};
    QTemporaryDir dir;
    QSettings settings{dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    RecentMaps recentMaps{settings};
    SilentPrompter prompter;
    MapFileWorkflow files{session, prompter, recentMaps};
    QString base = dir.filePath(QStringLiteral("full"));
    MapData versions[2] = {fullMap(), fullMap()};

    Session()
    {
        versions[1].setFloorName(1, QStringLiteral("外から"));
        if (MapFileWriter::save(versions[0], base).ok())
            files.loadMap(MapFileName::floorFilePath(base, 1));
    }
    bool isOpen() const { return document.fileName() == base; }
};

// From the rename of a new floor-1 file over the old one until the session tells.
void BM_RenameToQuestion(benchmark::State &state)
{
    Session s;
    MapFileWatch &watch = s.files.watch();
    int version = 0;
    for (auto _ : state) {
        version = 1 - version;
        const QString file = MapFileName::floorFilePath(s.base, 1);
        QFile next(s.base + QStringLiteral(".new"));
        if (!s.isOpen() || !next.open(QIODevice::WriteOnly) ||
            next.write(MapFileWriter::encodeFloor(s.versions[version], 1).bytes) < 0) {
            state.SkipWithError("the map could not be written");
            return;
        }
        next.close();
        QEventLoop loop;
        QObject::connect(&watch, &MapFileWatch::changedOutside, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, [&loop] { loop.exit(1); });
        const auto start = std::chrono::steady_clock::now();
        std::rename(qPrintable(next.fileName()), qPrintable(file));
        const bool told = loop.exec() == 0;
        const auto end = std::chrono::steady_clock::now();
        if (!told || !watch.takePendingChange()) {
            state.SkipWithError("the change was not told within 5 s");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_RenameToQuestion)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

// Reading the full nine-floor map again through the session, as one step of the history.
void BM_ReloadFullMap(benchmark::State &state)
{
    Session s;
    int version = 0;
    for (auto _ : state) {
        version = 1 - version;
        if (!s.isOpen() || !MapFileWriter::save(s.versions[version], s.base).ok()) {
            state.SkipWithError("the map could not be written");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        const bool ok = s.files.reloadMap().ok();
        const auto end = std::chrono::steady_clock::now();
        if (!ok || s.session.map().floorName(1) != s.versions[version].floorName(1)) {
            state.SkipWithError("the map was not read again");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_ReloadFullMap)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    // The watcher needs an event loop.
    QCoreApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
