#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two copies of the planner on one store: each on its own X display, typing at
# the same time into different days of August 2021. Both notes are stored in
# full, the store stays sound, also after both copies are killed, and a new
# copy shows both notes.
source "$(dirname "$0")/harness.sh"

start_x
display_a=$DISPLAY
start_planner
pid_a=$PLANNER_PID win_a=$PLANNER_WIN

start_x
display_b=$DISPLAY
start_planner
pid_b=$PLANNER_PID win_b=$PLANNER_WIN

note_for() { # copy name
  local text='' line
  for ((line = 1; ${#text} < 600; line++)); do
    text+="Copy $1, line $line: the quick brown fox jumps over the lazy dog."$'\n'
  done
  printf '%s' "${text:0:600}"
}
note_a=$(note_for A)
note_b=$(note_for B)

# Both copies type at once: copy A into 3 August, copy B into 4 August.
(DISPLAY=$display_a PLANNER_WIN=$win_a; click_note 1 2; TYPE_DELAY=0 type_text "$note_a") &
typist_a=$!
(DISPLAY=$display_b PLANNER_WIN=$win_b; click_note 1 3; TYPE_DELAY=0 type_text "$note_b") &
typist_b=$!
STARTED+=("$typist_a" "$typist_b")
wait "$typist_a" "$typist_b"

# Each copy stores its own note in full, shows no message box, and shows the
# note in its box: neither copy's writes keep the other's from the store.
expect_store "copy A's note is stored" August_2021_txtNote_2 "$note_a" 15
expect_store "copy B's note is stored" August_2021_txtNote_3 "$note_b" 15
DISPLAY=$display_a expect_no_box "copy A"
DISPLAY=$display_b expect_no_box "copy B"
DISPLAY=$display_a PLANNER_WIN=$win_a
expect_box "copy A shows its note of 3 August" $(note_xy 1 2) "$note_a"
DISPLAY=$display_b PLANNER_WIN=$win_b
expect_box "copy B shows its note of 4 August" $(note_xy 1 3) "$note_b"

for copy in A B; do
  pid_var=pid_${copy,}
  if kill -0 "${!pid_var}" 2>/dev/null; then pass "copy $copy is still running"; else fail "copy $copy has ended"; fi
done
check=$(store_sql 'PRAGMA integrity_check')
if [[ $check == ok ]]; then pass "the store is sound while both copies run"; else fail "integrity_check: $check"; fi

PLANNER_PID=$pid_a kill_planner
PLANNER_PID=$pid_b kill_planner
check=$(store_sql 'PRAGMA integrity_check')
if [[ $check == ok ]]; then pass "the store is sound after both copies were killed"; else fail "integrity_check: $check"; fi

DISPLAY=$display_a
start_planner
expect_box "a new copy shows the note of 3 August" $(note_xy 1 2) "$note_a"
expect_box "a new copy shows the note of 4 August" $(note_xy 1 3) "$note_b"

finish
