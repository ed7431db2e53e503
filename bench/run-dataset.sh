#!/usr/bin/env bash
# Times the main window's search through the dataset layer on a generated
# 1,000,000-record data.db against the sqlite3 shell running the same SELECT
# (case-sensitive LIKE, output to /dev/null) on the same file.
#   bench/run-dataset.sh [BUILD_DIR] [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
records=${2:-1000000}
command -v sqlite3 >/dev/null || { echo "needs the sqlite3 shell: apt-get install sqlite3"; exit 1; }

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSPRAV_BENCH=ON -DSPRAV_TESTS=OFF >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target datagen dataset_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "generating $records records..."
"$build/tools/datagen/datagen" directory "$work/data.db" "$records"

# Best of three runs of the peer, in seconds.
peer() {
    local best=""
    for _ in 1 2 3; do
        local start end
        start=$(date +%s.%N)
        sqlite3 "$work/data.db" "PRAGMA case_sensitive_like=ON;
SELECT Tel, Abon, Otdel, Adres FROM data WHERE (Tel LIKE '$1%' AND Abon LIKE '$2%' AND Adres LIKE '%');" >/dev/null
        end=$(date +%s.%N)
        best=$(echo "$start $end $best" | awk '{t = $2 - $1; if ($3 == "" || t < $3) print t; else print $3}')
    done
    echo "$best"
}

out=$("$build/bench/dataset_bench" "$work" 3)
echo "$out"
ours() { echo "$out" | awk -v c="$1" '$1 == "case" && $2 == c":" {print $3}'; }

peer_a=$(peer "" "")
peer_b=$(peer "279" "")
peer_c=$(peer "" "ИВАНОВ")
echo "sqlite3 shell: a $peer_a s, b $peer_b s, c $peer_c s"
awk -v a="$(ours a)" -v b="$(ours b)" -v c="$(ours c)" -v pa="$peer_a" -v pb="$peer_b" -v pc="$peer_c" 'BEGIN {
    printf "(a) ours / peer = %.2f (target <= 1.5)\n", a / pa
    printf "(b) ours / peer = %.2f; (a) / (b) = %.1f (target >= 10)\n", b / pb, a / b
    printf "(c) ours / peer = %.2f; (a) / (c) = %.1f (target >= 10)\n", c / pc, a / c
}'
