#include "mainwindow/mainwindow.h"
#include "mainwindow/startup.h"
#include "model/appinfo.h"
#include "model/chipdescriptions.h"
#include "model/mapdocument.h"
#include "painting/chippictures.h"
#include "prompts/prompter.h"
#include "session/editorsession.h"
#include "session/recentmaps.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("qzk"));
    QApplication::setApplicationName(QStringLiteral("qzk-editor"));
    QApplication::setApplicationVersion(AppInfo::version());
    // Lets the desktop match the windows with the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QZK_APP_ID));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Q:zK map editor"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("map"),
                                 QStringLiteral("The floor-1 file (NAME.map) of a map to open."),
                                 QStringLiteral("[map]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fputs("qzk-editor: one map at most (see qzk-editor --help)\n", stderr);
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
    // The recent maps are the only thing kept between runs.
    QSettings settings;
    RecentMaps recentMaps(settings);
    MainWindow window(session, pictures, prompter, recentMaps);
    QObject::connect(&window, &MainWindow::quitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    // The map keeps the name it was given with, whatever folder the editor runs in.
    if (!files.isEmpty())
        window.openMapFile(QFileInfo(files.first()).absoluteFilePath());
    return app.exec();
}
