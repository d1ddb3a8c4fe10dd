"""Drives the real program on a Wayland display through the accessibility bus (AT-SPI).

Wayland gives a client no way to find or poke another client's windows (xdotool's way on X); the
accessibility bus is how assistive technology does it on every display server, so the test reads and
presses the program's own widgets there.

Usage (inside dbus-run-session, with WAYLAND_DISPLAY set):
    drive_over_atspi.py <corvane executable> <map file>
Starts the program with --map and --emulation, waits for its main window, opens the menu "File",
checks that --emulation shows "Emulazione Corvane" and that "Profilo" says the switch by window is off, then chooses "Fine Programma" and expects exit
status 0. Every wait is bounded.
"""

import os
import subprocess
import sys
import tempfile
import time

import pyatspi

MAIN_CAPTION = "Corvane (DEMO)"


def fail(message):
    print(f"wayland: {message}", file=sys.stderr)
    sys.exit(1)


def wait_for(what, find, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.1)
    fail(f"no {what} within {seconds} s")


def program(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that left the bus while being listed
            continue
    return None


def descendant(root, role, name):
    if root is None:
        return None
    return pyatspi.findDescendant(
        root, lambda a: a is not None and a.getRole() == role and a.name == name, breadth_first=True)


def showing(accessible):
    return accessible is not None and accessible.getState().contains(pyatspi.STATE_SHOWING)


def shown(pid, role, name):
    """The program's widget of that role and name while it is on screen, else None."""
    found = descendant(program(pid), role, name)
    return found if showing(found) else None


def press(accessible):
    actions = accessible.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    for wanted in ("Press", "ShowMenu", "press", "click"):
        if wanted in names:
            actions.doAction(names.index(wanted))
            return
    fail(f"'{accessible.name}' offers no press action, only {names}")


def main():
    exe, map_file = sys.argv[1], sys.argv[2]
    environment = dict(os.environ, QT_QPA_PLATFORM="wayland", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    environment.pop("DISPLAY", None)  # no X server to fall back to: Wayland or nothing
    config = tempfile.mkdtemp()
    environment.update(XDG_CONFIG_HOME=config, XDG_CONFIG_DIRS=config)

    # The bus and its registry up before the program looks for them at its start.
    pyatspi.Registry.getDesktop(0)
    started = time.monotonic()
    process = subprocess.Popen([exe, "--map", map_file, "--emulation"], env=environment)
    try:
        wait_for("program on the accessibility bus", lambda: program(process.pid), 30)
        main_window = wait_for("main window", lambda: shown(process.pid, pyatspi.ROLE_FRAME, MAIN_CAPTION), 30)
        print(f"wayland: main window shown after {time.monotonic() - started:.1f} s")

        # The usage instructions come with the window's first activation; a headless compositor has
        # no seat and so activates no window. Where one does, the box is dismissed as a user would.
        ok = shown(process.pid, pyatspi.ROLE_PUSH_BUTTON, "OK")
        if ok is not None:
            press(ok)
            print("wayland: instructions dismissed")

        # The menu as a user opens it: the hidden entry is listed but not shown unless asked for.
        file_menu = descendant(main_window, pyatspi.ROLE_MENU_ITEM, "File")
        if file_menu is None:
            fail("no menu 'File'")
        press(file_menu)
        end = wait_for("menu entry 'Fine Programma'",
                       lambda: shown(process.pid, pyatspi.ROLE_MENU_ITEM, "Fine Programma"), 10)
        if shown(process.pid, pyatspi.ROLE_MENU_ITEM, "Emulazione Corvane") is None:
            fail("--emulation did not show the menu entry 'Emulazione Corvane'")
        print("wayland: menu 'File' open, 'Emulazione Corvane' shown as asked")
        # No window in front can be known here: the profiles' menu says the automatic switch is off.
        press(descendant(main_window, pyatspi.ROLE_MENU_ITEM, "Profilo"))
        wait_for("note 'Cambio per finestra: spento su Wayland'", lambda: shown(
            process.pid, pyatspi.ROLE_MENU_ITEM, "Cambio per finestra: spento su Wayland"), 10)

        press(end)
        try:
            status = process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            fail("still running 10 s after 'Fine Programma'")
        if status != 0:
            fail(f"exit status {status} after 'Fine Programma'")
        print(f"wayland: ended through 'Fine Programma' with status 0, {time.monotonic() - started:.1f} s in all")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


if __name__ == "__main__":
    main()
