#!/usr/bin/env python3
"""The program as a screen reader meets it: on a private X server and session
bus with the accessibility bus, walk every showing control of the main window
and of each dialog and fail on one without a name or a role; move through the
lists with the keys and check that each title is announced, that the edit mode,
the lock and the search's outcome are told, and that Tab goes group list, entry
list, text, then the buttons.

Usage: walk_atspi.py PLIMSA_EXE DATA_FOLDER (run under tests/x11/run_x11.sh).
Exits 77 (skipped) where the accessibility bus cannot start."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77

if not shutil.which("xdotool") or not shutil.which("dbus-run-session"):
    print("xdotool or dbus-run-session is not installed")
    sys.exit(SKIP)
if os.environ.get("PLIMSA_A11Y_BUS") != "1":
    # A private session bus, so the accessibility bus is ours alone and ends with us.
    os.environ["PLIMSA_A11Y_BUS"] = "1"
    os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable] + sys.argv)

try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib
except (ImportError, ValueError):
    print("the accessibility library for Python (gir1.2-atspi-2.0) is not installed")
    sys.exit(SKIP)

# Roles a user operates or reads; a pane or a filler only holds them.
CONTROL_ROLES = {
    Atspi.Role.PUSH_BUTTON, Atspi.Role.TOGGLE_BUTTON, Atspi.Role.CHECK_BOX,
    Atspi.Role.RADIO_BUTTON, Atspi.Role.COMBO_BOX, Atspi.Role.LIST, Atspi.Role.LIST_BOX,
    Atspi.Role.TEXT, Atspi.Role.ENTRY, Atspi.Role.PASSWORD_TEXT, Atspi.Role.SPIN_BUTTON,
    Atspi.Role.SLIDER, Atspi.Role.MENU, Atspi.Role.MENU_ITEM, Atspi.Role.PAGE_TAB,
    Atspi.Role.TABLE, Atspi.Role.TREE, Atspi.Role.LINK,
}
NO_ROLE = {Atspi.Role.INVALID, Atspi.Role.UNKNOWN}


def wait_for(what, seconds=20.0):
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        result = what()
        if result:
            return result
        time.sleep(0.05)
    return None


def showing(acc):
    try:
        return acc.get_state_set().contains(Atspi.StateType.SHOWING)
    except GLib.Error:
        return False


def active(acc):
    try:
        return acc.get_state_set().contains(Atspi.StateType.ACTIVE)
    except GLib.Error:
        return False


def describe(acc):
    return "%s %r (%s)" % (acc.get_role_name(), acc.get_name(), acc.get_accessible_id() or "")


def walk(window, where, faults, names=None):
    """Counts the named controls of a window; a control without a name or role is a fault, and
    so is one read by what it shows ("On") rather than by what it is for. Collects the names
    into `names` where given."""
    named = 0
    stack = [window]
    while stack:
        acc = stack.pop()
        for i in range(acc.get_child_count()):
            child = acc.get_child_at_index(i)
            if child is None or not showing(child):
                continue
            role = child.get_role()
            # A list's lines are read as the list is moved through, below.
            if role not in (Atspi.Role.LIST_ITEM, Atspi.Role.TABLE_CELL):
                stack.append(child)
            if role in NO_ROLE:
                faults.append("%s: no role: %s" % (where, describe(child)))
            elif role in CONTROL_ROLES:
                name = child.get_name().strip()
                if not name:
                    faults.append("%s: no name: %s" % (where, describe(child)))
                elif name == "On":
                    faults.append("%s: named by its caption: %s" % (where, describe(child)))
                else:
                    named += 1
                    if names is not None:
                        names.add(name)
    return named


def write_notebook(folder, titles):
    store = os.path.join(folder, "FileStore")
    lines = ["idx Plimsa 1.3.02", "Notes"] + ["\\" + t for t in titles] + ["Trash"]
    with open(os.path.join(store, "idx.dat"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
    for t in titles:
        with open(os.path.join(store, "Notes", t + ".txt"), "wb") as f:
            f.write(("07.12.2026 - 10:00:00\r\ntext of %s\r\n" % t).encode("cp1252"))


def main():
    exe, data = sys.argv[1], sys.argv[2]
    if Atspi.init() not in (0, 1) or Atspi.get_desktop(0) is None:
        print("the accessibility bus could not start")
        return SKIP

    folder = tempfile.mkdtemp(prefix="plimsa-a11y-")
    shutil.copytree(data, folder, dirs_exist_ok=True)
    shutil.copy(exe, folder)
    titles = ["Alpha", "Beta", "Gamma"]
    write_notebook(folder, titles)

    announced = []

    def on_event(event):
        if event.type.startswith("object:state-changed:focused") and event.detail1 != 1:
            return
        try:
            source = event.source
            announced.append((event.type, source.get_role_name(), source.get_name(),
                              source.get_description() or ""))
        except GLib.Error:
            pass

    listener = Atspi.EventListener.new(on_event)
    for kind in ("object:state-changed:focused", "object:active-descendant-changed",
                 "object:selection-changed", "object:property-change:accessible-description",
                 "object:property-change:accessible-name"):
        listener.register(kind)

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([os.path.join(folder, "plimsa")], cwd=folder, env=env)
    try:
        return drive(program, titles, announced)
    finally:
        program.kill()
        program.wait()
        shutil.rmtree(folder, ignore_errors=True)


def application(program):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        try:
            if app is not None and app.get_process_id() == program.pid:
                return app
        except GLib.Error:
            pass
    return None


def windows(app):
    found = []
    for i in range(app.get_child_count()):
        w = app.get_child_at_index(i)
        if w is not None and showing(w):
            found.append(w)
    return found


def keys(*sequence):
    for k in sequence:
        subprocess.run(["xdotool", "key", "--delay", "80", k], check=False)


def drive(program, titles, announced):
    app = wait_for(lambda: application(program))
    if app is None:
        if program.poll() is not None:
            print("FAIL: the program ended with status %d" % program.returncode)
            return 1
        print("the program did not appear on the accessibility bus")
        return SKIP
    main = wait_for(lambda: [w for w in windows(app) if w.get_name().startswith("Plimsa")])
    if not main:
        print("FAIL: no main window on the bus")
        return 1
    main = main[0]
    wait_for(lambda: active(main), 10)
    # The start settings select the group and its first entry.
    wait_for(lambda: find(main, lambda a: a.get_role() == Atspi.Role.LIST_ITEM
                          and a.get_name() == titles[0]))
    faults = []
    total = walk(main, "main window", faults)
    print("main window: %d named controls" % total)

    # Moving through the lists with the keys reads each title. The program
    # starts with the focus in the entry list.
    entry_list = find(main, lambda a: a.get_role() == Atspi.Role.LIST and any(
        a.get_child_at_index(i).get_name() == titles[0] for i in range(a.get_child_count())))
    group_list = find(main, lambda a: a.get_role() == Atspi.Role.LIST and any(
        a.get_child_at_index(i).get_name() == "Trash" for i in range(a.get_child_count())))
    if entry_list is None or group_list is None:
        print("FAIL: the lists are not on the bus")
        return 1

    # Every step starts where the one before left the focus.
    def heard(what, sequence, expected, check=None):
        del announced[:]
        keys(*sequence)
        ok = wait_for(lambda: (check or (lambda: all(
            any(e[0].startswith("object:state-changed:focused") and e[2] == t
                for e in announced) for t in expected)))(), 10)
        print("%s: %s" % (what, "; ".join("%s %s %r%s" % (e[0].split(":")[-1], e[1], e[2],
                                                           " - " + e[3] if e[3] else "")
                                          for e in announced)))
        if not ok:
            faults.append("%s: not told %s" % (what, expected))

    # The entry text is read as text.
    text = find(main, lambda a: a.get_role() == Atspi.Role.TEXT and showing(a))
    content = Atspi.Text.get_text(text, 0, -1) if text is not None else ""
    if "text of " + titles[0] not in content:
        faults.append("the entry text is not readable as text: %r" % content)

    heard("entry list, End Home Down Down", ["End", "Home", "Down", "Down"], titles)
    heard("group list, Right Left", ["Right", "Left"], ["Trash", "Notes"])

    def described(text):
        return lambda: any(e[0].endswith("accessible-description") and text in e[3]
                           for e in announced)

    heard("text edit mode, Enter", ["Home", "Return"], [], described("Text Edit Mode..."))
    heard("cancel, Escape", ["Escape"], [],
          lambda: any(e[0].endswith("accessible-description") and e[1] == "text"
                      and "Mode" not in e[3] for e in announced))
    heard("lock", ["alt+f", "l"], [], described("Edit Permission locked!"))
    heard("unlock", ["alt+f", "l"], [],
          lambda: any(e[0].endswith("accessible-description") and e[1] == "list"
                      and not e[3] for e in announced))

    # Tab goes group list, entry list, text, then the buttons.
    heard("Tab from the group list", ["Right", "Left", "Tab", "Tab", "Tab"], [],
          lambda: [e[1] for e in announced if e[0].endswith("focused")][-3:] ==
          ["list", "text", "push button"])
    # ...and back, so the keys below start in the entry list.
    heard("Shift+Tab", ["shift+Tab", "shift+Tab"], [],
          lambda: [e[2] for e in announced if e[0].endswith("focused")][-2:] ==
          ["Entry Text", "Entry List"])

    # The splitters come after the buttons: Shift+Tab from the group list
    # reaches the last, a separator named for what it divides, and the arrow
    # keys move it.
    heard("Shift+Tab to a splitter", ["Right", "Left", "shift+Tab"], [],
          lambda: [(e[1], e[2]) for e in announced if e[0].endswith("focused")][-1:] ==
          [("separator", "Splitter right of the Lists")])
    splitter = find(main, lambda a: a.get_role() == Atspi.Role.SEPARATOR
                    and a.get_name() == "Splitter right of the Lists")
    if splitter is None:
        faults.append("the splitter is not on the bus")
    else:
        place = Atspi.Value.get_current_value(splitter)
        keys("Right")
        if not wait_for(lambda: Atspi.Value.get_current_value(splitter) > place, 10):
            faults.append("Right on the splitter did not move it from %s" % place)
        moved = Atspi.Value.get_current_value(splitter)
        keys("Left")
        if not wait_for(lambda: Atspi.Value.get_current_value(splitter) < moved, 10):
            faults.append("Left on the splitter did not move it from %s" % moved)
        print("splitter: %s, Right %s, Left %s"
              % (place, moved, Atspi.Value.get_current_value(splitter)))
    heard("Tab back to the group list", ["Tab", "Tab"], ["Entry List"])

    # Each dialog's controls are read by their labels, among others these.
    dialogs = [
        ("search", ["alt+e", "a"], ["alt+e"], {"Search", "Case sensitive"}),
        ("input (new group)", ["alt+g", "n"], ["Escape"], {"Name of New Group"}),
        ("choice (change group)", ["alt+e", "c"], ["Escape"], {"Change Group"}),
        ("global settings", ["alt+o", "g"], ["Escape"],
         {"Language", "Font Name (list- & textf.)", "Font Size", "Font Bold",
          "Group list white finish", "Hide \u00ff-Groups (manual)"}),
        ("start settings", ["alt+o", "s"], ["Escape"],
         {"Window State", "Start Group", "Lock Edit Permission", "View Mask", "Wordwrap",
          'Path to "FileStore"'}),
        ("individual buttons", ["alt+o", "i"], ["Escape"],
         {"Individual Button 1: Shift, Ctrl or Alt", "Individual Button 4: Key",
          "Individual Button 2: Further Keys"}),
        ("language editor", ["alt+o", "l"], ["Escape"], {"Language", "Words", "Translation"}),
        ("About", ["alt+i", "a"], ["Escape"], set()),
        ("message box (F1)", ["F1"], ["Return"], set()),
    ]
    for name, opening, closing, expected in dialogs:
        # Keys typed while the window manager has yet to give the focus back
        # from the last dialog would go nowhere.
        if not wait_for(lambda: active(main), 10):
            subprocess.run(["xdotool", "search", "--name", "^Plimsa v", "windowactivate"],
                           check=False)
            wait_for(lambda: active(main), 10)
        before = set(w.get_name() for w in windows(app))
        keys(*opening)
        opened = wait_for(lambda: [w for w in windows(app) if w.get_name() not in before
                                   or w.get_role() in (Atspi.Role.DIALOG, Atspi.Role.ALERT)])
        if not opened:
            faults.append("%s: did not open" % name)
            continue
        dialog = opened[0]
        # Its keys below need it to have the focus.
        if not wait_for(lambda: active(dialog), 10):
            faults.append("%s: did not get the focus" % name)
        if dialog.get_role() not in (Atspi.Role.DIALOG, Atspi.Role.ALERT):
            faults.append("%s: role %s, not a dialog" % (name, dialog.get_role_name()))
        names = set()
        count = walk(dialog, name, faults, names)
        print("%s: %d named controls" % (name, count))
        if not expected <= names:
            faults.append("%s: not named %s" % (name, sorted(expected - names)))
        total += count
        if name == "search":
            # The outcome is read where the focus is while the search runs.
            del announced[:]
            subprocess.run(["xdotool", "type", "--delay", "80", titles[1]], check=False)
            keys("Return")
            if not wait_for(lambda: any(e[2] == "Match in Entry-Title" for e in announced), 10):
                faults.append("search: the outcome was not told")
            print("search for %r: %s" % (titles[1], "; ".join(
                "%s %s %r" % (e[0].split(":")[-1], e[1], e[2]) for e in announced)))
        del announced[:]
        keys(*closing)
        if not wait_for(lambda: dialog not in windows(app) or not showing(dialog), 10):
            faults.append("%s: did not close" % name)
            break
        # The main window has the keys again once its control has the focus back.
        wait_for(lambda: any(e[0].endswith("focused") for e in announced), 10)

    for fault in faults:
        print("FAIL: " + fault)
    print("named controls: %d, faults: %d" % (total, len(faults)))
    return 1 if faults else 0


def find(root, test):
    stack = [root]
    while stack:
        acc = stack.pop()
        for i in range(acc.get_child_count()):
            child = acc.get_child_at_index(i)
            if child is None:
                continue
            try:
                if test(child):
                    return child
            except GLib.Error:
                pass
            stack.append(child)
    return None


if __name__ == "__main__":
    sys.exit(main())
