#!/bin/sh
# Runs dll_harness.c against the vapora.dll and Vapora.bas of scripts/build-windows.sh:
# the 32-bit ones under 32-bit Wine where this machine runs 32-bit code, the 64-bit ones
# under 64-bit Wine where it is installed. Exits 1 when one fails.
#   scripts/build-windows.sh && tests/windows/dll_test.sh [WORK_FOLDER]
cd "$(dirname "$0")/../.." || exit 1
work=${1:-$PWD/build-wine-test} status=0
mkdir -p "$work"
[ "$(scripts/install-wine.sh --bits)" = 32 ] && widths=i686 || echo "SKIP 32-bit DLL: no 32-bit code runs here"
for arch in ${widths:-} x86_64; do
  [ "$arch" = i686 ] && set -- 32 wine build-win || set -- 64 wine64 build-win64
  loader=/usr/lib/wine/$2 dll=$PWD/$3/windows
  [ -x "$loader" ] || { echo "SKIP $1-bit DLL: $loader is not installed"; continue; }
  $arch-w64-mingw32-gcc-posix -O2 -Wall -Wextra -I. -o "$dll/dll_harness.exe" tests/windows/dll_harness.c &&
    WINEPREFIX=$work/wineprefix-$1 WINEARCH=win$1 WINELOADER=$loader WINEDEBUG=-all DISPLAY="" \
    WINEDLLOVERRIDES="mscoree,mshtml=" timeout 300 "$loader" "$dll/dll_harness.exe" "$dll/vapora.dll" \
    "$dll/Vapora.bas" && echo "PASS $1-bit DLL" || { echo "FAIL $1-bit DLL"; status=1; }
done
exit $status
