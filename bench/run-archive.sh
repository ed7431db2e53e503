#!/usr/bin/env bash
# Extracts basa.tel at the default size and with a 1,000,000-record data.db
# through the archive component, against Info-ZIP's "unzip -o -q" in the same
# run (target: within 1.2x), with the pure zlib inflate rate as the limit.
#   bench/run-archive.sh [BUILD_DIR] [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
records=${2:-1000000}
command -v unzip >/dev/null || { echo "needs Info-ZIP unzip: apt-get install unzip"; exit 1; }

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSPRAV_BENCH=ON -DSPRAV_TESTS=OFF >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target datagen spravochnik-data archive_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/default" "$work/large"
codes=resources/data/belarus-dialing-codes.tsv
"$build/tools/datagen/datagen" directory "$work/default/data.db"
"$build/tools/spravochnik-data/spravochnik-data" codes import "$codes" -o "$work/default/kod.db" >/dev/null
"$build/tools/spravochnik-data/spravochnik-data" pack "$work/default.tel" "$work/default/data.db" "$work/default/kod.db"
echo "generating $records records..."
"$build/tools/datagen/datagen" directory "$work/large/data.db" "$records"
"$build/tools/spravochnik-data/spravochnik-data" pack "$work/large.tel" "$work/large/data.db" "$work/default/kod.db"

export QT_QPA_PLATFORM=offscreen
for size in default large; do
  mkdir -p "$work/run-$size"
  "$build/bench/archive_bench" "$work/$size.tel" "$work/run-$size" 5
done
