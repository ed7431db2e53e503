#!/usr/bin/env bash
# Times `spravochnik-data directory import` of a 1,000,000-row CSV against the
# sqlite3 shell's .import of the same file into a table with the same three
# indexes (built after the import, the shell's faster order), the two taking
# turns, medians of ROUNDS rounds, and reports our peak memory.
#   bench/run-import.sh [BUILD_DIR] [RECORDS]
source "$(dirname "$0")/common.sh"
needs sqlite3 sqlite3
needs /usr/bin/time time
build_targets datagen spravochnik-data
tool="$build/tools/spravochnik-data/spravochnik-data"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "generating $records records..."
"$build/tools/datagen/datagen" directory "$work/generated.db" "$records"
"$tool" directory export "$work/generated.db" -o "$work/town.csv" >/dev/null
echo "CSV: $(du -h "$work/town.csv" | cut -f1)"
cat >"$work/peer.sql" <<SQL
CREATE TABLE data (Tel VARCHAR(5), Abon VARCHAR(150), Otdel VARCHAR(150), Adres VARCHAR(60));
.mode csv
.import --skip 1 $work/town.csv data
CREATE INDEX data_Tel ON data (Tel);
CREATE INDEX data_Abon ON data (Abon);
CREATE INDEX data_Adres ON data (Adres);
SQL

# One timed run: "wall cpu peak-KB".
timed() {
    rm -f "$work/out.db"
    /usr/bin/time -o "$work/time" -f "%e %U %S %M" "$@" >/dev/null 2>&1
    awk '{print $1, $2 + $3, $4}' "$work/time"
}
# The generated directory repeats its numbers beyond 100,000 records, hence
# --allow-duplicate-numbers.
for _ in $(seq "$rounds"); do
    timed "$tool" directory import "$work/town.csv" -o "$work/out.db" --allow-duplicate-numbers >>"$work/ours"
    timed sh -c "exec sqlite3 '$work/out.db' < '$work/peer.sql'" >>"$work/peer"
done
column() { awk -v c="$2" '{print $c}' "$1" | median; }
ours=$(column "$work/ours" 1) peer=$(column "$work/peer" 1) ours_kb=$(column "$work/ours" 3)
echo "spravochnik-data: $ours s (cpu $(column "$work/ours" 2) s), peak $((ours_kb / 1024)) MB"
echo "sqlite3 .import:  $peer s (cpu $(column "$work/peer" 2) s), peak $(($(column "$work/peer" 3) / 1024)) MB"
figure directory-import "$(awk -v a="$ours" -v b="$peer" 'BEGIN {printf "%.2f", a / b}')" at-most 1.0
figure directory-import-peak-MB "$(awk -v k="$ours_kb" 'BEGIN {printf "%.1f", k / 1024}')" at-most 199.9
