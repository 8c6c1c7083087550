#!/usr/bin/python3
"""Lists what a screen reader finds of the demo through AT-SPI: every accessible object of
the application named on the command line, with its role and name, one per line and indented
by depth. Exits non-zero when the application is not on the bus or shows no control of the
library (a push button named "Start", a slider, a page tab)."""
import sys
import time

import pyatspi

app_name = sys.argv[1] if len(sys.argv) > 1 else "vyr-demo"


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == app_name:
            return app
    return None


app = None
for _ in range(40):
    app = find_app()
    if app is not None:
        break
    time.sleep(0.25)
if app is None:
    print(f"{app_name} is not on the accessibility bus", file=sys.stderr)
    sys.exit(2)

seen = []


def walk(node, depth):
    if node is None or depth > 40:
        return
    role = node.getRoleName()
    name = node.name or ""
    seen.append((role, name))
    print(f"{'  ' * depth}{role}: {name}")
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), depth + 1)


walk(app, 0)
roles = {r for r, _ in seen}
missing = [r for r in ("push button", "slider", "page tab", "radio button") if r not in roles]
if missing:
    print("missing roles: " + ", ".join(missing), file=sys.stderr)
    sys.exit(1)
