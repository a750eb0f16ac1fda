#pragma once

#include <QList>
#include <QObject>

class EditorSession;
class QAction;
class QMenu;
class QWidget;
class ToolActions;

// The block commands of the edit menu (cut, copy, paste, delete, select all, flip and
// rotate) around the board tools' items, and the system clipboard.
class EditActions : public QObject
{
    Q_OBJECT

public:
    EditActions(EditorSession &session, QWidget *window, QMenu *editMenu, ToolActions &tools);

    // The commands a tool window hands over by their keys.
    QList<QAction *> toolWindowCommands() const;

    void copy();
    void cut();
    void paste();

private:
    void showState();

    EditorSession &mSession;
    QAction *mCut = nullptr;
    QAction *mCopy = nullptr;
    QAction *mPaste = nullptr;
    QAction *mDelete = nullptr;
    QAction *mSelectAll = nullptr;
    QAction *mTurns[4] = {};
    QAction *mDrop = nullptr;
};
