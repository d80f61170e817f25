#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: check-package.sh BUILD_DIR WORK_DIR
# Makes the Debian package of BUILD_DIR in WORK_DIR and checks it as a new
# user's machine would take it: its files, its dependencies, installing and
# removing it in a throw-away root, and lintian's findings of severity error.
set -euo pipefail
build=$1
work=$2
rm -rf "$work" "$HOME"
mkdir -p "$work" "$HOME"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/tavorin-planner_*.deb)

status=0
fail() { echo "FAIL - $*"; status=1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|')
id=example.quillmere.TavorinPlanner
for file in /usr/bin/tavorin-planner /usr/bin/tavorin-notes \
            /usr/share/applications/$id.desktop \
            /usr/share/icons/hicolor/scalable/apps/$id.svg \
            /usr/share/metainfo/$id.metainfo.xml \
            /usr/share/man/man1/tavorin-planner.1.gz /usr/share/man/man1/tavorin-notes.1.gz \
            /usr/share/doc/tavorin-planner/copyright /usr/share/doc/tavorin-planner/changelog.gz \
            /usr/share/doc/tavorin-planner/sync.md \
            /usr/share/icons/hicolor/16x16/apps/$id.png /usr/share/icons/hicolor/256x256/apps/$id.png \
            /usr/share/bash-completion/completions/tavorin-notes /usr/share/zsh/vendor-completions/_tavorin-notes \
            /usr/share/fish/vendor_completions.d/tavorin-notes.fish; do
  grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
# Every document in the one folder of the package.
docs=$(grep '^/usr/share/doc/[^/]*/$' <<<"$contents" || true)
[ "$docs" = /usr/share/doc/tavorin-planner/ ] || fail "the documents are not all in /usr/share/doc/tavorin-planner: $docs"
# Everything cmake --install installs is in the package, and nothing else.
installed=$(DESTDIR="$work/installed" cmake --install "$build" --prefix /usr | sed -n 's|^-- Installing: '"$work"'/installed||p' | sort)
packaged=$(grep -v '/$' <<<"$contents" | sort)
[ "$installed" = "$packaged" ] || fail "cmake --install and the package differ: $(diff <(echo "$installed") <(echo "$packaged") | tr '\n' ' ')"

# The dependencies come from the libraries the programs link, and each one
# names a package that exists (this machine has them all: it built the programs).
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libsqlite3-0 libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends has no $library: $depends"
done
for package in $(sed 's/([^)]*)//g; s/,/ /g' <<<"$depends"); do
  dpkg-query -W "$package" >/dev/null 2>&1 || fail "Depends names $package, which is no installed package"
done

# Installed into a throw-away root of its own (whose dpkg database knows none
# of the dependencies), the notes program runs; removed, it leaves nothing.
root=$work/root
mkdir -p "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/info"
touch "$root/var/lib/dpkg/status"
in_root() { dpkg --root="$root" --force-not-root --log=/dev/null "$@" >>"$work/dpkg.log" 2>&1; }
in_root --force-depends -i "$deb" || fail "dpkg cannot install the package: $(tail -n 3 "$work/dpkg.log")"
"$root/usr/bin/tavorin-notes" --version | grep -qx "tavorin-notes [0-9.]*" || fail "the installed tavorin-notes does not run"
in_root -r tavorin-planner || fail "dpkg cannot remove the package: $(tail -n 3 "$work/dpkg.log")"
left=$(find "$root" -path "$root/var/lib/dpkg" -prune -o ! -type d -print)
[ -z "$left" ] || fail "removing the package leaves $left"

if ! lintian --fail-on error --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1; then
  fail "lintian finds errors:"
  grep '^E:' "$work/lintian.log" || cat "$work/lintian.log"
fi
[ $status -eq 0 ] && echo "ok - $deb"
exit $status
