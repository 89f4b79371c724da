#!/usr/bin/env bash
# Builds Vapora for release and gathers it in one folder:
#   scripts/release.sh [OUT]      OUT defaults to dist/
# OUT/vapora_VERSION_ARCH.deb        the window: desktop entry, icons, metainfo, man page
# OUT/vapora-tools_VERSION_ARCH.deb  vapora-calc and vapora-chart with their man pages
# OUT/libvapora2_VERSION_ARCH.deb    the shared library; libvapora-dev_...: header, static
#                                    library, vapora.pc, CMake package
# OUT/python3-vapora_VERSION_all.deb the Python module
# OUT/*-dbgsym_VERSION_ARCH.ddeb     the debug info split off the programs and the library
# OUT/vapora-VERSION-win32.zip       the Windows programs, vapora.dll (32- and 64-bit) with
#                                    Vapora.bas, the README text and the licence
# OUT/vapora.exe, OUT/vapora         the two programs on their own
# OUT/SHA256SUMS                     checksums of all of these
# The Linux build goes to build-release/ (VAPORA_RELEASE_BUILD names another folder).
# The packages come from CPack (packaging/CMakeLists.txt), built with Debian's hardening
# flags. Every date recorded is the last commit's (SOURCE_DATE_EPOCH), so two runs on one
# commit give the same bytes. VERSION is the program's own (see the top-level
# CMakeLists.txt); tests/check-release.sh checks what this leaves.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-dist}
build=${VAPORA_RELEASE_BUILD:-build-release}  # the Linux build's folder

scripts/install-deps.sh

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC LC_ALL=C.UTF-8
umask 022

# Windows: the cross builds CI checks, in build-win/ and build-win64/ (VAPORA_WIN_BUILD
# and VAPORA_WIN64_BUILD name folders that already hold finished 32- and 64-bit cross
# builds instead).
win_build=${VAPORA_WIN_BUILD:-build-win}
win64_build=${VAPORA_WIN64_BUILD:-build-win64}
[ -n "${VAPORA_WIN_BUILD:-}" ] || scripts/build-windows.sh

# Linux: a release build with Debian's flags (fortify, stack protector, relro, bind-now,
# the build path mapped away). CMake reads no CPPFLAGS, so they join the compiler flags.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVAPORA_BENCH=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DVAPORA_PYTHON_DIR=lib/python3/dist-packages \
  -DCMAKE_C_FLAGS="$CFLAGS $CPPFLAGS" -DCMAKE_CXX_FLAGS="$CXXFLAGS $CPPFLAGS" \
  -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" -DCMAKE_SHARED_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build "$build" -j"$(nproc)"
version=$("$build"/tools/vapora-calc --version | cut -d' ' -f2)
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB >/dev/null)
# CPack (CMake 3.25) leaves some things otherwise than Debian has them, set right here by
# packing again: a -dbgsym package's md5sums name build-folder paths, and it has no
# documentation folder (Debian's is a link to that of the package it belongs to); the
# shared library's package calls ldconfig from maintainer scripts, where Debian has a
# trigger, and has no symbols file.
repack() {
  local tree package
  tree=$build/repack/$(basename "$1") package=$(dpkg-deb -f "$1" Package)
  rm -rf "$tree" && mkdir -p "$tree" && dpkg-deb -R "$1" "$tree"
  case $package in
    *-dbgsym)
      mkdir -p "$tree/usr/share/doc" && ln -s "${package%-dbgsym}" "$tree/usr/share/doc/$package" ;;
    libvapora2)
      rm "$tree"/DEBIAN/post{inst,rm} && echo "activate-noawait ldconfig" >"$tree/DEBIAN/triggers"
      { printf 'libvapora.so.2 libvapora2 #MINVER#\n* Build-Depends-Package: libvapora-dev\n'
        nm -D --defined-only "$tree"/usr/lib/*/libvapora.so.2 | awk -v v="$version" '{print " " $3 "@Base " v}'
      } >"$tree/DEBIAN/symbols" ;;
    *) return ;;
  esac
  (cd "$tree" && find usr -type f | LC_ALL=C sort | xargs md5sum >DEBIAN/md5sums)
  find "$tree" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  dpkg-deb --root-owner-group --build "$tree" "$1" >/dev/null
}
for deb in "$build"/packages/*deb; do repack "$deb"; done

mkdir -p "$out"
out_abs=$(cd "$out" && pwd)
rm -f "$out"/*.deb "$out"/*.ddeb
cp "$build"/packages/*.deb "$build"/packages/*.ddeb "$out/"
cp "$win_build/app/vapora.exe" "$out/vapora.exe"
i686-w64-mingw32-strip "$out/vapora.exe"
file "$out/vapora.exe" | grep -q 'PE32 executable (GUI) Intel 80386' ||
  { echo "release: $out/vapora.exe is not a 32-bit Windows GUI program"; exit 1; }
dpkg-deb --fsys-tarfile "$out/vapora_${version}_$(dpkg --print-architecture).deb" |
  tar -xO ./usr/bin/vapora >"$out/vapora"
chmod 755 "$out/vapora"

# The Windows zip: one folder with the programs, the text on them and the licence, the
# texts in Windows line endings; its entries in a fixed order, dated by the last commit.
zip_name=vapora-${version}-win32
stage=$build/$zip_name
rm -rf "$stage" && mkdir -p "$stage"
cp "$out/vapora.exe" "$stage/vapora.exe"
i686-w64-mingw32-strip -o "$stage/vapora-calc.exe" "$win_build/tools/vapora-calc.exe"
mkdir "$stage/32-bit" "$stage/64-bit"
i686-w64-mingw32-strip -o "$stage/32-bit/vapora.dll" "$win_build/windows/vapora.dll"
x86_64-w64-mingw32-strip -o "$stage/64-bit/vapora.dll" "$win64_build/windows/vapora.dll"
cp "$win_build/windows/Vapora.bas" "$stage/Vapora.bas"  # in Windows line endings already
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' packaging/vapora-win32.txt >"$stage/README.txt"
sed -e 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
find "$stage" -exec touch -d "@$SOURCE_DATE_EPOCH" {} +
rm -f "$out/$zip_name.zip"
# -X: no owner or extra time fields, which would differ from build to build.
(cd "$build" && find "$zip_name" | LC_ALL=C sort | zip -q -X -@ "$out_abs/$zip_name.zip")

released=$(cd "$out" && ls ./*.deb ./*.ddeb "$zip_name.zip" vapora.exe vapora | sed 's|^\./||')
# shellcheck disable=SC2086 # one name a line, none with spaces
(cd "$out" && sha256sum $released >SHA256SUMS)
echo "Release $version in $out/:"
for f in $released SHA256SUMS; do
  echo "  $f ($(stat -c %s "$out/$f") bytes)"
done
