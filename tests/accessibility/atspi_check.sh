#!/usr/bin/env bash
# Starts the demo on a private virtual X display with its own session and accessibility bus
# and checks what a screen reader finds through AT-SPI (tests/accessibility/atspi_tree.py:
# every object listed with its role and name, and every control named). Needs xvfb, dbus,
# at-spi2-core and python3-pyatspi; exits 77 (skipped) when one is missing.
# Usage: atspi_check.sh path/to/vyr-demo
set -euo pipefail
demo=$(realpath "${1:?usage: atspi_check.sh path/to/vyr-demo}")
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
skip() { echo "SKIP: $*"; exit 77; }
command -v Xvfb >/dev/null || skip "no Xvfb (xvfb)"
command -v dbus-run-session >/dev/null && command -v dbus-send >/dev/null || skip "no dbus-run-session or dbus-send (dbus)"
[[ -x $launcher ]] || skip "no $launcher (at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "no pyatspi (python3-pyatspi)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The accessibility bus's socket lies in the runtime folder: one of its own per run.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime XDG_CACHE_HOME=$work/cache
dbus-run-session -- bash -s "$demo" "$here" "$launcher" "$work" <<'INNER'
set -euo pipefail
demo=$1 here=$2 launcher=$3 work=$4
app= bus= xvfb=
trap 'kill $app $bus $xvfb 2>/dev/null || true; wait 2>/dev/null || true' EXIT
# Xvfb picks a free display itself and writes its number, so parallel runs never meet.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1600x1200x24 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "Xvfb did not start" >&2; exit 1; }
display=:$(head -n1 "$work/display")
"$launcher" --launch-immediately >/dev/null 2>&1 &
bus=$!
# The program looks for the accessibility bus once, at its start: wait until it answers.
for _ in $(seq 100); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1 && break
  sleep 0.1
done
cd "$work"
DISPLAY=$display QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$demo" >"$work/demo.log" 2>&1 &
app=$!
# The program joins the bus before its window shows: read until its controls are there.
for _ in $(seq 60); do
  rc=0
  DISPLAY=$display /usr/bin/python3 "$here/atspi_tree.py" "$(basename "$demo")" >"$work/tree" 2>"$work/err" || rc=$?
  ((rc == 3)) || break
  kill -0 "$app" 2>/dev/null || { echo "the demo ended:" >&2; cat "$work/demo.log" >&2; rc=1; break; }
  sleep 0.25
done
cat "$work/tree" "$work/err"
exit "$rc"
INNER
