#include "mapfile/mapfilename.h"

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

} // namespace MapFileName
