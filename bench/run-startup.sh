#!/usr/bin/env bash
# Start-up to the first painted main window (default basa.tel) against a
# plain Qt window, and the return from a modal window with a 1,000,000-record
# basa.tel against `unzip -o -q` of the same archive. Medians of several runs.
#   bench/run-startup.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
command -v unzip >/dev/null || { echo "needs Info-ZIP unzip: apt-get install unzip"; exit 1; }
cmake -S . -B "${1:-build-bench}" -DCMAKE_BUILD_TYPE=Release -DSPRAV_BENCH=ON -DSPRAV_TESTS=OFF >/dev/null
cmake --build "${1:-build-bench}" -j"${JOBS:-2}" --target startup_bench workdir datagen spravochnik-data >/dev/null
build=$(realpath "${1:-build-bench}")
bench="$build/bench/startup_bench"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
startup() {   # seconds from exec to the first paint
  local start end; start=$(date +%s%N); end=$("$@"); awk -v s="$start" -v e="$end" 'BEGIN {printf "%.4f\n", (e - s) / 1e9}'
}

mkdir -p "$work/default" "$work/large"
cp "$build/workdir/basa.tel" "$build/workdir/basamy.db" "$work/default/"
for i in 1 2 3 4 5 6 7; do (cd "$work/default" && startup "$bench" app); done | median > "$work/app"
for i in 1 2 3 4 5 6 7; do startup "$bench" minimal; done | median > "$work/minimal"
echo "start-up to first paint: program $(cat "$work/app") s, plain Qt window $(cat "$work/minimal") s," \
     "ratio $(awk -v a="$(cat "$work/app")" -v b="$(cat "$work/minimal")" 'BEGIN {printf "%.2f", a / b}') (target <= 3)"

"$build/tools/datagen/datagen" directory "$work/large/data.db" 1000000
cp "$build/gen/kod.db" "$build/workdir/basamy.db" "$work/large/"
"$build/tools/spravochnik-data/spravochnik-data" pack "$work/large/basa.tel" "$work/large/data.db" "$work/large/kod.db"
rm "$work/large/data.db"
ours=$(cd "$work/large" && "$bench" return 5)
peer=$(cd "$work/large" && for i in 1 2 3 4 5; do
  s=$(date +%s%N); unzip -o -q basa.tel; e=$(date +%s%N); awk -v s="$s" -v e="$e" 'BEGIN {printf "%.4f\n", (e - s) / 1e9}'
done | median)
echo "return from a modal window (1,000,000 records): program $ours s, unzip -o -q $peer s," \
     "ratio $(awk -v a="$ours" -v b="$peer" 'BEGIN {printf "%.2f", a / b}') (target <= 1.3)"
