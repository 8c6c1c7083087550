#!/usr/bin/env bash
# Builds the stream fuzz targets with clang (libFuzzer + AddressSanitizer) and runs each for a
# while: fuzz_variant (VARIANT records and persisted objects) and fuzz_streams (the controls'
# property and layout loaders).
#   scripts/fuzz.sh [seconds per target]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
seconds=${1:-60}
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVYR_FUZZ=ON -DVYR_BUILD_TESTS=ON -DVYR_PARTS="platform/com;platform/registry;platform/gdi;tools;controls" >/dev/null
cmake --build "$build" --target fuzz_variant fuzz_streams

# Seeds for the VARIANT reader: a long, a string, a null object, a font, a 1 x 1 bitmap picture.
seeds="$build/corpus-variant"
mkdir -p "$seeds" "$build/corpus-streams"
printf '\x03\x00\x2a\x00\x00\x00' >"$seeds/long"
printf '\x08\x00\x06\x00\x00\x00a\x00b\x00\x00\x00' >"$seeds/string"
printf '\x09\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$seeds/null_object"
printf '\x09\x00\x03\x52\xe3\x0b\x91\x8f\xce\x11\x9d\xe3\x00\xaa\x00\x4b\xb8\x51\x01\x00\x00\x00\x90\x01\x80\x38\x01\x00\x05Arial' >"$seeds/font"
printf '\x09\x00\x04\x52\xe3\x0b\x91\x8f\xce\x11\x9d\xe3\x00\xaa\x00\x4b\xb8\x51lt\x00\x00\x3a\x00\x00\x00BM\x3a\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00\x04\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\x00\x00\x00' >"$seeds/picture"

export QT_QPA_PLATFORM=offscreen
"$build/tests/platform/com/fuzz_variant" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=4096 "$seeds"
# The GUI application fuzz_streams keeps for fonts lives until exit: leaks are not checked there.
ASAN_OPTIONS=detect_leaks=0 "$build/tests/fuzz/fuzz_streams" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=4096 "$build/corpus-streams"
