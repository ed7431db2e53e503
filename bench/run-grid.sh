#!/usr/bin/env bash
# Builds and runs the grid benchmark headless at scale factors 1 and 2;
# prints the figures, then the factor-2 time per device pixel against the
# factor-1 time (factor 2 paints four times the pixels).
#   bench/run-grid.sh [BUILD_DIR]
source "$(dirname "$0")/common.sh"
build_targets grid_bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for factor in 1 2; do
  echo "== scale factor $factor"
  QT_SCALE_FACTOR=$factor QT_QPA_PLATFORM=offscreen "$build/bench/grid_bench" 2>/dev/null | tee "$work/grid-x$factor.txt"
done
# "paint      grid 1M   123.4 ..." -> "paint|123.4"
grid1m() { sed -nE 's/^(paint|page down|one step|end\/home) +grid 1M +([0-9.]+).*/\1|\2/p' "$1"; }
echo "== factor 2 against factor 1, grid 1M, per device pixel"
join -t'|' <(grid1m "$work/grid-x1.txt" | sort) <(grid1m "$work/grid-x2.txt" | sort) |
  awk -F'|' '{ printf "%-10s x1 %8.1f us  x2 %8.1f us  x2 per device pixel / x1 %.2f\n", $1, $2, $3, $3 / 4 / $2 }'
