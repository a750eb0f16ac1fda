#!/usr/bin/python3
# Reads the editor's board as a screen reader does, over the desktop's accessibility bus:
# the board's table, its size and headers, the palette's chips and the mode buttons, then
# every cell or chip that gets the focus or a new name, and any news, while it listens.
#   readboard.py SECONDS   (prints "ready" once listening, then one line per event)
import sys

import gi

gi.require_version("Atspi", "2.0")
import pyatspi
from gi.repository import GLib

seconds = float(sys.argv[1])


def out(text):
    print(text, flush=True)


def find(node, role, depth=0):
    if node is None or depth > 12:
        return None
    if node.getRole() == role:
        return node
    for i in range(node.childCount):
        # The board's own cells are not searched: a table holds no table.
        if node.getRole() == pyatspi.ROLE_TABLE:
            break
        found = find(node.getChildAtIndex(i), role, depth + 1)
        if found is not None:
            return found
    return None


def find_all(node, role, found, depth=0):
    if node is None or depth > 12:
        return found
    if node.getRole() == role:
        found.append(node)
    if node.getRole() != pyatspi.ROLE_TABLE:
        for i in range(node.childCount):
            find_all(node.getChildAtIndex(i), role, found, depth + 1)
    return found


def editor():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "qzk-editor":
            return app
    return None


app = None
for _ in range(300):
    app = editor()
    if app is not None:
        break
    GLib.usleep(100000)
if app is None:
    out("no application named qzk-editor on the bus")
    sys.exit(1)
table = find(app, pyatspi.ROLE_TABLE)
if table is None:
    out("no table in the editor")
    sys.exit(1)
t = table.queryTable()
out("table %s rows %d columns %d" % (table.name, t.nRows, t.nColumns))
corner = t.getAccessibleAt(0, 0)
out("cell 0,0 %s: %s" % (corner.getRoleName(), corner.name))
row, column = t.getRowHeader(4), t.getColumnHeader(6)
out("headers of cell 4,6: %s %s, %s %s"
    % (row.getRoleName() if row else "none", row.name if row else "",
       column.getRoleName() if column else "none", column.name if column else ""))
for chips in find_all(app, pyatspi.ROLE_LIST, []):
    names = [chips.getChildAtIndex(i).name for i in range(chips.childCount)]
    out("list %s items %d: %s" % (chips.name, len(names), " / ".join(names)))
modes = find_all(app, pyatspi.ROLE_RADIO_BUTTON, [])
out("radio buttons: %s" % " / ".join(m.name for m in modes))


def on_focus(event):
    if event.detail1 != 1:
        return
    source = event.source
    out("focus %s: %s" % (source.getRoleName(), source.name))


def on_name(event):
    source = event.source
    if source is not None and source.getRoleName() in ("table cell", "list item"):
        out("name %s: %s" % (source.getRoleName(), source.name))


def on_news(event):
    out("news: %s" % event.any_data)


pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
pyatspi.Registry.registerEventListener(on_news, "object:announcement")
GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
GLib.timeout_add(200, lambda: out("ready") and False)
pyatspi.Registry.start()
