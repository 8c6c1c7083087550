#!/usr/bin/python3
"""Lists what a screen reader finds of the demo through AT-SPI: every accessible object of
the application named on the command line, with its role and name, one per line and indented
by depth. Exits non-zero when the application is not on the bus, shows no control of the
library (a push button, a slider, a page tab, a radio button) -- exit 3: not yet, ask again --
or has an object without a name other than the containers Qt lays its widgets out in (exit
1). One reading per run: the bus's list of applications is read once per process."""
import sys

import pyatspi

app_name = sys.argv[1] if len(sys.argv) > 1 else "vyr-demo"

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


app = find_app()
seen = []
if app is None:
    print(f"{app_name} is not on the accessibility bus", file=sys.stderr)
    sys.exit(3)
try:
    walk(app, 0, seen)
except Exception as e:  # an object went away while it was read
    print(f"the tree changed while it was read: {e}", file=sys.stderr)
    sys.exit(3)
for depth, role, name in seen:
    print(f"{'  ' * depth}{role}: {name}")
missing = [r for r in REQUIRED if r not in {r for _, r, _ in seen}]
if missing:
    print("missing roles: " + ", ".join(missing), file=sys.stderr)
    sys.exit(3)
nameless = [(role, depth) for depth, role, name in seen if not name and role not in CONTAINERS]
if nameless:
    print(f"{len(nameless)} objects without a name: " + ", ".join(sorted({r for r, _ in nameless})), file=sys.stderr)
    sys.exit(1)
print(f"{len(seen)} objects, every one with a role and, but for layout containers, a name")
