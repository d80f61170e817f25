#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: check-completion.sh TAVORIN_NOTES
# bash, fish and zsh complete after "tavorin-notes " the commands of
# "tavorin-notes --help", and zsh reads its file.
set -euo pipefail
here=$(dirname "$0")
expected=$("$1" --help | sed -n '/^Commands:/,/^$/p' | awk 'NF && !/^Commands:/ {print $1}' | sort)
bash=$(bash -c 'source "$1"; COMP_WORDS=(tavorin-notes ""); COMP_CWORD=1; _tavorin_notes; printf "%s\n" "${COMPREPLY[@]}"' \
       bash "$here/tavorin-notes.bash" | sort)
fish=$(fish --no-config -c "source $here/tavorin-notes.fish; complete -C 'tavorin-notes '" | cut -f1 | sort)
zsh -n "$here/_tavorin-notes"
zsh=$(sed -n "/^commands=(/,/^)/s/^  '\([a-z-]*\):.*/\1/p" "$here/_tavorin-notes" | sort)
status=0
for shell in bash fish zsh; do
  [ "${!shell}" = "$expected" ] && continue
  echo "FAIL - $shell completes other commands than --help lists: $(diff <(echo "$expected") <(echo "${!shell}") | tr '\n' ' ')" >&2
  status=1
done
exit $status
