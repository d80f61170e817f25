# SPDX-License-Identifier: GPL-3.0-or-later
# Two machines on one computer, sourced after harness.sh: a Radicale on
# 127.0.0.1 that both sync with, and for each machine (a, b) its own store
# and sync settings, its "tavorin-notes sync --watch" and its planner on an X
# display of its own. NOTES is the tavorin-notes program.
command -v curl >/dev/null || die "missing tool: curl"
source "$(dirname "${BASH_SOURCE[0]}")/radicale.sh"

start_radicale() {
  local port
  port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
  radicale_config "$WORK" "$port" anna secret
  /usr/bin/python3 -m radicale --config "$WORK/radicale.conf" >>"$WORK/radicale.log" 2>&1 &
  STARTED+=($!)
  SERVER_URL=http://127.0.0.1:$port/
  wait_until 30 curl -s -o /dev/null "$SERVER_URL" || die "Radicale did not start"
  echo secret > "$WORK/password"
}

# Makes the folders of machine a or b the current ones; the planner and the
# tool take them from these variables.
machine() { # name
  export XDG_DATA_HOME=$WORK/$1/data XDG_CONFIG_HOME=$WORK/$1/config
  STORE=$XDG_DATA_HOME/Quillmere/settings.sqlite3
  mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
}

# The tool as a user runs it, with no keyring: the password comes from a file.
notes() { DBUS_SESSION_BUS_ADDRESS= LANGUAGE=C LC_ALL=C.UTF-8 "$NOTES" "$@"; }

# Sets up sync on both machines and starts their watches and planners.
start_machines() {
  local name
  start_radicale
  for name in a b; do
    machine $name
    notes sync setup "$SERVER_URL" --user anna --password-command "cat $WORK/password" \
      >>"$WORK/setup.log" 2>&1 || die "sync setup on $name failed: $(tail -n 3 "$WORK/setup.log")"
    env DBUS_SESSION_BUS_ADDRESS= LANGUAGE=C LC_ALL=C.UTF-8 "$NOTES" sync --watch >>"$WORK/watch-$name.log" 2>&1 &
    STARTED+=($!)
    eval "WATCH_$name=$!"
    start_x
    eval "DISPLAY_$name=$DISPLAY"
    start_planner
    eval "WIN_$name=$PLANNER_WIN PID_$name=$PLANNER_PID"
  done
}

# Input, reading back and the store helpers go to that machine.
on() { # name
  machine "$1"
  eval "DISPLAY=\$DISPLAY_$1 PLANNER_WIN=\$WIN_$1 PLANNER_PID=\$PID_$1"
}
