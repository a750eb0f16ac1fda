#pragma once

// Maps drawn as text, the sample map and the chip names of the data folder, and runs of a
// console program, for the tests of the map files and the map rules.

#include "consoletext.h"
#include "mapfile/mapfilereader.h"
#include "model/cellstring.h"
#include "model/chipdescriptions.h"
#include "model/mapdata.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <functional>

// One character per cell: "." empty, "#" road, "S" start, "G" goal, "1".."5" the warp chips
// W1..W5, "p" +7, "q" +10. Floors are separated by "|", rows by "/", from the top-left
// corner; branch settings read "x,y,f=digits"; pairs "x,y,f>x,y,f", numbered from 1 in
// their order unless "N:" in front gives the number.
inline MapData pictureMap(const QString &picture, const QStringList &branches = {},
                          const QStringList &pairs = {})
{
    using namespace Qt::StringLiterals;
    const auto cellOf = [](QChar c) {
        const QString letters = u"#SG12345pq"_s;
        const QStringList cells{u"01_[]"_s, CellString::start(), CellString::goal(), u"37_W1"_s,
                                u"38_W2"_s, u"39_W3"_s,          u"36_W4"_s,         u"35_W5"_s,
                                u"16_+7"_s, u"16_+A"_s};
        const qsizetype at = letters.indexOf(c);
        return at < 0 ? CellString::empty() : cells.at(at);
    };
    MapData map = MapData::resetMap();
    const QStringList floors = picture.split(u'|');
    map.setFloorCount(int(floors.size()));
    for (int f = 0; f < floors.size(); ++f) {
        const QStringList rows = floors[f].split(u'/');
        for (int y = 0; y < rows.size(); ++y) {
            for (int x = 0; x < rows[y].size(); ++x)
                map.setCell(x + 1, y + 1, f + 1, cellOf(rows[y][x]));
        }
    }
    for (const QString &branch : branches) {
        const QStringList at = branch.section(u'=', 0, 0).split(u',');
        map.setBranch(at[0].toInt(), at[1].toInt(), at[2].toInt(), branch.section(u'=', 1));
    }
    for (int i = 0; i < pairs.size(); ++i) {
        const QStringList n = pairs[i].split(QRegularExpression(u"[:,>]"_s));
        const qsizetype first = n.size() - 6;
        const auto byte = [&](int k) { return std::uint8_t(n[first + k].toInt()); };
        map.setWarp(first > 0 ? n[0].toInt() : i + 1,
                    {byte(0), byte(1), byte(2), byte(3), byte(4), byte(5)});
    }
    return map;
}

// A change to a map that a row holds until the test makes it.
using MapEdit = std::function<void(MapData &)>;

inline MapEdit cellEdit(int x, int y, int floor, const QString &cell)
{
    return [=](MapData &m) { m.setCell(x, y, floor, cell); };
}

inline MapEdit branchEdit(int x, int y, int floor, const QString &setting)
{
    return [=](MapData &m) { m.setBranch(x, y, floor, setting); };
}

inline MapEdit warpEdit(int pair, WarpRecord record)
{
    return [=](MapData &m) { m.setWarp(pair, record); };
}

// One after the other.
inline MapEdit edits(const QList<MapEdit> &list)
{
    return [=](MapData &m) {
        for (const MapEdit &edit : list)
            edit(m);
    };
}

inline QString meadowBase()
{
    return QStringLiteral(QZK_SOURCE_DATA "/../docs/sample/meadow");
}

// The sample map: two floors, pairs A and B on floor 1, C from floor 1 to 2, D back.
inline MapData meadow()
{
    return MapFileReader::load(meadowBase()).map;
}

inline ChipDescriptions tavolinDescriptions()
{
    ChipDescriptions names;
    names.load(QStringLiteral(QZK_SOURCE_DATA "/Tavolin.dat"));
    return names;
}

struct ProgramRun
{
    int exitCode = -1; // -2: it crashed
    QByteArray out;
    QString err;

    QString text() const { return QString::fromUtf8(out); }
};

// outputFile: where standard output goes instead of a pipe.
inline ProgramRun
runProgram(const QString &program, const QStringList &args,
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
           const QString &outputFile = {}, const QString &folder = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(program, args);
    ProgramRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = consoleText(process.readAllStandardOutput());
    run.err = QString::fromUtf8(consoleText(process.readAllStandardError()));
    return run;
}

#ifdef QZK_MAP_PROGRAM
inline ProgramRun
qzkMap(const QStringList &args, const QString &outputFile = {},
       const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    return runProgram(QStringLiteral(QZK_MAP_PROGRAM), args, environment, outputFile);
}
#endif
