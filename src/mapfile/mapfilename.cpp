#include "mapfile/mapfilename.h"

#include <QFileInfo>

namespace MapFileName {

QString floorFilePath(const QString &basePath, int floor)
{
    if (floor == 1)
        return basePath + QStringLiteral(".map");
    return basePath + QStringLiteral("_%1.map").arg(floor);
}

QString basePathOf(const QString &chosenFile)
{
    const qsizetype dot = chosenFile.lastIndexOf(u'.');
    const qsizetype separator =
        std::max(chosenFile.lastIndexOf(u'/'), chosenFile.lastIndexOf(u'\\'));
    if (dot < 0 || dot < separator)
        return chosenFile;
    return chosenFile.left(dot);
}

QString floorOneFileOf(const QString &floorFile)
{
    // "_n.map" with n = 2..9 at the end of the name.
    const QString suffix = QStringLiteral(".map");
    const qsizetype digit = floorFile.size() - suffix.size() - 1;
    if (digit < 2 || !floorFile.endsWith(suffix) || floorFile[digit - 1] != u'_' ||
        floorFile[digit] < u'2' || floorFile[digit] > u'9')
        return floorFile;
    const QString floorOne = floorFile.left(digit - 1) + suffix;
    return QFileInfo::exists(floorOne) ? floorOne : floorFile;
}

} // namespace MapFileName
