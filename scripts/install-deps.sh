#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the planner need.
# Only what is missing is installed; a machine that has everything is left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev libgl-dev
  libsqlite3-dev sqlite3
  fonts-liberation
  clang libclang-rt-14-dev
  xvfb xauth xdotool xclip x11-utils imagemagick faketime openbox
  weston qt6-wayland
  desktop-file-utils gnuplot-nox ccache
  strace
  scdoc mandoc appstream lintian dpkg-dev fakeroot file
  qt6-l10n-tools qt6-translations-l10n locales
  libical-dev libsecret-1-dev radicale apache2-utils python3-caldav curl bc
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
