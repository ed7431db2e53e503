#!/usr/bin/env bash
# Paradox tables against our own in the same run: the main window's full-scan
# and prefix searches (dataset_bench) on a generated data.db of RECORDS
# records, once in our format and once as the Paradox table the data tool
# writes from it; then the move of a 10,000-record Paradox phone book, against
# importing the same records into an empty book with the data tool.
#   bench/run-paradox.sh [BUILD_DIR] [RECORDS]
source "$(dirname "$0")/common.sh"
build_targets datagen spravochnik-data dataset_bench paradoxmove_bench
tool="$build/tools/spravochnik-data/spravochnik-data"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/ours" "$work/paradox" "$work/book"
echo "generating $records records..."
"$build/tools/datagen/datagen" directory "$work/ours/data.db" "$records"
"$tool" directory export "$work/ours/data.db" --format paradox -o "$work/paradox/data.db" >/dev/null
ls -l "$work/ours/data.db" "$work/paradox/data.db" | awk '{print $5, $9}'

ours=$("$build/bench/dataset_bench" "$work/ours" 3)
paradox=$("$build/bench/dataset_bench" "$work/paradox" 3)
echo "ours:    $(echo "$ours" | grep -v plan | tr '\n' ' ')"
echo "paradox: $(echo "$paradox" | grep -v plan | tr '\n' ' ')"
field() { echo "$1" | awk -v c="$2" -v f="$3" '$1 == "case" && $2 == c":" {print $f}'; }
for c in a b c; do
    [ "$(field "$ours" $c 7)" = "$(field "$paradox" $c 7)" ] || { echo "case $c: record counts differ"; exit 1; }
done
awk -v pa="$(field "$paradox" a 3)" -v oa="$(field "$ours" a 3)" -v pb="$(field "$paradox" b 3)" \
    -v ob="$(field "$ours" b 3)" -v pc="$(field "$paradox" c 3)" -v oc="$(field "$ours" c 3)" 'BEGIN {
    printf "(a) full scan: Paradox / ours = %.2f (target <= 5)\n", pa / oa
    printf "(b) telephone prefix: Paradox / ours = %.2f\n", pb / ob
    printf "(c) subscriber prefix: Paradox / ours = %.2f\n", pc / oc
}'

# The phone book: 10,000 records as CSV, as a Paradox table, and moved.
python3 - "$work/book/book.csv" <<'PY'
import sys
with open(sys.argv[1], "w", encoding="utf-8") as f:
    f.write("FIO,ADR,TEL,MAIL\n")
    for i in range(10000):
        f.write(f"Абонент {i},ул. Ленина {i},{100000 + i},a{i}@example.org\n")
PY
"$tool" book import "$work/book/book.csv" "$work/book/ours.db" >/dev/null
"$tool" book export "$work/book/ours.db" --format paradox -o "$work/book/basamy.db" >/dev/null
move=$("$build/bench/paradoxmove_bench" "$work/book")
echo "$move"
best=""
for _ in 1 2 3; do
    rm -f "$work/book/import.db"
    start=$(date +%s.%N)
    "$tool" book import "$work/book/book.csv" "$work/book/import.db" >/dev/null
    end=$(date +%s.%N)
    best=$(echo "$start $end $best" | awk '{t = $2 - $1; if ($3 == "" || t < $3) print t; else print $3}')
done
echo "$move" | awk -v peer="$best" '{printf "book move / tool import of the same records = %.2f (%.3f s / %.3f s)\n", $2 / peer, $2, peer}'
