#include "dialogs/helpdocument.h"

#include "prompts/documentopener.h"
#include "session/prompter.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

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

void HelpDocument::show(QWidget *window, const QString &programFolder, DocumentOpener &opener,
                        Prompter &prompter)
{
    const QString found = locate(programFolder);
    // A missing document is named where it was looked for first.
    const QString path = found.isEmpty() ? QDir(programFolder).absoluteFilePath(fileName())
                                         : QFileInfo(found).absoluteFilePath();
    const auto tell = [window, path, &prompter] {
        prompter.tell(window, Prompter::Icon::Warning, QStringLiteral("Q:zKエディタ"),
                      QStringLiteral("ヘルプファイル「%1」を開けませんでした。")
                          .arg(QDir::toNativeSeparators(path)));
    };
    if (found.isEmpty())
        tell();
    else
        opener.open(path, window, tell);
}
