#pragma once

#include "mainwindow/boardview.h"
#include "mainwindow/mainwindow.h"
#include "painting/chippictures.h"
#include "session/editorsession.h"
#include "session/mapfileworkflow.h"
#include "session/recentmaps.h"
#include "session/viewsettings.h"
#include "sessionscript.h"
#include "stubdocumentopener.h"
#include "stubprompter.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

// The editor as the program builds it, with a stub answering its questions.
struct EditorFixture
{
    // `beforeWindow` runs on the session before any window is built (a tool registered).
    explicit EditorFixture(const std::function<void(EditorSession &)> &beforeWindow = {})
        : prepared(beforeWindow ? (beforeWindow(session), true) : false)
    {
    }

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
    bool prepared;
    MainWindow window{session, files, pictures, prompter, opener, view};

    [[nodiscard]] bool play(const QString &script) { return ::play(session, script); }

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
