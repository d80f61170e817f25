#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: check-completion.sh TAVORIN_NOTES
# The commands that bash, zsh and fish complete after "tavorin-notes " are
# those of "tavorin-notes --help", and every completion file reads in its shell.
set -euo pipefail
notes=$1
here=$(dirname "$0")
status=0
fail() { echo "FAIL - $*" >&2; status=1; }

# The first word of each line under "Commands:" up to the next blank line.
expected=$("$notes" --help | sed -n '/^Commands:/,/^$/p' | awk 'NF && !/^Commands:/ {print $1}' | sort)

from_bash=$(bash -c 'source "$1"; COMP_WORDS=(tavorin-notes ""); COMP_CWORD=1; _tavorin_notes; printf "%s\n" "${COMPREPLY[@]}"' \
            bash "$here/tavorin-notes.bash" | sort)
from_fish=$(fish --no-config -c "source $here/tavorin-notes.fish; complete -C 'tavorin-notes '" | cut -f1 | sort)
zsh -n "$here/_tavorin-notes" || fail "zsh cannot read _tavorin-notes"
from_zsh=$(sed -n "/^commands=(/,/^)/s/^  '\([a-z-]*\):.*/\1/p" "$here/_tavorin-notes" | sort)

for shell in bash fish zsh; do
  completed=from_$shell
  [ "${!completed}" = "$expected" ] ||
    fail "$shell completes other commands than --help lists: $(diff <(echo "$expected") <(echo "${!completed}") | tr '\n' ' ')"
done
exit $status
