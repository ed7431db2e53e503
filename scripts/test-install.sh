#!/usr/bin/env bash
# Installs the built program into a temporary DESTDIR and checks it the way a
# distribution and a user would: the desktop entry and AppStream data with
# their validators; starts from the desktop entry and from the command, off
# screen with temporary home folders (the per-user folder, a stored phone
# book record across starts and re-installs, a newer archive, a read-only
# home); then the Debian package's contents, its dependencies, lintian, and a
# start from the unpacked package.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package
build=${BUILD_DIR:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"${JOBS:-2}" >/dev/null

work=$(mktemp -d)
chmod 755 "$work" # the read-only home check runs as another user
trap 'rm -rf "$work"' EXIT
root=$work/root
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
install_tree() { DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null; }
folder_of() { echo "$1/.local/share/spravochnik"; }

# Runs a command that starts the program installed under $1 with HOME=$2 off
# screen, waits until the program has unpacked the tables into the user's
# folder, then ends it.
start() {
  local prefix=$1 home=$2 folder
  shift 2
  folder=$(folder_of "$home")
  rm -f "$folder/data.db" "$folder/kod.db"
  HOME=$home PATH="$prefix/bin:$PATH" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work "$@" 2>"$work/stderr" &
  for _ in $(seq 150); do
    [ -s "$folder/data.db" ] && [ -s "$folder/kod.db" ] && break
    sleep 0.2
  done
  stop_program "$prefix/libexec/spravochnik/spravochnik"
  wait
  [ -s "$folder/data.db" ] && [ -s "$folder/kod.db" ]
}
# Ends the processes running exactly this program file.
stop_program() {
  local proc
  for proc in /proc/[0-9]*; do
    [ "$(readlink "$proc/exe" 2>/dev/null)" = "$1" ] && kill "${proc#/proc/}" 2>/dev/null
  done
  return 0
}
records() { sqlite3 "$(folder_of "$1")/basamy.db" "SELECT count(*) FROM basamy WHERE FIO = 'Stored Record'"; }

install_tree
share=$root/usr/share
desktop-file-validate "$share/applications/org.example.Spravochnik.desktop" && pass "desktop entry valid" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/org.example.Spravochnik.metainfo.xml" >"$work/appstream" &&
  pass "AppStream data valid" || { cat "$work/appstream"; fail "appstreamcli validate"; }

start "$root/usr" "$work/menu-home" gio launch "$share/applications/org.example.Spravochnik.desktop" &&
  pass "the desktop entry starts the program" || fail "start from the desktop entry"

home=$work/home
folder=$(folder_of "$home")
if start "$root/usr" "$home" spravochnik && cmp -s "$folder/basa.tel" "$share/spravochnik/basa.tel" &&
   [ -s "$folder/help.html" ] && [ -s "$folder/basamy.db" ]; then
  pass "first start prepares the user's folder and unpacks the tables there"
else
  cat "$work/stderr" >&2; fail "first start"
fi

sqlite3 "$folder/basamy.db" "INSERT INTO basamy VALUES ('Stored Record', 'Lesnaya 1', '21345', '')"
start "$root/usr" "$home" spravochnik && [ "$(records "$home")" = 1 ] &&
  pass "a stored record survives a second start" ||
  fail "record after a second start"
install_tree
touch "$share/spravochnik/"* # as an upgrade brings them
start "$root/usr" "$home" spravochnik && [ "$(records "$home")" = 1 ] &&
  pass "a stored record survives a re-install" ||
  fail "record after a re-install"

printf 'an older archive' >"$folder/basa.tel"
touch -d '2001-01-01' "$folder/basa.tel"
start "$root/usr" "$home" spravochnik && cmp -s "$folder/basa.tel" "$share/spravochnik/basa.tel" &&
  pass "a newer installed basa.tel replaces the user's older copy" || fail "newer basa.tel"

# Permissions do not bind root, so the read-only home is tried as nobody.
readonly_home=$work/readonly
mkdir "$readonly_home"
chmod 555 "$readonly_home"
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
status=0
"${as_user[@]}" env HOME="$readonly_home" QT_QPA_PLATFORM=offscreen "$root/usr/bin/spravochnik" \
  2>"$work/stderr" || status=$?
if [ "$status" -ne 0 ] && grep -q "не может начать работу" "$work/stderr" &&
   grep -qF "$readonly_home/.local" "$work/stderr" && [ -z "$(ls -A "$readonly_home")" ]; then
  pass "a read-only home gives a clear error and status $status"
else
  cat "$work/stderr" >&2; fail "read-only home (status $status)"
fi

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/spravochnik_*.deb)
dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"
missing=0
for path in /usr/bin/spravochnik /usr/bin/spravochnik-data /usr/libexec/spravochnik/spravochnik /usr/libexec/spravochnik/libunzlib.so \
            /usr/share/spravochnik/basa.tel /usr/share/spravochnik/help.html /usr/share/spravochnik/basamy.db \
            /usr/share/applications/org.example.Spravochnik.desktop \
            /usr/share/icons/hicolor/scalable/apps/org.example.Spravochnik.svg \
            /usr/share/metainfo/org.example.Spravochnik.metainfo.xml /usr/share/doc/spravochnik/copyright; do
  grep -qxF "$path" "$work/contents" || { echo "not in the package: $path" >&2; missing=1; }
done
[ "$missing" -eq 0 ] && pass "the package holds the expected paths" || fail "package contents"
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' && pass "library dependencies computed" ||
  fail "package dependencies: $(dpkg-deb --field "$deb" Depends)"
apt-get install --simulate "$deb" >"$work/apt" 2>&1 && pass "apt can install the package with its dependencies" ||
  { cat "$work/apt" >&2; fail "apt-get install --simulate"; }
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 &&
  pass "lintian: no errors" || fail "lintian"
cat "$work/lintian"

dpkg-deb -x "$deb" "$work/unpacked"
start "$work/unpacked/usr" "$work/package-home" spravochnik && pass "the unpacked package starts" ||
  fail "start from the package"

if [ "$failures" -ne 0 ]; then
  echo "install checks: $failures failed" >&2
  exit 1
fi
echo "install checks: all passed"
