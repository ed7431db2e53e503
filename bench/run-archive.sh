#!/usr/bin/env bash
# Extracts basa.tel at the default size and with a 1,000,000-record data.db
# through the archive component, against Info-ZIP's "unzip -o -q" in the same
# run, with the pure zlib inflate rate as the limit; the figures are those of
# the large archive.
#   bench/run-archive.sh [BUILD_DIR] [RECORDS]
source "$(dirname "$0")/common.sh"
needs unzip unzip
build_targets datagen spravochnik-data archive_bench

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
mkdir -p "$work/run-default" "$work/run-large"
"$build/bench/archive_bench" "$work/default.tel" "$work/run-default" "$rounds" 2>/dev/null | grep -v '^figure:'
"$build/bench/archive_bench" "$work/large.tel" "$work/run-large" "$rounds" 2>/dev/null
