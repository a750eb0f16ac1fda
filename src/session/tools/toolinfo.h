#pragma once

#include "model/editmode.h"

#include <QKeySequence>
#include <QList>
#include <QString>

// What a board tool with an on-off button says of itself. The edit menu, the tool column
// and the test script build their part from the registered list, so a new tool is its
// class and one registration.
struct ToolInfo
{
    // Names the tool to the script (tool:NAME) and its widgets (NAMETool, NAMEToolButton).
    QString name;
    // The edit menu's item; a tool without one has only its button.
    QString caption;
    // What the button says when named aloud, where it has no menu item.
    QString accessibleName;
    QString toolTip;
    QKeySequence shortcut;
    // The modes it works in; elsewhere it cannot be switched on and its button hides.
    QList<EditModes::EditMode> modes;
    // Switching it on switches every other exclusive tool off.
    bool exclusive = true;

    bool serves(EditModes::EditMode mode) const { return modes.contains(mode); }
};
