#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two machines on loopback (the e2e scenario's set-up: a Radicale, for each
# machine a "sync --watch" and a planner under Xvfb). Prints:
# - keystroke in A -> text shown in B's window: median and p90 over ROUNDS
#   rounds, each timed from A's last keystroke to the first change of the
#   box's pixels in B's window, with no input to B; rounds start at random
#   moments, so as not to keep step with B's looks at the server;
# - CPU seconds over IDLE seconds of B's planner, B's "sync --watch" (with a
#   planner open, so looking at the server every few seconds) and a bare Qt
#   window of the same widgets, each also per hour.
#   bench/live-bench.sh [ROUNDS] [IDLE_SECONDS] [BUILD]   (20, 600, build/)
set -euo pipefail
rounds=${1:-20}
idle=${2:-600}
build=$(realpath "${3:-build}")
source "$(dirname "$0")/../tests/e2e/harness.sh" "$build/tavorin-planner"
NOTES=$build/cli/tavorin-notes
source "$(dirname "$0")/../tests/e2e/machines.sh"
start_machines

# The pixels of note box i of panel 1 (62x65 at its place in the grid).
box_pixels() { # cell
  import -window "$PLANNER_WIN" -crop "62x65+$((16 + 64 * ($1 % 7)))+$((84 + 88 * ($1 / 7)))" -depth 8 rgb:- 2>/dev/null | md5sum
}
pixels_differ() { [[ $(box_pixels "$1") != "$2" ]]; }
now() { date +%s.%N; }

on a
click_note 1 5
latencies=()
for ((round = 1; round <= rounds; round++)); do
  on b
  before=$(box_pixels 5)
  sleep "$((RANDOM % 4)).$((RANDOM % 10))"
  on a
  press ctrl+a
  xdotool type --delay 8 -- "round $round"
  start=$(now)
  on b
  wait_until 60 pixels_differ 5 "$before" || { echo "round $round: B's window did not change" >&2; exit 1; }
  latency=$(echo "$(now) - $start" | bc -l)
  latencies+=("$latency")
  printf 'round %2d: %.2f s\n' "$round" "$latency" >&2
  sleep 1 # the store's look at the box and the rest of the pass
done
sorted=$(printf '%s\n' "${latencies[@]}" | sort -g)
median=$(echo "$sorted" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
p90=$(echo "$sorted" | awk '{ v[NR] = $1 } END { i = int(0.9 * NR + 0.999999); print v[i] }')

# Idle: no input anywhere; the bare window stands on B's display.
"$build/bench/bare_window" --stay >/dev/null 2>&1 &
bare=$!
STARTED+=("$bare")
sleep 5
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
declare -A first
for pid in "$PID_b" "$WATCH_b" "$bare"; do first[$pid]=$(ticks "$pid"); done
sleep "$idle"
cpu() { echo "($(ticks "$1") - ${first[$1]}) / $hz" | bc -l; }

printf '\nkeystroke in A -> shown in B, %d rounds on loopback: median %.2f s, p90 %.2f s (goal: 5 s, 8 s)\n' \
  "$rounds" "$median" "$p90"
printf 'idle CPU over %d s          seconds   per hour\n' "$idle"
for row in "planner (watching the store):$PID_b" "sync --watch (planner open):$WATCH_b" "bare Qt window:$bare"; do
  seconds=$(cpu "${row##*:}")
  printf '  %-30s %7.2f   %7.2f\n' "${row%:*}" "$seconds" "$(echo "$seconds * 3600 / $idle" | bc -l)"
done
