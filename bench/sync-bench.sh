#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sync against a local Radicale: the first pass of N notes and a pass with
# nothing changed, against N bare sequential PUTs with curl (one connection) to
# the same server. Prints the times and their ratios.
#   bench/sync-bench.sh [N] [BUILD]      (N defaults to 10000, BUILD to build/)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-10000}
notes=$(realpath "${2:-build}")/cli/tavorin-notes
work=$(mktemp -d)
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cleanup() { [ -n "${server:-}" ] && kill "$server" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

echo "bench:secret" > "$work/users"
cat > "$work/config" <<CONF
[server]
hosts = 127.0.0.1:$port
[auth]
type = htpasswd
htpasswd_filename = $work/users
htpasswd_encryption = plain
[storage]
filesystem_folder = $work/collections
[logging]
level = warning
CONF
/usr/bin/python3 -m radicale --config "$work/config" & server=$!
until curl -s -o /dev/null "http://127.0.0.1:$port/"; do sleep 0.2; done

# A store of N notes, made by the notes program's own import.
export HOME=$work XDG_DATA_HOME=$work/data DBUS_SESSION_BUS_ADDRESS= XDG_RUNTIME_DIR=$work
/usr/bin/python3 -c 'import json, sys
n = int(sys.argv[1])
print(json.dumps({"notes": [{"key": "January_%d_txtNote_%d" % (2000 + i // 35, i % 35), "text": "note number %d" % i}
                            for i in range(n)]}))' "$count" > "$work/notes.json"
"$notes" import -q "$work/notes.json" 2>/dev/null
echo secret > "$work/password"
"$notes" sync setup "http://127.0.0.1:$port/" --user bench --password-command "cat $work/password" 2>/dev/null

seconds() { local start=$(date +%s.%N); "$@" > "$work/out"; echo "$(date +%s.%N) - $start" | bc; }
first=$(seconds "$notes" sync)
cat "$work/out"
again=$(seconds "$notes" sync)
cat "$work/out"

# The same number of bare PUTs, one after another on one connection.
curl -s -u bench:secret -X MKCALENDAR -o /dev/null "http://127.0.0.1:$port/bench/bare/"
mkdir "$work/ics"
for ((i = 0; i < count; i++)); do
  printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nBEGIN:VJOURNAL\r\nUID:bare-%d\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:20260101\r\nDESCRIPTION:note number %d\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n' "$i" "$i" > "$work/ics/$i.ics"
  printf 'url = "http://127.0.0.1:%d/bench/bare/%d.ics"\nupload-file = "%s/ics/%d.ics"\n' "$port" "$i" "$work" "$i"
done > "$work/curl.conf"
bare=$(seconds curl -s -u bench:secret -H 'Content-Type: text/calendar' -H 'Expect:' -o /dev/null -K "$work/curl.conf")

printf 'notes: %d\nfirst pass: %.2f s\nno-change pass: %.3f s\nbare curl PUTs: %.2f s\n' "$count" "$first" "$again" "$bare"
printf 'first pass / bare PUTs: %.2f\nno-change pass / first pass: %.4f (%.2f%%)\n' \
  "$(echo "$first / $bare" | bc -l)" "$(echo "$again / $first" | bc -l)" "$(echo "100 * $again / $first" | bc -l)"
