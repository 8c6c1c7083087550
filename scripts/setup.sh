#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with. Safe to run again:
# apt-get is only called when something is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config help2man lintian
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-base-private-dev qt6-tools-dev
  libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fontconfig fonts-dejavu-core
  xauth xvfb xdotool
  dbus at-spi2-core python3-pyatspi
  weston qt6-wayland
  ccache
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
