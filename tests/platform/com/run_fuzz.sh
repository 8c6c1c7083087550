#!/usr/bin/env bash
# Builds the VARIANT/object stream fuzzer with clang (libFuzzer + AddressSanitizer) in its own
# build directory and runs it. Arguments go to the fuzzer, e.g. -max_total_time=300.
# Usage: tests/platform/com/run_fuzz.sh [libFuzzer options]
set -euo pipefail
top=$(cd "$(dirname "$0")/../../.." && pwd)
build=${VYR_FUZZ_BUILD:-$top/build-fuzz-com}
corpus=$build/fuzz_variant_corpus
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVYR_FUZZ=ON -DVYR_PARTS="platform/com" >/dev/null
cmake --build "$build" --target fuzz_variant -j2
mkdir -p "$corpus"
# Seeds: a few well-formed records (a long, a string, a null object).
printf '\x03\x00\x2a\x00\x00\x00' >"$corpus/long"
printf '\x08\x00\x06\x00\x00\x00a\x00b\x00\x00\x00' >"$corpus/string"
printf '\x09\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$corpus/null_object"
# A font record: StdFont's class id, then its stream.
printf '\x09\x00\x03\x52\xe3\x0b\x91\x8f\xce\x11\x9d\xe3\x00\xaa\x00\x4b\xb8\x51\x01\x00\x00\x00\x90\x01\x80\x38\x01\x00\x05Arial' >"$corpus/font"
# A picture record: StdPicture's class id, the "lt" tag, and a 1 x 1 bitmap file.
printf '\x09\x00\x04\x52\xe3\x0b\x91\x8f\xce\x11\x9d\xe3\x00\xaa\x00\x4b\xb8\x51lt\x00\x00\x3a\x00\x00\x00BM\x3a\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00\x04\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\x00\x00\x00' >"$corpus/picture"
export QT_QPA_PLATFORM=offscreen
exec "$build/tests/platform/com/fuzz_variant" -rss_limit_mb=1024 -max_len=4096 "$@" "$corpus"
