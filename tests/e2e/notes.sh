#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Day notes are stored as they are typed: a note survives the program being
# killed at once after the last keystroke, comes back after a restart, and a
# fast burst of typing is stored character for character.
#
# With E2E_SCREENSHOT_DIR set, the screenshot taken after the restart is copied
# there as screenshot-note-after-restart.png (docs/ holds the committed one).
source "$(dirname "$0")/harness.sh"

start_x
start_planner

# A two-line note for 6 August (cell 5 of panel 1), then SIGKILL as soon as
# the box shows it: no event of the program runs after the last keystroke.
note=$'Dentist 9:30\nbring forms'
click_note 1 5
type_text "$note"
read_box $(note_xy 1 5)
kill_planner
if [[ $BOX_HEX == "$(hex_of "$note")" ]]; then
  pass "the box of 6 August holds the two-line note"
else
  fail "the box of 6 August holds $(show_raw "=$BOX_HEX"), expected $(show "$note")"
fi
expect_store "the note is stored before the kill" August_2021_txtNote_5 "$note"
expect_store "the note's colour is stored before the kill" August_2021_txtNoteColor_5 0

start_planner
expect_box "after a restart the box of 6 August shows the note" $(note_xy 1 5) "$note"
press ctrl+End # drop the selection before the screenshot
shot=$WORK/screenshot-note-after-restart.png
screenshot "$shot"
if [[ -n ${E2E_SCREENSHOT_DIR:-} ]]; then
  cp "$shot" "$E2E_SCREENSHOT_DIR/"
fi

# A burst of 2,000 characters, typed without pauses into the note of 13 August:
# letters of both cases, digits, punctuation and line breaks.
burst=''
for ((line = 1; ${#burst} < 2000; line++)); do
  burst+="Line $line: The quick brown fox jumps over the lazy dog, 0123456789 times; ok?"$'\n'
done
burst=${burst:0:2000}
click_note 1 12
TYPE_DELAY=0 type_text "$burst"
read_box $(note_xy 1 12) 120
if [[ $BOX_HEX == "$(hex_of "$burst")" ]]; then
  pass "the box of 13 August shows the 2,000 typed characters"
else
  fail "the box of 13 August shows $(show_raw "=$BOX_HEX"), expected $(show "$burst")"
fi
expect_store "the store holds the 2,000 typed characters" August_2021_txtNote_12 "$burst"
expect_store "the earlier note is untouched" August_2021_txtNote_5 "$note"
expect_no_box

finish
