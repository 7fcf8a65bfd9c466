#!/usr/bin/env bash
# Builds the window and vrdkctl and starts the window on the built-in
# simulated mouse. On a machine without a display it says so and shows
# `vrdkctl --simulate info` instead. Extra arguments go to the window
# (try: scripts/run.sh --help); `scripts/run.sh vrdkctl ARGS...` runs vrdkctl.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}" "${GUI_PACKAGES[@]}"

cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVRDK_TESTS=OFF -DVRDK_BENCH=OFF >/dev/null
cmake --build build/run --target vrdkctl vrdk-mouse
if [ "${1:-}" = vrdkctl ]; then
  shift
  exec build/run/src/vrdkctl "$@"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window" >&2
  echo "run: cannot open; this is the simulated mouse as vrdkctl shows it:" >&2
  exec build/run/src/vrdkctl --simulate info
fi
if [ $# -eq 0 ]; then set -- --simulate; fi
exec build/run/src/vrdk-mouse "$@"
