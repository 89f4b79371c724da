#!/bin/sh
# Cross-builds vapora.dll, Vapora.bas and the harness for each width Wine runs here and
# runs the harness (dll_harness.c): 32-bit under 32-bit Wine where this machine runs
# 32-bit code, 64-bit under 64-bit Wine where it is installed. Exits 1 when one fails.
#   tests/windows/dll_test.sh [WORK_FOLDER]     (default build-wine-test/)
set -u
cd "$(dirname "$0")/../.."
work=${1:-$PWD/build-wine-test}
status=0
for arch in i686 x86_64; do
  if [ $arch = i686 ]; then
    bits=32 loader=/usr/lib/wine/wine server=/usr/lib/wine/wineserver32
    [ "$(scripts/install-wine.sh --bits)" = 32 ] || { echo "SKIP 32-bit DLL: no 32-bit code runs here"; continue; }
  else
    bits=64 loader=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64
  fi
  [ -x "$loader" ] || { echo "SKIP $bits-bit DLL: $loader is not installed"; continue; }
  dir=$work/dll$bits
  mkdir -p "$dir"
  if ! { cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-$arch.cmake -DCMAKE_BUILD_TYPE=Release &&
         cmake --build "$dir" -j2 --target vapora_dll vapora_bas &&
         $arch-w64-mingw32-gcc-posix -O2 -Wall -Wextra -I. -o "$dir/dll_harness.exe" tests/windows/dll_harness.c
       } >"$dir/build.log" 2>&1; then
    tail -20 "$dir/build.log"; echo "FAIL $bits-bit DLL: the build failed"; status=1; continue
  fi
  # The prefix is made on the first run; the timeout bounds a stuck start.
  if WINEPREFIX=$work/wineprefix-$bits WINEARCH=win$bits WINELOADER=$loader WINEDEBUG=-all \
     WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY="" timeout 300 "$loader" "$dir/dll_harness.exe" \
     "$dir/windows/vapora.dll" windows/vapora.def "$dir/windows/Vapora.bas"; then
    echo "PASS $bits-bit DLL"
  else
    echo "FAIL $bits-bit DLL"; status=1
  fi
  WINEPREFIX=$work/wineprefix-$bits timeout 20 "$server" -k 2>/dev/null
done
exit $status
