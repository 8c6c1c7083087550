#!/usr/bin/env bash
# Builds the Debian packages with CPack: libvyrcontrols1 (the libraries), libvyrcontrols-dev
# (headers, CMake package, pkg-config files), vyr-designer-plugin (the Qt Designer plugin, in
# Qt's plugin folder) and vtx (the programs, man pages, desktop entry).
#   scripts/package.sh [--no-build] [OUTDIR]
# The build directory is $VYR_BUILD_DIR (default build/); it is brought up to date first
# unless --no-build is given. The .deb files go to OUTDIR (default $VYR_BUILD_DIR/packages)
# and their paths are printed, one a line.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VYR_BUILD_DIR:-build}
if [[ "${1:-}" == --no-build ]]; then
  shift
else
  scripts/setup.sh
  scripts/build.sh
fi
out=$(mkdir -p "${1:-$build/packages}" && cd "${1:-$build/packages}" && pwd)
if [[ ! -f "$build/CPackConfig.cmake" ]]; then
  echo "package.sh: $build is not a configured build directory" >&2
  exit 1
fi
rm -f "$out"/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || {
  cat "$out/cpack.log" >&2
  exit 1
}
ls "$out"/*.deb
