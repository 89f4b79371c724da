#!/usr/bin/env bash
# Builds Vapora for release and gathers it in one folder:
#   scripts/release.sh [OUT]      OUT defaults to dist/
# OUT/vapora_VERSION_ARCH.deb      the Linux package, made with CPack: /usr/bin/vapora,
#                                  vapora-calc and vapora-chart, the desktop entry and its
#                                  icons, the AppStream metainfo and the man pages
# OUT/vapora-VERSION-win32.zip     the 32-bit Windows program and a short text on it
# OUT/vapora.exe, OUT/vapora       the two programs on their own
# OUT/SHA256SUMS                   checksums of all four
# VERSION is the program's own (see the top-level CMakeLists.txt); tests/check-release.sh
# checks what this leaves.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-dist}

scripts/install-deps.sh

# Windows: the cross build CI checks, in build-win/ (VAPORA_WIN_BUILD names a folder
# that already holds a finished 32-bit cross build instead).
win_build=${VAPORA_WIN_BUILD:-build-win}
[ -n "${VAPORA_WIN_BUILD:-}" ] || scripts/build-windows.sh

# Linux: a release build of the programs and the package, in its own folder.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVAPORA_BENCH=OFF >/dev/null
cmake --build build-release -j"$(nproc)"
version=$(build-release/tools/vapora-calc --version | cut -d' ' -f2)
rm -rf build-release/packages
(cd build-release && cpack -G DEB >/dev/null)
deb=vapora_${version}_$(dpkg --print-architecture).deb

mkdir -p "$out"
out_abs=$(cd "$out" && pwd)
cp "build-release/packages/$deb" "$out/$deb"
cp "$win_build/app/vapora.exe" "$out/vapora.exe"
cp build-release/app/vapora "$out/vapora"
i686-w64-mingw32-strip "$out/vapora.exe"
strip "$out/vapora"
file "$out/vapora.exe" | grep -q 'PE32 executable (GUI) Intel 80386' ||
  { echo "release: $out/vapora.exe is not a 32-bit Windows GUI program"; exit 1; }

# The Windows zip: one folder with the program and its text, in Windows line endings.
zip_name=vapora-${version}-win32
stage=build-release/$zip_name
rm -rf "$stage" && mkdir -p "$stage"
cp "$out/vapora.exe" "$stage/vapora.exe"
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' packaging/vapora-win32.txt >"$stage/README.txt"
rm -f "$out/$zip_name.zip"
(cd build-release && cmake -E tar cf "$out_abs/$zip_name.zip" --format=zip "$zip_name")

(cd "$out" && sha256sum "$deb" "$zip_name.zip" vapora.exe vapora >SHA256SUMS)
echo "Release $version in $out/:"
for f in "$deb" "$zip_name.zip" vapora.exe vapora SHA256SUMS; do
  echo "  $f ($(stat -c %s "$out/$f") bytes)"
done
