#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main program: the vtx tool on a demo System
# Database (without a display it renders its main window to a PNG and prints the path).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec vtx/run-demo.sh
