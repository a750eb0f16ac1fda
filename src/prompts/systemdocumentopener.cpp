#include "prompts/systemdocumentopener.h"

#ifdef Q_OS_WIN
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QWinEventNotifier>

#include <qt_windows.h>
#include <shellapi.h>

#include <string>
#else
#include <QDesktopServices>
#include <QUrl>
#endif

#ifdef Q_OS_WIN

namespace {

// A program that cannot show the document ends within this time with an error.
constexpr int GiveUpMs = 5000;

// The program started for a document, watched until it ends; owns its handle.
class StartedProgram final : public QWinEventNotifier
{
public:
    using QWinEventNotifier::QWinEventNotifier;
    ~StartedProgram() override
    {
        // The wait on the handle ends before the handle does.
        setEnabled(false);
        CloseHandle(handle());
    }
};

} // namespace

void SystemDocumentOpener::open(const QString &path, QObject *context, std::function<void()> failed)
{
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    const std::wstring folder =
        QDir::toNativeSeparators(QFileInfo(path).absolutePath()).toStdWString();
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // No box of the system's: the caller says what failed.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpDirectory = folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) {
        failed();
        return;
    }
    // No process: a program already running took the document.
    if (!info.hProcess)
        return;
    // The shell counts a started program as success, but a launcher that finds no browser
    // (as under wine without one) ends at once with an error. A browser keeps running, or
    // hands the page to one already running and ends without error.
    auto *program = new StartedProgram(info.hProcess, context);
    QObject::connect(program, &QWinEventNotifier::activated, program, [program, failed] {
        // An ended process stays signalled: once is enough.
        program->setEnabled(false);
        DWORD code = 0;
        const bool gaveUp = GetExitCodeProcess(program->handle(), &code) && code != 0;
        program->deleteLater();
        if (gaveUp)
            failed();
    });
    QTimer::singleShot(GiveUpMs, program, [program] { program->deleteLater(); });
}

#else

void SystemDocumentOpener::open(const QString &path, QObject *, std::function<void()> failed)
{
    // xdg-open is started and left alone: whether it finds a browser is not told.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        failed();
}

#endif
