#!/usr/bin/env bash
# Builds vrdkctl and runs it. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}"

cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVRDK_TESTS=OFF -DVRDK_BENCH=OFF >/dev/null
cmake --build build/run --target vrdkctl
# Without arguments: the simulated mouse's summary. With arguments: vrdkctl
# as given (try: scripts/run.sh --help).
if [ $# -eq 0 ]; then set -- --simulate info; fi
exec build/run/src/vrdkctl "$@"
