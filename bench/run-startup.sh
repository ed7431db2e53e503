#!/usr/bin/env bash
# Start-up to the first painted main window (default basa.tel) against a
# plain Qt window, with the program's phases; and the return from a modal
# window with a 1,000,000-record basa.tel against `unzip -o -q` of the same
# archive. The two sides take turns; medians of ROUNDS rounds.
#   bench/run-startup.sh [BUILD_DIR] [RECORDS]
source "$(dirname "$0")/common.sh"
needs unzip unzip
build_targets startup_bench workdir datagen spravochnik-data
bench=$(realpath "$build/bench/startup_bench")
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One start: "phase seconds-since-exec" lines, the first paint last.
start() {
    local begin; begin=$(date +%s%N)
    "$@" 2>/dev/null | awk -v b="$begin" '{printf "%s %.4f\n", $1, ($2 - b) / 1e9}'
}
mkdir -p "$work/default" "$work/large"
cp "$build/workdir/basa.tel" "$build/workdir/basamy.db" "$work/default/"
for _ in $(seq "$rounds"); do
    (cd "$work/default" && start "$bench" app) >>"$work/app"
    start "$bench" minimal >>"$work/minimal"
done
phase() { awk -v p="$2" '$1 == p {print $2}' "$1" | median; }
app=$(phase "$work/app" paint) minimal=$(phase "$work/minimal" paint)
echo "start-up phases of the program, median seconds since exec:"
for p in exec application style windows show paint; do
    printf "  %-12s %s\n" "$p" "$(phase "$work/app" "$p")"
done
echo "start-up to first paint: program $app s, plain Qt window $minimal s (its phases: exec $(phase "$work/minimal" exec), application $(phase "$work/minimal" application))"
figure startup-to-first-paint "$(awk -v a="$app" -v b="$minimal" 'BEGIN {printf "%.2f", a / b}')" at-most 1.5

"$build/tools/datagen/datagen" directory "$work/large/data.db" "$records"
cp "$build/gen/kod.db" "$build/workdir/basamy.db" "$work/large/"
"$build/tools/spravochnik-data/spravochnik-data" pack "$work/large/basa.tel" "$work/large/data.db" "$work/large/kod.db"
rm "$work/large/data.db"
for _ in $(seq "$rounds"); do
    (cd "$work/large" && "$bench" return 1 2>/dev/null) >>"$work/return"
    (cd "$work/large" && seconds unzip -o -q basa.tel) >>"$work/unzip"
done
ours=$(median <"$work/return") peer=$(median <"$work/unzip")
echo "return from a modal window ($records records): program $ours s, unzip -o -q $peer s"
figure return-from-modal-window "$(awk -v a="$ours" -v b="$peer" 'BEGIN {printf "%.2f", a / b}')" at-most 0.45
