#include "mainwindow/compareactions.h"

#include "dialogs/comparewindow.h"
#include "mapfile/mapfilename.h"
#include "session/editorsession.h"
#include "session/mapfileworkflow.h"
#include "session/prompter.h"

#include <QMenu>

CompareActions::CompareActions(EditorSession &session, const MapFileWorkflow &files,
                               Prompter &prompter, QWidget *window, DialogRunner runDialog)
    : QObject(window), mSession(session), mFiles(files), mPrompter(prompter), mWindow(window),
      mRunDialog(std::move(runDialog))
{
}

QMenu *CompareActions::addToMapMenu(QMenu *menu)
{
    QMenu *compare = menu->addMenu(QStringLiteral("比較(&D)"));
    QAction *other = compare->addAction(QStringLiteral("ほかのマップと比較(&O)..."));
    connect(other, &QAction::triggered, this, &CompareActions::compareWithOtherMap);
    QAction *saved = compare->addAction(QStringLiteral("保存されたファイルと比較(&S)"));
    connect(saved, &QAction::triggered, this, &CompareActions::compareWithSaved);
    // A map never saved has no files to compare with.
    connect(compare, &QMenu::aboutToShow, this,
            [this, saved] { saved->setEnabled(mSession.comparison().canCompareWithSaved()); });
    return compare;
}

void CompareActions::compareWithOtherMap()
{
    QString chosen;
    mRunDialog([&] { chosen = mPrompter.chooseOpenFile(mWindow, mFiles.fileDialogFolder()); });
    if (!chosen.isEmpty())
        compareWithMapFile(MapFileName::floorOneFileOf(chosen));
}

void CompareActions::compareWithMapFile(const QString &floorOneFile)
{
    const MapLoadResult loaded = mSession.comparison().startWithMap(floorOneFile);
    if (loaded.fault) {
        mPrompter.tell(mWindow, Prompter::Icon::Warning, loaded.fault->title,
                       loaded.fault->message);
        return;
    }
    showWindow();
}

void CompareActions::compareWithSaved()
{
    if (!mSession.comparison().canCompareWithSaved()) {
        mPrompter.tell(mWindow, Prompter::Icon::Warning, QStringLiteral("Q:zKエディタ"),
                       QStringLiteral("このマップはまだ保存されていません。"));
        return;
    }
    const MapLoadResult loaded = mSession.comparison().startWithSaved();
    if (loaded.fault) {
        mPrompter.tell(mWindow, Prompter::Icon::Warning, loaded.fault->title,
                       loaded.fault->message);
        return;
    }
    showWindow();
}

void CompareActions::showWindow()
{
    if (!mCompareWindow) {
        mCompareWindow = new CompareWindow(mSession.comparison(), mWindow);
        connect(mCompareWindow, &CompareWindow::placeChosen, &mSession, &EditorSession::showPlace);
        // The outlines on the board go with the window.
        connect(mCompareWindow, &QObject::destroyed, &mSession.comparison(), &MapComparison::stop);
    }
    mCompareWindow->show();
    mCompareWindow->raise();
    mCompareWindow->activateWindow();
}
