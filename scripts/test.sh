#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
#   scripts/test.sh              the plain build in build/ (or $VYR_BUILD_DIR)
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer, leak detection on,
#                                built into build-asan/ (or $VYR_BUILD_DIR); any report fails the run
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=0
for a in "$@"; do
  case "$a" in
    --sanitize) sanitize=1 ;;
    *) echo "usage: scripts/test.sh [--sanitize]" >&2; exit 2 ;;
  esac
done
scripts/setup.sh
if ((sanitize)); then
  export VYR_BUILD_DIR=${VYR_BUILD_DIR:-build-asan}
  # -O1 and line tables only: the instrumented build compiles faster and still reports files
  # and lines. The benchmarks are left out (CTest does not run them).
  scripts/build.sh -DVYR_SANITIZE=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
    -DVYR_PARTS="platform/com;platform/registry;platform/gdi;platform/dao;tools;controls;vtx"
  # halt_on_error and a non-zero exit on any UBSan report make every finding a failed test.
  export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --test-dir "$VYR_BUILD_DIR" --output-on-failure -j2
else
  scripts/build.sh
  ctest --test-dir "${VYR_BUILD_DIR:-build}" --output-on-failure -j2
fi
