#!/usr/bin/env bash
# Installs the Debian packages a task needs when any is missing.
# Usage: scripts/deps.sh build|test|run|desktop|screenreader|package|ci|windows|wine32
set -euo pipefail

build=(g++ make cmake pkg-config libx11-dev qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libsqlite3-dev zlib1g-dev pxlib-dev
       fonts-dejavu-core fonts-dejavu-extra)
test=("${build[@]}" libgtest-dev libgmock-dev sqlite3 zip unzip python3 xauth xvfb
      dbus at-spi2-core python3-pyatspi xdotool)
run=("${build[@]}" xdg-utils)
# A window manager and the desktop's keyboard layouts (scripts/test-desktop.sh).
desktop=("${test[@]}" openbox x11-xkb-utils x11-utils libxtst6)
# The screen reader check: Orca speaking through speech-dispatcher.
screenreader=("${test[@]}" openbox x11-utils orca speech-dispatcher python3-speechd)
package=("${test[@]}" git desktop-file-utils appstream libglib2.0-bin lintian dpkg-dev)
ci=("${package[@]}" "${desktop[@]}" "${screenreader[@]}" clang libclang-rt-14-dev clang-format)
# The unzip library cross-built for Windows and tested under wine; 32-bit
# wine needs the i386 architecture (scripts/test-windows.sh adds it).
windows=(cmake make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine wine64)
wine32=(wine32:i386)

case "${1:-build}" in
  build) wanted=("${build[@]}") ;;
  test) wanted=("${test[@]}") ;;
  run) wanted=("${run[@]}") ;;
  desktop) wanted=("${desktop[@]}") ;;
  screenreader) wanted=("${screenreader[@]}") ;;
  package) wanted=("${package[@]}") ;;
  ci) wanted=("${ci[@]}") ;;
  windows) wanted=("${windows[@]}") ;;
  wine32) wanted=("${wine32[@]}") ;;
  *) echo "usage: $0 build|test|run|desktop|screenreader|package|ci|windows|wine32" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

line="apt-get update && apt-get install -y ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo sh -c "$line" && exit 0
  fi
  echo "Missing packages. Run as root: $line" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! { apt-get update -qq && apt-get install -y -qq "${missing[@]}" >/dev/null; }; then
  echo "Could not install the packages. Run: $line" >&2
  exit 1
fi
