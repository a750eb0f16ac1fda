#include "mapfile/mapfilename.h"

#include <QFileInfo>
#include <QRegularExpression>

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
    static const QRegularExpression higherFloor(QStringLiteral("_[2-9]\\.map$"));
    const QRegularExpressionMatch match = higherFloor.match(floorFile);
    if (!match.hasMatch())
        return floorFile;
    const QString floorOne = floorFile.left(match.capturedStart()) + QStringLiteral(".map");
    return QFileInfo::exists(floorOne) ? floorOne : floorFile;
}

} // namespace MapFileName
