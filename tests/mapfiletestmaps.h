#pragma once

// Maps that match the fixtures under data/mapfile, built through the document API, and
// small file helpers for the map-file tests.

#include "mapfile/mapfilename.h"
#include "mapfile/mapfilewriter.h"
#include "model/cellstring.h"
#include "model/mapdata.h"

#include <QFile>
#include <QString>

inline QString mapFixturePath(const QString &name)
{
    return QStringLiteral(QZK_TEST_DATA "/mapfile/") + name;
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray mapFixture(const QString &name)
{
    return readFile(mapFixturePath(name));
}

// The texts as a floor file's lines, each ended by CR LF.
inline QByteArray fileLines(const QList<QByteArray> &texts)
{
    QByteArray bytes;
    for (const QByteArray &text : texts)
        bytes += text + "\r\n";
    return bytes;
}

// The grid lines of an empty floor; fewer than 16: a file cut short.
inline QByteArray emptyGrid(int lineCount = 16)
{
    return fileLines(QList<QByteArray>(lineCount, QByteArray(48, ' ')));
}

// Each floor's file, floor 1 first.
inline QList<QByteArray> floorFiles(const MapData &map)
{
    QList<QByteArray> files;
    for (int floor = 1; floor <= map.floorCount(); ++floor)
        files.append(MapFileWriter::encodeFloor(map, floor).bytes);
    return files;
}

// A null entry: no file for that floor.
inline bool writeFloorFiles(const QString &base, const QList<QByteArray> &files)
{
    for (int i = 0; i < files.size(); ++i) {
        if (!files[i].isNull() && !writeFile(MapFileName::floorFilePath(base, i + 1), files[i]))
            return false;
    }
    return true;
}

// The worked example: demo.map and demo_2.map.
inline MapData demoMap()
{
    MapData map = MapData::resetMap();
    map.setFloorCount(2);
    map.setCell(1, 1, 1, CellString::start());
    map.setCell(2, 1, 1, QStringLiteral("01_[]"));
    map.setCell(3, 1, 1, QStringLiteral("01_[]"));
    map.setCell(4, 1, 1, QStringLiteral("37_W1"));
    map.setBranch(2, 1, 1, QStringLiteral("2013"));
    map.setWarp(1, {4, 1, 1, 5, 6, 2});
    map.setFloorName(1, QStringLiteral("Hall"));
    map.setFloorEndText(1, QStringLiteral("Good luck"));
    map.setCell(5, 6, 2, QStringLiteral("37_W1"));
    return map;
}

// castle.map has every section; castle_2.map holds the way back.
inline MapData castleMap()
{
    MapData map = MapData::resetMap();
    map.setFloorCount(2);
    map.setCell(1, 1, 1, CellString::start());
    map.setCell(2, 1, 1, QStringLiteral("01_[]"));
    map.setCell(3, 1, 1, QStringLiteral("01_[]"));
    map.setCell(10, 5, 1, QStringLiteral("38_W2"));
    map.setCell(10, 6, 1, QStringLiteral("03_xm"));
    map.setCell(5, 8, 1, QStringLiteral("35_W5"));
    map.setCell(20, 10, 1, QStringLiteral("38_W2"));
    map.setCell(21, 10, 1, QStringLiteral("16_+A"));
    map.setCell(22, 10, 1, CellString::goal());
    map.setCell(24, 16, 1, QStringLiteral("46_!!"));
    map.setFloorBackground(1, QStringLiteral("img\\城.bmp"));
    map.setBranch(2, 1, 1, QStringLiteral("2013"));
    map.setBranch(3, 1, 1, QStringLiteral("3300"));
    map.setBranch(10, 6, 1, QStringLiteral("0123"));
    map.setWarp(1, {10, 5, 1, 20, 10, 1});
    map.setWarp(2, {5, 8, 1, 3, 3, 2});
    map.setWarp(3, {3, 3, 2, 5, 8, 1});
    map.setFloorName(1, QStringLiteral("大広間"));
    map.setFloorEndText(1, QStringLiteral("ゴールを目指せ！\r\nGood luck, 勇者"));
    map.setCell(3, 3, 2, QStringLiteral("36_W4"));
    return map;
}
