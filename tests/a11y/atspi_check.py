#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the running program over AT-SPI, as a screen reader does: lists every control a user can
act on with its role and name, and walks the window with Tab. Fails on an unnamed control, on
controls a reader cannot tell apart, and on a keyboard trap. Run by scripts/a11y."""

import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

INTERACTIVE = {
    Atspi.Role.PUSH_BUTTON, Atspi.Role.TOGGLE_BUTTON, Atspi.Role.CHECK_BOX, Atspi.Role.RADIO_BUTTON,
    Atspi.Role.COMBO_BOX, Atspi.Role.ENTRY, Atspi.Role.TEXT, Atspi.Role.PASSWORD_TEXT, Atspi.Role.TABLE,
    Atspi.Role.PAGE_TAB, Atspi.Role.LINK, Atspi.Role.SCROLL_BAR, Atspi.Role.SPIN_BUTTON, Atspi.Role.LIST,
    Atspi.Role.MENU_ITEM, Atspi.Role.MENU, Atspi.Role.SLIDER,
}


def find_app(name, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == name:
                return app
        time.sleep(0.3)
    sys.exit(f"no application named {name} on the accessibility bus")


def label_of(node):
    """What a reader says for the object: the label it is labelled by, then its own name."""
    name = node.get_name() or ""
    for relation in node.get_relation_set() or []:
        if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY:
            for i in range(relation.get_n_targets()):
                target = relation.get_target(i)
                caption = (target.get_name() or "").strip() if target is not None else ""
                if caption and caption != name.strip():
                    return f"{caption} {name}".strip()
    return name


def walk(node, path, out):
    try:
        role = node.get_role()
        states = node.get_state_set()
    except Exception:  # an object that went away while being read
        return
    if not states.contains(Atspi.StateType.SHOWING) and role != Atspi.Role.MENU_ITEM:
        return
    out.append((node, role, node.get_name() or "", node.get_description() or "", path))
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            walk(child, path + [node.get_name() or node.get_role_name()], out)


class FocusWatcher:
    """Follows focus as a screen reader does: by the bus's focus events."""

    def __init__(self):
        self.events = []
        self.listener = Atspi.EventListener.new(self.on_event)
        self.listener.register("object:state-changed:focused")

    def on_event(self, event):
        if event.detail1 == 1:
            self.events.append(event.source)

    def after(self, seconds):
        context = GLib.MainContext.default()
        end = time.time() + seconds
        while time.time() < end:
            while context.pending():
                context.iteration(False)
            time.sleep(0.02)
        return self.events[-1] if self.events else None


def describe(node):
    if node is None:
        return "(nothing)"
    return f"{node.get_role_name()} '{node.get_name() or ''}'"


def main():
    app = find_app("TamselRenvold")
    problems = []
    nodes = []
    # Every mode tab in turn: only the shown page's controls are on screen.
    for _ in range(6):
        walk(app, [], nodes)
        subprocess.run(["xdotool", "key", "ctrl+Next"], check=True)
        time.sleep(0.3)
    unique = {}
    for n in nodes:
        where = n[4][-1] if n[4] and n[1] != Atspi.Role.PAGE_TAB else ""
        unique.setdefault((n[1], n[2], n[3], where), n)
    nodes = list(unique.values())
    controls = [n for n in nodes if n[1] in INTERACTIVE]
    seen = {}
    for node, role, name, description, path in controls:
        parent = node.get_parent()
        if role == Atspi.Role.TEXT and parent is not None and parent.get_role() == Atspi.Role.COMBO_BOX:
            continue  # the edit field of a combo box: the box is named
        if role == Atspi.Role.SCROLL_BAR and parent is not None and parent.get_role() == Atspi.Role.FILLER:
            continue  # the scroll bars of a list or a text: part of it
        if role == Atspi.Role.TABLE:
            description = f"{Atspi.Table.get_n_rows(node)} rows, {Atspi.Table.get_n_columns(node)} columns"
        heard = label_of(node)
        label = f"{node.get_role_name():12} {heard!r}" + (f" = {name!r}" if name and name != heard else "")
        print("  " + label + (f" ({description})" if description else ""))
        if not heard.strip():
            problems.append(f"unnamed {node.get_role_name()} under {' > '.join(path[-3:])}")
        if role in (Atspi.Role.RADIO_BUTTON, Atspi.Role.CHECK_BOX, Atspi.Role.PUSH_BUTTON):
            key = (role, name, description, path[-1] if path else "")
            if key in seen:
                problems.append(f"two {node.get_role_name()}s a reader cannot tell apart: {name!r}")
            seen[key] = True
    # The files alone, and the mark of a preview as words, not only as red.
    tables = [n[0] for n in nodes if n[1] == Atspi.Role.TABLE]
    if not tables:
        problems.append("no file list table")
    else:
        table = tables[0]
        rows = Atspi.Table.get_n_rows(table)
        if rows != 3:
            problems.append(f"the file list reads as {rows} rows for 3 files")
        mark = Atspi.Table.get_accessible_at(table, 1, 2)
        heard = mark.get_description() if mark is not None else None
        print(f"  the marked preview: {mark.get_name() if mark else None!r}, described as {heard!r}")
        if heard != "文件［1.jpg］已存在":
            problems.append(f"the conflict mark reads as {heard!r}")
    labels = [n[2] for n in nodes if n[1] == Atspi.Role.LABEL]
    for caption in ("总文件数：", "已选文件："):
        if not any(name.startswith(caption) and name[-1:].isdigit() for name in labels):
            problems.append(f"the counter {caption!r} is read without its value")
    print(f"{len(controls)} controls, {len(nodes)} objects in all")

    # Tab through the window: focus must move on every press and come round.
    order = []
    stuck = 0
    previous = None
    watcher = FocusWatcher()
    watcher.after(0.3)
    for _ in range(80):
        subprocess.run(["xdotool", "key", "Tab"], check=True)
        now = watcher.after(0.3)
        if now is None:
            continue
        label = describe(now)
        if previous is not None and now == previous:
            stuck += 1
            if stuck >= 2:
                problems.append(f"keyboard trap: Tab stays on {label}")
                break
        else:
            stuck = 0
        previous = now
        if order and label == order[0] and len(order) > 3:
            break
        order.append(label)
    print("Tab order: " + " → ".join(order))
    if len(order) < 10:
        problems.append(f"Tab reaches only {len(order)} controls")

    for p in problems:
        print("PROBLEM: " + p)
    print("atspi check: " + ("failed" if problems else "clean"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
