#!/usr/bin/env bash
# Times the main window's search through the dataset layer on a generated
# 1,000,000-record data.db against the sqlite3 shell running the same SELECT
# (case-sensitive LIKE, output to /dev/null) on the same file. Each round
# takes the best of three searches of each side, a program searching again
# in the same run as a resident does; medians of the rounds. Checks that
# both find the same rows in the same order.
#   bench/run-dataset.sh [BUILD_DIR] [RECORDS]
source "$(dirname "$0")/common.sh"
needs sqlite3 sqlite3
build_targets datagen dataset_bench

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "generating $records records..."
"$build/tools/datagen/datagen" directory "$work/data.db" "$records"

# peer TEL ABON: the shell's run of the search.
peer() {
    sqlite3 "$work/data.db" "PRAGMA case_sensitive_like=ON;
SELECT Tel, Abon, Otdel, Adres FROM data WHERE (Tel LIKE '$1%' AND Abon LIKE '$2%' AND Adres LIKE '%');"
}
# best3 COMMAND...: the shortest wall seconds of three runs.
best3() {
    for _ in 1 2 3; do seconds "$@"; done | sort -g | head -1
}
# search CASE TEL ABON FIGURE TARGET
search() {
    local ours="$work/ours-$1" theirs="$work/peer-$1"
    for _ in $(seq "$rounds"); do
        "$build/bench/dataset_bench" "$work" 3 "$1" | awk '$1 == "case" && $3 != "plan:" {print $3}' >>"$ours"
        best3 peer "$2" "$3" >>"$theirs"
    done
    "$build/bench/dataset_bench" "$work" 1 "$1" "$work/rows-$1" | grep -E "^case $1"
    peer "$2" "$3" >"$work/shell-$1"
    local same="the same rows in the same order"
    cmp -s "$work/rows-$1" "$work/shell-$1" || same="DIFFERENT ROWS"
    echo "case $1: ours $(median <"$ours") s, sqlite3 shell $(median <"$theirs") s; $(wc -l <"$work/shell-$1") rows, $same"
    [ "$same" != "DIFFERENT ROWS" ] || exit 1
    figure "$4" "$(awk -v a="$(median <"$ours")" -v b="$(median <"$theirs")" 'BEGIN {printf "%.2f", a / b}')" at-most "$5"
}
search a "" "" full-scan 0.8
search b 279 "" telephone-prefix-search 0.36
search c "" "ИВАНОВ" subscriber-prefix-search 0.69
