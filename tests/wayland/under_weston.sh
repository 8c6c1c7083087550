#!/usr/bin/env bash
# Runs a program as a client of a private headless weston compositor, on Qt's wayland platform.
#   under_weston.sh QT_PLATFORMS_DIR PROGRAM ARGS...             the program's exit status
#   under_weston.sh QT_PLATFORMS_DIR --shows PROGRAM ARGS...     passes once the program has
#       shown a window (the compositor configured it and got a painted buffer) and still runs;
#       the program is then ended
# Exits 77 (skipped) when weston or Qt's wayland platform plugin is not installed. The
# compositor, the program and the private runtime folder go on every way out, also when this
# script is killed (then they get the parent-death signal; only the folder, in $TMPDIR, stays).
set -uo pipefail
platforms=${1:?usage: under_weston.sh QT_PLATFORMS_DIR [--shows] PROGRAM ARGS...}
shift
shows=0
if [ "${1:-}" = --shows ]; then
  shows=1
  shift
fi
[ $# -ge 1 ] || { echo "under_weston.sh: no program" >&2; exit 2; }
if ! command -v weston >/dev/null; then
  echo "weston is not installed: skipped"
  exit 77
fi
if [ ! -e "$platforms/libqwayland-generic.so" ] && [ ! -e "$platforms/libqwayland-egl.so" ]; then
  echo "Qt's wayland platform plugin is not in $platforms: skipped"
  exit 77
fi

runtime=$(mktemp -d "${TMPDIR:-/tmp}/vyr-weston.XXXXXX") || exit 1
chmod 700 "$runtime"
weston_pid="" app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
  fi
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2>/dev/null
    wait "$weston_pid" 2>/dev/null
  fi
  rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

export XDG_RUNTIME_DIR=$runtime
socket=wayland-vyr
# No on-screen keyboard (an input method client of its own), no screen blanking.
printf '[core]\nidle-time=0\n[input-method]\npath=\n' >"$runtime/weston.ini"
setpriv --pdeathsig KILL weston --backend=headless-backend.so --socket="$socket" --config="$runtime/weston.ini" \
  --width=1280 --height=1024 >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 200); do
  [ -S "$runtime/$socket" ] && break
  if ! kill -0 "$weston_pid" 2>/dev/null; then
    echo "weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
  fi
  sleep 0.05
done
[ -S "$runtime/$socket" ] || { echo "weston made no socket" >&2; cat "$runtime/weston.log" >&2; exit 1; }

export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland
unset DISPLAY # no way back to X11
# Programs that keep files (the tool's demo database, the registry) keep them here.
mkdir -p "$runtime/home" "$runtime/work"
export HOME=$runtime/home VYR_REGISTRY=$runtime/registry.db
cd "$runtime/work" || exit 1

# The program, too, goes when this script is killed.
run=(setpriv --pdeathsig KILL "$@")
if ((!shows)); then
  "${run[@]}" &
  app_pid=$!
  wait "$app_pid"
  rc=$?
  app_pid=""
  exit "$rc"
fi

# The client's own protocol log tells when its window was configured and painted.
: >"$runtime/wayland.log"
WAYLAND_DEBUG=client "${run[@]}" >"$runtime/out.log" 2>"$runtime/wayland.log" &
app_pid=$!
for _ in $(seq 300); do
  if ! kill -0 "$app_pid" 2>/dev/null; then
    wait "$app_pid"
    echo "$1 ended (status $?) before showing a window:" >&2
    grep -v '^\[' "$runtime/wayland.log" | tail -20 >&2
    exit 1
  fi
  if grep -q 'xdg_surface@[0-9]*\.ack_configure' "$runtime/wayland.log" &&
     grep -q 'wl_surface@[0-9]*\.attach(wl_buffer@' "$runtime/wayland.log"; then
    echo "$(basename "$1") showed a window on $WAYLAND_DISPLAY:"
    grep -o 'xdg_toplevel@[0-9]*\.set_title("[^"]*")' "$runtime/wayland.log" | sort -u
    exit 0
  fi
  sleep 0.1
done
echo "$1 showed no window within 30 s" >&2
exit 1
