#include "painting/floorpictures.h"

#include "board/warppairs.h"
#include "painting/boardpainter.h"
#include "painting/cellcomposer.h"
#include "painting/chippictures.h"

#include <QDir>
#include <QSaveFile>

namespace FloorPictures {

QString fileName(const QString &mapName, int floor)
{
    return QStringLiteral("%1_%2.png").arg(mapName).arg(floor);
}

QImage draw(const MapData &map, int floor, qreal scale, const MapCheck::Report *check, bool values)
{
    const ChipPictures pictures(scale);
    const CellComposer composer(pictures);
    const BoardPainter painter(composer);
    return painter.floorPicture(map, floor, WarpPairs::markersOf(map), check, values);
}

QString write(const MapData &map, const QList<int> &floors, int scale,
              const MapCheck::Report *check, bool values, const QString &folder,
              const QString &mapName)
{
    const ChipPictures pictures(scale);
    const CellComposer composer(pictures);
    const BoardPainter painter(composer);
    const QVector<WarpPairs::Marker> markers = WarpPairs::markersOf(map);
    for (int floor : floors) {
        const QString path = QDir(folder).filePath(fileName(mapName, floor));
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            !painter.floorPicture(map, floor, markers, check, values).save(&file, "PNG") ||
            !file.commit())
            return path;
    }
    return {};
}

} // namespace FloorPictures
