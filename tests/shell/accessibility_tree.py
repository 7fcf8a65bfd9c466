#!/usr/bin/python3
"""The window as a screen reader meets it: the built vrdk-mouse on a simulated
mouse under Xvfb, its accessibility tree read over the desktop's
accessibility bus (AT-SPI, through pyatspi) on every page. Run inside a D-Bus
session of its own (dbus-run-session); argument: the vrdk-mouse program.
VRDK_A11Y_DUMP=1 prints the main page's tree."""

import json
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def wait_for(seconds, done):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if done():
            return True
        time.sleep(0.1)
    return done()


def start_display():
    for number in range(140, 180):
        if os.path.exists(f"/tmp/.X{number}-lock"):
            continue
        server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1600x1000x24",
                                   "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        if wait_for(5, lambda: os.path.exists(f"/tmp/.X11-unix/X{number}")):
            os.environ["DISPLAY"] = f":{number}"
            return server
        server.kill()
    return None


def layout(path):
    try:
        with open(path) as f:
            return json.load(f)
    except (OSError, ValueError):
        return {}


def shown(report, name):
    return any(c.get("name") == name and c.get("visible") for c in report.get("controls", []))


def find_app(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that went away meanwhile
            continue
    return None


def walk(node, found, depth=0):
    """Every accessible under node that shows, as (node, role, name, states, actions)."""
    if node is None or depth > 40:
        return
    states = node.getState()
    if node.getRoleName() not in ("application", "frame") and \
            not states.contains(pyatspi.STATE_SHOWING):
        return
    actions = []
    try:
        action = node.queryAction()
        actions = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        pass
    found.append((node, node.getRoleName(), node.name, states, actions))
    for child in node:
        walk(child, found, depth + 1)


def tree(app):
    found = []
    walk(app, found)
    return found


def named(found, role, name):
    return [f for f in found if f[1] == role and f[2] == name]


def press(found, role, name):
    for node, _, _, _, actions in named(found, role, name):
        action = node.queryAction()
        for i in range(action.nActions):
            if action.getName(i) in ("Press", "press", "Toggle", "toggle"):
                action.doAction(i)
                return True
    return False


CONTROL_ROLES = {"push button", "check box", "radio button", "page tab", "slider",
                 "combo box", "text", "list", "menu item", "page tab list", "spin button",
                 "table", "list item", "table cell"}


def check_page(found, page):
    for node, role, name, states, actions in found:
        if states.contains(pyatspi.STATE_FOCUSABLE) and role in CONTROL_ROLES - {"list item",
                                                                                   "table cell"}:
            check(name, f"{page}: a {role} without a name")
        # Pictures that only decorate are not in the tree.
        check(role not in ("image", "icon"), f"{page}: a picture in the tree: {name!r}")
        if role in ("push button", "check box", "radio button", "page tab"):
            check(actions, f"{page}: the {role} {name!r} has no action")


def main():
    program = sys.argv[1]
    server = start_display()
    if server is None:
        print("no Xvfb display could be started")
        return 1
    folder = tempfile.mkdtemp()
    report_path = os.path.join(folder, "layout.json")
    env = dict(os.environ, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               XDG_STATE_HOME=os.path.join(folder, "state"),
               XDG_DATA_HOME=os.path.join(folder, "data"),
               XDG_CONFIG_HOME=os.path.join(folder, "config"),
               XDG_RUNTIME_DIR=folder, XDG_CURRENT_DESKTOP="none", LANG="C.UTF-8")
    window = subprocess.Popen([program, "--simulate=" + os.path.join(folder, "mouse.bin"),
                               "--layout-report=" + report_path], env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not wait_for(30, lambda: "controls" in layout(report_path) and
                        not shown(layout(report_path), "Disable_All_1")):
            print("the window did not read the mouse")
            return 1
        app = None
        wait_for(15, lambda: find_app(window.pid) is not None)
        app = find_app(window.pid)
        if app is None:
            print("the window is not on the accessibility bus")
            return 1

        # The main page: the navigation bar's tabs, the current one chosen,
        # the keys, the gestures as check boxes, named in English.
        found = tree(app)
        check_page(found, "main")
        if os.environ.get("VRDK_A11Y_DUMP"):
            for _, role, name, states, actions in found:
                print(f"{role:14} {name!r} {actions}")
        tabs = [f for f in found if f[1] == "page tab"]
        check(len(tabs) >= 7, f"main: {len(tabs)} page tabs")
        mode_a = named(found, "page tab", "Mode A")
        check(mode_a and mode_a[0][3].contains(pyatspi.STATE_SELECTED),
              "main: Mode A is not the selected page tab")
        options = [f for f in found if f[1] == "radio button"]
        check(any(f[2] == "Language1" and f[3].contains(pyatspi.STATE_CHECKED) for f in options),
              "main: Language1 is not the checked option")
        gestures = [f for f in found if f[1] == "check box"]
        check(len(gestures) == 7, f"main: {len(gestures)} gesture check boxes")
        check(named(found, "push button", "Close"), "main: no Close button")
        check(named(found, "push button", "Reset"), "main: no Reset button")
        # A gesture toggled through its action is told to the mouse.
        first = gestures[0] if gestures else None
        if first is not None:
            was = first[3].contains(pyatspi.STATE_CHECKED)
            press(found, "check box", first[2])
            check(wait_for(3, lambda: first[0].getState().contains(pyatspi.STATE_CHECKED) != was),
                  "main: a gesture's toggle action changed nothing")

        # Each page through its tab's action.
        for tab, page, expect in [("Advanced", "gbPage2", ("slider", "radio button")),
                                  ("Light", "gbPage3", ("combo box", "radio button")),
                                  ("Macro", "gbPage4", ("list", "radio button")),
                                  ("Update", "gbPage5", ("push button",))]:
            if not check(press(tree(app), "page tab", tab), f"no page tab {tab} to press"):
                continue
            if not check(wait_for(5, lambda: layout(report_path).get("page") == page),
                         f"{tab}: the page did not open"):
                continue
            time.sleep(0.5)
            found = tree(app)
            check_page(found, tab)
            print(f"{tab}: {len(found)} accessibles")
            chosen = named(found, "page tab", tab)
            check(chosen and chosen[0][3].contains(pyatspi.STATE_SELECTED),
                  f"{tab}: its tab is not the selected one")
            for role in expect:
                check(any(f[1] == role for f in found), f"{tab}: no {role}")
            if tab == "Advanced":
                sliders = named(found, "slider", "DPI 1")
                if check(sliders, "Advanced: no slider named DPI 1"):
                    value = sliders[0][0].queryValue()
                    check(value.minimumValue == 1 and value.maximumValue == 12,
                          "Advanced: DPI 1 does not run from step 1 to 12")
                check(named(found, "radio button", "1000Hz"), "Advanced: no 1000Hz option")
    finally:
        window.terminate()
        try:
            window.wait(10)
        except subprocess.TimeoutExpired:
            window.kill()
        server.terminate()
    for failure in failures:
        print("FAILED:", failure)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
