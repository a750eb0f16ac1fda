#pragma once

#include "dialogs/checkreportwindow.h"
#include "painting/cellcomposer.h"
#include "session/editorsession.h"
#include "toolwindows/toolwindowhost.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class BoardView;
class ChipPictures;
class CompareActions;
class DocumentOpener;
class MergeActions;
class EditActions;
class ToolActions;
class FileActions;
class FloorCommands;
class MapActions;
class Prompter;
class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class MapFileWorkflow;
class QTabBar;
class QToolButton;
class ToolColumn;
class ToolWindowFrame;
class ViewActions;
class ViewSettings;

// The editor's main window: floor tabs over the board, the tool column on the right,
// the menus and the two-panel status bar.
class MainWindow : public QMainWindow, public ToolWindowHost
{
    Q_OBJECT

public:
    // The file menu's commands go to `files`, which asks its questions over this window;
    // the help goes to `opener`.
    MainWindow(EditorSession &session, MapFileWorkflow &files, const ChipPictures &pictures,
               Prompter &prompter, DocumentOpener &opener, ViewSettings &view,
               QWidget *parent = nullptr);

    BoardView *board() const { return mBoard; }
    QTabBar *floorTabs() const { return mFloorTabs; }
    // The tool window of the current mode, or none.
    ToolWindowFrame *toolWindow() const { return mToolWindow; }

    // Tool windows hand over F2..F7 (tool-window options and modes) and the undo and
    // redo keys; the matching menu command runs once their key event is over. Esc gives the
    // keys back to the board.
    bool requestDeferredCommand(const QKeySequence &keys) override;
    QWidget *hostWidget() override { return this; }

    // Opens the help document; says so when it is missing or no program opens it.
    void showHelp();
    QAction *undoAction() const { return mUndoAction; }
    QAction *redoAction() const { return mRedoAction; }
    EditActions *editActions() const { return mEditActions; }
    void editFloorProperties();
    FloorCommands *floorCommands() const { return mFloorCommands; }
    void checkMap();
    CheckReportWindow *checkReport() const { return mCheckReport; }
    QAction *checkOverlayAction() const { return mCheckOverlayAction; }
    FileActions *fileActions() const { return mFileActions; }
    ViewActions *viewActions() const { return mViewActions; }
    MapActions *mapActions() const { return mMapActions; }
    CompareActions *compareActions() const { return mCompareActions; }
    MergeActions *mergeActions() const { return mMergeActions; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildMenus();
    void onBoardRefreshed();
    void onStatusChanged();
    void onEditModeChanged(EditorSession::EditMode oldMode, EditorSession::EditMode newMode);
    void onToolBoxModeChanged();
    void applyToolBoxMode();
    ToolWindowFrame *createToolWindow(EditorSession::EditMode mode);
    void syncFloorTabs();
    // Tabs, caption, warp column and report follow every change of the document.
    void followMap(const MapChange &change);
    void showWarps();
    void showCaption();
    // Hides the tool window while a dialog is open.
    void withToolWindowHidden(const std::function<void()> &dialog);
    void showUndoActions();
    void showCheckOverlayState();
    // The window grows and shrinks with the board up to the screen; past that it scrolls.
    void fitBoard();
    // After a zoom step: the window on the screen, the tool window beside it.
    void keepWindowsApart(const QRect &room);

    EditorSession &mSession;
    MapFileWorkflow &mFiles;
    const ChipPictures &mPictures;
    Prompter &mPrompter;
    DocumentOpener &mOpener;
    CellComposer mComposer;
    ToolColumn *mToolColumn = nullptr;

    QTabBar *mFloorTabs = nullptr;
    BoardView *mBoard = nullptr;
    QScrollArea *mBoardArea = nullptr;
    ViewActions *mViewActions = nullptr;
    MapActions *mMapActions = nullptr;
    CompareActions *mCompareActions = nullptr;
    MergeActions *mMergeActions = nullptr;
    QSize mBaseCentralSize;
    // The tool column's controls and where each stands beside the board at its first size.
    std::vector<std::pair<QWidget *, QPoint>> mColumnHomes;
    // Where the window stood before a zoom step moved it to keep it on the screen.
    std::optional<QPoint> mHomePosition;
    std::optional<QPoint> mToolHomePosition;
    QLabel *mStatusPanel = nullptr;
    QLabel *mPositionPanel = nullptr;

    ToolWindowFrame *mToolWindow = nullptr;
    bool mLoaded = false;
    QPointer<CheckReportWindow> mCheckReport;

    EditActions *mEditActions = nullptr;
    ToolActions *mToolActions = nullptr;
    QAction *mPropertyAction = nullptr;
    QAction *mUndoAction = nullptr;
    QAction *mRedoAction = nullptr;
    QList<QAction *> mToolWindowCommands;
    QAction *mCheckOverlayAction = nullptr;
    FileActions *mFileActions = nullptr;
    FloorCommands *mFloorCommands = nullptr;
    QAction *mEditModeActions[3] = {};
    QAction *mToolBoxActions[3] = {};
};
