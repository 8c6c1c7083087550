#!/usr/bin/env bash
# Runs vtx on the demo System Database.
#
#   vtx/run-demo.sh [ARG]        ARG is passed to vtx ("/S" offers Browse)
#
# Builds a fresh demo System Database from vtx/data, points the registry entry
# HKEY_LOCAL_MACHINE\SOFTWARE\Halvern\CP\Database "Path" at it (in a registry store of the
# demo's own, so no real entry is changed), and starts vtx. Without a display, vtx renders
# its main window offscreen to a PNG and prints the file's path.
#
# Environment: VYR_BUILD_DIR (default: build/ of the checkout) holds the built programs;
# VTX_SNAPSHOT_PNG chooses the PNG file (default: $VYR_BUILD_DIR/vtx-demo/vtx.png).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VYR_BUILD_DIR:-$root/build}"
demo="$build/vtx-demo"
db="$demo/System.mdb"

mkdir -p "$demo"
export VYR_REGISTRY="$demo/registry.db"
rm -f "$db" "$demo/new.mdb"
"$build/vtx/ctl/vtxctl" create "$db" "$root/vtx/data/schema.sql" "$root/vtx/data/demo.sql"
"$build/tools/vyr-reg/vyr-reg" add 'HKEY_LOCAL_MACHINE\SOFTWARE\Halvern\CP\Database' \
    /v Path /d "$db" /f >/dev/null

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
fi
if [[ "${QT_QPA_PLATFORM:-}" == offscreen || "${QT_QPA_PLATFORM:-}" == minimal ]]; then
    export VTX_SNAPSHOT_PNG="${VTX_SNAPSHOT_PNG:-$demo/vtx.png}"
    mkdir -p "$(dirname "$VTX_SNAPSHOT_PNG")"
fi
exec "$build/vtx/ui/vtx" "$@"
