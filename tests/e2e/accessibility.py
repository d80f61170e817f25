#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""usage: accessibility.py PID TODAY_NAME SWATCH_DESCRIPTION [press]
What a screen reader finds in the planner of process PID (AT-SPI), one line per check."""
import sys
import time

import pyatspi

pid, today_name, swatch_description = int(sys.argv[1]), sys.argv[2], sys.argv[3]


def report(ok, text):
    print(("ok - " if ok else "FAIL - ") + text, flush=True)


def planner(seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for application in pyatspi.Registry.getDesktop(0):
            try:
                if application.get_process_id() == pid and application.childCount > 0:
                    return application
            except Exception:  # one that went away while being asked
                pass
        time.sleep(0.2)
    report(False, "the planner's window does not show on the accessibility bus")
    sys.exit(0)


application = planner()
swatch = pyatspi.findDescendant(application, lambda node: node.getRole() == pyatspi.ROLE_PUSH_BUTTON, True)
report(swatch is not None, "the colour swatch is a push button")
if swatch is not None:
    action = swatch.queryAction()
    actions = [action.getName(i) for i in range(action.nActions)]
    report("Press" in actions, f"the swatch offers Press (its actions: {actions})")
    report(swatch.description == swatch_description, f"the swatch's description is \"{swatch.description}\"")

note = pyatspi.findDescendant(application, lambda node: node.name == today_name, True)
report(note is not None, f"a note box is named \"{today_name}\"")
if note is not None:
    attributes = note.queryText().getAttributes(0)[0]
    report("fg-color:" in attributes, f"today's note box tells its text colour ({attributes})")

if sys.argv[4:] == ["press"] and swatch is not None:
    swatch.queryAction().doAction(actions.index("Press"))
