#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader finds in the planner's window through AT-SPI.

usage: accessibility.py PID TODAY_NAME SWATCH_DESCRIPTION [press]

Prints one line per check, "ok - ..." or "FAIL - ...", as the e2e harness
does. The colour swatch must be a push button with a Press action and the
description given, and the note box of today must be named TODAY_NAME and
carry its text colour in its text attributes. With "press", the swatch's
Press action is done at the end (the caller looks for the colour dialog).
"""
import sys
import time

import pyatspi

pid = int(sys.argv[1])
today_name, swatch_description = sys.argv[2], sys.argv[3]
press = sys.argv[4:] == ["press"]
TEXT_ROLES = (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)


def report(ok, text):
    print(("ok - " if ok else "FAIL - ") + text, flush=True)


def planner_application(seconds=20):
    """The accessible application of the planner's process, once it has its window."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for application in desktop:
            try:
                if application is not None and application.get_process_id() == pid and application.childCount > 0:
                    return application
            except Exception:  # an application that went away while being asked
                pass
        time.sleep(0.2)
    return None


def find(root, predicate):
    return pyatspi.findDescendant(root, predicate, breadth_first=True)


application = planner_application()
if application is None:
    report(False, "the planner's window does not show on the accessibility bus")
    sys.exit(0)

swatch = find(application, lambda node: node.getRole() == pyatspi.ROLE_PUSH_BUTTON)
if swatch is None:
    report(False, "the window has no push button: the colour swatch is not one")
else:
    report(True, f"the colour swatch is a push button named \"{swatch.name}\"")
    action = swatch.queryAction()
    actions = [action.getName(i) for i in range(action.nActions)]
    report("Press" in actions, f"the swatch offers Press (its actions: {actions})")
    report(swatch.description == swatch_description,
           f"the swatch's description is \"{swatch.description}\", expected \"{swatch_description}\"")

note = find(application, lambda node: node.name == today_name)
if note is None:
    names = [node.name for node in pyatspi.findAllDescendants(application, lambda node: node.getRole() in TEXT_ROLES)]
    report(False, f"no control is named \"{today_name}\"; the text boxes are named {names[:12]}")
else:
    report(note.getRole() in TEXT_ROLES, f"today's note box is named \"{today_name}\" ({note.getRoleName()})")
    attributes, _, _ = note.queryText().getAttributes(0)
    report("fg-color:" in attributes, f"today's note box tells its text colour ({attributes})")

if press and swatch is not None:
    action = swatch.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "Press":
            action.doAction(i)
