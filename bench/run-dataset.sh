#!/usr/bin/env bash
# Times the main window's search through the dataset layer on a generated
# 1,000,000-record data.db against the sqlite3 shell running the same SELECT
# (case-sensitive LIKE, output to /dev/null) on the same file.
#   bench/run-dataset.sh [BUILD_DIR] [RECORDS]
source "$(dirname "$0")/common.sh"
needs sqlite3 sqlite3
needs /usr/bin/time time
build_targets datagen dataset_bench

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "generating $records records..."
"$build/tools/datagen/datagen" directory "$work/data.db" "$records"

# Best of three runs of the peer: wall and processor seconds.
peer() {
    local best="" best_cpu=""
    for _ in 1 2 3; do
        local start end cpu
        start=$(date +%s.%N)
        cpu=$( { /usr/bin/time -f "%U %S" sqlite3 "$work/data.db" "PRAGMA case_sensitive_like=ON;
SELECT Tel, Abon, Otdel, Adres FROM data WHERE (Tel LIKE '$1%' AND Abon LIKE '$2%' AND Adres LIKE '%');" >/dev/null; } 2>&1 | awk '{print $1 + $2}')
        end=$(date +%s.%N)
        best=$(echo "$start $end $best" | awk '{t = $2 - $1; if ($3 == "" || t < $3) print t; else print $3}')
        best_cpu=$(echo "$cpu $best_cpu" | awk '{if ($2 == "" || $1 < $2) print $1; else print $2}')
    done
    echo "$best $best_cpu"
}

out=$("$build/bench/dataset_bench" "$work" 3)
echo "$out"
ours() { echo "$out" | awk -v c="$1" -v f="$2" '$1 == "case" && $2 == c":" {print $f}'; }

read -r peer_a peer_a_cpu <<<"$(peer "" "")"
read -r peer_b peer_b_cpu <<<"$(peer "279" "")"
read -r peer_c peer_c_cpu <<<"$(peer "" "ИВАНОВ")"
echo "sqlite3 shell: a $peer_a s (cpu $peer_a_cpu s), b $peer_b s (cpu $peer_b_cpu s), c $peer_c s (cpu $peer_c_cpu s)"
awk -v a="$(ours a 3)" -v b="$(ours b 3)" -v c="$(ours c 3)" -v pa="$peer_a" -v pb="$peer_b" -v pc="$peer_c" \
    -v ac="$(ours a 6)" -v pac="$peer_a_cpu" 'BEGIN {
    printf "(a) ours / peer = %.2f wall, %.2f cpu (target <= 1.5)\n", a / pa, ac / (pac > 0 ? pac : 0.01)
    printf "(b) ours / peer = %.2f; (a) / (b) = %.1f (target >= 10)\n", b / pb, a / b
    printf "(c) ours / peer = %.2f; (a) / (c) = %.1f (target >= 10)\n", c / pc, a / c
}'
