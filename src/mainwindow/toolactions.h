#pragma once

#include <QList>
#include <QObject>

class ChipPictures;
class EditorSession;
class QAction;
class QMenu;
class QWidget;

// The registered board tools' on-off commands: one checkable action each, an edit-menu
// item for those with a caption, and a button in the tool column, all built from the
// tool switch's list.
class ToolActions : public QObject
{
    Q_OBJECT

public:
    ToolActions(EditorSession &session, const ChipPictures &pictures, QObject *parent);

    void addToMenu(QMenu *menu);
    // Top to bottom in the column right of the board, shown in the modes a tool serves.
    void addButtons(QWidget *central);
    // The commands a tool window hands over by their keys.
    QList<QAction *> toolWindowCommands() const;

private:
    void showState();

    EditorSession &mSession;
    QList<QAction *> mActions;
    QList<QWidget *> mButtons;
};
