#include "mainwindow/mainwindow.h"

#include "board/mapcheck.h"
#include "dialogs/aboutdialog.h"
#include "dialogs/checkreportwindow.h"
#include "dialogs/helpdocument.h"
#include "dialogs/propertiesdialog.h"
#include "mainwindow/boardview.h"
#include "mainwindow/compareactions.h"
#include "mainwindow/editactions.h"
#include "mainwindow/fileactions.h"
#include "mainwindow/floorcommands.h"
#include "mainwindow/keyboardfocus.h"
#include "mainwindow/mapactions.h"
#include "mainwindow/mergeactions.h"
#include "mainwindow/sidewindows.h"
#include "mainwindow/toolactions.h"
#include "mainwindow/toolcolumn.h"
#include "mainwindow/twips.h"
#include "mainwindow/viewactions.h"
#include "mainwindow/windowplacement.h"
#include "mapfile/mapfilename.h"
#include "painting/chippictures.h"
#include "prompts/spokennews.h"
#include "session/editorsession.h"
#include "session/mapfileworkflow.h"
#include "session/prompter.h"
#include "session/viewsettings.h"
#include "toolwindows/branchwindow.h"
#include "toolwindows/chippalette.h"
#include "toolwindows/warpwindow.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>

namespace {

constexpr int ClientWidth = twips(9540);
constexpr int ClientHeight = twips(6540);
// Between the main window and the tool window beside it.
constexpr int ToolWindowGap = SideWindows::Gap;
// The tool column's left edge, its lower part (the sample and the mode buttons) and the top
// of the tool buttons, where that part goes when the column folds in two.
constexpr int ColumnLeft = twips(8760);
constexpr int LowerColumnTop = twips(3720);
constexpr int FoldedTop = twips(480);

} // namespace

MainWindow::MainWindow(EditorSession &session, MapFileWorkflow &files, const ChipPictures &pictures,
                       Prompter &prompter, DocumentOpener &opener, ViewSettings &view,
                       QWidget *parent)
    : QMainWindow(parent), mSession(session), mFiles(files), mPictures(pictures),
      mPrompter(prompter), mOpener(opener), mComposer(pictures)
{
    mFiles.setWindow(this);
    setAcceptDrops(true);
    setWindowTitle(QStringLiteral("Q:zKマップエディタ"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    mStatusPanel = new QLabel(this);
    mPositionPanel = new QLabel(this);
    mStatusPanel->setObjectName(QStringLiteral("statusPanel"));
    mPositionPanel->setObjectName(QStringLiteral("positionPanel"));
    mPositionPanel->setMinimumWidth(twips(1800));
    // Left without names: a label without one tells a screen reader when its text changes.
    mStatusPanel->setAccessibleDescription(QStringLiteral("状態表示"));
    mPositionPanel->setAccessibleDescription(QStringLiteral("マスの位置"));
    // Named, so a reader's command for the status bar finds it; where Qt can send news,
    // prompts and messages are also spoken as they come (onStatusChanged).
    statusBar()->setAccessibleName(QStringLiteral("ステータスバー"));
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
    mFloorTabs->setAccessibleName(QStringLiteral("階"));
    mFloorTabs->addTab(mSession.floorTabCaptions().first());
    connect(mFloorTabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            mSession.selectFloorTab(index);
    });

    mBoardArea = new QScrollArea(central);
    mBoardArea->setFrameShape(QFrame::NoFrame);
    // Tab goes straight to the board inside.
    mBoardArea->setFocusPolicy(Qt::NoFocus);
    mBoard = new BoardView(mSession, mComposer);
    mBoardArea->setWidget(mBoard);
    mBoardArea->setGeometry(QRect(QPoint(twips(120), twips(360)), mBoard->size()));
    mViewActions = new ViewActions(mSession, mFiles, view, mPrompter, *mBoard, this);
    statusBar()->addPermanentWidget(mViewActions->zoomLabel());
    ToolSwitch &tools = mSession.tools();
    connect(mBoard, &BoardView::cellPressed, &tools, &ToolSwitch::press);
    connect(mBoard, &BoardView::cellHovered, &tools, &ToolSwitch::hover);
    connect(mBoard, &BoardView::cellDragged, &tools, &ToolSwitch::move);
    connect(mBoard, &BoardView::cellReleased, &tools, &ToolSwitch::release);
    connect(mBoard, &BoardView::shiftHeld, &tools, &ToolSwitch::setBorderOnly);
    connect(mBoard, &BoardView::markerRefused, this, [this] { mPrompter.beep(); });

    new SideWindows(*this, *mBoard, *this, [this]() -> QWidget * { return mToolWindow; });

    mToolColumn = new ToolColumn(mSession, mPictures, mComposer, central);
    mToolActions = new ToolActions(mSession, mPictures, this);
    mToolActions->addButtons(central);
    buildMenus();

    connect(&mSession, &EditorSession::boardRefreshed, this, &MainWindow::onBoardRefreshed);
    connect(&mSession.document(), &MapDocument::mapChanged, this, &MainWindow::followMap);
    connect(&mSession.status(), &StatusLine::changed, this, &MainWindow::onStatusChanged);
    connect(&mSession, &EditorSession::editModeChanged, this, &MainWindow::onEditModeChanged);
    connect(&mSession.toolBox(), &ToolBoxState::modeChanged, this,
            &MainWindow::onToolBoxModeChanged);
    connect(&mSession, &EditorSession::warpsChanged, this, &MainWindow::showWarps);
    connect(&mSession, &EditorSession::floorsChanged, this, &MainWindow::syncFloorTabs);
    connect(&mSession.document(), &MapDocument::modifiedChanged, this, &QWidget::setWindowModified);
    connect(&mSession.checks(), &CheckOverlay::changed, this, &MainWindow::showCheckOverlayState);
    connect(&mSession, &EditorSession::cellLocated, this, [this](QPoint cell) {
        // At a zoom where the board scrolls, the cell is brought into view first.
        const QRect rect = mBoard->cellRect(cell.x(), cell.y());
        mBoardArea->ensureVisible(rect.center().x(), rect.center().y(), rect.width(),
                                  rect.height());
        mBoard->flashCell(cell);
    });
    showCheckOverlayState();
    connect(&mFiles, &MapFileWorkflow::fileDialogOpening, this, [this] {
        if (mToolWindow)
            mToolWindow->hide();
    });
    connect(&mFiles, &MapFileWorkflow::fileDialogClosed, this, [this] {
        if (mToolWindow && mSession.toolBox().mode() != ToolBoxState::Hidden)
            mToolWindow->show();
    });

    // A menu's popup is named after its title, as a reader says where it is.
    menuBar()->setAccessibleName(QStringLiteral("メニューバー"));
    for (QMenu *menu : menuBar()->findChildren<QMenu *>())
        if (menu->windowTitle().isEmpty())
            menu->setWindowTitle(menu->menuAction()->text().remove(u'&'));

    // The board drew itself when it was made; the rest shows the session as it is. A map
    // opened later is told through the change event.
    syncFloorTabs();
    showCaption();
    setWindowModified(mSession.document().isModified());
    mToolColumn->showSample();
    onStatusChanged();

    mBaseCentralSize = central->size();
    connect(&view, &ViewSettings::zoomChanged, this, [this] {
        fitBoard();
        showWarps();
    });
    fitBoard();
    showWarps();
}

void MainWindow::fitBoard()
{
    QWidget *central = centralWidget();
    // Where the column's controls stand beside the board at its first size, unfolded.
    if (mColumnHomes.empty())
        for (QWidget *child :
             central->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (child != mBoardArea && child != mFloorTabs)
                mColumnHomes.emplace_back(child, child->pos());
    const QSize board = mBoard->size();
    QSize around = mBaseCentralSize - BoardPainter::size();
    const int columnWidth = mBaseCentralSize.width() - ColumnLeft;
    QSize view = board;
    bool folded = false;
    if (const QScreen *screen = this->screen()) {
        // The frame is unknown until the window manager has framed the window, which may be
        // after a first zoom; a title bar's worth is kept.
        QSize frame = frameGeometry().size() - geometry().size();
        if (frame.isEmpty())
            frame = QSize(8, 40);
        const QSize chrome(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
        const QSize free = screen->availableGeometry().size() - frame - chrome;
        // On a screen too low for the tool column (a small one at 200 %) its lower part
        // stands beside the tool buttons; the board scrolls in what is left.
        folded = free.height() < mBaseCentralSize.height();
        if (folded)
            around.rwidth() += columnWidth;
        const QSize room = free - around;
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        view = board.boundedTo(room);
        if (view.width() < board.width())
            view.setHeight(std::min(board.height() + bar, room.height()));
        if (view.height() < board.height())
            view.setWidth(std::min(board.width() + bar, room.width()));
    }
    // The tool column keeps its place right of the board and the window never gets lower
    // than the column.
    const int dx = view.width() - BoardPainter::size().width();
    int columnBottom = 0;
    int homeBottom = 0;
    for (const auto &[child, home] : mColumnHomes) {
        QPoint at = home + QPoint(dx, 0);
        if (folded && home.y() >= LowerColumnTop)
            at += QPoint(columnWidth, FoldedTop - LowerColumnTop);
        child->move(at);
        columnBottom = std::max(columnBottom, at.y() + child->height());
        homeBottom = std::max(homeBottom, home.y() + child->height());
    }
    mFloorTabs->resize(mFloorTabs->width() + view.width() - mBoardArea->width(),
                       mFloorTabs->height());
    mBoardArea->resize(view);
    const int columnHeight = columnBottom + mBaseCentralSize.height() - homeBottom;
    // Never narrower than the menu bar, which would otherwise fold its menus away.
    central->setFixedSize(std::max(around.width() + view.width(), menuBar()->sizeHint().width()),
                          std::max(columnHeight, around.height() + view.height()));
    // Limits and size change in one step: a window manager that sees the window resizable
    // for a moment may keep a resize handle on it.
    setFixedSize(sizeHint());
    if (const QScreen *screen = this->screen(); screen && isVisible())
        keepWindowsApart(screen->availableGeometry());
}

void MainWindow::keepWindowsApart(const QRect &room)
{
    // A window that grew past the screen's edge is moved back onto it, and back to where it
    // was once it fits there again.
    QRect frame = frameGeometry();
    const QPoint home = mHomePosition.value_or(frame.topLeft());
    QPoint at(std::max(room.left(), std::min(home.x(), room.right() - frame.width() + 1)),
              std::max(room.top(), std::min(home.y(), room.bottom() - frame.height() + 1)));
    // The tool window stays beside the grown window rather than over its board; where
    // neither side has room but the screen has room for both, the window makes way.
    const bool tool = mToolWindow && mToolWindow->isVisible();
    const QRect toolFrame = tool ? mToolWindow->frameGeometry() : QRect();
    const int both = frame.width() + ToolWindowGap + toolFrame.width();
    const QRect placed(at, frame.size());
    if (tool && toolFrame.intersects(placed) && both <= room.width() &&
        WindowPlacement::beside(toolFrame, placed, room, ToolWindowGap) == toolFrame.topLeft())
        at.setX(std::min(at.x(), room.right() + 1 - both));
    if (at == home)
        mHomePosition.reset();
    else if (!mHomePosition)
        mHomePosition = frame.topLeft();
    if (at != frame.topLeft())
        move(at);
    frame.moveTopLeft(at);
    if (!tool)
        return;
    // The tool window goes back to where it was too once nothing covers it there.
    QRect toolHome = toolFrame;
    if (mToolHomePosition)
        toolHome.moveTopLeft(*mToolHomePosition);
    QPoint toolAt = WindowPlacement::beside(toolHome, frame, room, ToolWindowGap);
    if (!toolHome.intersects(frame)) {
        mToolHomePosition.reset();
    } else if (toolAt == toolHome.topLeft()) {
        // No room on either side: it stays where it covers the least.
        toolAt = toolFrame.topLeft();
    } else if (!mToolHomePosition) {
        mToolHomePosition = toolFrame.topLeft();
    }
    if (toolAt != toolFrame.topLeft())
        mToolWindow->move(toolAt);
}

void MainWindow::buildMenus()
{
    QMenu *mapMenu = menuBar()->addMenu(QStringLiteral("マップ(&M)"));
    mFileActions = new FileActions(mFiles, this);
    mFileActions->addOpenAndSave(mapMenu);
    mViewActions->addToMapMenu(mapMenu);
    mCompareActions =
        new CompareActions(mSession, mFiles, mPrompter, this,
                           [this](const auto &dialog) { withToolWindowHidden(dialog); });
    QMenu *compareMenu = mCompareActions->addToMapMenu(mapMenu);
    mMergeActions = new MergeActions(mSession, mFiles, mPrompter, this,
                                     [this](const auto &dialog) { withToolWindowHidden(dialog); });
    mMergeActions->addToCompareMenu(compareMenu);
    mapMenu->addSeparator();
    mPropertyAction = mapMenu->addAction(QStringLiteral("マップのプロパティ(&P)"));
    mPropertyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(mPropertyAction, &QAction::triggered, this, &MainWindow::editFloorProperties);
    mapMenu->addSeparator();
    mFileActions->addQuit(mapMenu);

    QMenu *editMenu = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    mUndoAction = editMenu->addAction(QString());
    mUndoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(mUndoAction, &QAction::triggered, &mSession, &EditorSession::undo);
    mRedoAction = editMenu->addAction(QString());
    mRedoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(mRedoAction, &QAction::triggered, &mSession, &EditorSession::redo);
    QUndoStack &history = mSession.document().undoStack();
    for (auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(&history, signal, this, &MainWindow::showUndoActions);
    for (auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
        connect(&history, signal, this, &MainWindow::showUndoActions);
    showUndoActions();
    mToolWindowCommands = {mUndoAction, mRedoAction};
    mEditActions = new EditActions(mSession, this, editMenu, *mToolActions);
    mToolWindowCommands += mEditActions->toolWindowCommands();
    mToolWindowCommands += mToolActions->toolWindowCommands();
    editMenu->addSeparator();
    mViewActions->addToEditMenu(editMenu);
    mMapActions = new MapActions(mSession, mPictures, *mBoard, this);
    mMapActions->addToEditMenu(editMenu);
    mToolWindowCommands += mMapActions->toolWindowCommands();

    QMenu *floorMenu = menuBar()->addMenu(QStringLiteral("階層(&S)"));
    mFloorCommands = new FloorCommands(mSession, mPrompter, this, floorMenu);
    mToolWindowCommands += mFloorCommands->toolWindowCommands();

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
                [this, i] { mSession.setEditMode(EditorSession::EditMode(i + 1)); });
        modeGroup->addAction(mEditModeActions[i]);
        mToolWindowCommands.append(mEditModeActions[i]);
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
                [this, i] { mSession.toolBox().setMode(ToolBoxState::Mode(i + 1)); });
        toolBoxGroup->addAction(mToolBoxActions[i]);
        mToolWindowCommands.append(mToolBoxActions[i]);
    }
    mToolBoxActions[0]->setChecked(true);
    viewMenu->addSeparator();
    mViewActions->addToViewMenu(viewMenu);
    viewMenu->addSeparator();
    mToolWindowCommands.append((new KeyboardFocus(*mBoard, this, viewMenu))->switchAction());

    QMenu *toolMenu = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
    QAction *mapCheck = toolMenu->addAction(QStringLiteral("マップのチェック(&C)"));
    connect(mapCheck, &QAction::triggered, this, &MainWindow::checkMap);
    mCheckOverlayAction = toolMenu->addAction(QStringLiteral("チェック結果を盤面に表示(&S)"));
    mCheckOverlayAction->setCheckable(true);
    connect(mCheckOverlayAction, &QAction::toggled, &mSession.checks(), &CheckOverlay::setOn);
    mMapActions->addToToolMenu(toolMenu);

    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    QAction *showHelp = helpMenu->addAction(QStringLiteral("ヘルプの表示(&C)"));
    showHelp->setShortcut(QKeySequence(Qt::Key_F1));
    connect(showHelp, &QAction::triggered, this, &MainWindow::showHelp);
    helpMenu->addSeparator();
    QAction *about = helpMenu->addAction(QStringLiteral("バージョン情報(&A)"));
    connect(about, &QAction::triggered, this, [this] {
        withToolWindowHidden([this] {
            AboutDialog dialog(this);
            dialog.exec();
        });
    });
}

void MainWindow::withToolWindowHidden(const std::function<void()> &dialog)
{
    if (mToolWindow)
        mToolWindow->hide();
    dialog();
    // The dialog may have switched modes; the window of the mode now current comes back.
    if (mToolWindow && mSession.toolBox().mode() != ToolBoxState::Hidden)
        mToolWindow->show();
}

void MainWindow::showHelp()
{
    HelpDocument::show(this, QCoreApplication::applicationDirPath(), mOpener, mPrompter);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile() &&
        urls.first().toLocalFile().endsWith(QStringLiteral(".map")))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // Questions wait until the drop is over, so the program it came from is not kept waiting.
    const QString file = MapFileName::floorOneFileOf(urls.first().toLocalFile());
    QTimer::singleShot(0, this, [this, file] { mFiles.openMapFileAfterQuestion(file); });
}

void MainWindow::editFloorProperties()
{
    withToolWindowHidden([this] {
        // The caption follows a new floor name through the change event.
        PropertiesDialog dialog(mSession, mPrompter, mFiles.fileDialogFolder(), this);
        dialog.exec();
    });
}

void MainWindow::checkMap()
{
    if (!mCheckReport) {
        mCheckReport = new CheckReportWindow(this);
        connect(mCheckReport, &CheckReportWindow::placeChosen, &mSession,
                &EditorSession::locateCell);
        connect(mCheckReport, &CheckReportWindow::staleLineChosen, &mSession.status(),
                &StatusLine::tellText);
    }
    mCheckReport->showReport(mSession.checks().run());
}

void MainWindow::showCheckOverlayState()
{
    // The check result goes when the map changes; its report then speaks of the map as it was.
    if (mCheckReport && !mSession.checks().hasResult())
        mCheckReport->markStale();
    const QSignalBlocker blocker(mCheckOverlayAction);
    mCheckOverlayAction->setEnabled(mSession.checks().hasResult());
    mCheckOverlayAction->setChecked(mSession.checks().hasResult() && mSession.checks().isOn());
}

bool MainWindow::requestDeferredCommand(const QKeySequence &keys)
{
    // Esc leaves a tool window as it leaves the other windows: the keys go back to the board
    // and the window stays.
    if (keys == QKeySequence(Qt::Key_Escape)) {
        if (!mSession.warpWindow().isAskingDeletion())
            QTimer::singleShot(10, this, [this] {
                activateWindow();
                mBoard->setFocus(Qt::OtherFocusReason);
            });
        return true;
    }
    for (QAction *action : std::as_const(mToolWindowCommands)) {
        if (action->shortcuts().contains(keys)) {
            // The warp window's deletion question is answered first: its commands' keys
            // are swallowed, while Tab, Space and Enter still reach the answers.
            if (!mSession.warpWindow().isAskingDeletion())
                QTimer::singleShot(10, action, &QAction::trigger);
            return true;
        }
    }
    return false;
}

void MainWindow::showUndoActions()
{
    const QUndoStack &history = mSession.document().undoStack();
    // The step's name goes before the access key, as in "元に戻す: 線の描画(&U)".
    const auto caption = [](const QString &command, const QString &step, const QString &key) {
        return step.isEmpty() ? command + key : command + QStringLiteral(": ") + step + key;
    };
    mUndoAction->setText(
        caption(QStringLiteral("元に戻す"), history.undoText(), QStringLiteral("(&U)")));
    mUndoAction->setEnabled(history.canUndo());
    mRedoAction->setText(
        caption(QStringLiteral("やり直し"), history.redoText(), QStringLiteral("(&R)")));
    mRedoAction->setEnabled(history.canRedo());
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (mLoaded)
        return;
    mLoaded = true;
    // The keys start on the board, where the cell cursor shows them.
    mBoard->takeKeysAtStart();
    // The first palette opens beside the editor; later tool windows take the place of
    // the one before. Both are placed here: left to the window manager, they may land
    // on top of each other.
    mToolWindow = createToolWindow(mSession.editMode());
    const QScreen *screen = this->screen();
    if (!screen) {
        mToolWindow->move(frameGeometry().topRight() + QPoint(ToolWindowGap, 0));
        mToolWindow->show();
        return;
    }
    const QRect free = screen->availableGeometry();
    // Not framed yet, the tool window is given the main window's frame.
    const int toolWidth = mToolWindow->width() + frameGeometry().width() - width();
    const int both = frameGeometry().width() + ToolWindowGap + toolWidth;
    // Before the window manager has framed the window a move places its client area: room
    // is left for a title bar, which stays on the screen when the window is taller, and
    // for a border.
    const bool framed = frameGeometry().top() != geometry().top();
    const int titleBar = framed ? 0 : style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int border = framed ? 0 : 4;
    const int top = free.y() + titleBar +
                    std::max(0, (free.height() - titleBar - frameGeometry().height()) / 2);
    if (both <= free.width()) {
        move(free.x() + (free.width() - both) / 2, top);
        mToolWindow->move(frameGeometry().topRight() + QPoint(ToolWindowGap, 0));
    } else {
        // No room side by side: the tool window takes the screen's left edge, over the
        // board, which scrolls, rather than over the tool buttons on the right, the menus
        // or the tabs above the board. It stands at the board's foot, leaving the screen's
        // upper part to the windows that open later.
        move(std::max(free.x() + border, free.right() + 1 - border - frameGeometry().width()), top);
        const int boardTop = geometry().top() + mBoardArea->mapTo(this, QPoint(0, 0)).y();
        const int toolHeight =
            mToolWindow->height() + titleBar + frameGeometry().height() - height();
        const int toolTop = boardTop + std::max(0, mBoardArea->height() - toolHeight);
        mToolWindow->move(free.x(),
                          std::max(free.y(), std::min(toolTop, free.bottom() + 1 - toolHeight)));
    }
    mToolWindow->show();
}

ToolWindowFrame *MainWindow::createToolWindow(EditorSession::EditMode mode)
{
    switch (mode) {
    case EditorSession::ChipMode:
        return new ChipPalette(mSession, *this, mPictures);
    case EditorSession::BranchMode:
        return new BranchWindow(mSession, *this);
    case EditorSession::WarpMode:
        return new WarpWindow(mSession, *this, mPrompter);
    default:
        return nullptr;
    }
}

void MainWindow::onEditModeChanged(EditorSession::EditMode, EditorSession::EditMode mode)
{
    for (int i = 0; i < 3; ++i)
        mEditModeActions[i]->setChecked(i + 1 == mode);

    // The old window leaves its position behind for the new one.
    delete mToolWindow;
    mToolWindow = createToolWindow(mode);
    if (!mToolWindow)
        return;
    const QPoint position = mSession.toolBox().position();
    mToolWindow->move(position.x() / 15, position.y() / 15);
    applyToolBoxMode();
}

void MainWindow::onToolBoxModeChanged()
{
    for (int i = 0; i < 3; ++i)
        mToolBoxActions[i]->setChecked(i + 1 == mSession.toolBox().mode());
    applyToolBoxMode();
}

void MainWindow::applyToolBoxMode()
{
    if (!mToolWindow)
        return;
    switch (mSession.toolBox().mode()) {
    case ToolBoxState::Shown:
        mToolWindow->rollDown();
        mToolWindow->show();
        break;
    case ToolBoxState::RolledUp:
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
    mFiles.quit();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::MouseMove)
        mSession.tools().leave();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::onBoardRefreshed()
{
    syncFloorTabs();
    mBoard->render();
    showWarps();
    showCaption();
    mToolColumn->showSample();
}

void MainWindow::followMap(const MapChange &change)
{
    // A whole map's tabs follow the session's floorsChanged, the warp column the markers.
    const bool floorShown = change.replayed || change.has(MapChange::FloorShown);
    if (floorShown || change.has(MapChange::FloorCount))
        syncFloorTabs();
    // The caption names the floor shown and the property item its number.
    if (floorShown || change.has(MapChange::FloorCount) || change.has(MapChange::FileName) ||
        change.has(MapChange::FloorTexts))
        showCaption();
    // A report of another map would send the user to cells that are not there.
    if (change.has(MapChange::WholeMap) && mCheckReport)
        mCheckReport->close();
}

void MainWindow::showWarps()
{
    mBoard->showMarkers();
    mToolColumn->showWarps();
}

void MainWindow::showCaption()
{
    // The mark of unsaved changes goes where "[*]" stands; it follows modifiedChanged.
    setWindowTitle(mSession.windowCaption() + QStringLiteral("[*]"));
    mPropertyAction->setText(mSession.propertyMenuCaption() + QStringLiteral("(&P)"));
}

void MainWindow::onStatusChanged()
{
    const StatusLine &status = mSession.status();
    const QString text = status.text();
    if (text != mStatusPanel->text() && status.kind() != StatusLine::Kind::CellDescription)
        SpokenNews::tell(statusBar(), text);
    mStatusPanel->setText(text);
    mPositionPanel->setText(status.position());
}

void MainWindow::syncFloorTabs()
{
    const QStringList &captions = mSession.floorTabCaptions();
    const QSignalBlocker blocker(mFloorTabs);
    while (mFloorTabs->count() > captions.size())
        mFloorTabs->removeTab(mFloorTabs->count() - 1);
    for (int i = 0; i < captions.size(); ++i) {
        if (i >= mFloorTabs->count())
            mFloorTabs->addTab(captions[i]);
        // A caption set again, even unchanged, lays the whole bar out anew.
        else if (mFloorTabs->tabText(i) != captions[i])
            mFloorTabs->setTabText(i, captions[i]);
    }
    mFloorTabs->setCurrentIndex(mSession.currentFloor() - 1);
}
