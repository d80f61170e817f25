#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: check-man-pages.sh TAVORIN_NOTES PAGE...
# Fails on any mandoc warning in a page but the empty paragraphs scdoc writes
# around every section, on a path, option or program name that groff breaks
# across lines, and when the commands in the COMMANDS section of
# tavorin-notes.1 differ from those of "tavorin-notes --help".
set -euo pipefail
notes=$1
shift

status=0
for page in "$@"; do
  findings=$(mandoc -T lint -W warning "$page" 2>&1 | grep -v 'WARNING: skipping paragraph macro: PP \(empty\|after SH\)' || true)
  if [ -n "$findings" ]; then
    echo "mandoc finds faults in $page:" >&2
    echo "$findings" >&2
    status=1
  fi
done

# groff, as man shows the pages: no line at any width ends inside a path,
# option or program name, at a hyphen of its own or hyphenated.
for page in "$@"; do
  for width in 50 60 70 80 100 120; do
    broken=$(groff -man -Tutf8 -P-cbou -rLL=${width}n "$page" 2>/dev/null | grep -E '[^ ]-$|/[^ ]*‐$' || true)
    if [ -n "$broken" ]; then
      echo "$page breaks these lines inside a word at width $width:" >&2
      echo "$broken" >&2
      status=1
    fi
  done
done

# The first word of each line under "Commands:" up to the next blank line.
from_help=$("$notes" --help | sed -n '/^Commands:/,/^$/p' | awk 'NF && !/^Commands:/ {print $1}' | sort)

# Entries of the COMMANDS section sit at the first indent of the rendered page.
page=$(printf '%s\n' "$@" | grep '/tavorin-notes\.1$')
from_page=$(mandoc -T ascii "$page" | sed 's/.\x08//g' | sed -n '/^COMMANDS$/,/^[A-Z]/p' \
            | awk '/^       [^ ]/ {print $1}' | sort)

if [ "$from_help" != "$from_page" ]; then
  echo "Commands in --help and in $page differ:" >&2
  diff <(echo "$from_help") <(echo "$from_page") >&2 || true
  status=1
fi
exit $status
