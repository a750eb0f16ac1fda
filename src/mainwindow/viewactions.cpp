#include "mainwindow/viewactions.h"

#include "dialogs/imageexportdialog.h"
#include "mainwindow/boardview.h"
#include "painting/floorpictures.h"
#include "session/editorsession.h"
#include "session/mapfileworkflow.h"
#include "session/prompter.h"
#include "session/viewsettings.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>

ViewActions::ViewActions(EditorSession &session, const MapFileWorkflow &files, ViewSettings &view,
                         Prompter &prompter, BoardView &board, QWidget *window)
    : QObject(window), mSession(session), mFiles(files), mView(view), mPrompter(prompter),
      mBoard(board), mWindow(window), mZoomLabel(new QLabel(window))
{
    mZoomLabel->setObjectName(QStringLiteral("zoomPanel"));
    connect(&mView, &ViewSettings::zoomChanged, this, &ViewActions::showZoom);
    connect(&mView, &ViewSettings::showValuesChanged, this,
            [this] { mBoard.setShowValues(mView.showsValues()); });
    connect(&mBoard, &BoardView::zoomStepRequested, this, [this](int direction) {
        if (direction > 0)
            mView.zoomIn();
        else
            mView.zoomOut();
    });
    mBoard.setShowValues(mView.showsValues());
    showZoom();
}

void ViewActions::addToViewMenu(QMenu *menu)
{
    mZoomIn = menu->addAction(QStringLiteral("拡大(&I)"));
    // Ctrl+= is the same key as Ctrl++ without Shift on most layouts.
    mZoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(mZoomIn, &QAction::triggered, &mView, &ViewSettings::zoomIn);
    mZoomOut = menu->addAction(QStringLiteral("縮小(&O)"));
    mZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    connect(mZoomOut, &QAction::triggered, &mView, &ViewSettings::zoomOut);
    QAction *actual = menu->addAction(QStringLiteral("等倍(&A)"));
    actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(actual, &QAction::triggered, &mView, &ViewSettings::resetZoom);
    menu->addSeparator();
    QAction *values = menu->addAction(QStringLiteral("チップの数値を表示(&N)"));
    values->setCheckable(true);
    values->setChecked(mView.showsValues());
    connect(values, &QAction::toggled, &mView, &ViewSettings::setShowsValues);
    showZoom();
}

void ViewActions::addToMapMenu(QMenu *menu)
{
    QAction *save = menu->addAction(QStringLiteral("画像として保存(&I)..."));
    connect(save, &QAction::triggered, this, &ViewActions::askAndSavePictures);
}

void ViewActions::addToEditMenu(QMenu *menu)
{
    QAction *copy = menu->addAction(QStringLiteral("画像としてコピー(&I)"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    connect(copy, &QAction::triggered, this,
            [this] { QGuiApplication::clipboard()->setImage(boardPicture()); });
}

bool ViewActions::savePictures(const QString &folder, int scale, bool allFloors)
{
    const MapData &map = mSession.map();
    QList<int> floors;
    for (int floor = 1; floor <= map.floorCount(); ++floor)
        if (allFloors || floor == mSession.currentFloor())
            floors.append(floor);
    const QString base = QFileInfo(mSession.document().fileName()).fileName();
    const QString name = base.isEmpty() ? QStringLiteral("map") : base;

    QStringList existing;
    for (int floor : std::as_const(floors)) {
        const QString file = FloorPictures::fileName(name, floor);
        if (QFileInfo::exists(QDir(folder).filePath(file)))
            existing.append(file);
    }
    if (!existing.isEmpty() &&
        !mPrompter.askYesNo(mWindow, QStringLiteral("画像として保存"),
                            existing.join(QStringLiteral("\r\n")) +
                                QStringLiteral("\r\nは既にあります。置き換えますか？")))
        return false;

    const QString failed = QDir().mkpath(folder)
                               ? FloorPictures::write(map, floors, scale, mSession.checks().shown(),
                                                      mView.showsValues(), folder, name)
                               : folder;
    if (failed.isEmpty())
        return true;
    mPrompter.tell(
        mWindow, Prompter::Icon::Warning, QStringLiteral("Q:zKエディタ"),
        QStringLiteral("「%1」に書き込めませんでした。").arg(QDir::toNativeSeparators(failed)));
    return false;
}

QImage ViewActions::boardPicture() const
{
    return FloorPictures::draw(mSession.map(), mSession.currentFloor(), mView.scale(),
                               mSession.checks().shown(), mView.showsValues());
}

void ViewActions::askAndSavePictures()
{
    ImageExportDialog dialog(mFiles.fileDialogFolder(), mSession.currentFloor(), mWindow);
    if (dialog.exec() == QDialog::Accepted)
        savePictures(dialog.folder(), dialog.scale(), dialog.allFloors());
}

void ViewActions::showZoom()
{
    mBoard.setScale(mView.scale());
    mZoomLabel->setText(QStringLiteral("%1%").arg(mView.zoomPercent()));
    mZoomLabel->setVisible(mView.zoomPercent() != 100);
    if (mZoomIn)
        mZoomIn->setEnabled(mView.canZoomIn());
    if (mZoomOut)
        mZoomOut->setEnabled(mView.canZoomOut());
}
