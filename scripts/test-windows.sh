#!/usr/bin/env bash
# Runs the Windows program under Wine on a private Xvfb display and drives it as a user
# (tests/wine/flows.py): the chart against the Linux vapora-chart, the
# data-input dialog's selector labels, typed points, the About box and the end.
#
#   scripts/build-windows.sh && scripts/test-windows.sh
#
# Where this machine cannot run 32-bit x86 code (scripts/install-wine.sh --bits), the
# 64-bit build of the same sources runs under 64-bit Wine instead, built here. Exits 1
# when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$PWD/build-wine-test
mkdir -p "$work"
scripts/install-wine.sh || { echo "Wine cannot be installed"; exit 1; }
bits=$(scripts/install-wine.sh --bits)
# No Mono or Gecko prompts.
export WINEPREFIX=$work/wineprefix-$bits WINEARCH=win$bits WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exe=$PWD/${VAPORA_WIN_BUILD:-build-win}/app/vapora.exe
if [ "$bits" = 32 ]; then
  export WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
else
  export WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 WINELOADER=/usr/lib/wine/wine64
  exe=$work/win64/app/vapora.exe
  { cmake -S . -B "$work/win64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release && cmake --build "$work/win64" -j2 --target vapora; } \
    >"$work/win64.log" 2>&1 || { tail -20 "$work/win64.log"; exit 1; }
fi
[ -f "$exe" ] || { echo "$exe does not exist: scripts/build-windows.sh builds it"; exit 1; }
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)

# Wine's caption 4 pixels taller, so its 1000 x 700 window has the Linux 994 x 671 client.
scripts/install-wine.sh --prefix "$WINEPREFIX"
DISPLAY="" timeout 120 "$WINE" reg add 'HKCU\Control Panel\Desktop\WindowMetrics' \
  /v CaptionHeight /t REG_SZ /d 22 /f >/dev/null 2>&1 || { echo "Wine cannot start"; exit 1; }
timeout 60 "$WINESERVER" -w || true

[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target vapora-chart >/dev/null
export CHART=$PWD/build/tools/vapora-chart OUT=$work/out
rm -rf "$OUT" && mkdir -p "$OUT"
trap 'timeout 20 "$WINESERVER" -k 2>/dev/null || true' EXIT
tests/windows/dll_test.sh "$work"  # vapora.dll under each Wine this machine runs
# The whole run is bounded; the flows bound each of their waits.
timeout 900 sh tests/app/on_xvfb.sh python3 tests/wine/flows.py "$exe"
