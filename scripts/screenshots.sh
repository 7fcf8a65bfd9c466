#!/usr/bin/env bash
# Renders every page of the window in each of the three languages into
# docs/screenshots/ under a virtual X display (Xvfb), on the simulated mouse.
# Fails when the window cannot start or a page renders blank.
# Usage: scripts/screenshots.sh [BUILD-DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
program="$build/src/vrdk-mouse"
if [ ! -x "$program" ]; then
  echo "screenshots: $program is not built" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p docs/screenshots
# A fresh simulated mouse each time, so the pictures do not depend on a
# mouse file left by an earlier run.
XDG_STATE_HOME="$work" XDG_DATA_HOME="$work" xvfb-run -a -s "-screen 0 1600x1000x24" \
  "$program" --simulate="$work/mouse.bin" --screenshots=docs/screenshots
