#!/usr/bin/env bash
# Builds the program and runs it. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}"

cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVRDK_TESTS=OFF -DVRDK_BENCH=OFF >/dev/null
cmake --build build/run --target vrdk-sim-info
exec build/run/tools/vrdk-sim-info "$@"
