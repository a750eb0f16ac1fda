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
// rotate), the selection tool and the system clipboard they share.
class EditActions : public QObject
{
    Q_OBJECT

public:
    EditActions(EditorSession &session, QWidget *window, QMenu *editMenu);

    // The commands a tool window hands over by their keys.
    QList<QAction *> toolWindowCommands() const;
    QAction *selectionToolAction() const { return mSelectionTool; }
    // The tool column's button for the selection tool.
    void addToolButton(QWidget *parent, const QRect &geometry, const QIcon &icon);

    void copy();
    void cut();
    void paste();

private:
    void showState();

    EditorSession &mSession;
    QAction *mSelectionTool = nullptr;
    QAction *mCut = nullptr;
    QAction *mCopy = nullptr;
    QAction *mPaste = nullptr;
    QAction *mDelete = nullptr;
    QAction *mSelectAll = nullptr;
    QAction *mTurns[4] = {};
    QAction *mDrop = nullptr;
};
