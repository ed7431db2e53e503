#!/usr/bin/env bash
# Proves the source tree is self-contained: clones the checkout into an empty
# temporary folder, with nothing beside it, and configures and builds the
# table files there. Any failure fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone -q --no-local "$PWD" "$work/spravochnik"
cmake -S "$work/spravochnik" -B "$work/spravochnik/build" >/dev/null
cmake --build "$work/spravochnik/build" -j"${JOBS:-2}" --target tablefiles workdir >/dev/null
for file in gen/data.db gen/kod.db gen/basamy.db workdir/basa.tel workdir/help.html; do
  [ -s "$work/spravochnik/build/$file" ] || { echo "fresh clone: $file was not made" >&2; exit 1; }
done
echo "fresh clone: configured and built the table files"
