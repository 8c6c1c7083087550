#!/usr/bin/env bash
# Writes the control reference (one Markdown page per class, from the type library, with a
# picture of a new object of the class in screenshots/) into
# docs/reference, or into OUTDIR. The test suite compares a fresh generation with docs/reference.
#   scripts/reference.sh [OUTDIR]
# The build directory is $VYR_BUILD_DIR (default build/); it must hold vyr-tlb, vyr-regsvr and
# the library. The ProgIDs come from registering the library in a scratch registry store.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VYR_BUILD_DIR:-build}
out=${1:-docs/reference}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
lib=$(readlink -f "$build/controls/core/libvyrcontrols.so")
export VYR_REGISTRY="$scratch/registry.db" QT_QPA_PLATFORM=offscreen
"$build/tools/vyr-regsvr/vyr-regsvr" /s "$lib"
mkdir -p "$scratch/pages"
"$build/tools/vyr-tlb/vyr-tlb" --reference "$scratch/pages"
mkdir -p "$out/screenshots"
rm -f "$out"/*.md "$out"/screenshots/*.png
cp "$scratch/pages"/*.md "$out"/
cp "$scratch/pages"/screenshots/*.png "$out"/screenshots/
