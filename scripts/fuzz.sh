#!/usr/bin/env bash
# Builds the stream fuzz target with clang (libFuzzer, AddressSanitizer and UBSan) into build-fuzz/ and
# fuzzes each loader of tests/fuzz/fuzz_streams.cpp in turn, from the committed corpus under
# tests/fuzz/corpus/<loader> and fresh seeds (fuzz_seeds).
#   scripts/fuzz.sh [--merge] [seconds per loader] [loader...]   (default 60 s, every loader)
# --merge adds the inputs that reach new coverage to the committed corpus (minimised).
# A crash stops that loader's run; its input is left as build-fuzz/crashes/<loader>-crash-*:
# copy it into tests/fuzz/corpus/<loader>/ with the fix so the replay test keeps it.
# Figures per loader (runs, coverage, corpus) go to build-fuzz/summary.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
merge=0
if [ "${1:-}" = "--merge" ]; then merge=1; shift; fi
seconds=${1:-60}
shift || true
build=build-fuzz
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
  -DVYR_FUZZ=ON -DVYR_SANITIZE=ON -DVYR_BUILD_TESTS=OFF -DVYR_PARTS="platform/com;platform/registry;platform/gdi;tools;controls" >/dev/null
cmake --build "$build" --target fuzz_streams fuzz_seeds

export QT_QPA_PLATFORM=offscreen
rm -rf "$build/seeds"
"$build/tests/fuzz/fuzz_seeds" "$build/seeds"
loaders=("$@")
((${#loaders[@]})) || loaders=($("$build/tests/fuzz/fuzz_seeds" --list))
mkdir -p "$build/crashes" "$build/logs"
: >"$build/summary.txt"
status=0
for loader in "${loaders[@]}"; do
  work="$build/corpus/$loader"
  committed="tests/fuzz/corpus/$loader"
  mkdir -p "$work" "$committed"
  log="$build/logs/$loader.log"
  echo "== $loader: $seconds s"
  if ! VYR_FUZZ_LOADER="$loader" "$build/tests/fuzz/fuzz_streams" -max_total_time="$seconds" \
      -rss_limit_mb=2048 -max_len=4096 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/crashes/$loader-" "$work" "$committed" "$build/seeds/$loader" >"$log" 2>&1; then
    status=1
    echo "   FINDING: see $log"
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*' || echo '?')
  corp=$(grep -o 'corp: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*' || echo '?')
  printf '%-16s runs %-10s cov %-6s corpus %s\n' "$loader" "$runs" "$cov" "$corp" | tee -a "$build/summary.txt"
  if ((merge)); then
    VYR_FUZZ_LOADER="$loader" "$build/tests/fuzz/fuzz_streams" -merge=1 -max_len=4096 \
      "$committed" "$work" >>"$log" 2>&1 || true
  fi
done
exit $status
