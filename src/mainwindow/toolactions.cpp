#include "mainwindow/toolactions.h"

#include "mainwindow/twips.h"
#include "painting/chippictures.h"
#include "session/editorsession.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

namespace {

// The first button has the line tool's caption under it; the rest follow one another.
int buttonTop(int index)
{
    return index == 0 ? twips(480) : twips(1380 + 555 * (index - 1));
}

} // namespace

ToolActions::ToolActions(EditorSession &session, const ChipPictures &pictures, QObject *parent)
    : QObject(parent), mSession(session)
{
    ToolSwitch &tools = session.tools();
    for (const ToolSwitch::Registered &entry : tools.registered()) {
        const ToolInfo &info = entry.info;
        auto *action =
            new QAction(info.caption.isEmpty() ? info.accessibleName : info.caption, this);
        action->setObjectName(info.name + QStringLiteral("Tool"));
        action->setCheckable(true);
        action->setShortcut(info.shortcut);
        action->setToolTip(info.toolTip);
        action->setIcon(pictures.toolIcon(info.name));
        const QString name = info.name;
        connect(action, &QAction::triggered, &tools,
                [&tools, name](bool on) { tools.setToolOn(name, on); });
        mActions.append(action);
    }
    connect(&tools, &ToolSwitch::toolStateChanged, this, &ToolActions::showState);
    connect(&session, &EditorSession::editModeChanged, this, &ToolActions::showState);
    showState();
}

void ToolActions::addToMenu(QMenu *menu)
{
    const auto &registered = mSession.tools().registered();
    for (int i = 0; i < registered.size(); ++i)
        if (!registered[i].info.caption.isEmpty())
            menu->addAction(mActions[i]);
}

void ToolActions::addButtons(QWidget *central)
{
    const auto &registered = mSession.tools().registered();
    for (int i = 0; i < mActions.size(); ++i) {
        auto *button = new QToolButton(central);
        button->setObjectName(registered[i].info.name + QStringLiteral("ToolButton"));
        button->setDefaultAction(mActions[i]);
        if (!registered[i].info.accessibleName.isEmpty())
            button->setAccessibleName(registered[i].info.accessibleName);
        button->setIconSize(QSize(26, 26));
        button->setGeometry(twips(8880), buttonTop(i), twips(495), twips(495));
        mButtons.append(button);
    }
    showState();
}

QList<QAction *> ToolActions::toolWindowCommands() const
{
    QList<QAction *> commands;
    for (QAction *action : mActions)
        if (!action->shortcut().isEmpty())
            commands.append(action);
    return commands;
}

void ToolActions::showState()
{
    const ToolSwitch &tools = mSession.tools();
    const auto &registered = tools.registered();
    for (int i = 0; i < mActions.size(); ++i) {
        const bool usable = registered[i].info.serves(mSession.editMode());
        mActions[i]->setEnabled(usable);
        mActions[i]->setChecked(registered[i].tool->isOn());
        if (i < mButtons.size())
            mButtons[i]->setVisible(usable);
    }
}
