#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks into build-bench/, runs them in a temporary folder on
# the disk of the user's home (never tmpfs: durable writes cost nothing there)
# and writes docs/performance.md with the table, the machine, the command and
# a plot of write latency by number of stored notes; then its section on the
# planner beside the diaries users would pick instead (bench/peers/peers.py).
# `scripts/bench.sh peers` runs only that comparison and replaces its section.
set -euo pipefail
cd "$(dirname "$0")/.."
# The peers and what drives them; neither the build nor the tests need them.
bash scripts/install-deps.sh rednotebook zim openbox python3-xlib

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(planner_bench tavorin-planner)
[ "${1:-}" = peers ] && targets=(tavorin-planner bare_window)
cmake --build build-bench --target "${targets[@]}"

run_peers() {
  mkdir -p "$work/peers"
  /usr/bin/python3 bench/peers/peers.py --planner build-bench/tavorin-planner \
    --bare build-bench/bench/bare_window --folder "$work/peers" --document docs/performance.md
}

# /var/tmp when it is on the same disk as $HOME, else a folder inside $HOME.
pick_folder() {
  local candidate
  for candidate in /var/tmp "$HOME/.cache"; do
    mkdir -p "$candidate" 2>/dev/null || continue
    [ "$(stat -f -c %T "$candidate")" = tmpfs ] && continue
    [ "$(stat -c %d "$candidate")" = "$(stat -c %d "$HOME")" ] || continue
    echo "$candidate"
    return
  done
  echo "bench.sh: no folder outside tmpfs on the disk of $HOME" >&2
  return 1
}

folder=$(pick_folder)
work=$(mktemp -d "$folder/tavorin-bench-run.XXXXXX")
trap 'rm -rf "$work"' EXIT

if [ "${1:-}" = peers ]; then
  run_peers
  exit 0
fi

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
started=$(date -u +%Y-%m-%dT%H:%MZ)
# Taken before this script writes docs/, which would always count as a change.
source_version="$(git rev-parse --short HEAD)$(git diff --quiet HEAD -- . 2>/dev/null || echo ' with uncommitted changes')"
XDG_DATA_HOME="$work/xdg-data" QT_QPA_PLATFORM=offscreen LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 \
  build-bench/bench/planner_bench --folder "$work" --plot-data "$work/write-latency.dat" >"$work/table.md"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

mkdir -p docs
gnuplot <<EOF
set terminal pngcairo size 900,560 font "Liberation Sans,10"
set output "docs/performance-write-latency.png"
set title "One keystroke's two writes (text, colour), by number of stored notes"
set xlabel "stored notes (each a text and a colour entry)"
set ylabel "milliseconds (median; dashed: 99th percentile)"
set logscale xy
set xrange [50:200000]
set grid
set key top left
plot "$work/write-latency.dat" using 1:2 with linespoints lw 2 lc 1 title "store (SaveSetting)", \
     "" using 1:3 with lines dt 2 lc 1 notitle, \
     "" using 1:4 with linespoints lw 2 lc 2 title "floor: append + fdatasync", \
     "" using 1:5 with lines dt 2 lc 2 notitle, \
     "" using 1:6 with linespoints lw 2 lc 7 title "QSettings INI + sync()", \
     "" using 1:7 with lines dt 2 lc 7 notitle
EOF

{
  echo "# Performance"
  echo
  echo "Measured on $started by \`scripts/bench.sh\`, which builds \`build-bench/\` (RelWithDebInfo) and runs"
  echo
  echo '```'
  echo "XDG_DATA_HOME=<temporary folder>/xdg-data QT_QPA_PLATFORM=offscreen LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 \\"
  echo "  build-bench/bench/planner_bench --folder <temporary folder> --plot-data <temporary folder>/write-latency.dat"
  echo '```'
  echo
  echo "## Machine"
  echo
  echo "- Processors: $(nproc), $(lscpu | sed -n 's/^Model name: *//p' | head -1)"
  echo "- Kernel: $(uname -r)"
  echo "- Temporary folder: under $folder, on $(df --output=fstype,source "$folder" | tail -1 | tr -s ' ')"
  echo "- Qt $(pkg-config --modversion Qt6Core), SQLite $(pkg-config --modversion sqlite3)"
  echo "- Load average (1, 5, 15 min) before: $load_before; after: $load_after"
  echo "- Source: $source_version"
  echo
  echo "## Results"
  echo
  echo "Each ratio compares two figures measured in the same run; targets are judged on the median ratio,"
  echo "except RefreshCalendar, judged on its 99th percentile in milliseconds. Start-up goals, on every start"
  echo "(the first of a day included) at 100 and 100,000 notes: the first paint at most 1.3× the bare window's,"
  echo "peak resident memory at most 1.1×. \`planner_bench --group start-up\` runs only those."
  echo
  cat "$work/table.md"
  echo
  echo "- Keystroke: the two writes of one keystroke in a note box (text, then colour) into the edited cell of a"
  echo "  month that holds notes. Store: \`SaveSetting\` into the real store (WAL, full sync). Floor: the same bytes"
  echo "  appended to a file in the same folder, each followed by \`fdatasync\`; store and floor take turns, and the"
  echo "  stores of each size take turns in rounds. QSettings: \`setValue\` then \`sync()\` for each value, on an INI"
  echo "  file with as many entries; Qt replaces the file by a rename without syncing it, so this baseline is not even"
  echo "  durable. Its runs are bounded by time, so it has fewer."
  echo "- Stored notes: each note is a text and a colour entry, spread over months of the years 1800 to 2199; the"
  echo "  store is filled in one transaction through the sqlite3 C API and then used through the program's code."
  echo "- RefreshCalendar: one call on a shown window (offscreen platform) whose panels show two months with notes;"
  echo "  the repaint that follows is not counted; one window per store, taking turns in rounds. Processor time is"
  echo "  the thread's own time: it leaves out the time other programs on the machine had the processor, which the"
  echo "  wall-clock figure includes."
  echo "- Start-up: from spawning the process to the end of the window's first paint, for the planner (its"
  echo "  \`main()\`, with the date fixed to a month with notes and a store of the stated size) and for a bare window"
  echo "  of the same widgets without logic, run in turns, in rounds whose order turns. On the first start of a day"
  echo "  (no safety copy of the day yet) the planner also checks the whole store file and makes the day's copy,"
  echo "  on a thread of its own after the first paint; the other starts find the copy made. Memory: peak resident"
  echo "  set (VmHWM) at the first paint, and over the whole run, which quits at the first paint but waits for that"
  echo "  check and copy."
  echo "- Keystroke while the day's check and copy run: two \`SaveSetting\` calls while another thread checks the"
  echo "  whole store and copies it, as the planner does after its first paint on the first start of a day (with"
  echo "  SQLite's checkpoints off until the check has passed); they wait only for the copy's read lock."
  echo
  echo "![Write latency by number of stored notes](performance-write-latency.png)"
} >docs/performance.md

run_peers
cat "$work/table.md"
echo "Wrote docs/performance.md, docs/performance-write-latency.png and docs/performance-peers.png"
