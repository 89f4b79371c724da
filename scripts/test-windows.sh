#!/usr/bin/env bash
# Runs the Windows program under Wine on a private Xvfb display and drives it as a user
# (tests/wine/flows.py): the chart against the Linux vapora-chart, the panels',
# selector labels' and results' texts, typed points, the About box and the end.
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

# The caption height and the stand-in faces (tests/wine/prefix.reg), into a new prefix and
# an old one alike. Wine looks for its System font, whose letter widths set the size of a
# dialog without a font of its own, in the prefix's Fonts folder, where Debian's Wine puts
# none: Wine's own (fonts-wine) has a Windows machine's widths, 8 pixels a dialog base
# unit; the TrueType face Wine stands in without it has 7.
scripts/install-wine.sh --prefix "$WINEPREFIX"
cp -f /usr/share/wine/fonts/vgasys.fon "$WINEPREFIX/drive_c/windows/Fonts/" ||
  { echo "Wine's System font (fonts-wine) is missing"; exit 1; }
DISPLAY="" timeout 120 "$WINE" reg import 'tests\wine\prefix.reg' >/dev/null 2>&1 ||
  { echo "Wine cannot start, or cannot import tests/wine/prefix.reg"; exit 1; }
timeout 60 "$WINESERVER" -w || true

[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target vapora-chart >/dev/null
export CHART=$PWD/build/tools/vapora-chart OUT=$work/out
rm -rf "$OUT" && mkdir -p "$OUT"
trap 'timeout 20 "$WINESERVER" -k 2>/dev/null || true' EXIT
tests/windows/dll_test.sh "$work"  # vapora.dll under each Wine this machine runs
# The whole run is bounded; the flows bound each of their waits.
timeout 900 sh tests/app/on_xvfb.sh python3 tests/wine/flows.py "$exe"
