#pragma once

#include "board/mapcheck.h"

#include <QImage>
#include <QList>
#include <QString>

class MapData;

// Pictures of whole floors to show to others, as qzk-map render and the editor's picture
// commands write them: branch arms on every cell and every pair's markers.
namespace FloorPictures {

inline constexpr int MaxScale = 4;

// "NAME_n.png", NAME the map's file name without ".map".
QString fileName(const QString &mapName, int floor);
// Floor `floor` at `scale` times its size, with a check's findings when one is given and
// the numbered chips' values when `values` is on.
QImage draw(const MapData &map, int floor, qreal scale, const MapCheck::Report *check, bool values);
// Writes the pictures of `floors` into `folder`; a failed write leaves any older picture of
// that floor as it was. The path that could not be written, or empty when all were.
QString write(const MapData &map, const QList<int> &floors, int scale,
              const MapCheck::Report *check, bool values, const QString &folder,
              const QString &mapName);

} // namespace FloorPictures
