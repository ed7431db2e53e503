#!/usr/bin/env bash
# End-to-end: the program as a screen reader meets it, under Xvfb with its
# own session bus and AT-SPI bus, all stopped again at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-2}" --target spravochnik workdir
timeout 300 dbus-run-session -- /usr/bin/python3 tests/accessibility/atspi_check.py build
