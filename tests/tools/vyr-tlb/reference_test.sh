#!/usr/bin/env bash
# Generates the control reference afresh and compares it with docs/reference.
#   reference_test.sh SOURCE_DIR BUILD_DIR WORK_DIR
set -euo pipefail
source_dir=$1 build_dir=$2 work=$3
rm -rf "$work"
VYR_BUILD_DIR="$build_dir" "$source_dir/scripts/reference.sh" "$work"
[[ -f "$work/Slider.md" ]] && grep -q '^| SliderMode | ' "$work/Slider.md" || { echo "FAIL: no Slider page with SliderMode"; exit 1; }
# Every picture a page shows was made; the pictures themselves depend on the machine's fonts and
# are not compared.
for page in "$work"/*.md; do
  for shot in $(grep -o '](screenshots/[^)]*)' "$page" | sed 's/^](//; s/)$//'); do
    [[ -s "$work/$shot" ]] || { echo "FAIL: $(basename "$page") shows $shot, which was not made"; exit 1; }
  done
done
if ! diff -ru -x '*.png' "$source_dir/docs/reference" "$work"; then
  echo "FAIL: docs/reference is stale; regenerate it with scripts/reference.sh"
  exit 1
fi
echo "docs/reference is current ($(ls "$work" | wc -l) pages)"
