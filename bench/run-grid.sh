#!/usr/bin/env bash
# Builds and runs the grid benchmark headless at scale factors 1 and 2;
# prints the figures, then the factor-2 time per device pixel against the
# factor-1 time (factor 2 paints four times the pixels).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSPRAV_TESTS=OFF -DSPRAV_BENCH=ON >/dev/null
cmake --build build-bench -j"${JOBS:-2}" --target grid_bench
for factor in 1 2; do
  echo "== scale factor $factor"
  QT_SCALE_FACTOR=$factor QT_QPA_PLATFORM=offscreen build-bench/bench/grid_bench | tee "build-bench/grid-x$factor.txt"
done
# "paint      grid 1M   123.4 ..." -> "paint|123.4"
grid1m() { sed -nE 's/^(paint|page down|one step|end\/home) +grid 1M +([0-9.]+).*/\1|\2/p' "$1"; }
echo "== factor 2 against factor 1, grid 1M, per device pixel"
join -t'|' <(grid1m build-bench/grid-x1.txt | sort) <(grid1m build-bench/grid-x2.txt | sort) |
  awk -F'|' '{ printf "%-10s x1 %8.1f us  x2 %8.1f us  x2 per device pixel / x1 %.2f\n", $1, $2, $3, $3 / 4 / $2 }'
