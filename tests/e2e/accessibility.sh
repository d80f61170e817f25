#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader finds through AT-SPI, in English and in German: the
# swatch is a push button with Press (which opens the colour dialog) and a
# description, today's note box is named with its date and tells its colour.
# The accessibility bus belongs to a D-Bus session of this scenario's own.
if [[ -z ${E2E_OWN_SESSION_BUS:-} ]]; then
  exec dbus-run-session -- env E2E_OWN_SESSION_BUS=1 bash "$0" "$@"
fi
source "$(dirname "$0")/harness.sh"

# German takes the locales of the test fixture "locales" (LOCPATH).
PLANNER_ENV=(DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
             LOCPATH="${LOCPATH:-}")

check_accessibility() { # today's name, the swatch's description, [press]
  local line
  while IFS= read -r line; do
    if [[ $line == 'ok - '* ]]; then pass "${line#ok - }"; else fail "${line#FAIL - }"; fi
  done < <(/usr/bin/python3 "$(dirname "$0")/accessibility.py" "$PLANNER_PID" "$@" 2>&1)
}

start_x

start_planner
check_accessibility 'Sunday, 15 August 2021, today' 'Opens the colour dialog' press
if wait_until 10 window_shown 'Select Color'; then
  pass "the swatch's Press action opens the colour dialog"
else
  fail "the swatch's Press action opened no colour dialog"
fi
kill_planner

PLANNER_ENV+=(LANGUAGE=de_DE:de LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8)
start_planner
check_accessibility 'Sonntag, 15. August 2021, heute' 'Öffnet die Farbauswahl'
kill_planner

finish
