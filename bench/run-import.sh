#!/usr/bin/env bash
# Times `spravochnik-data directory import` of a 1,000,000-row CSV against the
# sqlite3 shell's .import of the same file into a table with the same three
# indexes (built after the import, the shell's faster order), best of five
# each, and reports our peak memory.
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
# The better of two "wall cpu peak-KB" lines, by wall time.
better() {
    echo "$1 $2" | awk '{if ($4 == "" || $1 < $4) print $1, $2, $3; else print $4, $5, $6}'
}
# Best of five each, the two taking turns so that both meet the same load on
# a shared machine. The generated directory repeats its numbers beyond
# 100,000 records, hence --allow-duplicate-numbers.
ours_best="" peer_best=""
for _ in 1 2 3 4 5; do
    ours_best=$(better "$(timed "$tool" directory import "$work/town.csv" -o "$work/out.db" --allow-duplicate-numbers)" "$ours_best")
    peer_best=$(better "$(timed sh -c "exec sqlite3 '$work/out.db' < '$work/peer.sql'")" "$peer_best")
done
read -r ours ours_cpu ours_kb <<<"$ours_best"
read -r peer peer_cpu peer_kb <<<"$peer_best"
echo "spravochnik-data: $ours s (cpu $ours_cpu s), peak $((ours_kb / 1024)) MB"
echo "sqlite3 .import:  $peer s (cpu $peer_cpu s), peak $((peer_kb / 1024)) MB"
awk -v o="$ours" -v p="$peer" -v oc="$ours_cpu" -v pc="$peer_cpu" -v kb="$ours_kb" 'BEGIN {
    printf "ours / peer = %.2f wall, %.2f cpu (target <= 1.5); peak %d MB (target < 200)\n", o / p, oc / pc, kb / 1024
}'
