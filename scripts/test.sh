#!/usr/bin/env bash
# Installs the dependencies, builds Vapora and runs every test (ctest).
#   scripts/test.sh             the normal build in build/
#   scripts/test.sh --sanitize  the same with AddressSanitizer and UBSan in build-asan/
# The GUI tests start their own private Xvfb servers; no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan flags=(-DCMAKE_BUILD_TYPE=Debug -DVAPORA_SANITIZE=ON)
  export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

scripts/install-deps.sh
cmake -S . -B "$build" "${flags[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
