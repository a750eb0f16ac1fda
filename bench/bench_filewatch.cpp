#include "benchmaps.h"
#include "mapfile/mapfilename.h"
#include "mapfile/mapfilewriter.h"
#include "model/chipdescriptions.h"
#include "model/mapdocument.h"
#include "session/editorsession.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

// The open map's files changed by another program: how soon the session tells, and how
// long reading the full map again takes.
namespace {

struct Session
{
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session{document, descriptions};
    QTemporaryDir dir;
    QString base = dir.filePath(QStringLiteral("full"));
    MapData versions[2] = {fullMap(), fullMap()};

    Session()
    {
        versions[1].setFloorName(1, QStringLiteral("外から"));
        if (MapFileWriter::save(versions[0], base).ok())
            session.openMap(MapFileName::floorFilePath(base, 1));
    }
    bool isOpen() const { return session.map().mapFileName() == base; }
};

// From the rename of a new floor-1 file over the old one until the session tells.
void BM_RenameToQuestion(benchmark::State &state)
{
    Session s;
    MapFileWatch &watch = s.session.fileWatch();
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
        const bool ok = s.session.reloadMap().ok();
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
