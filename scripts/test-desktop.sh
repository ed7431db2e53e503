#!/usr/bin/env bash
# End-to-end on a desktop set up as residents set theirs up: Xvfb with the
# openbox window manager and a Latin and a Russian keyboard layout switched
# by Alt+Shift. The real program is driven through the normal input path
# (XTest key codes, the window manager's close requests) and judged by what
# the window manager sees, the stored records and the typed texts.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh desktop
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-2}" --target spravochnik workdir
program=$PWD/build/src/app/spravochnik
input="python3 $PWD/tests/desktop/xinput.py"

scratch=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "test-desktop: $*" >&2; exit 1; }

# Waits up to 10 s for a window whose title matches $1; prints its id.
window() {
  for _ in $(seq 100); do
    xdotool search --name "$1" 2>/dev/null | head -1 && return 0
    sleep 0.1
  done
  return 1
}
gone() {
  for _ in $(seq 50); do
    xdotool search --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
# Whether window $1's frame lies in the desktop's work area, centred.
centred() {
  local geometry frame area
  geometry=$(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')
  frame=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  area=$(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | cut -d' ' -f1-4)
  # shellcheck disable=SC2086
  set -- $geometry $frame $area
  awk -v x="$1" -v y="$2" -v w="$3" -v h="$4" -v l="$5" -v r="$6" -v t="$7" -v b="$8" \
      -v ax="$9" -v ay="${10}" -v aw="${11}" -v ah="${12}" 'BEGIN {
    fx = x - l; fy = y - t; fw = w + l + r; fh = h + t + b
    inside = fx >= ax && fy >= ay && fx + fw <= ax + aw && fy + fh <= ay + ah
    dx = (fx - ax) - (ax + aw - fx - fw); dy = (fy - ay) - (ay + ah - fy - fh)
    exit !(inside && dx * dx <= 16 && dy * dy <= 16) }'
}
start() {
  (cd "$scratch/work" && exec "$program" >>"$scratch/program.log" 2>&1) &
  app=$!
  pids+=("$app")
  main=$(window 'Телефонный справочник //') || fail "the main window did not appear"
}

exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")"
openbox >"$scratch/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
setxkbmap -layout us,ru -option grp:alt_shift_toggle

mkdir "$scratch/work"
cp build/workdir/basa.tel build/workdir/basamy.db build/workdir/help.html "$scratch/work/"
start

# One copy per folder: a second start there exits 0 and opens nothing.
(cd "$scratch/work" && timeout 10 "$program") || fail "the second start did not exit 0"
[ "$(xdotool search --name 'Телефонный справочник //' | wc -l)" = 1 ] || fail "a second main window appeared"

# The phone book: a dialog transient for the main window.
xdotool mousemove --window "$main" 48 130 click 1
book=$(window 'Личная телефонная книга') || fail "the phone book did not open"
xprop -id "$book" WM_TRANSIENT_FOR | grep -q "$(printf '0x%x' "$main")" || fail "the phone book is not transient for the main window"
xprop -id "$book" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DIALOG || fail "the phone book is not a dialog"
# Minimised, it takes its owner along, and both come back together.
xdotool windowminimize "$book"
sleep 0.5
xprop -id "$main" _NET_WM_STATE | grep -q HIDDEN || fail "the phone book was minimised alone"
xdotool windowactivate "$book" 2>/dev/null || true
sleep 0.5
xprop -id "$main" _NET_WM_STATE | grep -q HIDDEN && fail "the main window stayed minimised"

# The desktop's Russian layout is selected; its own Alt+Shift switches it.
xdotool mousemove --window "$book" 28 28 click 1
window 'Добавление новой записи' >/dev/null || fail "the editor did not open"
[ "$($input group)" = 1 ] || fail "the desktop's Russian layout is not selected"
a=38 b=56 c=54 tab=23 alt=64 shift=50 enter=36 escape=9 f4=70
$input type $a $b $c $tab $tab $tab $a $b $c
$input chord $alt $shift
$input type $a $b $c $enter
gone 'Добавление новой записи' || fail "the editor did not close"
stored=$(sqlite3 "$scratch/work/basamy.db" 'SELECT FIO, MAIL FROM basamy')
[ "$stored" = 'фис|фисabc' ] || fail "typed and stored: '$stored', expected 'фис|фисabc'"
$input type $escape
gone 'Личная телефонная книга' || fail "Escape did not close the phone book"

# Alt+F4 on the main window asks nothing; its close box asks.
$input chord $alt $f4
sleep 1
xdotool search --name 'Подтверждение' >/dev/null 2>&1 && fail "Alt+F4 asked the exit question"
$input close "$main"
window 'Подтверждение' >/dev/null || fail "the close box did not ask the exit question"
$input type $escape
gone 'Подтверждение' || fail "the exit question stayed"

# A copy killed outright leaves no lock that blocks the next start.
kill -9 "$app"
wait "$app" 2>/dev/null || true
gone 'Телефонный справочник //' || fail "the killed copy's window stayed"
start
kill "$app"

# At factor 2 the main window (1622x1002) is fitted into the 1600x1000
# screen; the dialing codes, which fit, keep their size. Both are centred.
mkdir "$scratch/scaled"
cp build/workdir/basa.tel build/workdir/basamy.db "$scratch/scaled/"
(cd "$scratch/scaled" && QT_SCALE_FACTOR=2 exec "$program" >>"$scratch/program.log" 2>&1) &
pids+=($!)
main=$(window 'Телефонный справочник //') || fail "the main window did not appear at factor 2"
sleep 1
centred "$main" || fail "at factor 2 the main window is not inside the screen, centred"
xdotool mousemove --window "$main" 96 480 click 1
codes=$(window 'Коды городов') || fail "the dialing codes did not open at factor 2"
sleep 0.5
centred "$codes" || fail "at factor 2 the dialing codes are not inside the screen, centred"
[ "$(xwininfo -id "$codes" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')" = 1460x948 ] ||
  fail "the dialing codes, which fit, did not keep their size at factor 2"
kill "${pids[-1]}"

# A working folder that cannot be written is told once, at start-up only
# (where this system lets the script make a read-only mount).
if unshare -m true 2>/dev/null; then
  mkdir "$scratch/readonly"
  cp build/workdir/basa.tel build/workdir/basamy.db "$scratch/readonly/"
  unshare -m sh -c 'mount --bind "$1" "$1" && mount -o remount,ro,bind "$1" && cd "$1" && exec "$2"' \
    sh "$scratch/readonly" "$program" >>"$scratch/program.log" 2>&1 &
  pids+=($!)
  window 'Внимание!' >/dev/null || fail "a read-only working folder was not told"
  $input type $enter
  gone 'Внимание!' || fail "the read-only folder's message stayed"
  main=$(window 'Телефонный справочник //') || fail "the main window did not appear after the message"
  xdotool mousemove --window "$main" 48 130 click 1
  window 'Личная телефонная книга' >/dev/null || fail "the phone book did not open"
  $input type $escape
  gone 'Личная телефонная книга' || fail "Escape did not close the phone book"
  sleep 1
  xdotool search --name 'Внимание!' >/dev/null 2>&1 && fail "an activation told the read-only folder again"
fi
echo "test-desktop: all passed"
