#include "mainwindow/mainwindow.h"

#include "app/editorsession.h"
#include "board/mapcheck.h"
#include "dialogs/aboutdialog.h"
#include "dialogs/checkreportwindow.h"
#include "dialogs/helpdocument.h"
#include "dialogs/propertiesdialog.h"
#include "mainwindow/boardview.h"
#include "mainwindow/chippictures.h"
#include "mainwindow/prompter.h"
#include "toolwindows/branchwindow.h"
#include "toolwindows/chippalette.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace {

// Layout is given in twips; the window works in logical pixels.
constexpr int twips(int value)
{
    return value / 15;
}

constexpr int ClientWidth = twips(9540);
constexpr int ClientHeight = twips(6540);

QString floorTabCaption(int floor)
{
    // The first tab keeps its full-width digit; tabs added later use ordinary digits.
    if (floor == 1)
        return QStringLiteral("１階");
    return QString::number(floor) + QStringLiteral("階");
}

} // namespace

MainWindow::MainWindow(EditorSession &session, const ChipPictures &pictures, Prompter &prompter,
                       QWidget *parent)
    : QMainWindow(parent), mSession(session), mPictures(pictures), mPrompter(prompter),
      mComposer(pictures)
{
    setWindowTitle(QStringLiteral("Q:zKマップエディタ"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    mStatusPanel = new QLabel(this);
    mPositionPanel = new QLabel(this);
    mStatusPanel->setObjectName(QStringLiteral("statusPanel"));
    mPositionPanel->setObjectName(QStringLiteral("positionPanel"));
    mPositionPanel->setMinimumWidth(twips(1800));
    statusBar()->addWidget(mStatusPanel, 1);
    statusBar()->addWidget(mPositionPanel);
    statusBar()->setSizeGripEnabled(false);

    auto *central = new QWidget(this);
    central->setFixedSize(ClientWidth, ClientHeight - statusBar()->sizeHint().height());
    central->setMouseTracking(true);
    central->installEventFilter(this);
    setCentralWidget(central);

    mFloorTabs = new QTabBar(central);
    mFloorTabs->setGeometry(twips(120), 0, twips(8655), twips(360));
    mFloorTabs->setExpanding(false);
    mFloorTabs->setDrawBase(false);
    mFloorTabs->addTab(floorTabCaption(1));
    connect(mFloorTabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            mSession.selectFloorTab(index);
    });

    mBoard = new BoardView(mSession, mComposer, central);
    mBoard->move(twips(120), twips(360));
    connect(mBoard, &BoardView::cellPressed, &mSession, &EditorSession::clickCell);
    connect(mBoard, &BoardView::cellHovered, &mSession, &EditorSession::hoverCell);

    buildToolColumn(central);
    buildMenus();

    connect(&mSession, &EditorSession::boardRefreshed, this, &MainWindow::onBoardRefreshed);
    connect(&mSession, &EditorSession::statusChanged, this, &MainWindow::onStatusChanged);
    connect(&mSession, &EditorSession::lineToolChanged, this, &MainWindow::onLineToolChanged);
    connect(&mSession, &EditorSession::selectedChipChanged, this, &MainWindow::showSample);
    connect(&mSession, &EditorSession::editModeChanged, this, &MainWindow::onEditModeChanged);
    connect(&mSession, &EditorSession::toolBoxModeChanged, this, &MainWindow::onToolBoxModeChanged);

    mSession.refreshBoard();
    onStatusChanged();
    onLineToolChanged();
    // One more redraw shortly after the window has opened.
    QTimer::singleShot(500, this, [this] { mSession.refreshBoard(); });

    adjustSize();
    setFixedSize(sizeHint());
}

void MainWindow::buildToolColumn(QWidget *central)
{
    mLineToolButton = new QToolButton(central);
    mLineToolButton->setObjectName(QStringLiteral("lineToolButton"));
    mLineToolButton->setCheckable(true);
    mLineToolButton->setGeometry(twips(8880), twips(480), twips(495), twips(495));
    mLineToolButton->setIcon(mPictures.lineToolIcon());
    mLineToolButton->setIconSize(QSize(26, 26));
    mLineToolButton->setToolTip(QStringLiteral("線を引くように、マップチップを配置します。"));
    connect(mLineToolButton, &QToolButton::clicked, this, [this] { mSession.toggleLineTool(); });

    mLineDrawLabel = new QLabel(QStringLiteral("LineDraw"), central);
    mLineDrawLabel->setGeometry(twips(8760), twips(1080), twips(735), twips(180) + 2);
    mLineDrawLabel->setObjectName(QStringLiteral("lineDrawLabel"));
    mLineDrawLabel->setAlignment(Qt::AlignCenter);
    QFont small = mLineDrawLabel->font();
    small.setPixelSize(10);
    mLineDrawLabel->setFont(small);

    mSample = new QLabel(central);
    mSample->setObjectName(QStringLiteral("sample"));
    mSample->setGeometry(twips(9000), twips(3720), twips(360), twips(360));

    mSampleCode = new QLabel(central);
    mSampleCode->setGeometry(twips(8880), twips(4080), twips(615), twips(255));
    mSampleCode->setObjectName(QStringLiteral("sampleCode"));
    mSampleCode->setAlignment(Qt::AlignCenter);
    QFont codeFont = mSampleCode->font();
    codeFont.setPointSizeF(11.25);
    mSampleCode->setFont(codeFont);

    const int modeTops[3] = {4440, 5040, 5640};
    const QString modeTips[3] = {QStringLiteral("マップチップ配置モード"),
                                 QStringLiteral("分岐点設定モード"),
                                 QStringLiteral("ワープ設定モード")};
    for (int i = 0; i < 3; ++i) {
        auto *button = new QToolButton(central);
        button->setObjectName(QStringLiteral("modeButton%1").arg(i + 1));
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setGeometry(twips(8880), twips(modeTops[i]), twips(495), twips(495));
        button->setIcon(mPictures.modeIcon(i + 1));
        button->setIconSize(QSize(26, 26));
        button->setToolTip(modeTips[i]);
        connect(button, &QToolButton::clicked, this, [this, i] { mSession.setEditMode(i + 1); });
        mModeButtons[i] = button;
    }
    mModeButtons[0]->setChecked(true);
}

void MainWindow::buildMenus()
{
    QMenu *mapMenu = menuBar()->addMenu(QStringLiteral("マップ(&M)"));
    QAction *newMap = mapMenu->addAction(QStringLiteral("新規作成(&N)"));
    QAction *openMap = mapMenu->addAction(QStringLiteral("開く(&O)"));
    mapMenu->addSeparator();
    QAction *overSave = mapMenu->addAction(QStringLiteral("上書き保存(&S)"));
    overSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    QAction *saveAs = mapMenu->addAction(QStringLiteral("名前を付けて保存(&A)"));
    mapMenu->addSeparator();
    mPropertyAction = mapMenu->addAction(QStringLiteral("マップのプロパティ(&P)"));
    mPropertyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(mPropertyAction, &QAction::triggered, this, &MainWindow::editFloorProperties);
    mapMenu->addSeparator();
    QAction *quitAction = mapMenu->addAction(QStringLiteral("終了(&X)"));
    quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quitAction, &QAction::triggered, this, [this] { quit(); });

    QMenu *floorMenu = menuBar()->addMenu(QStringLiteral("階層(&S)"));
    QAction *floorRight = floorMenu->addAction(QStringLiteral("右に移動(&R)"));
    QAction *floorLeft = floorMenu->addAction(QStringLiteral("左に移動(&L)"));
    floorMenu->addSeparator();
    QAction *addFloor = floorMenu->addAction(QStringLiteral("フロアを１つ追加(&A)"));
    QAction *deleteFloor = floorMenu->addAction(QStringLiteral("このフロアを削除(&D)"));

    QMenu *viewMenu = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    const QString modeCaptions[3] = {QStringLiteral("マップ編集モード(&M)"),
                                     QStringLiteral("分岐点設定モード(&B)"),
                                     QStringLiteral("ワープ設定モード(&W)")};
    auto *modeGroup = new QActionGroup(this);
    for (int i = 0; i < 3; ++i) {
        mEditModeActions[i] = viewMenu->addAction(modeCaptions[i]);
        mEditModeActions[i]->setCheckable(true);
        mEditModeActions[i]->setShortcut(QKeySequence(Qt::Key_F5 + i));
        connect(mEditModeActions[i], &QAction::triggered, this,
                [this, i] { mSession.setEditMode(i + 1); });
        modeGroup->addAction(mEditModeActions[i]);
    }
    mEditModeActions[0]->setChecked(true);
    viewMenu->addSeparator();
    QMenu *toolBoxMenu = viewMenu->addMenu(QStringLiteral("ツールボックス(&T)"));
    const QString toolBoxCaptions[3] = {QStringLiteral("表示する(&V)"),
                                        QStringLiteral("普段は最小化(&C)"),
                                        QStringLiteral("表示しない(&X)")};
    auto *toolBoxGroup = new QActionGroup(this);
    for (int i = 0; i < 3; ++i) {
        mToolBoxActions[i] = toolBoxMenu->addAction(toolBoxCaptions[i]);
        mToolBoxActions[i]->setCheckable(true);
        mToolBoxActions[i]->setShortcut(QKeySequence(Qt::Key_F2 + i));
        connect(mToolBoxActions[i], &QAction::triggered, this,
                [this, i] { mSession.setToolBoxMode(i + 1); });
        toolBoxGroup->addAction(mToolBoxActions[i]);
    }
    mToolBoxActions[0]->setChecked(true);

    QMenu *toolMenu = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
    QAction *mapCheck = toolMenu->addAction(QStringLiteral("マップのチェック(&C)"));
    connect(mapCheck, &QAction::triggered, this, &MainWindow::checkMap);

    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    QAction *showHelp = helpMenu->addAction(QStringLiteral("ヘルプの表示(&C)"));
    showHelp->setShortcut(QKeySequence(Qt::Key_F1));
    // The help opens in the browser; a missing file is not worth a message.
    connect(showHelp, &QAction::triggered, this, [] { HelpDocument::open(); });
    helpMenu->addSeparator();
    QAction *about = helpMenu->addAction(QStringLiteral("バージョン情報(&A)"));
    connect(about, &QAction::triggered, this, [this] {
        withToolWindowHidden([this] {
            AboutDialog dialog(this);
            dialog.exec();
        });
    });

    // Commands whose windows and procedures are not built yet stay visibly unavailable.
    for (QAction *pending :
         {newMap, openMap, overSave, saveAs, floorRight, floorLeft, addFloor, deleteFloor})
        pending->setEnabled(false);
}

void MainWindow::withToolWindowHidden(const std::function<void()> &dialog)
{
    if (mToolWindow)
        mToolWindow->hide();
    dialog();
    // The dialog may have switched modes; the window of the mode now current comes back.
    if (mToolWindow && mSession.toolBoxMode() != EditorSession::ToolBoxHidden)
        mToolWindow->show();
}

void MainWindow::editFloorProperties()
{
    withToolWindowHidden([this] {
        PropertiesDialog dialog(mSession, mPrompter, mFileDialogFolder, this);
        // The caption shows a new floor name at once.
        if (dialog.exec() == QDialog::Accepted)
            mSession.refreshBoard();
    });
}

void MainWindow::checkMap()
{
    if (!mCheckReport)
        mCheckReport = new CheckReportWindow(this);
    mCheckReport->showReport(MapCheck::run(mSession.map()).lines);
}

void MainWindow::requestDeferredCommand(int key)
{
    QTimer::singleShot(10, this, [this, key] { runDeferredCommand(key); });
}

void MainWindow::runDeferredCommand(int key)
{
    if (key >= 2 && key <= 4)
        mToolBoxActions[key - 2]->trigger();
    else if (key >= 5 && key <= 7)
        mEditModeActions[key - 5]->trigger();
}

bool MainWindow::quit()
{
    if (!mPrompter.askYesNo(this, QStringLiteral("Q:zKエディタ"),
                            QStringLiteral("エディタを終了します。よろしいですか？")))
        return false;
    Q_EMIT quitRequested();
    return true;
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (mLoaded)
        return;
    mLoaded = true;
    mFileDialogFolder = QCoreApplication::applicationDirPath();
    // The first palette opens beside the editor; later tool windows take the place of
    // the one before.
    mToolWindow = createToolWindow(mSession.editMode());
    mToolWindow->move(frameGeometry().topRight() + QPoint(8, 0));
    mToolWindow->show();
}

ToolWindowFrame *MainWindow::createToolWindow(int mode)
{
    switch (mode) {
    case EditorSession::ChipMode:
        return new ChipPalette(mSession, *this, mPictures);
    case EditorSession::BranchMode:
        return new BranchWindow(mSession, *this);
    default:
        return nullptr;
    }
}

void MainWindow::onEditModeChanged(int, int mode)
{
    for (int i = 0; i < 3; ++i) {
        mEditModeActions[i]->setChecked(i + 1 == mode);
        mModeButtons[i]->setChecked(i + 1 == mode);
    }
    mLineToolButton->setVisible(mode == EditorSession::ChipMode);
    mLineDrawLabel->setVisible(mode == EditorSession::ChipMode);

    // The old window leaves its position behind for the new one.
    delete mToolWindow;
    mToolWindow = createToolWindow(mode);
    if (!mToolWindow)
        return;
    const QPoint position = mSession.toolBoxPosition();
    mToolWindow->move(position.x() / 15, position.y() / 15);
    applyToolBoxMode();
}

void MainWindow::onToolBoxModeChanged()
{
    for (int i = 0; i < 3; ++i)
        mToolBoxActions[i]->setChecked(i + 1 == mSession.toolBoxMode());
    applyToolBoxMode();
}

void MainWindow::applyToolBoxMode()
{
    if (!mToolWindow)
        return;
    switch (mSession.toolBoxMode()) {
    case EditorSession::ToolBoxShown:
        mToolWindow->rollDown();
        mToolWindow->show();
        break;
    case EditorSession::ToolBoxRolledUp:
        mToolWindow->rollUp();
        mToolWindow->show();
        break;
    default:
        mToolWindow->hide();
        break;
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The window never closes by itself: the quit command ends the program.
    event->ignore();
    quit();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::MouseMove)
        mSession.mouseOverBackground();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::onBoardRefreshed()
{
    syncFloorTabs();
    mBoard->render();
    setWindowTitle(mSession.windowCaption());
    mPropertyAction->setText(mSession.propertyMenuCaption());
    showSample();
}

void MainWindow::showSample()
{
    mSample->setPixmap(QPixmap::fromImage(mComposer.chipPicture(mSession.selectedChip())));
    mSampleCode->setText(mSession.sampleCode());
}

void MainWindow::onStatusChanged()
{
    mStatusPanel->setText(mSession.statusText());
    mPositionPanel->setText(mSession.positionText());
}

void MainWindow::onLineToolChanged()
{
    const bool on = mSession.lineToolState() != EditorSession::LineOff;
    mLineToolButton->setChecked(on);
    QPalette palette = mLineDrawLabel->palette();
    palette.setColor(QPalette::WindowText,
                     on ? QColor(Qt::black)
                        : palette.color(QPalette::Disabled, QPalette::WindowText));
    mLineDrawLabel->setPalette(palette);
}

void MainWindow::syncFloorTabs()
{
    const int floors = mSession.map().floorCount();
    const QSignalBlocker blocker(mFloorTabs);
    while (mFloorTabs->count() > floors)
        mFloorTabs->removeTab(mFloorTabs->count() - 1);
    while (mFloorTabs->count() < floors)
        mFloorTabs->addTab(floorTabCaption(mFloorTabs->count() + 1));
    mFloorTabs->setCurrentIndex(mSession.currentFloor() - 1);
}
