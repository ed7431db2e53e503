#!/usr/bin/env bash
# Fails when a C or C++ file differs from the layout in .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
find src tests tools bench packaging \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run -Werror
