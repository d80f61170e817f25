#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sync against Debian's Radicale and Xandikos, each started here on 127.0.0.1
# with a storage folder of its own. Per server and round, into fresh calendars:
#   - the first pass of N notes from a fresh machine, and then a pass with
#     nothing changed;
#   - the baseline: the same N entries, as `tavorin-notes export --format ics`
#     writes them (the iCalendar mapping sync uses), PUT one after another by
#     one curl on one connection; and, to show whether the server takes writes
#     in parallel, the same with curl keeping 6 in flight.
# Rounds alternate which side goes first. Then, once per server, a second
# machine's first pull of PULL notes put straight into the server's storage.
# Prints every figure and the ratios (median of the rounds, and their range),
# and the server's CPU seconds for each side: both servers spend nearly all of
# the time on their own work, so wall time over the server's CPU time shows
# what the client adds, apart from how fast the machine runs at that moment.
#   bench/sync-bench.sh [N] [ROUNDS] [BUILD]   (1000, 5, build/)
#   SERVERS="radicale xandikos" PULL=10000 (0: no pull) set the rest.
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/e2e/radicale.sh
count=${1:-1000}
rounds=${2:-5}
notes=$(realpath "${3:-build}")/cli/tavorin-notes
servers=${SERVERS:-radicale xandikos}
pull=${PULL:-10000}
work=$(mktemp -d)
server=""
stop_server() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    server=""
  fi
}
cleanup() { stop_server; [ -n "${KEEP:-}" ] || rm -rf "$work"; }
trap cleanup EXIT

log() { printf '%s\n' "$*" >&2; }
now() { echo "$EPOCHREALTIME"; }
since() { echo "$(now) - $1" | bc; }
# CPU seconds the server has used so far.
server_cpu() { awk -v tick="$(getconf CLK_TCK)" '{print ($14 + $15) / tick}' "/proc/$server/stat"; }
free_port() {
  /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

# Runs the notes program as machine $1: a home, data and settings of its own.
on() {
  local machine=$work/machines/$1
  shift
  mkdir -p "$machine"
  HOME=$machine XDG_DATA_HOME=$machine/data XDG_CONFIG_HOME=$machine/config XDG_RUNTIME_DIR=$machine \
    DBUS_SESSION_BUS_ADDRESS= LC_ALL=C.UTF-8 TZ=UTC "$notes" "$@"
}

# A store of $2 notes of a few lines each on machine $1, through the notes
# program's own import; its entries, one calendar file each, into folder $3.
make_notes() {
  /usr/bin/python3 - "$2" > "$work/notes.json" <<'PY'
import json, random, sys
n = int(sys.argv[1])
rng = random.Random(n)
months = ["January", "February", "March", "April", "May", "June", "July",
          "August", "September", "October", "November", "December"]
lines = ["Dentist at 9:30", "Call Ann about the trip to Lyon", "Buy milk, bread, apples and coffee",
         "Team meeting: budget, hiring, the new office", "Pay the rent", "Gym 18:00",
         "Pick up the parcel at the post office", "Birthday: Tom (present: a book on birds)",
         "Read chapter 4 before Thursday", "Water the plants on the balcony"]
out = []
for i in range(n):
    month, cell = divmod(i, 28)
    key = "%s_%d_txtNote_%d" % (months[month % 12], 1990 + month // 12, cell)
    text = "\n".join(rng.choice(lines) for _ in range(rng.randint(1, 6))) + "\nnote %d" % i
    out.append({"key": key, "text": text})
print(json.dumps({"notes": out}))
PY
  on "$1" import -q "$work/notes.json" 2>/dev/null
  mkdir -p "$3"
  on "$1" export --format ics > "$work/export.ics"
  # One calendar per entry, named as sync names them: the UID before its "@", .ics.
  /usr/bin/python3 - "$work/export.ics" "$3" <<'PY'
import sys
text = open(sys.argv[1], newline="").read()
head, _, rest = text.partition("BEGIN:VJOURNAL\r\n")
for block in ("BEGIN:VJOURNAL\r\n" + rest).split("BEGIN:VJOURNAL\r\n")[1:]:
    body = block.split("END:VJOURNAL\r\n")[0]
    uid = next(line[4:] for line in body.split("\r\n") if line.startswith("UID:"))
    with open("%s/%s.ics" % (sys.argv[2], uid.split("@")[0]), "w", newline="") as f:
        f.write(head + "BEGIN:VJOURNAL\r\n" + body + "END:VJOURNAL\r\nEND:VCALENDAR\r\n")
PY
}

start_radicale() {
  local dir=$work/radicale
  mkdir -p "$dir"
  radicale_config "$dir" "$port" bench secret
  /usr/bin/python3 -m radicale --config "$dir/radicale.conf" 2>"$dir/log" &
  server=$!
  base=http://127.0.0.1:$port/bench/
  storage=$dir/collections/collection-root/bench
}

start_xandikos() {
  local dir=$work/xandikos
  mkdir -p "$dir"
  /usr/bin/xandikos --defaults -d "$dir/store" -l 127.0.0.1 -p "$port" >"$dir/log" 2>&1 &
  server=$!
  base=http://127.0.0.1:$port/user/calendars/
  storage=$dir/store/user/calendars
}

# A fresh calendar of journal entries called $1.
make_calendar() {
  local code
  code=$(curl -s -u bench:secret -X MKCALENDAR -H 'Content-Type: application/xml' -o /dev/null -w '%{http_code}' \
    --data '<?xml version="1.0" encoding="utf-8"?><C:mkcalendar xmlns:D="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav"><D:set><D:prop><D:displayname>'"$1"'</D:displayname><C:supported-calendar-component-set><C:comp name="VJOURNAL"/></C:supported-calendar-component-set></D:prop></D:set></C:mkcalendar>' \
    "$base$1/")
  [ "$code" = 201 ] || { log "MKCALENDAR $1: HTTP $code"; exit 1; }
}

# PUTs every entry of folder $2 into the calendar $1 with curl, with the
# headers sync sends; $3 more curl options. Prints the seconds taken.
curl_puts() {
  local calendar=$1 folder=$2 file start
  shift 2
  for file in "$folder"/*.ics; do
    printf 'url = "%s%s/%s"\nupload-file = "%s"\noutput = "/dev/null"\n' "$base" "$calendar" "${file##*/}" "$file"
  done > "$work/curl.conf"
  start=$(now)
  curl -s -u bench:secret -H 'Content-Type: text/calendar; charset=utf-8' -H 'If-None-Match: *' -H 'Expect:' \
    -w '%{http_code}\n' "$@" -K "$work/curl.conf" > "$work/codes" 2>/dev/null
  since "$start"
  local stored
  stored=$(grep -c '^20[14]$' "$work/codes" || true)
  [ "$stored" = "$(ls "$folder" | wc -l)" ] || { log "curl stored $stored entries only"; exit 1; }
}

# A pass of machine $1; prints "seconds requests", checking the summary says $2 uploaded/taken.
timed_sync() {
  local start seconds
  start=$(now)
  on "$1" sync > "$work/out" 2>"$work/err" || { log "sync failed: $(cat "$work/out" "$work/err")"; exit 1; }
  seconds=$(since "$start")
  grep -q "$2" "$work/out" || { log "unexpected summary: $(cat "$work/out")"; exit 1; }
  echo "$seconds $(sed -n 's/.*; \([0-9]*\) requests$/\1/p' "$work/out")"
}

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
range() { printf '%s\n' "$@" | sort -g | awk 'NR == 1 {lo=$1} {hi=$1} END {printf "%.2f-%.2f", lo, hi}'; }
ratio() { echo "scale=4; $1 / $2" | bc; }

echo secret > "$work/password"
make_notes source "$count" "$work/entries"
[ "$pull" -gt 0 ] && make_notes pull-source "$pull" "$work/pull-entries"

printf 'machine: %s, %s cores, load %s\n' "$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1)" "$(nproc)" \
  "$(cut -d' ' -f1-3 /proc/loadavg)"
printf 'notes: %d (%d bytes of entries), rounds: %d, second machine pull: %d notes\n' "$count" "$(cat "$work"/entries/*.ics | wc -c)" "$rounds" "$pull"
summary=()
for name in $servers; do
  port=$(free_port)
  "start_$name"
  until curl -s -o /dev/null "http://127.0.0.1:$port/"; do sleep 0.2; done
  printf '\n%s %s\n' "$name" "$(dpkg-query -W -f='${Version}' "$name")"
  ((rounds > 0)) && printf '%-6s %10s %10s %14s %16s %10s %10s %12s %12s\n' round curl-seq curl-par6 first "no-change" first/seq "nc/first" \
    "seq/srv-cpu" "first/srv-cpu"
  ratios=(); parallel=(); shares=(); firsts=(); seqs=(); ncs=(); seqload=(); firstload=()
  for ((r = 1; r <= rounds; r++)); do
    machine=$name-$r
    mkdir -p "$work/machines/$machine"
    cp -r "$work/machines/source/data" "$work/machines/$machine/"
    make_calendar "curl-$r"
    ((r > 1)) || make_calendar "curl6-$r"
    make_calendar "sync-$r"
    on "$machine" sync setup "$base""sync-$r/" --user bench --password-command "cat $work/password" > /dev/null 2>&1
    for side in $( ((r % 2)) && echo "curl sync" || echo "sync curl"); do
      cpu=$(server_cpu)
      if [ "$side" = curl ]; then
        seq=$(curl_puts "curl-$r" "$work/entries")
        seqcpu=$(echo "$(server_cpu) - $cpu" | bc)
      else
        timed_sync "$machine" "sync: $count uploaded" > "$work/timed"; read -r first firstreq < "$work/timed"
        firstcpu=$(echo "$(server_cpu) - $cpu" | bc)
      fi
    done
    timed_sync "$machine" "sync: 0 uploaded, 0 taken" > "$work/timed"; read -r nochange ncreq < "$work/timed"
    # Whether the server takes writes in parallel: once per server is enough.
    par=0
    ((r == 1)) && par=$(curl_puts "curl6-$r" "$work/entries" --parallel --parallel-max 6) && parallel+=("$(ratio "$par" "$seq")")
    ratios+=("$(ratio "$first" "$seq")"); shares+=("$(ratio "$nochange" "$first")")
    firsts+=("$first"); seqs+=("$seq"); ncs+=("$nochange")
    seqload+=("$(ratio "$seq" "$seqcpu")"); firstload+=("$(ratio "$first" "$firstcpu")")
    printf '%-6s %9.2fs %9.2fs %8.2fs %4dr %10.3fs %4dr %9.2fx %9.2f%% %11.3fx %12.3fx\n' "$r" "$seq" "$par" "$first" "$firstreq" \
      "$nochange" "$ncreq" "${ratios[-1]}" "$(echo "100 * ${shares[-1]}" | bc -l)" "${seqload[-1]}" "${firstload[-1]}"
  done
  ((rounds > 0)) && summary+=("$(printf '%s: first pass %.2f s / curl loop %.2f s = %.2fx (rounds %s); curl with 6 in flight / curl loop %.2fx; no-change pass %.3f s, %d request(s), %.2f%% of the first; wall / server CPU: curl loop %.3f, first pass %.3f' \
    "$name" "$(median "${firsts[@]}")" "$(median "${seqs[@]}")" "$(median "${ratios[@]}")" "$(range "${ratios[@]}")" \
    "$(median "${parallel[@]}")" "$(median "${ncs[@]}")" "$ncreq" "$(echo "100 * $(median "${shares[@]}")" | bc -l)" \
    "$(median "${seqload[@]}")" "$(median "${firstload[@]}")")")
  if [ "$pull" -gt 0 ]; then
    # The calendar a first machine filled, written straight into the server's
    # storage (filling it through the server takes far longer than the pull).
    make_calendar pull
    cp "$work"/pull-entries/*.ics "$storage/pull/"
    if [ "$name" = xandikos ]; then
      git -C "$storage/pull" add -A
      git -C "$storage/pull" -c user.name=bench -c user.email=bench@localhost commit -qm fill
    fi
    # A server that took the entries itself would have read them once: so
    # does a listing here (Radicale builds its item cache on it).
    curl -s -u bench:secret -X PROPFIND -H 'Depth: 1' -o /dev/null "$base""pull/"
    on "$name-pull" sync setup "$base""pull/" --user bench --password-command "cat $work/password" > /dev/null 2>&1
    timed_sync "$name-pull" "sync: 0 uploaded, $pull taken" > "$work/timed"; read -r seconds requests < "$work/timed"
    printf 'second machine, first pull of %d notes: %.2f s, %d requests\n' "$pull" "$seconds" "$requests"
    summary+=("$(printf '%s: second machine pulls %d notes in %.2f s with %d requests' "$name" "$pull" "$seconds" "$requests")")
  fi
  stop_server
done
printf '\n'
printf '%s\n' "${summary[@]}"
