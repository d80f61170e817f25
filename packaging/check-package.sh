#!/usr/bin/env bash
# Usage: check-package.sh BUILD_DIR WORK_DIR
# Makes the Debian package of BUILD_DIR in WORK_DIR and checks it as a new
# user's machine would take it: its files, its dependencies, the programs
# unpacked into a throw-away root, and lintian's findings of severity error.
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
            /usr/share/doc/tavorin-planner/copyright /usr/share/doc/tavorin-planner/changelog.gz; do
  grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
# Everything cmake --install installs is in the package, and nothing else.
installed=$(DESTDIR="$work/installed" cmake --install "$build" --prefix /usr | sed -n 's|^-- Installing: '"$work"'/installed||p' | sort)
packaged=$(grep -v '/$' <<<"$contents" | sort)
[ "$installed" = "$packaged" ] || fail "cmake --install and the package differ: $(diff <(echo "$installed") <(echo "$packaged") | tr '\n' ' ')"

# The dependencies come from the libraries the programs link.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libsqlite3-0 libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends has no $library: $depends"
done

# Unpacked into a root of its own, the notes program runs and finds its help.
dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/tavorin-notes" --version | grep -qx "tavorin-notes [0-9.]*" || fail "the unpacked tavorin-notes does not run"

if ! lintian --fail-on error --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1; then
  fail "lintian finds errors:"
  grep '^E:' "$work/lintian.log" || cat "$work/lintian.log"
fi
[ $status -eq 0 ] && echo "ok - $deb"
exit $status
