#include "dialogs/helpdocument.h"

#include <QCoreApplication>
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

bool HelpDocument::open()
{
    const QString path = locate(QCoreApplication::applicationDirPath());
    if (path.isEmpty())
        return false;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    return true;
}
