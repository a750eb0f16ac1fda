// qzk-map: map files from the shell, over the same core the editor uses.

#include "board/mapcheck.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

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

void printFault(const MapFault &fault)
{
    err() << forTerminal(fault.title) << '\n' << forTerminal(fault.message) << '\n';
    if (!fault.path.isEmpty())
        err() << fault.path << '\n';
    err().flush();
}

int resave(const QStringList &args)
{
    const QString suffix = QStringLiteral(".map");
    if (args.size() != 2 || !args[0].endsWith(suffix) || args[0].size() == suffix.size()) {
        err() << "usage: qzk-map resave IN.map OUTBASE\n";
        return Usage;
    }
    const MapLoadResult loaded = MapFileReader::load(args[0].chopped(suffix.size()));
    if (loaded.fault) {
        printFault(*loaded.fault);
        return Fault;
    }
    if (loaded.warpOverflow) {
        err() << MapLoadResult::warpOverflowTitle() << ": " << MapLoadResult::warpOverflowText()
              << '\n';
    }

    const MapSaveResult saved = MapFileWriter::save(loaded.map, args[1]);
    if (saved.fault) {
        printFault(*saved.fault);
        return Fault;
    }
    for (const QString &path : saved.staleFilesLeft)
        err() << "could not remove " << path << '\n';
    return Success;
}

int check(const QStringList &args)
{
    const QString suffix = QStringLiteral(".map");
    if (args.size() != 1 || !args[0].endsWith(suffix) || args[0].size() == suffix.size()) {
        err() << "usage: qzk-map check IN.map\n";
        return Usage;
    }
    const MapLoadResult loaded = MapFileReader::load(args[0].chopped(suffix.size()));
    if (loaded.fault) {
        printFault(*loaded.fault);
        return NotLoaded;
    }
    if (loaded.warpOverflow) {
        err() << MapLoadResult::warpOverflowTitle() << ": " << MapLoadResult::warpOverflowText()
              << '\n';
    }
    const MapCheck::Report report = MapCheck::run(loaded.map);
    for (const QString &line : report.lines)
        out() << forTerminal(line) << '\n';
    out().flush();
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
    {"check", "IN.map",
     "Reads the map whose floor-1 file is IN.map and checks it as the editor's map check\n"
     "      does: starts and goals, warp pairs, and whether a goal can be reached. Prints\n"
     "      the report, one finding per line. Exit status 0: no serious problem, 1: the\n"
     "      map may break during play, 2: the map cannot be cleared, 3: the map could not\n"
     "      be read (the message goes to standard error).",
     check},
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
              "Exit status of resave: 0 done, 1 the map could not be read or written (the\n"
              "message and line number go to standard error). Wrong arguments: 64.\n";
    stream.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
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
