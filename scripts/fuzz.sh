#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (fuzzer, address and undefined
# sanitizers) in build-fuzz and runs each for the given seconds on a seed
# corpus of archives made here. Any crash or sanitizer report fails.
set -euo pipefail
seconds="${1:-60}"
cd "$(dirname "$0")/.."
dir=build-fuzz
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B "$dir" -DSPRAV_FUZZ=ON -DSPRAV_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="$sanitize -fsanitize=fuzzer-no-link" -DCMAKE_CXX_FLAGS="$sanitize -fsanitize=fuzzer-no-link" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" -DCMAKE_SHARED_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build "$dir" -j"${JOBS:-2}" --target fuzz_zipdirectory fuzz_unzlib

seeds="$dir/fuzz-seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
python3 - "$seeds" <<'PY'
import io, sys, zipfile
out = sys.argv[1]
def save(name, build):
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w") as z:
        build(z)
    with open(f"{out}/{name}.zip", "wb") as f:
        f.write(buf.getvalue())
save("stored", lambda z: z.writestr(zipfile.ZipInfo("data.db"), b"subscriber " * 20))
save("deflated", lambda z: (z.writestr("dir/kod.db", b"code " * 200, zipfile.ZIP_DEFLATED),
                            z.writestr("dir/", b"")))
save("utf8", lambda z: z.writestr("Телефоны.txt", "Верескин".encode(), zipfile.ZIP_DEFLATED))
def commented(z):
    z.comment = b"directory archive"
    z.writestr("a.txt", b"a")
save("comment", commented)
open(f"{out}/empty.zip", "wb").write(b"PK\x05\x06" + b"\0" * 18)
PY
if command -v zip >/dev/null; then
  printf 'secret data\n' > "$seeds/plain.txt"
  (cd "$seeds" && zip -q -P pw encrypted.zip plain.txt && printf 'streamed\n' | zip -q streamed.zip - && rm plain.txt)
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in fuzz_zipdirectory fuzz_unzlib; do
  corpus="$dir/fuzz-corpus/$target"
  mkdir -p "$corpus"
  echo "== $target: ${seconds}s"
  "$dir/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 "$corpus" "$seeds" 2>&1 | tail -n 12
done
echo "fuzzing: 2 passed, 0 failed"
