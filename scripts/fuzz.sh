#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (fuzzer, address and undefined
# sanitizers) in build-fuzz and runs each for the given seconds on a seed
# corpus: archives and Paradox tables made here, and the inputs of the data
# tool's reader tests. Any crash or sanitizer report fails.
set -euo pipefail
seconds="${1:-60}"
cd "$(dirname "$0")/.."
dir=build-fuzz
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B "$dir" -DSPRAV_FUZZ=ON -DSPRAV_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="$sanitize -fsanitize=fuzzer-no-link" -DCMAKE_CXX_FLAGS="$sanitize -fsanitize=fuzzer-no-link" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" -DCMAKE_SHARED_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build "$dir" -j"${JOBS:-2}" --target fuzz_zipdirectory fuzz_unzlib fuzz_csv fuzz_vcard fuzz_paradox \
  fuzz_paradox_seeds spravochnik-data

seeds="$dir/fuzz-seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
python3 - "$seeds" <<'PY'
import io, struct, sys, zipfile, zlib
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

# Hostile archives: each one a fault the library or the reader once had.
def archive(members, comment=b""):
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w") as z:
        for name, data in members:
            z.writestr(zipfile.ZipInfo(name), data)
        z.comment = comment
    return bytearray(buf.getvalue())
def write(name, data):
    open(f"{out}/{name}.zip", "wb").write(bytes(data))
# Names, each with a placeholder byte "#" swapped after writing.
names = ["../up.txt", "/abs.txt", "C:\\drive.txt", "C:rel.txt", "dir\\..\\..\\back.txt",
         "data.db#.txt", "n" * 300, "ctl##[2J.txt", "data.db", "dir/data.db"]
raw = archive([(n, b"x") for n in names])
write("names", raw.replace(b"data.db#", b"data.db\0").replace(b"ctl##", b"ctl\x01\x1b"))
# Fifty directory entries pointing at one deflated stream.
bomb = io.BytesIO()
with zipfile.ZipFile(bomb, "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("bomb.txt", b"z" * 100000)
one = bomb.getvalue()
central, end = one.find(b"PK\x01\x02"), one.rfind(b"PK\x05\x06")
record = bytearray(one[end:])
record[8:12] = struct.pack("<HH", 50, 50)
record[12:16] = struct.pack("<I", (end - central) * 50)
write("overlap", one[:central] + one[central:end] * 50 + record)
# An end record inside the comment, its own comment running past the end;
# and an archive whose only comment runs past the end.
write("comment-record", archive([("a.txt", b"a")], b"PK\x05\x06" + b"\0" * 16 + b"\xff\xff"))
cut = archive([("a.txt", b"a")])
cut[-2] = 9
write("comment-past-end", cut)
# A streaming writer: data descriptors, and a Zip64 trailer before the end.
class Pipe(io.RawIOBase):
    def __init__(self): self.data = bytearray()
    def writable(self): return True
    def write(self, b): self.data += b; return len(b)
pipe = Pipe()
with zipfile.ZipFile(pipe, "w", zipfile.ZIP_DEFLATED) as z:
    with z.open("streamed.txt", "w") as f:
        f.write(b"streamed " * 100)
streamed = pipe.data
end = streamed.rfind(b"PK\x05\x06")
count, size, start = struct.unpack("<HII", streamed[end + 10:end + 20])
zip64 = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, count, count, size, start)
locator = struct.pack("<IIQI", 0x07064B50, 0, end, 1)
write("zip64-streamed", streamed[:end] + zip64 + locator + streamed[end:])
# Traditional encryption whose check byte lets the empty password through.
def crc_byte(crc, b): return zlib.crc32(bytes([b]), crc ^ 0xFFFFFFFF) ^ 0xFFFFFFFF
class Cipher:
    def __init__(self, password):
        self.k = [0x12345678, 0x23456789, 0x34567890]
        for c in password: self.update(c)
    def update(self, c):
        self.k[0] = crc_byte(self.k[0], c)
        self.k[1] = ((self.k[1] + (self.k[0] & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
        self.k[2] = crc_byte(self.k[2], self.k[1] >> 24)
    def stream(self):
        t = (self.k[2] | 2) & 0xFFFF
        return ((t * (t ^ 1)) >> 8) & 0xFF
    def encrypt(self, data):
        out = bytearray()
        for c in data: out.append(c ^ self.stream()); self.update(c)
        return bytes(out)
    def decrypt(self, data):
        out = bytearray()
        for c in data: p = c ^ self.stream(); self.update(p); out.append(p)
        return bytes(out)
for i in range(100000):
    data = b"secret %d" % i
    crc = zlib.crc32(data)
    header = bytes(range(11)) + bytes([crc >> 24])
    sealed = Cipher(b"right").encrypt(header + data)
    if Cipher(b"").decrypt(sealed[:12])[11] == crc >> 24:
        break
local = struct.pack("<IHHHIIIIHH", 0x04034B50, 20, 1, 0, 0, crc, len(sealed), len(data), 5, 0) + b"s.txt"
entry = struct.pack("<IHHHHIIIIHHHHHII", 0x02014B50, 20, 20, 1, 0, 0, crc, len(sealed), len(data), 5, 0, 0, 0, 0, 0, 0) + b"s.txt"
body = local + sealed
write("check-byte", body + entry + struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 1, 1, len(entry), len(body), 0))
# Zip64: sizes and offsets in the extended-information extra field, counts
# in the Zip64 end record; once more with the classic end record damaged.
def zip64_of(plain, damaged):
    end = plain.rfind(b"PK\x05\x06")
    count, size, start = struct.unpack("<HII", plain[end + 10:end + 20])
    directory, at = b"", start
    for _ in range(count):
        h = bytearray(plain[at:at + 46])
        n, e, c = struct.unpack("<HHH", h[28:34])
        csize, usize = struct.unpack("<II", h[20:28])
        offset = struct.unpack("<I", h[42:46])[0]
        extra = struct.pack("<HHQQQ", 1, 24, usize, csize, offset)
        h[20:28] = b"\xff" * 8
        h[42:46] = b"\xff" * 4
        h[30:32] = struct.pack("<H", e + len(extra))
        directory += bytes(h) + plain[at + 46:at + 46 + n] + extra + plain[at + 46 + n:at + 46 + n + e + c]
        at += 46 + n + e + c
    body = plain[:start] + directory
    record = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, count, count, len(directory), start)
    locator = struct.pack("<IIQI", 0x07064B50, 0, len(body), 1)
    signature = 0x06054B51 if damaged else 0x06054B50
    return body + record + locator + struct.pack("<IHHHHIIH", signature, 0, 0, 0xFFFF, 0xFFFF, 0xFFFFFFFF,
                                                 0xFFFFFFFF, 0)
plain = bytes(archive([("data.db", b"subscriber " * 20), ("kod.db", b"code")]))
write("zip64", zip64_of(plain, False))
write("zip64-damaged-end", zip64_of(plain, True))
# Unicode Path extra fields: one whose CRC fits the header's name (stored in
# code page 437), one whose does not. "#" stands for the 437 byte of "\u00f6".
def unicode_path(raw):
    name = raw.replace(b"\x94", "\u00f6".encode())
    return struct.pack("<HHBI", 0x7075, 5 + len(name), 1, zlib.crc32(raw)) + name
buf = io.BytesIO()
with zipfile.ZipFile(buf, "w") as z:
    for name, stated in (("File 2 - #.txt", b"File 2 - \x94.txt"), ("File 3 - #.txt", b"File 3 - \x94.txt.old")):
        info = zipfile.ZipInfo(name)
        info.extra = unicode_path(stated)
        z.writestr(info, b"u")
write("unicode-path", buf.getvalue().replace(b"#.txt", b"\x94.txt"))
PY
if command -v zip >/dev/null; then
  printf 'secret data\n' > "$seeds/plain.txt"
  (cd "$seeds" && zip -q -P pw encrypted.zip plain.txt && printf 'streamed\n' | zip -q streamed.zip - && rm plain.txt)
fi

# Paradox tables: the tests' kinds, and one that pxlib writes.
paradox_seeds="$dir/fuzz-seeds-paradox"
rm -rf "$paradox_seeds"
mkdir -p "$paradox_seeds"
"$dir/tests/fuzz/fuzz_paradox_seeds" "$paradox_seeds"
printf 'Tel,Abon,Otdel,Adres\n21345,ВЕРЕСОВ,ПРИЁМНАЯ,ЛЕНИНА 1\n' > "$paradox_seeds/town.csv"
ASAN_OPTIONS=detect_leaks=0 "$dir/tools/spravochnik-data/spravochnik-data" directory import "$paradox_seeds/town.csv" -o "$paradox_seeds/ours.db" >/dev/null
ASAN_OPTIONS=detect_leaks=0 "$dir/tools/spravochnik-data/spravochnik-data" directory export "$paradox_seeds/ours.db" --format paradox \
  -o "$paradox_seeds/pxlib.db" >/dev/null
rm "$paradox_seeds/town.csv" "$paradox_seeds/ours.db"

# The unzip library flushes every file it writes: on a memory file system
# that costs nothing, and the fuzzer tries many times more inputs.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
# The data tool's readers start from the inputs of their tests.
tests=tests/dataio
scripts/fuzz-seeds-from-tests.py "$dir/fuzz-seeds-csv" '\n' $tests/import_test.cpp $tests/book_test.cpp $tests/tool_test.cpp
scripts/fuzz-seeds-from-tests.py "$dir/fuzz-seeds-vcard" '(?i)vcard|version:' $tests/vcard_test.cpp $tests/book_test.cpp \
  $tests/tool_test.cpp

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
passed=0
fuzz() { # target, seed folder, longest input, dictionary (optional)
  local corpus="$dir/fuzz-corpus/$1"
  mkdir -p "$corpus"
  echo "== $1: ${seconds}s"
  local log="$dir/fuzz-$1.log"
  # A finding is shown with its stack and input, the rest with its stats.
  if ! "$dir/tests/fuzz/$1" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$3" ${4:+-dict="$4"} \
    -print_final_stats=1 "$corpus" "$2" >"$log" 2>&1; then
    grep -v -e '^#[0-9]' -e '^INFO:' -e 'NEW_FUNC' "$log" | tail -n 80
    echo "fuzzing: $1 failed, $passed passed before it"
    exit 1
  fi
  tail -n 12 "$log"
  passed=$((passed + 1))
}
fuzz fuzz_zipdirectory "$seeds" 65536
fuzz fuzz_unzlib "$seeds" 65536
# Shorter inputs: a record cut into small pieces is parsed again at each.
fuzz fuzz_csv "$dir/fuzz-seeds-csv" 8192
# The words of vCard, so that charsets and encodings the seeds lack come up.
fuzz fuzz_vcard "$dir/fuzz-seeds-vcard" 16384 tests/fuzz/vcard.dict
fuzz fuzz_paradox "$paradox_seeds" 65536
echo "fuzzing: $passed passed, 0 failed"
