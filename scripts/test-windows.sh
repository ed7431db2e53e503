#!/usr/bin/env bash
# Cross-builds the unzip library as unzlib.dll for 32- and 64-bit Windows
# with MinGW-w64 and runs its tests under wine. Installs what it needs like
# scripts/deps.sh. Where 32-bit wine cannot be had, the 32-bit library is
# still built and the script says that its tests did not run: so too where
# the kernel cannot run 32-bit programs, which 32-bit wine itself is.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh windows

has_wine32() { dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; }
# Installed is not enough: the 32-bit loader must start on this kernel.
runs_wine32() { has_wine32 && /usr/lib/wine/wine --version >/dev/null 2>&1; }
if ! has_wine32 && [ "$(id -u)" -eq 0 ]; then
  added=no
  dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386; added=yes; }
  # A failed install must not leave an architecture whose indexes may keep
  # failing every later apt-get update.
  if ! scripts/deps.sh wine32 && [ $added = yes ]; then
    dpkg --remove-architecture i386
  fi
fi

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="   # no prompts for .NET or a browser
# Wine stores file names in the Unix locale's encoding: UTF-8 takes them all.
export LC_ALL=C.UTF-8
status=0
for target in x86_64-w64-mingw32 i686-w64-mingw32; do
  dir=build-$target
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$target.cmake" -DSPRAV_UNZLIB_ONLY=ON \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$dir" -j"${JOBS:-2}"
  if [ "$target" = i686-w64-mingw32 ] && ! runs_wine32; then
    if has_wine32; then
      echo "NOT RUN: the 32-bit tests need a kernel that runs 32-bit programs, and this one does not" >&2
    else
      echo "NOT RUN: the 32-bit tests need 32-bit wine (wine32:i386), which could not be installed" >&2
    fi
    continue
  fi
  # A wine prefix of the build's own; its server is stopped afterwards.
  export WINEPREFIX=$PWD/$dir/wine
  (cd "$dir" && ctest --output-on-failure) || status=1
  wineserver -k || true
done
exit $status
