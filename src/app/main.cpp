#include "app/chipdescriptions.h"
#include "app/editorsession.h"
#include "app/mapdocument.h"
#include "mainwindow/chippictures.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/prompter.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qzk-editor"));

    MapDocument document;
    ChipDescriptions descriptions;
    MessageBoxPrompter prompter;

    const ChipDescriptions::LoadResult loaded =
        descriptions.load(ChipDescriptions::locate(QCoreApplication::applicationDirPath()));
    if (loaded.status != ChipDescriptions::Status::Ok) {
        prompter.tell(nullptr, Prompter::Icon::Warning, QStringLiteral("Q:zKエディタ"),
                      loaded.message);
        // Without the file the editor still works, with blank descriptions.
        if (loaded.status == ChipDescriptions::Status::Failed)
            return 1;
    }

    EditorSession session(document, descriptions);
    const ChipPictures pictures(app.devicePixelRatio());
    MainWindow window(session, pictures, prompter);
    QObject::connect(&window, &MainWindow::quitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
