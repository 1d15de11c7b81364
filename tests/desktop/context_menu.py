#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A file manager's context menu, as a person uses it: right-click on one file in the file manager's
window, click "用 TamselRenvold 批量重命名", then the program's list must hold that file alone. Run by
scripts/desktop-trial, which starts the file manager on the folder.

    context_menu.py APP FOLDER NAME SHOTS   APP: the file manager's name on the accessibility bus

Exits with 2 when the file manager never shows up on the accessibility bus.
"""

import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

ENTRY = "用 TamselRenvold 批量重命名"
MENUS = (Atspi.Role.MENU, Atspi.Role.POPUP_MENU, Atspi.Role.MENU_BAR)
FILE_ROLES = (Atspi.Role.TABLE_CELL, Atspi.Role.ICON, Atspi.Role.LIST_ITEM, Atspi.Role.TREE_ITEM)


def shot(path):
    subprocess.run(["import", "-window", "root", path], check=True)


def find_app(name, timeout):
    end = time.time() + timeout
    while time.time() < end:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == name:
                return app
        time.sleep(0.3)
    return None


def nodes(node, into_menus=True):
    """Every object under node; a table's rows are read, not its million cells."""
    try:
        role = node.get_role()
    except Exception:  # gone while being read
        return
    yield node
    if not into_menus and role in MENUS:
        return
    for i in range(min(node.get_child_count(), 500)):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from nodes(child, into_menus)


def showing(node):
    """On the screen: GTK 4 says VISIBLE only."""
    try:
        states = node.get_state_set()
        return states.contains(Atspi.StateType.SHOWING) or states.contains(Atspi.StateType.VISIBLE)
    except Exception:
        return False


def extents(node):
    try:
        e = node.get_extents(Atspi.CoordType.SCREEN)
    except Exception:
        return None
    return (e.x, e.y, e.width, e.height) if e.width > 0 and e.height > 0 else None


def gtk4(app):
    return app.get_toolkit_name() == "GTK" and app.get_toolkit_version().startswith("4.")


def window_origin(app):
    """GTK 4 on X reports positions inside its window: the window's place on the screen."""
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(app.get_process_id())],
                         capture_output=True, text=True).stdout.split()
    if not ids:
        return 0, 0
    shell = subprocess.run(["xdotool", "getwindowgeometry", "--shell", ids[0]], capture_output=True,
                           text=True).stdout
    values = dict(line.split("=", 1) for line in shell.split())
    return int(values["X"]), int(values["Y"])


def find_file(app, name, timeout):
    end = time.time() + timeout
    while time.time() < end:
        for n in nodes(app, into_menus=False):
            if n.get_role() in FILE_ROLES and n.get_name() == name and showing(n) and extents(n):
                return n
        time.sleep(0.5)
    return None


def click(x, y, button=1):
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", str(button)], check=True)


class Popups:
    """Menus as they open. Qt leaves a context menu out of the application's tree and announces it
    only by this event."""

    def __init__(self):
        self.seen = []
        self.listener = Atspi.EventListener.new(self.on_event)
        self.listener.register("object:state-changed:showing")

    def on_event(self, event):
        try:
            if event.detail1 == 1 and event.source.get_role() in MENUS:
                self.seen.append(event.source)
        except Exception:
            pass

    def pump(self):
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)


def entry_path(app, popups, timeout):
    """The entry in the open context menu, after the submenus to open on the way, outermost first."""
    end = time.time() + timeout
    while time.time() < end:
        popups.pump()
        for root in [app] + popups.seen[::-1]:
            for n in nodes(root):
                if n.get_role() != Atspi.Role.MENU_ITEM or n.get_name() != ENTRY:
                    continue
                above = []
                parent = n.get_parent()
                while parent is not None and parent.get_role() in MENUS + (Atspi.Role.MENU_ITEM,):
                    above.append(parent)
                    parent = parent.get_parent()
                if any(a.get_role() == Atspi.Role.MENU_BAR for a in above) or not showing(above[-1] if above else n):
                    continue
                # The outermost is the popup itself; a submenu is a MENU (GTK) or the MENU_ITEM holding
                # it (Qt).
                submenus = [a for a in above[:-1] if a.get_role() in (Atspi.Role.MENU, Atspi.Role.MENU_ITEM)]
                return submenus[::-1] + [n]
        time.sleep(0.3)
    return None


def focused(node):
    return node.get_state_set().contains(Atspi.StateType.FOCUSED)


def open_entry(app, path, picture):
    """Opens the submenus and clicks the entry with the pointer, taking a picture just before. GTK 4
    places its popover menus where the bus cannot tell: there the keyboard walks to the entry, as a
    person without a mouse does."""
    entry = path[-1]
    if gtk4(app):
        for _ in range(40):
            subprocess.run(["xdotool", "key", "Down"], check=True)
            time.sleep(0.2)
            if focused(entry):
                shot(picture)
                subprocess.run(["xdotool", "key", "Return"], check=True)
                return True
        return False
    for node in path:
        end = time.time() + 5
        while not (showing(node) and extents(node)) and time.time() < end:
            time.sleep(0.2)
        box = extents(node)
        if box is None:
            return False
        x, y, w, h = box
        if node is entry:
            shot(picture)
        click(x + w // 2, y + h // 2)
        time.sleep(0.5)
    return True


def listed(timeout):
    """The rows of the program's list as (name, folder), once it has stopped growing."""
    app = find_app("TamselRenvold", timeout)
    if app is None:
        return None
    end = time.time() + timeout
    rows, since = None, time.time()
    while time.time() < end:
        table = next((n for n in nodes(app) if n.get_role() == Atspi.Role.TABLE and showing(n)), None)
        now = None
        if table is not None:
            now = []
            for r in range(Atspi.Table.get_n_rows(table)):
                cells = [Atspi.Table.get_accessible_at(table, r, c) for c in (1, 4)]
                now.append(tuple(c.get_name() if c is not None else None for c in cells))
        if now != rows:
            rows, since = now, time.time()
        elif rows and time.time() - since > 1.5:
            return rows
        time.sleep(0.3)
    return rows


def main():
    name, folder, filename, shots = sys.argv[1:5]
    problems = []

    def check(condition, what):
        print(("ok      " if condition else "PROBLEM ") + f"{name}: {what}", flush=True)
        if not condition:
            problems.append(what)
        return condition

    app = find_app(name, 30)
    if app is None:
        # Not a fault of the program: the trial starts the file manager again.
        print(f"        {name}: not on the accessibility bus", flush=True)
        shot(f"{shots}-no-app.png")
        return 2
    check(True, "on the accessibility bus")
    target = find_file(app, filename, 60)
    if not check(target is not None, f"shows {filename}"):
        shot(f"{shots}-no-file.png")
        return 1
    x, y, w, h = extents(target)
    if gtk4(app):
        ox, oy = window_origin(app)
        x, y = x + ox, y + oy
    # On a list row the name's text, not the blank beside it, which some take for the background.
    popups = Popups()
    click(x + (min(24, w // 2) if w > 2 * h else w // 2), y + h // 2, button=3)
    path = entry_path(app, popups, 10)
    if not check(path is not None, f"the context menu of {filename} offers {ENTRY}"):
        shot(f"{shots}-menu.png")
        subprocess.run(["xdotool", "key", "Escape"])
        return 1
    if len(path) > 1:
        print(f"        under {' → '.join(n.get_name() for n in path[:-1])}")
    check(open_entry(app, path, f"{shots}-menu.png"), f"{ENTRY} clicked")
    rows = listed(30)
    shot(f"{shots}-listed.png")
    want = [(filename, folder.rstrip("/") + "/")]
    check(rows is not None and [(n, d.rstrip("/") + "/" if d else d) for n, d in rows] == want,
          f"the program lists {filename} alone: {rows}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
