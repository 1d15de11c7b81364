#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the installed program on a desktop as a person would, over AT-SPI and with the real
pointer and keyboard (xdotool), and checks what a person sees. Run by scripts/desktop-trial, which
starts the display, the window manager, the session bus and the program.

    trial.py long-rename FOLDER COUNT EXTRA OUT   a long rename: progress, repainting, 取消, hand-over
"""

import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

problems = []


def check(condition, what):
    print(("ok      " if condition else "PROBLEM ") + what, flush=True)
    if not condition:
        problems.append(what)


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "80", *keys], check=True)


def shot(path):
    subprocess.run(["import", "-window", "root", path], check=True)


def find_app(timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == "TamselRenvold":
                return app
        time.sleep(0.3)
    sys.exit("no application named TamselRenvold on the accessibility bus")


def nodes(node, role=None, depth=0):
    """Every object under node (showing ones), optionally of one role; a million-row table is not
    walked cell by cell."""
    try:
        states = node.get_state_set()
        r = node.get_role()
    except Exception:
        return
    if depth > 1 and not states.contains(Atspi.StateType.SHOWING):
        return
    if role is None or r == role:
        yield node
    if r == Atspi.Role.TABLE:
        return
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from nodes(child, role, depth + 1)


def find(app, role, name=None, timeout=10, contains=None):
    end = time.time() + timeout
    while time.time() < end:
        for n in nodes(app, role):
            text = n.get_name() or ""
            if (name is None or text == name) and (contains is None or contains in text):
                return n
        time.sleep(0.2)
    return None


def windows(app):
    """The program's windows besides the main one: message boxes, the progress dialog."""
    for i in range(app.get_child_count()):
        n = app.get_child_at_index(i)
        if n is not None and n.get_role() != Atspi.Role.FRAME:
            yield n


def label_text(app, prefix):
    for n in nodes(app, Atspi.Role.LABEL):
        text = n.get_name() or ""
        if text.startswith(prefix) and text[-1:].isdigit():
            return text
    return ""


def file_count(app):
    text = label_text(app, "总文件数：")
    digits = "".join(c for c in text if c.isdigit())
    return int(digits) if digits else -1


def answer(app, contains, button="是", timeout=20):
    """Clicks a button of the message box whose text holds contains, with the real pointer."""
    box = None
    end = time.time() + timeout
    while time.time() < end and box is None:
        for n in windows(app):
            if any(contains in (l.get_name() or "") for l in nodes(n, Atspi.Role.LABEL)):
                box = n
                break
        time.sleep(0.1)
    if box is None:
        return None
    text = " ".join(l.get_name() or "" for l in nodes(box, Atspi.Role.LABEL))
    target = find(box, Atspi.Role.PUSH_BUTTON, button, timeout=2)
    click(target)
    return text


def click(node):
    rect = node.get_extents(Atspi.CoordType.SCREEN)
    subprocess.run(["xdotool", "mousemove", str(rect.x + rect.width // 2), str(rect.y + rect.height // 2),
                    "click", "1"], check=True)


def timed_call(fn):
    start = time.time()
    value = fn()
    return value, time.time() - start


def watch_progress(app, out, prefix, seconds_before_cancel, second_start=None):
    """Follows the progress dialog: it appears, its value grows, the app answers meanwhile; then
    取消 is clicked. Returns the values seen."""
    dialog = window = None
    end = time.time() + 20
    while dialog is None and time.time() < end:
        for w in windows(app):
            dialog = next(nodes(w, Atspi.Role.PROGRESS_BAR), None)
            window = w
            if dialog is not None:
                break
        time.sleep(0.1)
    check(dialog is not None, f"{prefix}: the progress dialog appears")
    if dialog is None:
        return [], None
    values = []
    slowest = 0.0
    started = time.time()
    handed = None
    n = 0
    while time.time() - started < seconds_before_cancel:
        value, took = timed_call(lambda: dialog.get_current_value())
        slowest = max(slowest, took)
        values.append(value)
        if n in (1, 3):
            shot(f"{out}/{prefix}-progress-{n}.png")
        if second_start and handed is None and n == 2:
            handed = second_start()
        n += 1
        time.sleep(0.3)
    check(len(values) >= 3 and values[-1] > values[0], f"{prefix}: the progress grows ({values[0]:.0f} → {values[-1]:.0f})")
    check(slowest < 0.25, f"{prefix}: the window answers while it works (slowest answer {slowest * 1000:.0f} ms)")
    cancel = find(window, Atspi.Role.PUSH_BUTTON, "取消", timeout=2)
    check(cancel is not None, f"{prefix}: the progress dialog has 取消")
    if cancel is not None:
        click(cancel)
    return values, handed


def long_rename(folder, count, extra, out):
    app = find_app()
    # The folder given on the command line: the question about its sub-folders.
    check(answer(app, "是否包含") is not None, "the sub-folder question of a folder to open")
    end = time.time() + 120
    while file_count(app) != count and time.time() < end:
        time.sleep(0.5)
    check(file_count(app) == count, f"{count} files listed")
    # Letter case, all upper: every name changes.
    tab = find(app, Atspi.Role.PAGE_TAB, "大小写")
    click(tab)
    upper = None
    for n in nodes(app, Atspi.Role.RADIO_BUTTON):
        if n.get_name() == "全部大写" and "文件名" in (n.get_description() or ""):
            upper = n
    click(upper)
    key("alt+r", "p")
    time.sleep(1)
    key("alt+r", "e")
    check(answer(app, "是否开始执行重命名") is not None, "the rename question")

    def second_start():
        start = time.time()
        result = subprocess.run(["tamselrenvold", extra], timeout=30)
        took = time.time() - start
        check(result.returncode == 0 and took < 2, f"a second start during the pass hands over at once "
              f"(exit {result.returncode}, {took:.2f} s)")
        return result.returncode

    watch_progress(app, out, "rename", 2.5, second_start)
    summary = answer(app, "已取消", "确定")
    check(summary is not None, f"the pass stops at 取消: {summary}")
    shot(f"{out}/rename-cancelled.png")
    names = os.listdir(folder)
    upper_names = sum(1 for n in names if n.startswith("F"))
    check(len(names) == count, f"every file is still there once ({len(names)} names)")
    check(0 < upper_names < count, f"the pass stopped part-way ({upper_names} of {count} renamed)")
    if summary:
        done = int(summary.split("完成［")[1].split("］")[0])
        check(done == upper_names, f"the summary tells the truth ({done} renamed)")
    end = time.time() + 10
    while file_count(app) != count + 1 and time.time() < end:
        time.sleep(0.3)
    check(file_count(app) == count + 1, "the path handed over during the pass is listed after it, once")
    # Idle: a hand-over is answered at once too.
    start = time.time()
    result = subprocess.run(["tamselrenvold", extra], timeout=30)
    check(result.returncode == 0 and time.time() - start < 2, "a second start while idle hands over")
    end = time.time() + 10
    while file_count(app) != count + 2 and time.time() < end:
        time.sleep(0.3)
    check(file_count(app) == count + 2, "the path handed over while idle is listed")


def main():
    if sys.argv[1] == "long-rename":
        long_rename(sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5])
    print("desktop trial: " + ("failed" if problems else "passed"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
