#!/usr/bin/env bash
# Runs a program on Qt's xcb platform as a client of a private Xvfb server, on a display the
# server picks itself among the free ones (-displayfd), so that runs side by side never meet.
#   under_xvfb.sh QT_PLATFORMS_DIR PROGRAM ARGS...     the program's exit status
# The program drives the mouse with xdotool. Exits 77 (skipped) when Xvfb, xdotool or Qt's
# xcb platform plugin is not installed. The server, the program and the private folder go on
# every way out, also when this script is killed (then they get the parent-death signal; only
# the folder, in $TMPDIR, stays).
set -uo pipefail
platforms=${1:?usage: under_xvfb.sh QT_PLATFORMS_DIR PROGRAM ARGS...}
shift
[ $# -ge 1 ] || { echo "under_xvfb.sh: no program" >&2; exit 2; }
for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed: skipped"
    exit 77
  fi
done
if [ ! -e "$platforms/libqxcb.so" ]; then
  echo "Qt's xcb platform plugin is not in $platforms: skipped"
  exit 77
fi

runtime=$(mktemp -d "${TMPDIR:-/tmp}/vyr-xvfb.XXXXXX") || exit 1
chmod 700 "$runtime"
xvfb_pid="" app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# The server writes the display number it took to fd 3 once it accepts connections.
: >"$runtime/display"
setpriv --pdeathsig KILL Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
  3>"$runtime/display" >"$runtime/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 200); do
  read -r display <"$runtime/display" && [ -n "$display" ] && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "Xvfb did not start:" >&2
    cat "$runtime/xvfb.log" >&2
    exit 1
  fi
  sleep 0.05
done
[ -n "$display" ] || { echo "Xvfb gave no display within 10 s" >&2; cat "$runtime/xvfb.log" >&2; exit 1; }

export DISPLAY=:$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$runtime
unset WAYLAND_DISPLAY
# The drag settings are per-user values: a fresh registry gives the defaults.
mkdir -p "$runtime/home" "$runtime/work"
export HOME=$runtime/home VYR_REGISTRY=$runtime/registry.db
cd "$runtime/work" || exit 1
echo "Xvfb on $DISPLAY"

setpriv --pdeathsig KILL "$@" &
app_pid=$!
wait "$app_pid"
rc=$?
app_pid=""
exit "$rc"
