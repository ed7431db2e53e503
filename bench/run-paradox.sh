#!/usr/bin/env bash
# Paradox tables against our own in the same run: the main window's full-scan
# and prefix searches (dataset_bench) on a generated data.db of RECORDS
# records, once in our format and once as a Paradox table of the same
# records (written by the tests' table builder), with the same rows in the
# same order; then the move of a
# 10,000-record Paradox phone book, against importing the same records into
# an empty book with the data tool.
#   bench/run-paradox.sh [BUILD_DIR] [RECORDS]
source "$(dirname "$0")/common.sh"
needs python3 python3
build_targets datagen spravochnik-data dataset_bench paradoxmove_bench paradoxtable_gen
tool="$build/tools/spravochnik-data/spravochnik-data"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/ours" "$work/paradox" "$work/book"
echo "generating $records records..."
"$build/tools/datagen/datagen" directory "$work/ours/data.db" "$records"
"$build/bench/paradoxtable_gen" "$work/ours/data.db" "$work/paradox/data.db"
echo "sizes: ours $(stat -c %s "$work/ours/data.db") bytes, Paradox $(stat -c %s "$work/paradox/data.db") bytes"

# case NAME LABEL FIGURE [TARGET]: both tables in turn each round, medians.
# The full scan lists the rows in table order in both; a prefix search on our
# table follows its index, so there the same rows are compared in any order.
search_case() {
    local ours="$work/ours-$1" theirs="$work/paradox-$1"
    : >"$ours"; : >"$theirs"
    for _ in $(seq "$rounds"); do
        "$build/bench/dataset_bench" "$work/ours" 1 "$1" | awk '$1 == "case" && $3 != "plan:" {print $3}' >>"$ours"
        "$build/bench/dataset_bench" "$work/paradox" 1 "$1" | awk '$1 == "case" && $3 != "plan:" {print $3}' >>"$theirs"
    done
    "$build/bench/dataset_bench" "$work/ours" 1 "$1" "$work/rows-ours" >/dev/null
    "$build/bench/dataset_bench" "$work/paradox" 1 "$1" "$work/rows-paradox" | grep -E "^case $1"
    local same="different rows"
    if [ "$1" = a ]; then
        cmp -s "$work/rows-ours" "$work/rows-paradox" && same="the same rows in the same order"
    else
        cmp -s <(sort "$work/rows-ours") <(sort "$work/rows-paradox") && same="the same rows"
    fi
    local ratio
    ratio=$(awk -v a="$(median <"$theirs")" -v b="$(median <"$ours")" 'BEGIN {printf "%.2f", a / b}')
    echo "case $1 ($2): Paradox $(median <"$theirs") s, ours $(median <"$ours") s, ratio $ratio; $same"
    [ "$same" != "different rows" ] || exit 1
    [ -z "${4:-}" ] || figure "$3" "$ratio" at-most "$4"
}
search_case a "full scan" paradox-full-scan 5
search_case b "telephone prefix" paradox-telephone-prefix
search_case c "subscriber prefix" paradox-subscriber-prefix

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
moves="$work/moves" imports="$work/imports"
: >"$moves"; : >"$imports"
for _ in $(seq "$rounds"); do
    "$build/bench/paradoxmove_bench" "$work/book" | awk '{print $2}' >>"$moves"
    rm -f "$work/book/import.db"
    seconds "$tool" book import "$work/book/book.csv" "$work/book/import.db" >>"$imports"
done
echo "book move: $(median <"$moves") s for 10000 records; the tool's import of them: $(median <"$imports") s"
awk -v a="$(median <"$moves")" -v b="$(median <"$imports")" 'BEGIN {printf "book move / import = %.2f\n", a / b}'
