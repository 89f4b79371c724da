#!/usr/bin/env bash
# examples/c as a user builds it against an installed prefix (the library's two install
# components): with pkg-config, with find_package(Vapora) and from the static archive; the
# installed libvapora.so.2 exports the vapora_* calls alone.
#   installed_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for part in library development; do cmake --install "$1" --prefix "$work" --component $part >/dev/null; done
lib=$(dirname "$(find "$work" -name libvapora.so.2)")
[ -z "$(nm -D --defined-only "$lib/libvapora.so.2" | awk '$3 !~ /^vapora_/')" ]
cp -r "$2/examples/c" "$work/make"
CFLAGS="-std=c99 -pedantic -Werror" PKG_CONFIG_PATH=$lib/pkgconfig make -s -C "$work/make" >/dev/null
cmake -S "$2/examples/c" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$work" -DCMAKE_C_FLAGS=-Werror >/dev/null
cmake --build "$work/cmake" >/dev/null
cc -I"$work/include" "$2/examples/c/steam.c" "$lib/libvapora.a" -lstdc++ -lm -o "$work/static"
LD_LIBRARY_PATH=$lib "$work/make/steam" >"$work/out"
grep -q 'h 3374598.2 J/kg' "$work/out" && "$work/cmake/steam" | cmp - "$work/out" && "$work/static" | cmp - "$work/out"
