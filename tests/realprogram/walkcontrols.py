#!/usr/bin/python3
# Walks the editor's windows over the accessibility bus as a screen reader user meets them
# and counts the controls such a user cannot use: shown controls that take the keyboard but
# have no name, or only an English one, and controls that act on a click yet never take the
# keyboard; and every object without a name, shown or not. The board's cells are its
# table's and are not walked.
#   walkcontrols.py [LABEL]   prints one line per such control, then the three counts
import sys

import gi

gi.require_version("Atspi", "2.0")
import pyatspi
from gi.repository import GLib

label = sys.argv[1] if len(sys.argv) > 1 else "walk"
dump = len(sys.argv) > 2

# Roles a person operates, as opposed to ones that only show something.
OPERATED = {
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_TOGGLE_BUTTON,
    pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_PAGE_TAB_LIST,
    pyatspi.ROLE_LIST,
    pyatspi.ROLE_LIST_BOX,
    pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TREE,
    pyatspi.ROLE_ENTRY,
}
# Reached through their menu bar or list, which take the keyboard for them.
CONTAINED = {
    pyatspi.ROLE_MENU,
    pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_CHECK_MENU_ITEM,
    pyatspi.ROLE_RADIO_MENU_ITEM,
    pyatspi.ROLE_PAGE_TAB,
}


def editor():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "qzk-editor":
            return app
    return None


def where(node):
    parts = []
    while node is not None and node.getRole() != pyatspi.ROLE_APPLICATION:
        parts.append("%s[%s]" % (node.getRoleName(), node.name))
        node = node.parent
    return " < ".join(parts)


unnamed, english, unreachable, nameless = [], [], [], []


def visit(node, depth=0):
    if node is None or depth > 20:
        return
    states = node.getState()
    if dump:
        print("%s%s [%s] %s" % ("  " * depth, node.getRoleName(), node.name,
                                " ".join(pyatspi.stateToString(s) for s in states.getStates())))
    role = node.getRole()
    name = (node.name or "").replace("&", "").strip()
    # Every object a reader can land on, shown or not, should say what it is.
    if not name:
        nameless.append(where(node))
    if not states.contains(pyatspi.STATE_SHOWING):
        return
    if role not in CONTAINED:
        if states.contains(pyatspi.STATE_FOCUSABLE):
            if not name:
                unnamed.append(where(node))
            elif all(ord(c) < 128 for c in name) and any(c.isalpha() for c in name):
                english.append(where(node))
        elif role in OPERATED and states.contains(pyatspi.STATE_ENABLED):
            unreachable.append(where(node))
    if role == pyatspi.ROLE_TABLE:
        return
    for i in range(node.childCount):
        visit(node.getChildAtIndex(i), depth + 1)


app = None
for _ in range(300):
    app = editor()
    if app is not None:
        break
    GLib.usleep(100000)
if app is None:
    print("no application named qzk-editor on the bus")
    sys.exit(1)
visit(app)
for kind, found in (("unnamed", unnamed), ("english", english), ("unreachable", unreachable),
                    ("nameless", nameless)):
    for item in found:
        print("%s %s: %s" % (label, kind, item))
print("%s counts: unnamed %d english %d unreachable %d nameless %d"
      % (label, len(unnamed), len(english), len(unreachable), len(nameless)), flush=True)
