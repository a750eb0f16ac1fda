#include "mapfile/mapfilename.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

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

std::pair<QString, QString> distinctEnds(const QString &first, const QString &second)
{
    const QStringList a = QDir::fromNativeSeparators(first).split(u'/');
    const QStringList b = QDir::fromNativeSeparators(second).split(u'/');
    qsizetype kept = 1;
    while (kept < a.size() && kept < b.size() && a[a.size() - kept] == b[b.size() - kept])
        ++kept;
    const auto end = [kept](const QStringList &parts) {
        return QDir::toNativeSeparators(
            parts.mid(std::max<qsizetype>(0, parts.size() - kept)).join(u'/'));
    };
    return {end(a), end(b)};
}

} // namespace MapFileName
