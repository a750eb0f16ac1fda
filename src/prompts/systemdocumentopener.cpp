#include "prompts/systemdocumentopener.h"

#include <QDesktopServices>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QDir>
#include <QProcess>
#include <QTimer>
#endif

#ifdef Q_OS_WIN

namespace {

// A program that cannot show the document ends within this time with an error.
constexpr int GiveUpMs = 5000;

} // namespace

void SystemDocumentOpener::open(const QString &path, QObject *context, std::function<void()> failed)
{
    const auto openDirectly = [path, failed] {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            failed();
    };
    const QString file = QDir::toNativeSeparators(path);
    // The command line would expand a name written between percent signs.
    if (file.contains(u'%') || file.contains(u'"')) {
        openDirectly();
        return;
    }
    // The shell counts a started program as success, but a launcher that finds no browser
    // (as under wine without one) ends at once with an error. "start /wait" hands on the
    // exit status of the program the shell started; a browser keeps running, or hands the
    // page to one already running and ends without error.
    auto *shell = new QProcess(context);
    shell->setProgram(QStringLiteral("cmd.exe"));
    shell->setNativeArguments(QStringLiteral("/d /v:off /c start \"\" /wait \"%1\"").arg(file));
    QObject::connect(shell, &QProcess::finished, shell,
                     [shell, failed](int code, QProcess::ExitStatus status) {
                         shell->deleteLater();
                         if (code != 0 || status != QProcess::NormalExit)
                             failed();
                     });
    QObject::connect(shell, &QProcess::errorOccurred, shell,
                     [shell, openDirectly](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         shell->deleteLater();
                         openDirectly();
                     });
    // Past this the program shows the page: the shell stops being watched. Ending it leaves
    // the program it started running.
    QTimer::singleShot(GiveUpMs, shell, [shell] {
        shell->disconnect();
        shell->deleteLater();
    });
    shell->start();
}

#else

void SystemDocumentOpener::open(const QString &path, QObject *, std::function<void()> failed)
{
    // xdg-open is started and left alone: whether it finds a browser is not told.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        failed();
}

#endif
