#!/usr/bin/env bash
# Runs every benchmark and ends with one line per figure against its target:
#   bench/run-all.sh [BUILD_DIR]
# (ROUNDS=n sets the rounds of each measurement; the default is 7.)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg) at the start"
for bench in startup archive dataset import grid paradox; do
    echo "== $bench"
    "bench/run-$bench.sh" "$build" | tee -a "$log"
done
echo "== summary (load $(cut -d' ' -f1-3 /proc/loadavg) at the end)"
awk '$1 == "figure:" {
    holds = ($4 == "at-most") ? $3 <= $5 : $3 >= $5
    printf "%s: %s (target %s %s): %s\n", $2, $3, ($4 == "at-most") ? "<=" : ">=", $5, holds ? "holds" : "falls short"
}' "$log"
