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
#include "toolwindows/branchwindow.h"
#include "toolwindows/chippalette.h"
#include "toolwindows/warpwindow.h"

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>

// The child called `name`; a missing one ends the test run, as no check could go on.
template <typename T> T *child(const QObject *parent, const QString &name)
{
    T *found = parent ? parent->findChild<T *>(name) : nullptr;
    if (!found)
        qFatal("no %s", qPrintable(name));
    return found;
}

// The editor as the program builds it, with a stub answering its questions, and the
// gestures of a map maker at its windows.
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

    ChipPalette *palette() const { return qobject_cast<ChipPalette *>(window.toolWindow()); }
    BranchWindow *branchWindow() const { return qobject_cast<BranchWindow *>(window.toolWindow()); }
    WarpWindow *warpWindow() const { return qobject_cast<WarpWindow *>(window.toolWindow()); }

    // Through the window system, so a marker lying on the cell takes the click as it would.
    QPoint onWindow(int x, int y) const
    {
        return window.board()->mapTo(&window, BoardPainter::cellRect(x, y).center());
    }
    void clickCell(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(window.windowHandle(), button, {}, onWindow(x, y));
    }
    void hoverCell(int x, int y) { QTest::mouseMove(window.windowHandle(), onWindow(x, y)); }
    // The tool button called `name` in `in`, the main window unless given.
    void clickButton(const QString &name, const QObject *in = nullptr)
    {
        QTest::mouseClick(child<QToolButton>(in ? in : &window, name), Qt::LeftButton);
    }
    void clickTab(int index)
    {
        QTabBar *tabs = window.floorTabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }
    QStringList tabCaptions() const
    {
        QStringList captions;
        for (int i = 0; i < window.floorTabs()->count(); ++i)
            captions.append(window.floorTabs()->tabText(i));
        return captions;
    }
    void pickChip(int paletteCell, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(palette(), button, {}, ChipPalette::cellRect(paletteCell).center());
    }
    // A shortcut key reaches the main window's menus only while it is the active window.
    [[nodiscard]] bool pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        QTest::keyClick(&window, Qt::Key(key), modifiers);
        return true;
    }
    // The text of the label called `name` in `in`, the main window unless given.
    QString shown(const QString &name, const QObject *in = nullptr) const
    {
        return child<QLabel>(in ? in : &window, name)->text();
    }

    // The menu item, tool-column button or key action with this caption.
    QAction *action(const QString &caption) const
    {
        for (QAction *candidate : window.findChildren<QAction *>())
            if (candidate->text() == caption)
                return candidate;
        qFatal("no menu item %s", qPrintable(caption));
    }
    // Runs a command the way its menu item does.
    void trigger(const QString &caption) const { action(caption)->trigger(); }

    // The window's caption without the unsaved-changes mark.
    QString caption() const { return window.windowTitle().remove(QStringLiteral("[*]")); }

    // A marker label that still exists: markers of a replaced map are deleted later.
    QLabel *marker(int index) const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.findChild<QLabel *>(QStringLiteral("marker%1").arg(index));
    }

    // Drags a file from a file manager and drops it on the window; false if it is refused.
    bool dropFile(const QString &path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        const QPoint where = window.rect().center();
        QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&window, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&window, &drop);
        return true;
    }
};

// The main window's caption with nothing named, and with a floor's name or a file after it.
inline const QString PlainCaption = QStringLiteral("Q;zKマップエディタ");
inline QString captionWith(const QString &tail)
{
    return PlainCaption + QStringLiteral(" \uFF0D ") + tail;
}

// Where to click board cell (x, y) in the board view at 100 %.
inline QPoint cellCentre(int x, int y)
{
    return BoardPainter::cellRect(x, y).center();
}
