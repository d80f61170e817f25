#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starting the planner: the window a person gets on 15 August 2021 with an
# empty store, a start in December, when panel 2 wraps round to January, and a
# start in a Wayland session.
source "$(dirname "$0")/harness.sh"

start_x
start_planner '2021-08-15 10:00:00'

# The window: exact title, fixed client size, centred on the 1280x1024 screen.
name=$(xdotool getwindowname "$PLANNER_WIN")
if [[ $name == 'Tavorin Planner' ]]; then pass "the window is titled 'Tavorin Planner'"; else fail "the window is titled $(show "$name")"; fi
geometry=$(xwininfo -id "$PLANNER_WIN" | awk -F': *' '
  /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
  /^ *Width/ { w = $2 } /^ *Height/ { h = $2 }
  END { print w "x" h "+" x "+" y }')
if [[ $geometry == 952x576+164+224 ]]; then
  pass "the client area is 952x576, centred on the screen"
else
  fail "the client area is $geometry, expected 952x576+164+224"
fi
hints=$(xprop -id "$PLANNER_WIN" WM_NORMAL_HINTS)
if grep -q 'minimum size: 952 by 576' <<<"$hints" && grep -q 'maximum size: 952 by 576' <<<"$hints"; then
  pass "the window cannot be resized"
else
  fail "the window's size hints allow resizing: $hints"
fi

# The store after a first start holds the two year texts and nothing else.
expect_store "year 1 is stored at start" Text1 2021
expect_store "year 2 is stored at start" Text2 2021
keys=$(store_sql "SELECT group_concat(key, ' ') FROM (SELECT key FROM settings ORDER BY key)")
if [[ $keys == 'Text1 Text2' ]]; then pass "the first start stores no other key"; else fail "the first start stored: $keys"; fi

painted() { [[ $(pixel_colour 936 547) != '#000000' ]]; }
wait_until 10 painted || fail "the bottom strip beside the swatch is not painted"
colour=$(pixel_colour $(swatch_xy))
if [[ $colour == '#000000' ]]; then pass "the colour swatch is black"; else fail "the colour swatch shows $colour"; fi

# Panel 1 shows August with its 31 days, panel 2 September with 30: what a
# person types lands under those months, and the cell past 30 September is not
# there to click (the click leaves the focus in the note of 30 September).
click_note 1 30
type_text 'Aug 31'
expect_store "panel 1 shows August 2021 down to the 31st" August_2021_txtNote_30 'Aug 31'
click_note 2 29
type_text 'Sep 30'
click_note 2 30
type_text '!'
expect_store "panel 2 shows September 2021 down to the 30th" September_2021_txtNote_29 'Sep 30!'
expect_absent "panel 2 shows no 31st of September" September_2021_txtNote_30

# Both year boxes show the year, read as a person would copy it. Tab moves on
# from year box 2 to the month list, so no later click starts from a year box.
expect_box "year box 1 shows 2021" $(year_xy 1) 2021
expect_box "year box 2 shows 2021" $(year_xy 2) 2021
press Tab
expect_no_box
kill_planner

# 20 December 2021, empty store: panel 1 shows December and panel 2 January,
# both with the current year 2021.
reset_store
start_planner '2021-12-20 10:00:00'
expect_store "a December start stores year 1 as 2021" Text1 2021
expect_store "a December start stores year 2 as 2021" Text2 2021
click_note 1 30
type_text 'Dec 31'
expect_store "panel 1 shows December 2021" December_2021_txtNote_30 'Dec 31'
click_note 2 0
type_text 'Jan 1'
expect_store "panel 2 wraps round to January, year unchanged" January_2021_txtNote_0 'Jan 1'
expect_no_box
kill_planner

# --- A Wayland session (Weston without a screen): the window appears, that is
# the surface of the toplevel titled "Tavorin Planner" gets its first picture
# (seen in the protocol log of WAYLAND_DEBUG), the years are stored, and
# SIGTERM ends the planner with nothing left broken.
reset_store
start_weston
wayland_log=$WORK/planner-wayland.log
launch_planner "$START_DATE" "$wayland_log" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" QT_QPA_PLATFORM=wayland \
  WAYLAND_DEBUG=client
window_painted() { sed -n '/xdg_toplevel@[0-9]*\.set_title("Tavorin Planner")/,$p' "$wayland_log" | grep -q 'wl_surface@[0-9]*\.attach(wl_buffer'; }
if wait_until 30 window_painted; then
  pass "under Wayland the window titled 'Tavorin Planner' appears"
else
  fail "under Wayland no window titled 'Tavorin Planner' appeared: $(grep -v '^\[' "$wayland_log" | tail -n 5)"
fi
expect_store "under Wayland year 1 is stored at start" Text1 2021
expect_store "under Wayland year 2 is stored at start" Text2 2021
kill -TERM "$PLANNER_PID"
status=0
wait_until 10 process_gone "$PLANNER_PID" && wait "$PLANNER_PID" || status=$?
if [[ $status == 143 ]]; then pass "SIGTERM ends the planner"; else fail "after SIGTERM the planner's status is $status, expected 143"; fi
integrity=$(store_sql 'PRAGMA integrity_check')
if [[ $integrity == ok ]]; then pass "the store passes its integrity check"; else fail "the store's integrity check says $integrity"; fi

finish
