#!/usr/bin/env bash
# Builds both programs for release and gathers them in one folder:
#   tools/release.sh [OUT]      OUT defaults to dist/
# OUT/vapora.exe   the 32-bit Windows GUI program (i686, statically linked: no DLLs to ship)
# OUT/vapora       the Linux program (needs the GTK 3 runtime, libgtk-3-0)
# OUT/SHA256SUMS   checksums of the two
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-dist}

scripts/install-deps.sh

# Windows: the cross build CI checks, in build-win/ (VAPORA_WIN_BUILD names a folder
# that already holds a finished 32-bit cross build instead).
win_build=${VAPORA_WIN_BUILD:-build-win}
[ -n "${VAPORA_WIN_BUILD:-}" ] || scripts/build-windows.sh

# Linux: a release build of the program alone, in its own folder.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVAPORA_BENCH=OFF >/dev/null
cmake --build build-release -j"$(nproc)" --target vapora

mkdir -p "$out"
cp "$win_build/app/vapora.exe" "$out/vapora.exe"
cp build-release/app/vapora "$out/vapora"
i686-w64-mingw32-strip "$out/vapora.exe"
strip "$out/vapora"
(cd "$out" && sha256sum vapora.exe vapora >SHA256SUMS)

file "$out/vapora.exe" | grep -q 'PE32 executable (GUI) Intel 80386' ||
  { echo "release: $out/vapora.exe is not a 32-bit Windows GUI program"; exit 1; }
echo "Release in $out/:"
(cd "$out" && ls -l vapora.exe vapora SHA256SUMS | awk '{print "  " $NF " (" $5 " bytes)"}')
