#include "mainwindow/mainwindow.h"
#include "mainwindow/mergeactions.h"
#include "mainwindow/startup.h"
#include "model/appinfo.h"
#include "model/chipdescriptions.h"
#include "model/mapdocument.h"
#include "painting/chippictures.h"
#include "prompts/messageboxprompter.h"
#include "prompts/systemdocumentopener.h"
#include "session/editorsession.h"
#include "session/mapfileworkflow.h"
#include "session/recentmaps.h"
#include "session/recoverykeeper.h"
#include "session/recoveryoffer.h"
#include "session/recoverystore.h"
#include "session/viewsettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("qzk"));
    QApplication::setApplicationName(QStringLiteral("qzk-editor"));
    QApplication::setApplicationVersion(AppInfo::version());
    // Lets the desktop match the windows with the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QZK_APP_ID));

    // The whole interface is Japanese, so Qt's own texts (file dialogs, Yes and No) are
    // too, whatever the system's language. Without the translations they stay English.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    // The Windows package carries them next to the program.
    QTranslator qtTexts;
    for (const QString &folder :
         QStringList{QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (qtTexts.load(QStringLiteral("qtbase_ja"), folder)) {
            QApplication::installTranslator(&qtTexts);
            break;
        }
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Q:zK map editor"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("map"),
                                 QStringLiteral("The floor-1 file (NAME.map) of a map to open."),
                                 QStringLiteral("[map]"));
    const QCommandLineOption mergeOption(
        QStringLiteral("merge"),
        QStringLiteral("Merges two maps changed from one base, as git's mergetool: the floor-1 "
                       "files BASE LOCAL REMOTE MERGED follow. LOCAL opens as MERGED with "
                       "REMOTE's changes, the conflicts in their window; saving writes MERGED."));
    parser.addOption(mergeOption);
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    const bool merging = parser.isSet(mergeOption);
    if (merging ? files.size() != 4 : files.size() > 1) {
        std::fputs(merging ? "qzk-editor: --merge takes BASE LOCAL REMOTE MERGED\n"
                           : "qzk-editor: one map at most (see qzk-editor --help)\n",
                   stderr);
        return 1;
    }

    MapDocument document;
    ChipDescriptions descriptions;
    MessageBoxPrompter prompter;

    if (!Startup::readChipDescriptions(descriptions, prompter,
                                       QCoreApplication::applicationDirPath()))
        return 1;

    EditorSession session(document, descriptions);
    const ChipPictures pictures(app.devicePixelRatio());
    // The recent maps and how the board is shown are kept between runs.
    // An INI file under the user's AppData on Windows too, rather than the registry, as
    // the folder-based file on Linux.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings settings;
    RecentMaps recentMaps(settings);
    ViewSettings view(settings);
    MapFileWorkflow mapFiles(session, prompter, recentMaps);
    SystemDocumentOpener opener;
    MainWindow window(session, mapFiles, pictures, prompter, opener, view);
    // exit rather than quit: quit first asks every window to close, and the main window
    // answers a close with the quit question.
    QObject::connect(
        &mapFiles, &MapFileWorkflow::quitRequested, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    RecoveryStore recovery(RecoveryStore::defaultFolder());
    RecoveryKeeper keeper(document, recovery);
    keeper.followFiles(mapFiles.watch());
    QObject::connect(&keeper, &RecoveryKeeper::writeFailed, &window, [&] {
        session.status().tellText(keeper.failureStatusText());
        prompter.tellUnbidden(&window, Prompter::Icon::Warning, RecoveryOffer::title(),
                              keeper.failureMessage());
    });
    window.show();
    // Work a crash would have lost comes first; the map named on the command line then
    // asks about the recovered map's unsaved changes like any open.
    RecoveryOffer offer(recovery, keeper, mapFiles);
    const bool recovered = Startup::offerRecovery(offer, prompter, &window);
    // The map keeps the name it was given with, whatever folder the editor runs in.
    if (merging) {
        QStringList paths;
        for (const QString &file : files)
            paths.append(QFileInfo(file).absoluteFilePath());
        window.mergeActions()->mergeForTool(paths[0], paths[1], paths[2], paths[3]);
    } else if (!files.isEmpty()) {
        const QString file = QFileInfo(files.first()).absoluteFilePath();
        if (recovered)
            mapFiles.openMapFileAfterQuestion(file);
        else
            mapFiles.openMapFile(file);
    }
    return app.exec();
}
