#include "mainwindow/fileactions.h"

#include "session/mapfileworkflow.h"
#include "session/recentmaps.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>

FileActions::FileActions(MapFileWorkflow &files, QObject *parent) : QObject(parent), mFiles(files)
{
    connect(&mFiles, &MapFileWorkflow::recentMapsChanged, this, &FileActions::fillRecentMenu);
}

void FileActions::addOpenAndSave(QMenu *mapMenu)
{
    QAction *newMap = mapMenu->addAction(QStringLiteral("新規作成(&N)"));
    connect(newMap, &QAction::triggered, &mFiles, &MapFileWorkflow::newMap);
    QAction *openMap = mapMenu->addAction(QStringLiteral("開く(&O)"));
    connect(openMap, &QAction::triggered, &mFiles, &MapFileWorkflow::openMap);
    mRecentMenu = mapMenu->addMenu(QStringLiteral("最近使ったマップ(&R)"));
    mRecentMenu->setToolTipsVisible(true);
    connect(mRecentMenu, &QMenu::aboutToShow, this, &FileActions::fillRecentMenu);
    fillRecentMenu();
    mapMenu->addSeparator();
    QAction *overSave = mapMenu->addAction(QStringLiteral("上書き保存(&S)"));
    overSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(overSave, &QAction::triggered, &mFiles, &MapFileWorkflow::overwriteMap);
    QAction *saveAs = mapMenu->addAction(QStringLiteral("名前を付けて保存(&A)"));
    connect(saveAs, &QAction::triggered, &mFiles, &MapFileWorkflow::saveMapAs);
}

void FileActions::addQuit(QMenu *mapMenu)
{
    QAction *quitAction = mapMenu->addAction(QStringLiteral("終了(&X)"));
    quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quitAction, &QAction::triggered, &mFiles, &MapFileWorkflow::quit);
}

void FileActions::fillRecentMenu()
{
    if (!mRecentMenu)
        return;
    // The item being chosen may be among them: it goes once its signal is over.
    const QList<QAction *> old = mRecentMenu->actions();
    for (QAction *action : old) {
        mRecentMenu->removeAction(action);
        action->deleteLater();
    }
    const QStringList files = mFiles.recentMaps().files();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString &file = files.at(i);
        const QFileInfo info(file);
        // Numbered as access keys; an "&" in the name is shown, not taken as one.
        QString name = info.fileName();
        name.replace(u'&', QStringLiteral("&&"));
        QAction *action = mRecentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        action->setToolTip(QDir::toNativeSeparators(info.absolutePath()));
        connect(action, &QAction::triggered, this, [this, file] { mFiles.openRecentMap(file); });
    }
    // Nothing to choose yet: the submenu stays greyed out.
    mRecentMenu->setEnabled(!files.isEmpty());
}
