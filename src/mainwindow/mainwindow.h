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

class BoardView;
class ChipPictures;
class CompareActions;
class EditActions;
class Prompter;
class QAction;
class MapFilePrompts;
class QLabel;
class QMenu;
class QScrollArea;
class RecentMaps;
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
    MainWindow(EditorSession &session, const ChipPictures &pictures, Prompter &prompter,
               RecentMaps &recentMaps, ViewSettings &view, QWidget *parent = nullptr);

    BoardView *board() const { return mBoard; }
    QTabBar *floorTabs() const { return mFloorTabs; }
    // The tool window of the current mode, or none.
    ToolWindowFrame *toolWindow() const { return mToolWindow; }

    // Tool windows hand over F2..F7 (tool-window options and modes) and the undo and
    // redo keys; the matching menu command runs once their key event is over.
    bool requestDeferredCommand(const QKeySequence &keys) override;
    QWidget *hostWidget() override { return this; }

    // The quit question; true when the user confirmed (the program is then ending).
    bool quit();
    void newMap();
    void openMap();
    // Opens the help document; says so when it is missing or no program opens it.
    void showHelp();
    // Opens the map whose floor-1 file is given, as the open command does once a file is
    // chosen: a faulty map is reported and leaves an empty map. Every way of opening a map
    // (dialog, recent list, drop, command line) comes through here.
    void openMapFile(const QString &floorOneFile);
    // True when the map was written.
    bool overwriteMap();
    bool saveMapAs();
    // Before the map is replaced or the editor ends: true when that may go ahead (no
    // unsaved changes, or they were saved or given up).
    bool settleUnsavedChanges();
    QAction *undoAction() const { return mUndoAction; }
    QAction *redoAction() const { return mRedoAction; }
    EditActions *editActions() const { return mEditActions; }
    // The same after the question about unsaved changes, as dropped files and the recent
    // list open maps.
    void openMapFileAfterQuestion(const QString &floorOneFile);
    // A map from the recent list; a file that is gone is taken off the list instead.
    void openRecentMap(const QString &floorOneFile);
    void editFloorProperties();
    void addFloor();
    void moveFloor(int delta);
    void deleteFloor();
    Prompter &prompter() { return mPrompter; }
    void checkMap();
    CheckReportWindow *checkReport() const { return mCheckReport; }
    QAction *checkOverlayAction() const { return mCheckOverlayAction; }
    QMenu *recentMapsMenu() const { return mRecentMenu; }
    ViewActions *viewActions() const { return mViewActions; }
    CompareActions *compareActions() const { return mCompareActions; }

Q_SIGNALS:
    void quitRequested();

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
    // Saves the map under a base path; false (after telling the user) when it failed.
    bool writeMap(const QString &basePath);
    void showWarps();
    void showCaption();
    // Hides the tool window while a dialog is open.
    void withToolWindowHidden(const std::function<void()> &dialog);
    void showUndoActions();
    void fillRecentMenu();
    void rememberMap(const QString &floorOneFile);
    void showCheckOverlayState();
    // The window grows and shrinks with the board up to the screen; past that it scrolls.
    void fitBoard();
    // After a zoom step: the window on the screen, the tool window beside it.
    void keepWindowsApart(const QRect &room);

    EditorSession &mSession;
    const ChipPictures &mPictures;
    Prompter &mPrompter;
    RecentMaps &mRecentMaps;
    CellComposer mComposer;
    ToolColumn *mToolColumn = nullptr;

    QTabBar *mFloorTabs = nullptr;
    BoardView *mBoard = nullptr;
    QScrollArea *mBoardArea = nullptr;
    ViewActions *mViewActions = nullptr;
    CompareActions *mCompareActions = nullptr;
    QSize mBaseCentralSize;
    // Where the window stood before a zoom step moved it to keep it on the screen.
    std::optional<QPoint> mHomePosition;
    std::optional<QPoint> mToolHomePosition;
    QLabel *mStatusPanel = nullptr;
    QLabel *mPositionPanel = nullptr;

    ToolWindowFrame *mToolWindow = nullptr;
    MapFilePrompts *mFilePrompts = nullptr;
    bool mLoaded = false;
    bool mAskingToQuit = false;
    bool mQuitting = false;
    QPointer<CheckReportWindow> mCheckReport;

    EditActions *mEditActions = nullptr;
    QAction *mPropertyAction = nullptr;
    QAction *mUndoAction = nullptr;
    QAction *mRedoAction = nullptr;
    QList<QAction *> mToolWindowCommands;
    QAction *mCheckOverlayAction = nullptr;
    QMenu *mRecentMenu = nullptr;
    QAction *mEditModeActions[3] = {};
    QAction *mToolBoxActions[3] = {};
};
