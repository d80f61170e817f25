#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The note text colour: a click on the swatch opens the colour dialog, a colour
# typed into its HTML field and confirmed becomes the swatch colour, is stored
# and comes back after a restart, and the next note written takes it. A cancel
# leaves the colour as it was, in the run that chose it and after a restart.
source "$(dirname "$0")/harness.sh"

DIALOG='Select Color'

# Clicks the swatch and waits for the colour dialog.
open_colour_dialog() {
  click $(swatch_xy)
  wait_until 10 window_shown "$DIALOG" || die "no colour dialog opened"
}

# Closes the dialog with a key (Return confirms, Escape cancels). Without a
# window manager the planner window stays inactive until it is clicked.
close_colour_dialog() { # key
  press "$1"
  wait_until 10 window_gone "$DIALOG" || die "the colour dialog did not close"
}

expect_swatch() { # description #RRGGBB
  local colour
  colour=$(pixel_colour $(swatch_xy))
  if [[ $colour == "$2" ]]; then pass "$1"; else fail "$1: the swatch shows $colour, expected $2"; fi
}

start_x
start_planner

# A cancel on a first run: the swatch stays black, and black is stored.
open_colour_dialog
close_colour_dialog Escape
expect_store "a cancel on a first run stores black" Forecolor 0
expect_swatch "after a cancel the swatch is still black" '#000000'

# Red, typed into the dialog's HTML field (Alt+H) and confirmed with Return.
open_colour_dialog
press alt+h ctrl+a
type_text '#ff0000'
close_colour_dialog Return
expect_store "a confirmed red is stored as 255" Forecolor 255
expect_swatch "the swatch turns red" '#FF0000'

# The next note box that takes the focus takes the colour, stored with its text.
click_note 1 9
type_text 'in red'
expect_store "a note written after the choice is stored" August_2021_txtNote_9 'in red'
expect_store "with the red colour" August_2021_txtNoteColor_9 255

# A cancel after a confirmed choice in the same run keeps red.
open_colour_dialog
close_colour_dialog Escape
expect_store "a cancel after choosing red keeps 255" Forecolor 255
expect_swatch "and the swatch stays red" '#FF0000'
click_note 2 4
type_text 'after a cancel'
expect_store "the note clicked into after a cancel takes red" September_2021_txtNoteColor_4 255
expect_no_box

# After a restart the swatch is red again, and a cancel in the new run leaves
# it red.
kill_planner
start_planner
swatch_red() { [[ $(pixel_colour $(swatch_xy)) == '#FF0000' ]]; }
wait_until 10 swatch_red || true # the first paint may follow the window's mapping
expect_swatch "after a restart the swatch is red" '#FF0000'
click_note 1 20
type_text 'first click'
expect_store "the first note clicked into after a start takes red" August_2021_txtNoteColor_20 255
open_colour_dialog
close_colour_dialog Escape
expect_store "a cancel in a new run leaves 255 stored" Forecolor 255
expect_swatch "and the swatch red" '#FF0000'
expect_no_box

finish
