#!/usr/bin/env bash
# Starts the demo on a virtual X display with the accessibility bus running and lists what a
# screen reader finds through AT-SPI (tests/accessibility/atspi_tree.py). Needs xvfb,
# dbus, at-spi2-core and python3-pyatspi. Usage: atspi_check.sh path/to/vyr-demo
set -euo pipefail
demo=${1:?usage: atspi_check.sh path/to/vyr-demo}
here=$(cd "$(dirname "$0")" && pwd)
exec dbus-run-session -- bash -s "$demo" "$here" <<'INNER'
set -euo pipefail
demo=$1 here=$2
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1600x1200x24 >/dev/null 2>&1 &
xvfb=$!
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
trap 'kill $app $bus $xvfb 2>/dev/null || true' EXIT
sleep 1
cd "$(mktemp -d)"
DISPLAY=$display QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$demo" >/dev/null 2>&1 &
app=$!
sleep 3
DISPLAY=$display /usr/bin/python3 "$here/atspi_tree.py" "$(basename "$demo")"
INNER
