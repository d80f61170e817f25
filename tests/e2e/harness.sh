# SPDX-License-Identifier: GPL-3.0-or-later
# Common steps of the end-to-end tests, sourced by every scenario file.
#
# Each scenario file runs as `bash <file>.sh <path to tavorin-planner>`. It gets
# a private X server (bare, as in a kiosk session, or with the window manager
# openbox when E2E_WINDOW_MANAGER=openbox), a private HOME and XDG_DATA_HOME, the real program started
# on a fixed date in a fixed locale, and real mouse and keyboard input through
# the XTEST extension. It checks what a person sees (through the clipboard and
# the screen) and what the program stored (through the sqlite3 CLI), and ends
# with `finish`. Every wait is bounded; every process started here is ended
# when the scenario file exits.
#
# Without a window manager nothing gives the planner window the keyboard focus
# but the planner itself, when it is clicked; with one, the window manager
# does, as it sees fit. Scenarios give the focus nowhere themselves.
#
# Output is one line per check: "ok - ..." or "FAIL - ...".
# E2E_KEEP=1 keeps the work folder (store, logs, screenshots) for a look.

set -euo pipefail

PLANNER=${1:?usage: bash $0 <path to tavorin-planner>}
[[ -x $PLANNER ]] || { echo "not an executable program: $PLANNER" >&2; exit 1; }
WINDOW_MANAGER=${E2E_WINDOW_MANAGER:-}
[[ -z $WINDOW_MANAGER || $WINDOW_MANAGER == openbox ]] || { echo "unknown E2E_WINDOW_MANAGER: $WINDOW_MANAGER" >&2; exit 1; }
for tool in Xvfb weston xdotool xclip xprop xwininfo xmessage import sqlite3 od $WINDOW_MANAGER; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool (scripts/install-deps.sh installs it)" >&2; exit 1; }
done
FAKETIME_LIB=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2>/dev/null | head -n 1)
[[ -n $FAKETIME_LIB ]] || { echo "missing libfaketime (Debian package faketime)" >&2; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/tavorin-e2e.XXXXXX")
export HOME=$WORK/home XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config
export XDG_CACHE_HOME=$WORK/cache XDG_RUNTIME_DIR=$WORK/runtime
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
STORE=$XDG_DATA_HOME/Quillmere/settings.sqlite3

# The date every start uses unless a scenario passes another one.
START_DATE='2021-08-15 10:00:00'

FAILURES=0
KEEP_WORK=0     # set by any failure: the work folder stays
STARTED=()      # every process this file started, ended by cleanup
X_SERVERS=()    # the X servers among them
PLANNER_PID=''  # the planner that the input helpers drive
PLANNER_WIN=''  # its window
PLANNER_ENV=()  # NAME=value settings of a scenario for every start, after those below

pass() { echo "ok - $*"; }
fail() {
  KEEP_WORK=1
  echo "FAIL - $*"
  FAILURES=$((FAILURES + 1))
}
die() { fail "$*"; exit 1; }

# Ends a process that this shell started and that is still its child; a pid
# that has been reused by some other process is left alone. TERM gets five
# seconds before KILL follows.
end_process() { # pid signal
  local parent
  parent=$(awk '/^PPid:/ { print $2 }' "/proc/$1/status" 2>/dev/null || true)
  [[ $parent == "$$" ]] || return 0
  kill "-$2" "$1" 2>/dev/null || true
  if [[ $2 == TERM ]] && ! wait_until 5 process_gone "$1"; then
    kill -KILL "$1" 2>/dev/null || true
  fi
  wait "$1" 2>/dev/null || true
}
process_gone() { ! kill -0 "$1" 2>/dev/null || [[ $(awk '/^State:/ { print $2 }' "/proc/$1/status" 2>/dev/null) == Z ]]; }

cleanup() {
  local rc=$? i
  for ((i = ${#STARTED[@]} - 1; i >= 0; i--)); do
    end_process "${STARTED[i]}" TERM
  done
  if [[ ${E2E_KEEP:-0} == 1 || $rc != 0 || $KEEP_WORK == 1 ]]; then
    echo "# work folder kept: $WORK"
  else
    rm -rf "$WORK"
  fi
}
trap cleanup EXIT

finish() {
  if ((FAILURES > 0)); then
    echo "# $FAILURES check(s) failed; planner output:"
    sed 's/^/#   /' "$WORK"/planner-*.log 2>/dev/null | tail -n 40 || true
    exit 1
  fi
  echo "# all checks passed"
}

# Runs a command until it succeeds or the seconds run out; true when it succeeded.
wait_until() { # seconds command...
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

# ---------------------------------------------------------------- X server

# Starts a private X server on a free display and makes it the current DISPLAY.
# -noreset: by default the server resets whenever its last client leaves, and a
# planner that connects during such a reset cannot open the display.
start_x() {
  local number_file=$WORK/display.$RANDOM
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset 3>"$number_file" \
    >>"$WORK/xvfb.log" 2>&1 &
  STARTED+=($!)
  X_SERVERS+=($!)
  wait_until 20 grep -qs . "$number_file" || die "the X server did not start"
  export DISPLAY=:$(head -n 1 "$number_file")
  [[ -z $WINDOW_MANAGER ]] || start_window_manager
}

# Starts openbox on the current display and waits until it manages the screen.
start_window_manager() {
  openbox --sm-disable >>"$WORK/openbox-${DISPLAY#:}.log" 2>&1 &
  STARTED+=($!)
  wait_until 20 window_manager_running || die "openbox did not start"
}
window_manager_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Starts Weston with its headless back-end, a Wayland session without a
# screen, and sets WAYLAND_DISPLAY to its socket.
start_weston() {
  WAYLAND_DISPLAY=tavorin-e2e-$$
  weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 \
    >>"$WORK/weston.log" 2>&1 &
  STARTED+=($!)
  wait_until 20 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || die "weston did not start: $(tail -n 3 "$WORK/weston.log")"
}

# Says so when an X server of this file has ended: something else ended it.
x_server_note() {
  local pid
  for pid in "${X_SERVERS[@]}"; do
    kill -0 "$pid" 2>/dev/null || echo " (the X server $pid has ended)"
  done
}

# ---------------------------------------------------------------- the planner

planner_window() { # pid: the visible main window of that planner, if any
  { xdotool search --all --onlyvisible --pid "$1" --name '^Tavorin Planner$' 2>/dev/null || true; } | head -n 1
}

# Starts the planner on the current display, on START_DATE or the date given,
# and waits for its window; a window manager then gives it the keyboard focus
# before this returns.
start_planner() { # [date and time]
  local when=${1:-$START_DATE} log pid
  log=$WORK/planner-${#STARTED[@]}.log
  launch_planner "$when" "$log" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb
  pid=$PLANNER_PID
  PLANNER_WIN=''
  local deadline=$((SECONDS + 30))
  while [[ -z $PLANNER_WIN ]]; do
    kill -0 "$pid" 2>/dev/null || die "the planner ended at start; its output: $(tail -n 5 "$log")$(x_server_note)"
    ((SECONDS < deadline)) || die "the planner showed no window named 'Tavorin Planner'"
    sleep 0.05
    PLANNER_WIN=$(planner_window "$pid")
  done
  [[ -z $WINDOW_MANAGER ]] || wait_until 10 planner_has_focus || die "the window manager gave the planner no focus"
}
planner_has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$PLANNER_WIN" ]]; }

# Starts the planner in the background with nothing of this shell's
# environment but the private folders, the fixed date and locale (unless the
# scenario's PLANNER_ENV says otherwise) and the display settings given.
launch_planner() { # date log NAME=value...
  local when=$1 log=$2
  shift 2
  env -i PATH="$PATH" HOME="$HOME" XDG_DATA_HOME="$XDG_DATA_HOME" \
    XDG_CONFIG_HOME="$XDG_CONFIG_HOME" XDG_CACHE_HOME="$XDG_CACHE_HOME" \
    XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" "$@" \
    LANGUAGE=C LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=UTC NO_AT_BRIDGE=1 "${PLANNER_ENV[@]}" \
    LD_PRELOAD="$FAKETIME_LIB" FAKETIME="@$when" DONT_FAKE_MONOTONIC=1 \
    "$PLANNER" >"$log" 2>&1 &
  PLANNER_PID=$!
  STARTED+=("$PLANNER_PID")
}

# Ends the planner at once, as a crash or a power cut would: no event runs.
kill_planner() {
  end_process "$PLANNER_PID" KILL
}

# Clicks an empty spot of the window (the border of panel 1), as a person
# does before typing into a window that has not been given the focus yet.
click_empty_spot() { click 4 4; }

# Another program takes the keyboard focus: a window of xmessage is opened
# (once) and given the focus, with a window manager as with none.
switch_to_other_program() {
  local other
  other=$(window_named 'other program')
  if [[ -z $other ]]; then
    xmessage -name 'other program' -title 'other program' -geometry +0+0 'another program' \
      >>"$WORK/xmessage.log" 2>&1 &
    STARTED+=($!)
    wait_until 10 window_shown 'other program' || die "xmessage showed no window"
    other=$(window_named 'other program')
  fi
  if [[ -n $WINDOW_MANAGER ]]; then
    timeout 10 xdotool windowactivate --sync "$other" || die "could not switch to the other program"
  else
    timeout 10 xdotool windowfocus --sync "$other" || die "could not switch to the other program"
  fi
  # Qt takes a loss of the focus for final only after a moment (a focus
  # moving between two of its own windows comes back at once); a person
  # takes longer than that before clicking back.
  sleep 1
}

# Removes the store (only while no planner runs), for a start on an empty one.
reset_store() { rm -rf "$XDG_DATA_HOME/Quillmere"; }

# The visible window with exactly this title, if any.
window_named() { # title
  { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; } | head -n 1
}
window_shown() { [[ -n $(window_named "$1") ]]; }
window_gone()  { [[ -z $(window_named "$1") ]]; }

# Every visible window of a planner on the current display but its main
# window: message boxes and dialogs.
other_windows() {
  local window
  for window in $(xdotool search --onlyvisible --classname '^tavorin-planner$' 2>/dev/null || true); do
    [[ $(xdotool getwindowname "$window" 2>/dev/null) == 'Tavorin Planner' ]] || echo "$window"
  done
}

# Fails when a message box or dialog is open, and keeps a picture of it in the
# work folder.
expect_no_box() { # [whose]
  local whose=${1:+ over $1} windows window picture
  windows=$(other_windows)
  if [[ -z $windows ]]; then
    pass "no message box is open$whose"
    return
  fi
  for window in $windows; do
    picture=$WORK/box-${DISPLAY#:}-$window.png
    import -window "$window" "$picture" || true
    fail "a box titled $(show "$(xdotool getwindowname "$window")") is open$whose (picture: $picture)"
  done
}

screenshot() { # file
  import -window "$PLANNER_WIN" "$1"
}

# The colour of one pixel of the window's client area, as #RRGGBB.
pixel_colour() { # x y
  import -window "$PLANNER_WIN" -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}

# ---------------------------------------------------------------- where things are

# Client-area coordinates of the centre of a control. Panel 1's frame is at
# (8,8), panel 2's at (480,8); inside a frame the month list is at (64,24)
# 137x23, the year box at (264,24) 65x23, and note box i at
# (8+64*(i%7), 76+88*(i/7)) 62x65.
frame_left() { (($1 == 1)) && echo 8 || echo 480; }
note_xy()  { local f; f=$(frame_left "$1"); echo "$((f + 8 + 64 * ($2 % 7) + 31)) $((8 + 76 + 88 * ($2 / 7) + 32))"; }
year_xy()  { local f; f=$(frame_left "$1"); echo "$((f + 264 + 32)) $((8 + 24 + 11))"; }
swatch_xy() { echo "$((8 + 16 + 452)) $((518 + 18 + 11))"; }

# ---------------------------------------------------------------- input

click() { # x y (client area of the planner window)
  xdotool mousemove --window "$PLANNER_WIN" "$1" "$2" click 1
}
click_note() { click $(note_xy "$1" "$2"); }   # panel cell
click_year() { click $(year_xy "$1"); }        # panel
# Types a text; each line break in it is a press of Return.
type_text() { # text
  local lines line first=1
  mapfile -t lines < <(printf '%s\n' "$1")
  for line in "${lines[@]}"; do
    ((first)) || press Return
    first=0
    [[ -z $line ]] || xdotool type --delay "${TYPE_DELAY:-8}" -- "$line"
  done
}
press()      { xdotool key --delay 20 "$@"; }

# ---------------------------------------------------------------- reading back

hex_of() { printf '%s' "$1" | od -An -v -tx1 | tr -d ' \n'; }

# "-" when the key is absent, else "=" followed by the value's bytes in hex.
store_raw() { # key
  [[ -f $STORE ]] || { echo -; return; }
  local key=${1//\'/\'\'}
  sqlite3 -batch -noheader -cmd '.timeout 5000' "file:$STORE?mode=rw" \
    "SELECT CASE WHEN count(*) = 0 THEN '-' ELSE '=' || lower(hex(CAST(max(value) AS BLOB))) END
       FROM settings WHERE application = 'Quillmere' AND section = 'Tavorin Planner' AND key = '$key'"
}

store_sql() { # query
  sqlite3 -batch -noheader -cmd '.timeout 5000' "file:$STORE?mode=rw" "$1"
}

# Shows a text in a failure message: quoted, line breaks and tabs made
# visible, cut after 120 characters.
show() { # text
  local text=$1 shown
  shown=${text:0:120}
  shown=${shown//$'\n'/\\n}
  shown=${shown//$'\t'/\\t}
  shown=${shown//$'\r'/\\r}
  if ((${#text} > 120)); then echo "\"$shown...\" (${#text} characters)"; else echo "\"$shown\""; fi
}

# Shows a value as store_raw or read_box gives it: "=" and the bytes in hex.
show_raw() { # raw
  local hex=${1#=} text
  text=$(printf '%b' "$(printf '%s' "$hex" | sed 's/../\\x&/g')"; echo .)
  show "${text%.}"
}

store_is() { [[ $(store_raw "$1") == "=$(hex_of "$2")" ]]; }

# Waits (bounded) until the store holds exactly the text under the key.
expect_store() { # description key text [seconds]
  if wait_until "${4:-10}" store_is "$2" "$3"; then
    pass "$1"
    return
  fi
  local raw
  raw=$(store_raw "$2")
  if [[ $raw == - ]]; then
    fail "$1: $2 is not stored, expected $(show "$3")"
  else
    fail "$1: $2 holds $(show_raw "$raw"), expected $(show "$3")"
  fi
}

expect_absent() { # description key
  local raw
  raw=$(store_raw "$2")
  if [[ $raw == - ]]; then pass "$1"; else fail "$1: $2 holds $(show_raw "$raw"), expected absent"; fi
}

# Reads what a box shows through the clipboard, as a person would copy it:
# click the box, select all, copy. Sets BOX_HEX to the text's bytes in hex, or
# to "" when the copy gave nothing (an empty box copies nothing).
SENTINEL='tavorin-e2e clipboard sentinel'
read_box() { # x y [seconds]
  printf '%s' "$SENTINEL" | xclip -selection clipboard -i -quiet >/dev/null 2>&1 &
  STARTED+=($!)
  wait_until 5 clipboard_is "$SENTINEL" || die "could not set the clipboard"
  click "$1" "$2"
  press ctrl+a ctrl+c
  BOX_HEX=''
  wait_until "${3:-5}" clipboard_changed || return 0
  BOX_HEX=$(timeout 10 xclip -selection clipboard -o 2>/dev/null | od -An -v -tx1 | tr -d ' \n')
}
clipboard_is() { [[ $(timeout 5 xclip -selection clipboard -o 2>/dev/null) == "$1" ]]; }
clipboard_changed() { ! clipboard_is "$SENTINEL"; }

expect_box() { # description x y text [seconds]
  read_box "$2" "$3" "${5:-5}"
  if [[ $BOX_HEX == "$(hex_of "$4")" ]]; then
    pass "$1"
  else
    fail "$1: the box shows $(show_raw "=$BOX_HEX"), expected $(show "$4")"
  fi
}
