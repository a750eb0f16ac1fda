#include "dialogs/helpdocument.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString HelpDocument::locate(const QString &programFolder)
{
    const QDir dir(programFolder);
    const QString candidates[] = {
        dir.filePath(fileName()),
        QDir::cleanPath(dir.filePath(QStringLiteral("../share/qzk-editor/")) + u'/' + fileName()),
    };
    for (const QString &path : candidates) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

bool HelpDocument::open(const QString &programFolder, QString &path)
{
    path = locate(programFolder);
    if (path.isEmpty()) {
        path = QDir(programFolder).absoluteFilePath(fileName());
        return false;
    }
    path = QFileInfo(path).absoluteFilePath();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
