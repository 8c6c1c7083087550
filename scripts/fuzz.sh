#!/usr/bin/env bash
# Builds the stream-loader fuzz target with clang and runs it for a while.
#   scripts/fuzz.sh [seconds]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
seconds=${1:-60}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVYR_FUZZ=ON -DVYR_BUILD_TESTS=OFF \
  -DVYR_PARTS="platform/com;platform/registry;platform/gdi;controls" >/dev/null
cmake --build build-fuzz --target fuzz_streams
mkdir -p build-fuzz/corpus
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
  build-fuzz/tests/fuzz/fuzz_streams -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=4096 build-fuzz/corpus
