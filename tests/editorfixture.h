#pragma once

#include "mainwindow/boardview.h"
#include "mainwindow/mainwindow.h"
#include "painting/chippictures.h"
#include "session/editorsession.h"
#include "session/mapfileworkflow.h"
#include "session/recentmaps.h"
#include "session/viewsettings.h"
#include "stubdocumentopener.h"
#include "stubprompter.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The editor as the program builds it, with a stub answering its questions.
struct EditorFixture
{
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session{document, descriptions};
    ChipPictures pictures;
    StubPrompter prompter;
    StubDocumentOpener opener;
    // A scratch settings file, so no test sees or leaves a user's recent maps.
    QTemporaryDir settingsFolder;
    QSettings settings{settingsFolder.filePath(QStringLiteral("settings.ini")),
                       QSettings::IniFormat};
    RecentMaps recentMaps{settings};
    ViewSettings view{settings};
    MapFileWorkflow files{session, prompter, recentMaps};
    MainWindow window{session, files, pictures, prompter, opener, view};

    // Shows the main window, which opens the first tool window with it.
    void show()
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("main window not exposed");
    }
};

// Where to click board cell (x, y) in the board view at 100 %.
inline QPoint cellCentre(int x, int y)
{
    return BoardPainter::cellRect(x, y).center();
}
