#!/usr/bin/env bash
# Starts the demo on a private virtual X display with its own session and accessibility bus
# and checks what a screen reader finds through AT-SPI (tests/accessibility/atspi_tree.py:
# every object listed with its role and name, and every control named). Needs xvfb, dbus,
# at-spi2-core and python3-pyatspi; exits 77 (skipped) when one is missing.
# Usage: atspi_check.sh path/to/vyr-demo
set -euo pipefail
demo=${1:?usage: atspi_check.sh path/to/vyr-demo}
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
skip() { echo "SKIP: $*"; exit 77; }
command -v Xvfb >/dev/null || skip "no Xvfb (xvfb)"
command -v dbus-run-session >/dev/null || skip "no dbus-run-session (dbus)"
[[ -x $launcher ]] || skip "no $launcher (at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "no pyatspi (python3-pyatspi)"
exec dbus-run-session -- bash -s "$demo" "$here" "$launcher" <<'INNER'
set -euo pipefail
demo=$1 here=$2 launcher=$3
app= bus= xvfb=
work=$(mktemp -d)
trap 'kill $app $bus $xvfb 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
# Xvfb picks a free display itself and writes its number, so parallel runs never meet.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1600x1200x24 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "Xvfb did not start" >&2; exit 1; }
display=:$(head -n1 "$work/display")
"$launcher" --launch-immediately >/dev/null 2>&1 &
bus=$!
cd "$work"
DISPLAY=$display QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$demo" >/dev/null 2>&1 &
app=$!
DISPLAY=$display /usr/bin/python3 "$here/atspi_tree.py" "$(basename "$demo")"
INNER
