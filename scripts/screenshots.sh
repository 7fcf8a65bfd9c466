#!/usr/bin/env bash
# Renders every page of the window in each of the three languages under a
# virtual X display (Xvfb), on the simulated mouse, into BUILD-DIR/screenshots/
# or, with --update-docs, into docs/screenshots/ (the pictures the README
# shows). Fails when the window cannot start or a page renders blank.
# Usage: scripts/screenshots.sh [--update-docs] [BUILD-DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
update_docs=0
if [ "${1:-}" = "--update-docs" ]; then
  update_docs=1
  shift
fi
build=${1:-build/release}
out="$build/screenshots"
[ "$update_docs" -eq 1 ] && out=docs/screenshots
program="$build/src/vrdk-mouse"
if [ ! -x "$program" ]; then
  echo "screenshots: $program is not built" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
# A fresh simulated mouse each time, so the pictures do not depend on a
# mouse file left by an earlier run.
XDG_STATE_HOME="$work" XDG_DATA_HOME="$work" xvfb-run -a -s "-screen 0 1600x1000x24" \
  "$program" --simulate="$work/mouse.bin" --screenshots="$out"
