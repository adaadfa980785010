#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives a running program through the accessibility bus, as a screen reader does, where no X server
carries its input (a Wayland session), and tells where its keyboard focus is. The program must run with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.

    accessible.py PID windows        one line per shown top-level window: role, name, width, height
    accessible.py PID size ROLE      width and height of the first shown object of that role
    accessible.py PID focused        the accessible name of the object that has the keyboard focus
    accessible.py PID press NAME     does the first action (press, click, activate) of the object with
                                     that accessible name that is shown, or else of any of that name,
                                     and prints "pressed"

Waits up to ten seconds for the program to appear on the bus and for the object; exits 1 without it.
"""
import os
import sys
import threading
import time

import pyatspi

TIMEOUT_S = 10


def application(pid):
    deadline = time.monotonic() + TIMEOUT_S
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                return app
        time.sleep(0.1)
    sys.exit(f"accessible.py: no process {pid} on the accessibility bus")


def shown(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def find(app, matches):
    deadline = time.monotonic() + TIMEOUT_S
    while time.monotonic() < deadline:
        found = pyatspi.findAllDescendants(app, lambda a: a is not None and matches(a))
        if found:
            return next((a for a in found if shown(a)), found[0])
        time.sleep(0.1)
    return None


def main():
    pid, command, argument = int(sys.argv[1]), sys.argv[2], sys.argv[3:]
    app = application(pid)
    if command == "windows":
        for window in app:
            if window is not None and shown(window):
                extents = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                print(f"{window.getRoleName()}\t{window.name}\t{extents.width}\t{extents.height}")
    elif command == "size":
        found = find(app, lambda a: a.getRoleName() == argument[0] and shown(a))
        if found is None:
            sys.exit(f"accessible.py: no {argument[0]}")
        extents = found.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        print(f"{extents.width}\t{extents.height}")
    elif command == "focused":
        found = find(app, lambda a: a.getState().contains(pyatspi.STATE_FOCUSED) and shown(a))
        if found is None:
            sys.exit("accessible.py: nothing has the focus")
        print(found.name)
    elif command == "press":
        found = find(app, lambda a: a.name == argument[0])
        if found is None:
            sys.exit(f"accessible.py: nothing named {argument[0]!r}")
        # An action that opens a modal dialog answers only when the dialog closes: what counts is that it
        # ran, so a call still waiting after a second is taken as done.
        failed = []
        call = threading.Thread(target=lambda: failed.append(not found.queryAction().doAction(0)), daemon=True)
        call.start()
        call.join(1)
        if failed and failed[0]:
            sys.exit(f"accessible.py: {argument[0]!r} refused its action")
        print("pressed", flush=True)
        os._exit(0)
    else:
        sys.exit(__doc__)


main()
