# Sourced by the benchmark scripts that take [BUILD_DIR] [RECORDS]: works
# from the top of the tree and offers the checks, the build and the figure
# lines they share.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[1]}")/.."
build=${1:-build-bench}
records=${2:-1000000}
# Rounds of each measurement; ours and the peer take turns in every round so
# that both meet the same load on a shared machine, and medians are quoted.
rounds=${ROUNDS:-7}

# needs COMMAND PACKAGE: stops with the line that installs it.
needs() {
    [ -x "$(command -v "$1")" ] || { echo "needs $1: apt-get install $2"; exit 1; }
}

# build_targets TARGET...: those targets of the build folder, configured as a
# release build with benchmarks the first time; a folder configured before
# keeps its build type (RelWithDebInfo serves as well).
build_targets() {
    if [ -f "$build/CMakeCache.txt" ]; then
        cmake -S . -B "$build" -DSPRAV_BENCH=ON >/dev/null
    else
        cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSPRAV_BENCH=ON -DSPRAV_TESTS=OFF >/dev/null
    fi
    cmake --build "$build" -j"${JOBS:-2}" --target "$@" >/dev/null
}

# median: of the numbers on standard input, one a line.
median() {
    sort -g | awk '{a[NR] = $1} END {if (NR % 2) print a[(NR + 1) / 2]; else printf "%.6g\n", (a[NR / 2] + a[NR / 2 + 1]) / 2}'
}

# seconds COMMAND...: runs it with its output thrown away, prints the wall seconds.
seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    awk -v s="$start" -v e="$end" 'BEGIN {printf "%.4f\n", (e - s) / 1e9}'
}

# figure NAME VALUE at-most|at-least TARGET: one line that bench/run-all.sh
# gathers into its summary.
figure() {
    echo "figure: $1 $2 $3 $4"
}
