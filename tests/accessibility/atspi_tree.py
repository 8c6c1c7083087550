#!/usr/bin/python3
"""Lists what a screen reader finds of the demo through AT-SPI: every accessible object of
the application named on the command line, with its role and name, one per line and indented
by depth. Exits non-zero when the application is not on the bus, shows no control of the
library (a push button named "Start", a slider, a page tab, a radio button), or has an object
without a name other than the containers Qt lays its widgets out in."""
import sys
import time

import pyatspi

app_name = sys.argv[1] if len(sys.argv) > 1 else "vyr-demo"
deadline = time.monotonic() + 15

# What Qt's plain layout widgets and scroll areas are; they carry no name of their own.
CONTAINERS = {"application", "frame", "filler", "scroll pane", "scroll bar", "viewport"}
REQUIRED = ("push button", "slider", "page tab", "radio button")


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == app_name:
            return app
    return None


def walk(node, depth, seen):
    if node is None or depth > 40:
        return
    seen.append((depth, node.getRoleName(), node.name or ""))
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), depth + 1, seen)


# The application joins the bus before its window shows: read the tree again until the
# controls are in it.
seen = []
while True:
    app = find_app()
    seen = []
    if app is not None:
        try:
            walk(app, 0, seen)
        except Exception:  # an object went away while it was read
            seen = []
    roles = {r for _, r, _ in seen}
    if all(r in roles for r in REQUIRED) or time.monotonic() > deadline:
        break
    time.sleep(0.25)

if app is None:
    print(f"{app_name} is not on the accessibility bus", file=sys.stderr)
    sys.exit(2)
for depth, role, name in seen:
    print(f"{'  ' * depth}{role}: {name}")
missing = [r for r in REQUIRED if r not in {r for _, r, _ in seen}]
if missing:
    print("missing roles: " + ", ".join(missing), file=sys.stderr)
    sys.exit(1)
nameless = [(role, depth) for depth, role, name in seen if not name and role not in CONTAINERS]
if nameless:
    print(f"{len(nameless)} objects without a name: " + ", ".join(sorted({r for r, _ in nameless})), file=sys.stderr)
    sys.exit(1)
print(f"{len(seen)} objects, every one with a role and, but for layout containers, a name")
