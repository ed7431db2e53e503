#!/usr/bin/env bash
# Builds the program and starts it in ./workdir, prepared with basa.tel, the
# help and an empty personal phone book when there is none yet.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-2}" --target spravochnik workdir
mkdir -p workdir
cp build/workdir/basa.tel workdir/
cp build/workdir/help.html workdir/
[ -e workdir/basamy.db ] || cp build/workdir/basamy.db workdir/
cd workdir
exec ../build/src/app/spravochnik "$@"
