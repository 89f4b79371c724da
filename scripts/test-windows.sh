#!/usr/bin/env bash
# Runs the Windows program under Wine on a private Xvfb display and drives it as a user:
# the main window appears, paints the chart (compared pixel for pixel with the Linux
# vapora-chart), shows the readout, opens and closes its dialogs, and exits with 0.
#
#   scripts/test-windows.sh
#
# Installs Wine when needed (scripts/install-wine.sh). Where the machine can run 32-bit
# x86 code, it runs the 32-bit build-win/app/vapora.exe; where it cannot (some kernels and
# hypervisors leave that out, and then no 32-bit Wine can start), it runs the 64-bit build
# of the same sources, cross-built into build-wine-test/win64, under 64-bit Wine, and
# says so. Before the program, a tiny test program of the same window style tells whether
# Wine works at all. Skips the program's flows, with a message, while build-win/app/vapora.exe
# does not exist. Ends with "N passed, N failed"; exits 1 when a flow fails.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=$root/build-wine-test
mkdir -p "$work"
started=$(date +%s)

# The whole run is bounded: a watchdog ends it after 15 minutes.
main_pid=$$
( trap 'kill "$nap" 2>/dev/null; exit 0' TERM
  sleep 900 & nap=$!; wait "$nap"
  echo "test-windows: over 15 minutes, stopping"; kill -TERM "$main_pid" ) 2>/dev/null &
watchdog=$!

scripts/install-wine.sh || { echo "Wine cannot be installed"; exit 1; }
bits=$(scripts/install-wine.sh --bits)
if [ "$bits" = 32 ]; then
  cross=i686-w64-mingw32
  export WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
else
  echo "This machine cannot run 32-bit x86 code: 64-bit Wine runs the 64-bit build of the same sources."
  cross=x86_64-w64-mingw32
  export WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  export WINELOADER=$WINE
fi
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
export WINEPREFIX=$work/wineprefix-$bits WINEARCH=win$bits WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko prompts
export OUT=$work/out HERE=$root/tests/wine
rm -rf "$OUT"; mkdir -p "$OUT"

xvfb_pid=""
cleanup() {
  timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  kill "$watchdog" 2>/dev/null
}
trap cleanup EXIT
trap 'echo "test-windows: stopped"; exit 1' TERM INT

# The test program, cross-built straight with the compiler.
if ! "$cross-g++-posix" -std=c++17 -O2 -Wall -Wextra -municode -mwindows -static \
    -o "$work/hello_window.exe" tests/wine/hello_window.cpp; then
  echo "the test program does not build with $cross-g++-posix"; exit 1
fi

# The prefix: created once (by the install script); the caption height set so that Wine's
# frame leaves a 1000 x 700 window the 994 x 671 client the Linux layer gives it (Wine's
# default 18-pixel caption leaves 994 x 675, and the chart's layout follows the client height).
scripts/install-wine.sh --prefix "$WINEPREFIX" || exit 1
if ! DISPLAY="" timeout 120 "$WINE" reg add 'HKCU\Control Panel\Desktop\WindowMetrics' \
    /v CaptionHeight /t REG_SZ /d 22 /f >"$OUT/reg.log" 2>&1; then
  echo "Wine cannot start: reg add failed ($(tail -1 "$OUT/reg.log"))"; exit 1
fi
timeout 60 "$WINESERVER" -w >/dev/null 2>&1

# A private X server.
for n in $(seq 91 120); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$OUT/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
for _ in $(seq 1 40); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.25; done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on :$n"; exit 1; }

# shellcheck source=../tests/wine/flows.sh
source tests/wine/flows.sh

t=$(date +%s)
if ! hello_flows "$work/hello_window.exe"; then
  echo "Wine cannot run a window on this machine; the program's flows are not tried."
  echo "$passed passed, $failed failed"
  exit 1
fi
echo "(test program: $(( $(date +%s) - t )) s)"

# The 32-bit cross build, as scripts/build-windows.sh leaves it (VAPORA_WIN_BUILD names
# another build folder).
win_build=${VAPORA_WIN_BUILD:-build-win}
if [ ! -f "$win_build/app/vapora.exe" ]; then
  echo "SKIP: $win_build/app/vapora.exe does not exist (scripts/build-windows.sh builds it); the program's flows are skipped."
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]; exit
fi

exe=$(cd "$win_build/app" && pwd)/vapora.exe
if [ "$bits" = 64 ]; then
  t=$(date +%s)
  if ! { cmake -S . -B "$work/win64" -DCMAKE_TOOLCHAIN_FILE=tests/wine/mingw-w64-x86_64.cmake \
           -DCMAKE_BUILD_TYPE=Release >"$OUT/win64-build.log" 2>&1 &&
         cmake --build "$work/win64" -j2 --target vapora >>"$OUT/win64-build.log" 2>&1; }; then
    tail -20 "$OUT/win64-build.log"
    fail "the 64-bit Windows build of the program"
    echo "$passed passed, $failed failed"; exit 1
  fi
  echo "(64-bit Windows build: $(( $(date +%s) - t )) s)"
  exe=$work/win64/app/vapora.exe
fi

# The Linux chart to compare with: the suite's build when there, else a build of its own.
export CHART=$root/build/tools/vapora-chart
if [ ! -x "$CHART" ]; then
  CHART=$work/native/tools/vapora-chart
  { cmake -S . -B "$work/native" -DCMAKE_BUILD_TYPE=Release -DVAPORA_BENCH=OFF -DBUILD_TESTING=OFF \
      >"$OUT/native-build.log" 2>&1 &&
    cmake --build "$work/native" -j2 --target vapora-chart >>"$OUT/native-build.log" 2>&1; } ||
    { echo "vapora-chart does not build; the chart comparison is left out"; CHART=""; }
fi

t=$(date +%s)
vapora_flows "$exe"
echo "(program flows: $(( $(date +%s) - t )) s; whole Windows test: $(( $(date +%s) - started )) s)"
echo "Screenshots and logs: $OUT"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
