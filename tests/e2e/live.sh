#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two machines, A and B, each with its own store, its "tavorin-notes sync
# --watch" and its planner on an X display of its own, meet through a
# Radicale on 127.0.0.1. A line typed into A's window shows in B's open
# window, in the right box, with no input to B. Then B's user types into a
# note while A's new line for the same note arrives: no character is lost on
# either side, and both machines end with the same note.
# Usage: bash live.sh TAVORIN_PLANNER TAVORIN_NOTES
source "$(dirname "$0")/harness.sh"
NOTES=${2:?usage: bash $0 <tavorin-planner> <tavorin-notes>}
source "$(dirname "$0")/machines.sh"
start_machines

# A line typed into 3 August on A shows in B's window, B untouched meanwhile.
on a
click_note 1 2
type_text 'Dentist 9:30'
on b
expect_store "the line reaches B's store" August_2021_txtNote_2 'Dentist 9:30' 30
sleep 1.5 # the window looks at the store more than twice a second
expect_box "B's open window shows the line in 3 August, with no input to B" $(note_xy 1 2) 'Dentist 9:30'
expect_store "B stored nothing over it" August_2021_txtNote_2 'Dentist 9:30'

# B types slowly at the start of 4 August's note while A adds a line at its
# end: the line arrives in B's box in the middle of B's typing.
on a
click_note 1 3
type_text 'Meeting'
on b
expect_store "A's note of 4 August reaches B" August_2021_txtNote_3 'Meeting' 30
sleep 1.5
click_note 1 3
press ctrl+Home
(on b; TYPE_DELAY=250 type_text 'Room 12, bring the forms. ') &
typist=$!
STARTED+=("$typist")
sleep 0.5
on a
press ctrl+End
type_text $'\nAnna comes too'
wait "$typist"
both='Room 12, bring the forms. Meeting
Anna comes too'
on b
expect_store "B's store holds both edits, no character lost" August_2021_txtNote_3 "$both" 30
on a
expect_store "A's store holds both edits, no character lost" August_2021_txtNote_3 "$both" 30
sleep 1.5
on b
expect_box "B's box shows both edits" $(note_xy 1 3) "$both"
on a
expect_box "A's box shows both edits" $(note_xy 1 3) "$both"
on a; expect_no_box "A"
on b; expect_no_box "B"

# SIGTERM ends each watch cleanly: exit 0, and nothing is left waiting to go up.
for name in a b; do
  machine $name
  pid_var=WATCH_$name
  kill -TERM "${!pid_var}"
  if wait_until 30 process_gone "${!pid_var}"; then
    rc=0; wait "${!pid_var}" || rc=$?
    if ((rc == 0)); then pass "sync --watch of $name ends on SIGTERM with 0"; else fail "sync --watch of $name ended with $rc"; fi
  else
    fail "sync --watch of $name did not end on SIGTERM"
  fi
  waiting=$(notes sync --status | sed -n 's/^waiting to go up: //p')
  if [[ $waiting == 0 ]]; then pass "nothing of $name waits to go up"; else fail "$waiting notes of $name wait to go up"; fi
done
sed 's/^/# /' "$WORK"/watch-*.log

finish
