#pragma once

#include "mainwindow/boardview.h"
#include "mainwindow/mainwindow.h"
#include "painting/chippictures.h"
#include "session/editorsession.h"
#include "stubprompter.h"

#include <QTest>

// The editor as the program builds it, with a stub answering its questions.
struct EditorFixture
{
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session{document, descriptions};
    ChipPictures pictures;
    StubPrompter prompter;
    MainWindow window{session, pictures, prompter};

    // Shows the main window, which opens the first tool window with it.
    void show()
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("main window not exposed");
    }
};

// Where to click board cell (x, y) in the board view.
inline QPoint cellCentre(int x, int y)
{
    return BoardView::cellRect(x, y).center();
}
