#pragma once

#include <QList>
#include <QObject>

class EditorSession;
class QAction;
class QIcon;
class QMenu;
class QRect;
class QWidget;

// The block commands of the edit menu (cut, copy, paste, delete, select all, flip and
// rotate), the selection, fill and rectangle tools, and the system clipboard.
class EditActions : public QObject
{
    Q_OBJECT

public:
    EditActions(EditorSession &session, QWidget *window, QMenu *editMenu);

    // The commands a tool window hands over by their keys.
    QList<QAction *> toolWindowCommands() const;
    QAction *selectionToolAction() const { return mSelectionTool; }
    QAction *fillToolAction() const { return mFillTool; }
    QAction *rectangleToolAction() const { return mRectangleTool; }
    // A tool column button for one of the tool actions above, shown where the tool works.
    void addToolButton(QWidget *parent, QAction *tool, const QRect &geometry, const QIcon &icon);

    void copy();
    void cut();
    void paste();

private:
    void showState();

    EditorSession &mSession;
    QAction *mSelectionTool = nullptr;
    QAction *mFillTool = nullptr;
    QAction *mRectangleTool = nullptr;
    QAction *mCut = nullptr;
    QAction *mCopy = nullptr;
    QAction *mPaste = nullptr;
    QAction *mDelete = nullptr;
    QAction *mSelectAll = nullptr;
    QAction *mTurns[4] = {};
    QAction *mDrop = nullptr;
};
