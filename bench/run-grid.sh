#!/usr/bin/env bash
# Builds and runs the grid benchmark headless; prints the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSPRAV_TESTS=OFF -DSPRAV_BENCH=ON >/dev/null
cmake --build build-bench -j"${JOBS:-2}" --target grid_bench
QT_QPA_PLATFORM=offscreen build-bench/bench/grid_bench
