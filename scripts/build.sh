#!/usr/bin/env bash
# Configures and builds everything (default target) into build/ (or $VYR_BUILD_DIR).
# Uses ccache when the machine has it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VYR_BUILD_DIR:-build}
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$build"
