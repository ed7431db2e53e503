# Sourced by the benchmark scripts that take [BUILD_DIR] [RECORDS]: works
# from the top of the tree and offers the checks and the build they share.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[1]}")/.."
build=${1:-build-bench}
records=${2:-1000000}

# needs COMMAND PACKAGE: stops with the line that installs it.
needs() {
    [ -x "$(command -v "$1")" ] || { echo "needs $1: apt-get install $2"; exit 1; }
}

# build_targets TARGET...: a release build of just those.
build_targets() {
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSPRAV_BENCH=ON -DSPRAV_TESTS=OFF >/dev/null
    cmake --build "$build" -j"${JOBS:-2}" --target "$@" >/dev/null
}
