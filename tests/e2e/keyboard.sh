#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The keyboard: the Tab order through both panels, and the month lists and
# year boxes driven as a person would. Where the focus is, is found by typing a
# marker and looking for the key under which the program stored it.
source "$(dirname "$0")/harness.sh"

# Every stored note text, one "key=value" per line.
stored_notes() {
  store_sql "SELECT key || '=' || value FROM settings WHERE key LIKE '%\_txtNote\_%' ESCAPE '\' ORDER BY key"
}

start_x

# --- The focus starts in month list 1 and Tab goes on to year box 1, then to
# the note of the 1st, the panels refilled for the new year on the way.
start_planner
click_empty_spot
press d       # month list 1 jumps to December
press Tab     # year box 1, its text selected
type_text 2022
expect_store "one Tab from month list 1 reaches year box 1" Text1 2022
press Tab
type_text '@'
expect_store "month list 1 took the first key, and the next Tab reaches the note of the 1st" \
  December_2022_txtNote_0 '@'
kill_planner

# --- Tab walks panel 1 upwards, then panel 2 downwards, then year box 2 and
# month list 2, passing over hidden cells. August 2021 shows cells 0 to 30,
# September 2021 cells 0 to 29.
reset_store
start_planner
markers=({a..z} {A..Z} {0..9})
keys=()
for ((cell = 0; cell <= 30; cell++)); do keys+=("${markers[cell]}" Tab); done
for ((cell = 29; cell >= 0; cell--)); do keys+=("${markers[31 + 29 - cell]}" Tab); done
click_note 1 0
unset 'keys[-1]'
xdotool key --delay 10 "${keys[@]}"
press Tab
type_text 2023 # year box 2, its text selected
press Tab
press o        # month list 2 jumps to October
click_note 2 0
type_text '!'
expect_store "the walk ends in year box 2" Text2 2023
expect_store "then in month list 2" October_2023_txtNote_0 '!'

expected=$(
  for ((cell = 0; cell <= 30; cell++)); do echo "August_2021_txtNote_$cell=${markers[cell]}"; done
  for ((cell = 29; cell >= 0; cell--)); do echo "September_2021_txtNote_$cell=${markers[31 + 29 - cell]}"; done
  echo "October_2023_txtNote_0=!"
)
expected=$(sort <<<"$expected")
actual=$(stored_notes | sort)
if [[ $actual == "$expected" ]]; then
  pass "Tab visits panel 1's 31 notes upwards, then panel 2's 30 notes downwards; refills store nothing"
else
  fail "the Tab walk stored other notes than expected:"$'\n'"$(diff <(echo "$expected") <(echo "$actual") | sed 's/^/#   /')"
fi
colours=$(store_sql "SELECT count(*) || ' ' || sum(value = '0') FROM settings WHERE key LIKE '%\_txtNoteColor\_%' ESCAPE '\'")
if [[ $colours == '62 62' ]]; then
  pass "each of the 62 notes has its colour stored, black"
else
  fail "stored note colours (count, black ones): $colours, expected 62 62"
fi
expect_no_box
kill_planner

# --- Year box 2 set to 2024, month list 2 to February: 29 February is there
# to write in, and no 30th.
reset_store
start_planner
click_year 2
press ctrl+a
type_text 2024
press Tab      # leaves year box 2 for month list 2
expect_store "year box 2 stores 2024" Text2 2024
press f        # February
click_note 2 28
type_text 'Leap day'
click_note 2 29
type_text '!'
expect_store "29 February 2024 takes a note" February_2024_txtNote_28 'Leap day!'
expect_absent "February 2024 shows no 30th" February_2024_txtNote_29

# A year box left holding letters gets the current year back.
click_year 1
press ctrl+a
type_text abc
expect_store "year box 1 stores the letters as typed" Text1 abc
switch_to_other_program
click_year 1
press End
type_text d
expect_store "back from another program into the same year box, the letters stay" Text1 abcd
press shift+Tab # leaves year box 1 for month list 1
expect_store "leaving year box 1 puts the current year back" Text1 2021
click_note 1 3
type_text 'x'
expect_store "panel 1 still shows August 2021" August_2021_txtNote_3 x

# A click from a year box straight into a note box: the panels are refilled
# for the new year, and the note box keeps the focus.
click_year 1
press ctrl+a
type_text 2023
click_note 1 2
type_text 'z'
expect_store "a click from year box 1 into a note writes that note of the new year" August_2023_txtNote_2 z

# When another program had the focus in between, the click into the planner
# window still leaves the year box: its letters give way to the current year.
click_year 1
press ctrl+a
type_text abc
switch_to_other_program
click_note 1 4
type_text 'y'
expect_store "back from another program, a click from year box 1 into a note leaves the year box" \
  August_2021_txtNote_4 y
expect_no_box

finish
