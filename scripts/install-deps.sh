#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing the planner
# need, and any packages named on its command line (the benchmarks' peers).
# Only what is missing is installed; a machine that has everything is left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev libgl-dev
  libsqlite3-dev sqlite3
  fonts-liberation
  clang
  xvfb xauth xdotool xclip x11-utils imagemagick faketime openbox
  weston qt6-wayland
  dbus at-spi2-core python3-pyatspi
  desktop-file-utils librsvg2-bin zsh fish gnuplot-nox ccache
  strace
  scdoc mandoc groff-base appstream lintian dpkg-dev fakeroot file
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n locales
  libical-dev libdtl-dev libsecret-1-dev radicale xandikos vdirsyncer openssl apache2-utils python3-caldav curl bc git
)

# The fuzzers' sanitizer runtime must match the installed clang's version
# (Debian 12: clang 14).
clang_runtime() {
  local major=14
  command -v clang >/dev/null && major=$(clang -dumpversion | cut -d. -f1)
  echo "libclang-rt-${major}-dev"
}

# `install-deps.sh --list` prints the list and installs nothing: the
# dependency guard (scripts/dependency-guard.py) checks the build against it.
if [ "${1:-}" = --list ]; then
  printf '%s\n' "${packages[@]}" "$(clang_runtime)"
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
updated=""

# Installs those of the named packages that are missing.
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ -z "$updated" ]; then
    $sudo apt-get update -qq
    updated=yes
  fi
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}" "$@"
install_missing "$(clang_runtime)"
