#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sync against Debian's Radicale and Xandikos, each started here on 127.0.0.1
# with a storage folder of its own. Per server and round, two fresh servers of
# that kind, and at the same time:
#   - on one, the first pass of N notes from a fresh machine (then, alone, a
#     pass with nothing changed);
#   - on the other, the baseline: the entries that pass sends, in its order,
#     PUT one after another by one curl (on one connection where the server
#     keeps it open; Radicale closes it after every answer).
# Running both sides at once keeps the ratio apart from how fast this machine
# runs at the moment: a shared virtual machine drifts by 10-20 % within
# minutes, more than the sides differ. Rounds swap the two servers. The
# entries come from a scratch pass before the rounds, read back from the
# server. In the first round, also at once: curl keeping 6 in flight against
# the curl loop, to show whether the server takes writes in parallel. Then,
# once per server, a second machine's first pull of PULL notes put straight
# into the server's storage.
# Prints every figure and the ratios (median of the rounds, and their range),
# and the server's CPU seconds for each side: both servers spend nearly all of
# the time on their own work, so wall time over the server's CPU time shows
# what the client adds.
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
# Per running server, by slot: its process, its calendars' base URL, its storage folder.
declare -A server base storage
stop_servers() {
  local slot
  for slot in "${!server[@]}"; do
    kill "${server[$slot]}" 2>/dev/null || true
    wait "${server[$slot]}" 2>/dev/null || true
  done
  server=()
}
cleanup() { stop_servers; [ -n "${KEEP:-}" ] || rm -rf "$work"; }
trap cleanup EXIT

log() { printf '%s\n' "$*" >&2; }
now() { echo "$EPOCHREALTIME"; }
since() { echo "$(now) - $1" | bc; }
# CPU seconds the server in slot $1 has used so far.
server_cpu() { awk -v tick="$(getconf CLK_TCK)" '{print ($14 + $15) / tick}' "/proc/${server[$1]}/stat"; }
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
# program's own import; with $3, its entries, one calendar file each, into
# that folder (the pull's, put straight into a server's storage).
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
  [ -n "${3:-}" ] || return 0
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

# Starts a fresh server of kind $1 in slot $2, with a storage folder of its own.
start_server() {
  local dir=$work/$1-$2 port
  rm -rf "$dir"
  mkdir -p "$dir"
  port=$(free_port)
  if [ "$1" = radicale ]; then
    radicale_config "$dir" "$port" bench secret
    /usr/bin/python3 -m radicale --config "$dir/radicale.conf" 2>"$dir/log" &
    base[$2]=http://127.0.0.1:$port/bench/
    storage[$2]=$dir/collections/collection-root/bench
  else
    /usr/bin/xandikos --defaults -d "$dir/store" -l 127.0.0.1 -p "$port" >"$dir/log" 2>&1 &
    base[$2]=http://127.0.0.1:$port/user/calendars/
    storage[$2]=$dir/store/user/calendars
  fi
  server[$2]=$!
  until curl -s -o /dev/null "http://127.0.0.1:$port/"; do sleep 0.2; done
}

# A fresh calendar of journal entries called $2 on the server in slot $1.
make_calendar() {
  local code
  code=$(curl -s -u bench:secret -X MKCALENDAR -H 'Content-Type: application/xml' -o /dev/null -w '%{http_code}' \
    --data '<?xml version="1.0" encoding="utf-8"?><C:mkcalendar xmlns:D="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav"><D:set><D:prop><D:displayname>'"$2"'</D:displayname><C:supported-calendar-component-set><C:comp name="VJOURNAL"/></C:supported-calendar-component-set></D:prop></D:set></C:mkcalendar>' \
    "${base[$1]}$2/")
  [ "$code" = 201 ] || { log "MKCALENDAR $2: HTTP $code"; exit 1; }
}

# The entries of calendar $2 on the server in slot $1 into folder $3, one
# file each, named as on the server, and their names in the order sync
# sends them (by note key) into $3.order.
read_back() {
  curl -s -u bench:secret -X REPORT -H 'Depth: 1' -H 'Content-Type: application/xml' -o "$work/report.xml" \
    --data '<?xml version="1.0" encoding="utf-8"?><C:calendar-query xmlns:D="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav"><D:prop><C:calendar-data/></D:prop><C:filter><C:comp-filter name="VCALENDAR"/></C:filter></C:calendar-query>' \
    "${base[$1]}$2/"
  mkdir -p "$3"
  /usr/bin/python3 - "$work/report.xml" "$3" <<'PY'
import sys, urllib.parse, xml.etree.ElementTree as tree
keyed = []
for response in tree.parse(sys.argv[1]).getroot().iter("{DAV:}response"):
    name = urllib.parse.unquote(response.find("{DAV:}href").text.rstrip("/").rsplit("/", 1)[1])
    text = response.find(".//{urn:ietf:params:xml:ns:caldav}calendar-data").text.replace("\r\n", "\n").replace("\n", "\r\n")
    with open("%s/%s" % (sys.argv[2], name), "w", newline="") as f:
        f.write(text)
    keyed.append((next(line[14:] for line in text.split("\r\n") if line.startswith("X-TAVORIN-KEY:")), name))
with open(sys.argv[2] + ".order", "w") as f:
    f.write("".join(name + "\n" for _, name in sorted(keyed)))
PY
}

# PUTs every entry of folder $3 (in the order of $3.order) into the calendar
# $2 on the server in slot $1 with curl, with the headers sync sends; $4...
# more curl options. Prints the seconds taken.
curl_puts() {
  local slot=$1 calendar=$2 folder=$3 name start
  shift 3
  while read -r name; do
    printf 'url = "%s%s/%s"\nupload-file = "%s/%s"\noutput = "/dev/null"\n' "${base[$slot]}" "$calendar" "$name" "$folder" "$name"
  done < "$folder.order" > "$work/curl-$slot.conf"
  start=$(now)
  curl -s -u bench:secret -H 'Content-Type: text/calendar; charset=utf-8' -H 'If-None-Match: *' -H 'Expect:' \
    -w '%{http_code}\n' "$@" -K "$work/curl-$slot.conf" > "$work/codes-$slot" 2>/dev/null
  since "$start"
  local stored
  stored=$(grep -c '^20[14]$' "$work/codes-$slot" || true)
  [ "$stored" = "$(wc -l < "$folder.order")" ] || { log "curl stored $stored entries only"; exit 1; }
}

# A pass of machine $1; prints "seconds requests", checking the summary says $2 uploaded/taken.
timed_sync() {
  local start seconds
  start=$(now)
  on "$1" sync > "$work/out-$1" 2>"$work/err-$1" || { log "sync failed: $(cat "$work/out-$1" "$work/err-$1")"; exit 1; }
  seconds=$(since "$start")
  grep -q "$2" "$work/out-$1" || { log "unexpected summary: $(cat "$work/out-$1")"; exit 1; }
  echo "$seconds $(sed -n 's/.*; \([0-9]*\) requests$/\1/p' "$work/out-$1")"
}

# Sets machine $1 up for calendar $3 on the server in slot $2, its store a copy of the source's.
new_machine() {
  mkdir -p "$work/machines/$1"
  cp -r "$work/machines/source/data" "$work/machines/$1/"
  on "$1" sync setup "${base[$2]}$3/" --user bench --password-command "cat $work/password" > /dev/null 2>&1
}

# Runs the commands $1 and $2 at the same time, their output into files $3 and $4.
at_once() {
  eval "$1" > "$3" & local first=$!
  eval "$2" > "$4" & local second=$!
  wait "$first" && wait "$second"
}

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
range() { printf '%s\n' "$@" | sort -g | awk 'NR == 1 {lo=$1} {hi=$1} END {printf "%.2f-%.2f", lo, hi}'; }
ratio() { echo "scale=4; $1 / $2" | bc; }

echo secret > "$work/password"
make_notes source "$count"
[ "$pull" -gt 0 ] && make_notes pull-source "$pull" "$work/pull-entries"

printf 'machine: %s, %s cores, load %s\n' "$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1)" "$(nproc)" \
  "$(cut -d' ' -f1-3 /proc/loadavg)"
printf 'notes: %d, rounds: %d, second machine pull: %d notes\n' "$count" "$rounds" "$pull"
summary=()
for name in $servers; do
  printf '\n%s %s\n' "$name" "$(dpkg-query -W -f='${Version}' "$name")"
  entries=$work/entries-$name
  if ((rounds > 0)); then
    start_server "$name" a
    make_calendar a scratch
    new_machine "$name-scratch" a scratch
    timed_sync "$name-scratch" "sync: $count uploaded" > /dev/null
    read_back a scratch "$entries"
    stop_servers
    printf 'entries: %d bytes\n' "$(cat "$entries"/* | wc -c)"
    printf '%-6s %10s %14s %16s %10s %10s %12s %12s\n' round curl-loop first "no-change" first/loop "nc/first" \
      "loop/srv-cpu" "first/srv-cpu"
  fi
  ratios=(); parallel=(); shares=(); firsts=(); seqs=(); ncs=(); seqload=(); firstload=()
  for ((r = 1; r <= rounds; r++)); do
    start_server "$name" a
    start_server "$name" b
    if ((r % 2)); then curlside=a syncside=b; else curlside=b syncside=a; fi
    make_calendar "$curlside" bench
    make_calendar "$syncside" bench
    new_machine "$name-$r" "$syncside" bench
    curlcpu=$(server_cpu "$curlside"); synccpu=$(server_cpu "$syncside")
    at_once "curl_puts $curlside bench $entries" "timed_sync $name-$r 'sync: $count uploaded'" "$work/seq" "$work/timed"
    seqcpu=$(echo "$(server_cpu "$curlside") - $curlcpu" | bc); firstcpu=$(echo "$(server_cpu "$syncside") - $synccpu" | bc)
    seq=$(cat "$work/seq"); read -r first firstreq < "$work/timed"
    timed_sync "$name-$r" "sync: 0 uploaded, 0 taken" > "$work/timed"; read -r nochange ncreq < "$work/timed"
    # Whether the server takes writes in parallel: once per server is enough.
    if ((r == 1)); then
      make_calendar a parallel
      make_calendar b loop
      at_once "curl_puts a parallel $entries --parallel --parallel-max 6" "curl_puts b loop $entries" "$work/par" "$work/loop"
      parallel+=("$(ratio "$(cat "$work/par")" "$(cat "$work/loop")")")
    fi
    stop_servers
    ratios+=("$(ratio "$first" "$seq")"); shares+=("$(ratio "$nochange" "$first")")
    firsts+=("$first"); seqs+=("$seq"); ncs+=("$nochange")
    seqload+=("$(ratio "$seq" "$seqcpu")"); firstload+=("$(ratio "$first" "$firstcpu")")
    printf '%-6s %9.2fs %8.2fs %4dr %10.3fs %4dr %9.2fx %9.2f%% %11.3fx %12.3fx\n' "$r" "$seq" "$first" "$firstreq" \
      "$nochange" "$ncreq" "${ratios[-1]}" "$(echo "100 * ${shares[-1]}" | bc -l)" "${seqload[-1]}" "${firstload[-1]}"
  done
  ((rounds > 0)) && summary+=("$(printf '%s: first pass %.2f s / curl loop %.2f s = %.2fx (rounds %s); curl with 6 in flight / curl loop %.2fx; no-change pass %.3f s, %d request(s), %.2f%% of the first; wall / server CPU: curl loop %.3f, first pass %.3f' \
    "$name" "$(median "${firsts[@]}")" "$(median "${seqs[@]}")" "$(median "${ratios[@]}")" "$(range "${ratios[@]}")" \
    "$(median "${parallel[@]}")" "$(median "${ncs[@]}")" "$ncreq" "$(echo "100 * $(median "${shares[@]}")" | bc -l)" \
    "$(median "${seqload[@]}")" "$(median "${firstload[@]}")")")
  if [ "$pull" -gt 0 ]; then
    # The calendar a first machine filled, written straight into the server's
    # storage (filling it through the server takes far longer than the pull).
    start_server "$name" a
    make_calendar a pull
    cp "$work"/pull-entries/*.ics "${storage[a]}/pull/"
    if [ "$name" = xandikos ]; then
      git -C "${storage[a]}/pull" add -A
      git -C "${storage[a]}/pull" -c user.name=bench -c user.email=bench@localhost commit -qm fill
    fi
    # A server that took the entries itself would have read them once: so
    # does a listing here (Radicale builds its item cache on it).
    curl -s -u bench:secret -X PROPFIND -H 'Depth: 1' -o /dev/null "${base[a]}pull/"
    on "$name-pull" sync setup "${base[a]}pull/" --user bench --password-command "cat $work/password" > /dev/null 2>&1
    timed_sync "$name-pull" "sync: 0 uploaded, $pull taken" > "$work/timed"; read -r seconds requests < "$work/timed"
    printf 'second machine, first pull of %d notes: %.2f s, %d requests\n' "$pull" "$seconds" "$requests"
    summary+=("$(printf '%s: second machine pulls %d notes in %.2f s with %d requests' "$name" "$pull" "$seconds" "$requests")")
  fi
  stop_servers
done
printf '\n'
printf '%s\n' "${summary[@]}"
