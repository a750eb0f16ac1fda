#include "mainwindow/mapfileprompts.h"

#include "prompts/prompter.h"
#include "session/editorsession.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QWidget>

namespace {

QString editorTitle()
{
    return QStringLiteral("Q:zKエディタ");
}

} // namespace

MapFilePrompts::MapFilePrompts(EditorSession &session, Prompter &prompter, QWidget *window)
    : QObject(window), mSession(session), mPrompter(prompter), mWindow(window)
{
    mRetry.setSingleShot(true);
    connect(&mRetry, &QTimer::timeout, this, &MapFilePrompts::showWhenFree);
    MapFileWatch &watch = mSession.fileWatch();
    // Shown after the command under way (an open or a save) has finished.
    connect(&watch, &MapFileWatch::changedOutside, this, [this] { mRetry.start(0); });
    connect(&watch, &MapFileWatch::openElsewhere, this, [this] {
        mTellOpenElsewhere = true;
        mRetry.start(0);
    });
}

void MapFilePrompts::showWhenFree()
{
    if (mShowing || QApplication::activeModalWidget()) {
        mRetry.start(200);
        return;
    }
    const QScopedValueRollback showing(mShowing, true);
    if (mTellOpenElsewhere) {
        mTellOpenElsewhere = false;
        mPrompter.tell(mWindow, Prompter::Icon::Information, editorTitle(),
                       MapFileWatch::openElsewhereText());
    }
    MapFileWatch &watch = mSession.fileWatch();
    if (!watch.takePendingChange())
        return;
    const bool unsaved = mSession.hasUnsavedChanges();
    if (!mPrompter.askYesNo(mWindow, editorTitle(), watch.reloadQuestion(unsaved))) {
        watch.keepMapInMemory();
        return;
    }
    const MapLoadResult loaded = mSession.reloadMap();
    if (loaded.fault)
        mPrompter.tell(mWindow, Prompter::Icon::Warning, loaded.fault->title,
                       loaded.fault->message);
    else if (loaded.warpOverflow)
        mPrompter.tell(mWindow, Prompter::Icon::Warning, MapLoadResult::warpOverflowTitle(),
                       MapLoadResult::warpOverflowText());
}

bool MapFilePrompts::mayOverwrite()
{
    const MapFileWatch &watch = mSession.fileWatch();
    return !watch.changedSinceReadOrWritten() ||
           mPrompter.askYesNo(mWindow, editorTitle(), watch.overwriteQuestion());
}
