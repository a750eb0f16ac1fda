#include "app/chipdescriptions.h"
#include "app/editorsession.h"
#include "app/mapdocument.h"
#include "mainwindow/chippictures.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/prompter.h"
#include "mainwindow/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qzk-editor"));

    MapDocument document;
    ChipDescriptions descriptions;
    MessageBoxPrompter prompter;

    if (!Startup::readChipDescriptions(descriptions, prompter,
                                       QCoreApplication::applicationDirPath()))
        return 1;

    EditorSession session(document, descriptions);
    const ChipPictures pictures(app.devicePixelRatio());
    MainWindow window(session, pictures, prompter);
    QObject::connect(&window, &MainWindow::quitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
