#pragma once

#include <QString>

#include <utility>

// Names of the floor files of one map. The base path is the map's path without ".map".
namespace MapFileName {

// Floor 1: base + ".map"; floor n = 2..9: base + "_n.map".
QString floorFilePath(const QString &basePath, int floor);
// The base path of the map whose floor-1 file was chosen: everything from the last "." of
// the last path component is dropped; a component without "." is kept whole.
QString basePathOf(const QString &chosenFile);
// The floor-1 file of the map a floor file belongs to: NAME.map for NAME_2.map .. NAME_9.map
// when that file exists, otherwise the file itself (a map may be called NAME_2 too).
QString floorOneFileOf(const QString &floorFile);
// The ends of two paths that tell them apart, with separators as the system writes them:
// the file names when they differ, otherwise as many folders as it takes (a/road.map and
// b/road.map).
std::pair<QString, QString> distinctEnds(const QString &first, const QString &second);

} // namespace MapFileName
