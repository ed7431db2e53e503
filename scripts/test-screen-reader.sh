#!/usr/bin/env bash
# End-to-end: what the Orca screen reader says of the program, under Xvfb
# and openbox with its own session and AT-SPI buses and its own
# speech-dispatcher writing the speech to a file; all stopped again at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh screenreader
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-2}" --target spravochnik workdir
cd tests/accessibility
timeout 300 dbus-run-session -- /usr/bin/python3 screen_reader_check.py ../../build
