#!/usr/bin/env bash
# Builds everything and runs every test. SANITIZE=1 builds into build-asan
# with AddressSanitizer and UndefinedBehaviorSanitizer; any report fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

if [ "${SANITIZE:-0}" = 1 ]; then
  dir=build-asan
  flags=(-DSPRAV_SANITIZE=ON -DSPRAV_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir=build
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake -S . -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j"${JOBS:-2}"
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"${JOBS:-2}"
