// qzk-map: map files from the shell, over the same core the editor uses.

#include "board/mapcheck.h"
#include "board/mapdiff.h"
#include "board/mapmerge.h"
#include "board/mapstats.h"
#include "mapfile/floorfiletext.h"
#include "mapfile/mapfileform.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "model/chipdescriptions.h"
#include "painting/floorpictures.h"
#include "session/floorfilemerge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

enum ExitCode
{
    Success = 0,
    Fault = 1,  // the map could not be read or written
    Usage = 64, // apart from every command's own statuses
};

// Exit statuses of "check", one per verdict, so scripts can sort maps.
enum CheckStatus
{
    NoSeriousProblem = 0,
    MayBreakDuringPlay = 1,
    CannotBeCleared = 2,
    NotLoaded = 3,
    NotWritten = 4, // the report could not be written to standard output
};

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Message texts hold CR LF for the message boxes; the shell wants plain line ends.
QString forTerminal(const QString &text)
{
    QString plain = text;
    return plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString mapSuffix()
{
    return QStringLiteral(".map");
}

void printFault(const MapFault &fault)
{
    err() << forTerminal(fault.title) << '\n' << forTerminal(fault.message) << '\n';
    // File-system faults name their file in the message already.
    if (!fault.path.isEmpty() && !fault.message.contains(QDir::toNativeSeparators(fault.path)))
        err() << fault.path << '\n';
    err().flush();
}

bool isMapFileArgument(const QString &arg)
{
    return arg.endsWith(mapSuffix()) && arg.size() > mapSuffix().size();
}

// Reads the map whose floor-1 file is `file`; false (after saying why) when it could not be
// read. A map with too many pairs is still read, with a warning.
bool loadMap(const QString &file, MapData &map)
{
    const MapLoadResult loaded = MapFileReader::load(file.chopped(mapSuffix().size()));
    if (loaded.fault) {
        printFault(*loaded.fault);
        return false;
    }
    if (loaded.warpOverflow) {
        err() << MapLoadResult::warpOverflowTitle() << ": " << MapLoadResult::warpOverflowText()
              << '\n';
    }
    if (!loaded.replaced.isEmpty())
        err() << forTerminal(loaded.replacedText()) << '\n';
    err().flush();
    map = loaded.map;
    return true;
}

int resave(const QStringList &args)
{
    if (args.size() != 2 || !isMapFileArgument(args[0])) {
        err() << "usage: qzk-map resave IN.map OUTBASE\n";
        return Usage;
    }
    MapData map;
    if (!loadMap(args[0], map))
        return Fault;

    const MapSaveResult saved = MapFileWriter::save(map, args[1]);
    if (saved.fault) {
        printFault(*saved.fault);
        return Fault;
    }
    for (const QString &path : saved.staleFilesLeft)
        err() << "could not remove " << path << '\n';
    return Success;
}

// Exit statuses of "diff", as diff(1) has them, with check's for the faults.
enum DiffStatus
{
    SameMaps = 0,
    MapsDiffer = 1,
};

bool writeOut(const QByteArray &bytes)
{
    QFile stdoutFile;
    return stdoutFile.open(stdout, QIODevice::WriteOnly) &&
           stdoutFile.write(bytes) == bytes.size() && stdoutFile.flush();
}

int diff(const QStringList &args)
{
    const bool json = !args.isEmpty() && args[0] == QLatin1String("--json");
    const QStringList rest = json ? args.mid(1) : args;
    if (rest.size() != 2 || !isMapFileArgument(rest[0]) || !isMapFileArgument(rest[1])) {
        err() << "usage: qzk-map diff [--json] A.map B.map\n";
        return Usage;
    }
    MapData before;
    MapData after;
    if (!loadMap(rest[0], before) || !loadMap(rest[1], after))
        return NotLoaded;
    // Without the descriptions the lines name chips by their codes.
    ChipDescriptions names;
    names.load(ChipDescriptions::locate(QCoreApplication::applicationDirPath()));
    const MapDiff::Result result =
        MapDiff::compare(MapFileForm::of(before), MapFileForm::of(after), names);
    const QByteArray bytes =
        json ? QJsonDocument(result.toJson()).toJson(QJsonDocument::Compact) + '\n'
             : result.lines().join(u'\n').toUtf8() + (result.isSame() ? "" : "\n");
    if (!writeOut(bytes)) {
        err() << "qzk-map: cannot write the differences to standard output\n";
        return NotWritten;
    }
    return result.isSame() ? SameMaps : MapsDiffer;
}

QString verdictName(MapCheck::Verdict verdict);

ChipDescriptions chipNames()
{
    // Without the descriptions the lines name chips by their codes.
    ChipDescriptions names;
    names.load(ChipDescriptions::locate(QCoreApplication::applicationDirPath()));
    return names;
}

// Exit statuses of "merge", as git's merge drivers have them, with check's for the faults.
enum MergeStatus
{
    Merged = 0,
    Conflicts = 1,
};

int merge(const QStringList &args)
{
    const bool json = !args.isEmpty() && args[0] == QLatin1String("--json");
    const QStringList rest = json ? args.mid(1) : args;
    if (rest.size() != 4 || !std::all_of(rest.begin(), rest.end(), isMapFileArgument)) {
        err() << "usage: qzk-map merge [--json] BASE.map OURS.map THEIRS.map OUT.map\n";
        return Usage;
    }
    MapData base;
    MapData ours;
    MapData theirs;
    if (!loadMap(rest[0], base) || !loadMap(rest[1], ours) || !loadMap(rest[2], theirs))
        return NotLoaded;
    const MapMerge::Result result = MapMerge::merge(base, ours, theirs, chipNames());
    const MapSaveResult saved =
        MapFileWriter::save(result.merged, rest[3].chopped(mapSuffix().size()));
    if (saved.fault) {
        printFault(*saved.fault);
        return NotWritten;
    }
    for (const QString &path : saved.staleFilesLeft)
        err() << "could not remove " << path << '\n';
    // The merged map is the map written: a pair the reader drops would not be checked.
    const MapCheck::Report check = MapCheck::run(result.merged);
    QByteArray bytes;
    if (json) {
        QJsonObject root = result.toJson();
        root.insert(
            QStringLiteral("check"),
            QJsonObject{{QStringLiteral("verdict"), verdictName(check.verdict)},
                        {QStringLiteral("lines"), QJsonArray::fromStringList(check.lines)}});
        bytes = QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
    } else {
        QStringList lines = result.lines();
        lines.append(result.summary());
        lines.append(QStringLiteral("マップチェック："));
        for (const QString &line : check.lines)
            lines.append(forTerminal(line));
        bytes = lines.join(u'\n').toUtf8() + '\n';
    }
    if (!writeOut(bytes)) {
        err() << "qzk-map: cannot write the merge's report to standard output\n";
        return NotWritten;
    }
    return result.isClean() ? Merged : Conflicts;
}

bool readFile(const QString &path, QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err() << "qzk-map: cannot read " << path << ": " << file.errorString() << '\n';
        return false;
    }
    bytes = file.readAll();
    return true;
}

// git's merge driver: any trouble is a conflict, and OURS then stays as it was.
int mergeFile(const QStringList &args)
{
    if (args.size() != 3) {
        err() << "usage: qzk-map merge-file BASE OURS THEIRS\n";
        return Usage;
    }
    QByteArray base;
    QByteArray ours;
    QByteArray theirs;
    if (!readFile(args[0], base) || !readFile(args[1], ours) || !readFile(args[2], theirs))
        return Conflicts;
    const FloorFileMerge merged = FloorFileMerge::run(base, ours, theirs, chipNames());
    if (!merged.ok()) {
        err() << "qzk-map: " << merged.failure << '\n';
        err().flush();
        return Conflicts;
    }
    for (const QString &line : merged.merge.lines())
        err() << line << '\n';
    if (!merged.merge.isClean())
        err() << merged.merge.summary() << '\n';
    err().flush();
    if (merged.changesOurs) {
        QSaveFile file(args[1]);
        if (!file.open(QIODevice::WriteOnly) || file.write(merged.bytes) != merged.bytes.size() ||
            !file.commit()) {
            err() << "qzk-map: cannot write " << args[1] << ": " << file.errorString() << '\n';
            return Conflicts;
        }
    }
    return merged.merge.isClean() ? Merged : Conflicts;
}

int textconv(const QStringList &args)
{
    if (args.size() != 1) {
        err() << "usage: qzk-map textconv FLOOR.map\n";
        return Usage;
    }
    QFile file(args[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        err() << "qzk-map: cannot read " << args[0] << ": " << file.errorString() << '\n';
        return Fault;
    }
    if (!writeOut(FloorFileText::readable(file.readAll()).toUtf8())) {
        err() << "qzk-map: cannot write to standard output\n";
        return Fault;
    }
    return Success;
}

QString verdictName(MapCheck::Verdict verdict)
{
    switch (verdict) {
    case MapCheck::Verdict::NoSeriousProblem:
        return QStringLiteral("ok");
    case MapCheck::Verdict::MayBreakDuringPlay:
        return QStringLiteral("may-break");
    case MapCheck::Verdict::CannotBeCleared:
        break;
    }
    return QStringLiteral("impossible");
}

// Per floor that has any: "n": [[x, y], ...] in the given order.
QJsonObject cellsByFloor(const MapCheck::Report &report, int floorCount,
                         QVector<QPoint> (MapCheck::Report::*cellsOn)(int) const)
{
    QJsonObject floors;
    for (int floor = 1; floor <= floorCount; ++floor) {
        QJsonArray cells;
        for (const QPoint &cell : (report.*cellsOn)(floor))
            cells.append(QJsonArray{cell.x(), cell.y()});
        if (!cells.isEmpty())
            floors.insert(QString::number(floor), cells);
    }
    return floors;
}

QByteArray checkAsJson(const MapCheck::Report &report, int floorCount)
{
    QJsonArray lines;
    for (int i = 0; i < report.lines.size(); ++i) {
        const QString &text = report.lines[i];
        QJsonObject line{
            {QStringLiteral("text"), text},
            {QStringLiteral("error"), report.severities.value(i) == MapCheck::Severity::Error}};
        const MapCheck::Place place = report.places.value(i);
        if (place.isValid()) {
            line.insert(QStringLiteral("floor"), place.floor);
            line.insert(QStringLiteral("x"), place.x);
            line.insert(QStringLiteral("y"), place.y);
        }
        lines.append(line);
    }
    const QJsonObject root{
        {QStringLiteral("verdict"), verdictName(report.verdict)},
        {QStringLiteral("lines"), lines},
        {QStringLiteral("visited"), cellsByFloor(report, floorCount, &MapCheck::Report::visitedOn)},
        {QStringLiteral("route"), cellsByFloor(report, floorCount, &MapCheck::Report::routeOn)},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

int check(const QStringList &args)
{
    const bool json = !args.isEmpty() && args[0] == QLatin1String("--json");
    const QStringList rest = json ? args.mid(1) : args;
    if (rest.size() != 1 || !isMapFileArgument(rest[0])) {
        err() << "usage: qzk-map check [--json] IN.map\n";
        return Usage;
    }
    MapData map;
    if (!loadMap(rest[0], map))
        return NotLoaded;
    const MapCheck::Report report = MapCheck::run(map);
    bool written = false;
    if (json) {
        QFile stdoutFile;
        const QByteArray bytes = checkAsJson(report, map.floorCount()) + '\n';
        written = stdoutFile.open(stdout, QIODevice::WriteOnly) &&
                  stdoutFile.write(bytes) == bytes.size() && stdoutFile.flush();
    } else {
        for (const QString &line : report.lines)
            out() << forTerminal(line) << '\n';
        out().flush();
        written = out().status() == QTextStream::Ok;
    }
    // A verdict nobody could read is no verdict: scripts must not take it for success.
    if (!written) {
        err() << "qzk-map: cannot write the report to standard output\n";
        return NotWritten;
    }
    switch (report.verdict) {
    case MapCheck::Verdict::NoSeriousProblem:
        return NoSeriousProblem;
    case MapCheck::Verdict::MayBreakDuringPlay:
        return MayBreakDuringPlay;
    case MapCheck::Verdict::CannotBeCleared:
        break;
    }
    return CannotBeCleared;
}

QJsonArray chipCountsAsJson(const MapStats::Counts &counts)
{
    QJsonArray chips;
    for (const MapStats::ChipCount &chip : counts.chips)
        chips.append(QJsonObject{{QStringLiteral("cell"), chip.cell},
                                 {QStringLiteral("count"), chip.count}});
    return chips;
}

QJsonObject countsAsJson(const MapStats::Counts &counts)
{
    return {{QStringLiteral("chips"), chipCountsAsJson(counts)},
            {QStringLiteral("branchPoints"), counts.branchPoints},
            {QStringLiteral("pairs"), counts.pairs},
            {QStringLiteral("unreachable"), counts.unreachable}};
}

QByteArray statsAsJson(const MapStats &stats)
{
    const MapRoute &route = stats.route();
    QJsonValue routeValue = QJsonValue::Null;
    if (route.isFound()) {
        QJsonArray cells;
        for (const MapRoute::Place &place : route.cells())
            cells.append(QJsonArray{place.x, place.y, place.floor});
        routeValue = QJsonObject{{QStringLiteral("steps"), route.steps()},
                                 {QStringLiteral("warps"), route.jumps()},
                                 {QStringLiteral("cells"), cells}};
    }
    QJsonObject unreachable;
    QJsonObject floors;
    for (int floor = 1; floor <= stats.floorCount(); ++floor) {
        QJsonArray cells;
        for (const QPoint &cell : route.unreachableOn(floor))
            cells.append(QJsonArray{cell.x(), cell.y()});
        unreachable.insert(QString::number(floor), cells);
        floors.insert(QString::number(floor), countsAsJson(stats.floor(floor)));
    }
    const QJsonObject root{
        {QStringLiteral("route"), routeValue},
        {QStringLiteral("unreachable"), unreachable},
        {QStringLiteral("floors"), floors},
        {QStringLiteral("whole"), countsAsJson(stats.whole())},
        {QStringLiteral("pairs"), QJsonObject{{QStringLiteral("used"), stats.pairsUsed()},
                                              {QStringLiteral("free"), stats.pairsFree()}}},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

int stats(const QStringList &args)
{
    const bool json = !args.isEmpty() && args[0] == QLatin1String("--json");
    const QStringList rest = json ? args.mid(1) : args;
    if (rest.size() != 1 || !isMapFileArgument(rest[0])) {
        err() << "usage: qzk-map stats [--json] IN.map\n";
        return Usage;
    }
    MapData map;
    if (!loadMap(rest[0], map))
        return NotLoaded;
    const MapStats numbers = MapStats::compute(map);
    bool written = false;
    if (json) {
        QFile stdoutFile;
        const QByteArray bytes = statsAsJson(numbers) + '\n';
        written = stdoutFile.open(stdout, QIODevice::WriteOnly) &&
                  stdoutFile.write(bytes) == bytes.size() && stdoutFile.flush();
    } else {
        // Chip names come from the description file beside the program; without it the
        // lines name the chips by their cell texts alone.
        ChipDescriptions descriptions;
        const QString path = ChipDescriptions::locate(QCoreApplication::applicationDirPath());
        if (!path.isEmpty())
            descriptions.load(path);
        for (const QString &line : numbers.textLines(descriptions))
            out() << line << '\n';
        out().flush();
        written = out().status() == QTextStream::Ok;
    }
    if (!written) {
        err() << "qzk-map: cannot write the numbers to standard output\n";
        return NotWritten;
    }
    return Success;
}

int render(const QStringList &args)
{
    QStringList rest = args;
    int scale = 1;
    bool withCheck = false;
    bool values = true;
    for (bool optionsLeft = true; optionsLeft;) {
        optionsLeft = false;
        if (rest.size() > 1 && rest[0] == QLatin1String("--scale")) {
            scale = rest[1].toInt(); // 0, and so refused, when it is no number
            rest = rest.mid(2);
            optionsLeft = true;
        } else if (!rest.isEmpty() && rest[0] == QLatin1String("--check")) {
            withCheck = true;
            rest = rest.mid(1);
            optionsLeft = true;
        } else if (!rest.isEmpty() && rest[0] == QLatin1String("--no-values")) {
            values = false;
            rest = rest.mid(1);
            optionsLeft = true;
        }
    }
    if (rest.size() != 2 || !isMapFileArgument(rest[0]) || scale < 1 ||
        scale > FloorPictures::MaxScale) {
        err() << "usage: qzk-map render [--scale N] [--check] [--no-values] IN.map OUTDIR\n";
        return Usage;
    }
    MapData map;
    if (!loadMap(rest[0], map))
        return Fault;

    const QString folder = rest[1];
    if (!QDir().mkpath(folder)) {
        err() << "qzk-map: cannot create the folder " << folder << '\n';
        return Fault;
    }
    const QString name = QFileInfo(rest[0]).fileName().chopped(mapSuffix().size());
    const std::optional<MapCheck::Report> check =
        withCheck ? std::optional(MapCheck::run(map)) : std::nullopt;
    QList<int> floors;
    for (int floor = 1; floor <= map.floorCount(); ++floor)
        floors.append(floor);
    const QString failed =
        FloorPictures::write(map, floors, scale, check ? &*check : nullptr, values, folder, name);
    if (!failed.isEmpty()) {
        err() << "qzk-map: cannot write " << failed << '\n';
        return Fault;
    }
    return Success;
}

struct Command
{
    const char *name;
    const char *arguments;
    const char *summary;
    int (*run)(const QStringList &args);
};

const Command commands[] = {
    {"resave", "IN.map OUTBASE",
     "Reads the map whose floor-1 file is IN.map (floors 2..9 from IN_2.map ...) and\n"
     "      writes it under the base path OUTBASE: OUTBASE.map, OUTBASE_2.map, ... Files\n"
     "      OUTBASE_n.map above the map's floor count are removed. A faulty map is\n"
     "      reported with its line number and nothing is written.",
     resave},
    {"check", "[--json] IN.map",
     "Reads the map whose floor-1 file is IN.map and checks it as the editor's map check\n"
     "      does: starts and goals, warp pairs, and whether a goal can be reached. Prints\n"
     "      the report, one finding per line. Exit status 0: no serious problem, 1: the\n"
     "      map may break during play, 2: the map cannot be cleared, 3: the map could not\n"
     "      be read (the message goes to standard error), 4: the report could not be\n"
     "      written to standard output. With --json the report is one JSON object in\n"
     "      UTF-8: verdict, the lines with the cell each names, and the cells the search\n"
     "      visited and the route it found, per floor.",
     check},
    {"stats", "[--json] IN.map",
     "Reads the map whose floor-1 file is IN.map and prints its numbers as the editor's\n"
     "      map information window shows them: the shortest route from the start to a goal\n"
     "      (steps and warps), the warp pairs used and free, and per floor and for the\n"
     "      whole map the count of every chip, the branch points and the cells the start\n"
     "      cannot reach. With --json one JSON object in UTF-8: route (steps, warps and\n"
     "      the cells [x, y, floor] from the start to the goal, or null), unreachable\n"
     "      (per floor, [x, y] in reading order), floors, whole and pairs. Exit status 0,\n"
     "      3: the map could not be read, 4: the output could not be written.",
     stats},
    {"render", "[--scale N] [--check] [--no-values] IN.map OUTDIR",
     "Reads the map whose floor-1 file is IN.map and draws each floor as the editor does,\n"
     "      with the branch arms of every cell and the markers of every warp pair, into\n"
     "      OUTDIR/NAME_1.png, OUTDIR/NAME_2.png, ... (NAME is IN.map without \".map\"; one\n"
     "      picture per floor, 576 x 384 pixels, or N times that with --scale N, N = 1..4).\n"
     "      OUTDIR is created when missing; pictures already there are replaced. With\n"
     "      --check the map check's findings are drawn over the cells as the editor shows\n"
     "      them after a check. Numbered chips show their values in a corner, as the\n"
     "      editor shows them by default; --no-values leaves them out.",
     render},
    {"diff", "[--json] A.map B.map",
     "Compares two whole maps (each named by its floor-1 file) and prints every\n"
     "      difference, floor by floor, one per line: cells whose chip or number changed,\n"
     "      branch settings, warp pairs added, removed or moved (pairs are matched by\n"
     "      their two ends, not their numbers), floor names, backgrounds and comments,\n"
     "      floors added or removed. Exit status 0: the maps are the same, 1: they differ, 3: a\n"
     "      map could not be read, 4: the output could not be written. With --json the\n"
     "      differences are one JSON object in UTF-8.",
     diff},
    {"merge", "[--json] BASE.map OURS.map THEIRS.map OUT.map",
     "Merges two maps changed from one base (each named by its floor-1 file) and writes\n"
     "      the merged map under OUT.map: cells, branch settings and floor texts changed on\n"
     "      one side take that side's value; warp pairs (matched by their two ends) added,\n"
     "      removed or moved on one side are taken; floors added or removed on one side\n"
     "      are taken. Where the sides changed one thing two ways the merged map holds\n"
     "      OURS' value and a line names the conflict. Prints the conflicts, a summary and\n"
     "      the map check of the merged map. Exit status 0: merged without conflicts, 1:\n"
     "      merged with conflicts, 3: a map could not be read, 4: the merged map or the\n"
     "      report could not be written. With --json the report is one JSON object.",
     merge},
    {"merge-file", "BASE OURS THEIRS",
     "Merges one floor file for git's merge driver (%O %A %B; see the README, \"Maps in\n"
     "      git\"): the changes from BASE to THEIRS go into OURS, which is written whole\n"
     "      and then put in place. Exit status 0: merged, 1: conflicts (OURS holds its own\n"
     "      value there) or a file could not be read or written (OURS is left as it was).",
     mergeFile},
    {"textconv", "FLOOR.map",
     "Prints one floor file as UTF-8 text, line for line as it is stored, for git's\n"
     "      textconv (see the README, \"Maps in git\").",
     textconv},
};

void printHelp(QTextStream &stream)
{
    stream << "usage: qzk-map COMMAND ARGUMENTS...\n"
              "\n"
              "Reads and writes Q:zK map files (one Shift-JIS file per floor) with the\n"
              "rules of the editor.\n"
              "\n"
              "commands:\n";
    for (const Command &command : commands)
        stream << "  " << command.name << ' ' << command.arguments << "\n      " << command.summary
               << '\n';
    stream << "\n"
              "Exit status of resave and render: 0 done, 1 the map could not be read or the\n"
              "files could not be written (the message and line number go to standard\n"
              "error). Wrong arguments: 64.\n";
    stream.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    // Only pictures need the GUI; without a display they are drawn offscreen.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && qstrcmp(argv[1], "render") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_WIN
        // Offscreen, Qt on Windows reads fonts from one folder only, by default one beside
        // its libraries that no installation has.
        if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR") && !qEnvironmentVariableIsEmpty("WINDIR"))
            qputenv("QT_QPA_FONTDIR",
                    (qEnvironmentVariable("WINDIR") + QStringLiteral("\\Fonts")).toLocal8Bit());
#endif
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        printHelp(err());
        return Usage;
    }
    if (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") ||
        args[0] == QLatin1String("help")) {
        printHelp(out());
        return Success;
    }
    for (const Command &command : commands) {
        if (args[0] == QLatin1String(command.name))
            return command.run(args.mid(1));
    }
    err() << "qzk-map: unknown command " << args[0] << " (see qzk-map --help)\n";
    return Usage;
}
