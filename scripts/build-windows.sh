#!/usr/bin/env bash
# Cross-builds the 32-bit Windows program and vapora.dll with mingw-w64 into build-win/,
# and the 64-bit vapora.dll (for 64-bit Office) into build-win64/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-win -j"$(nproc)"
cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-win64 -j"$(nproc)" --target vapora_dll vapora_bas
