#!/usr/bin/env bash
# Plants single-line faults one at a time and runs the test suite against each:
# a fault that no test notices is a survivor, a gap in the tests.
#
#   tests/mutate.sh            every fault listed in tests/mutants.txt
#   tests/mutate.sh FILTER     only those whose name or file matches FILTER, an
#                              extended regular expression ('properties/|solvers/')
#
# tests/mutants.txt holds one fault a line, four fields separated by tabs: a name, the
# file, a text to find in it (exact, on one line) and its replacement. The first line of
# the file holding the text is changed. Lines starting with # are comments.
#
# The sources are copied to a private tree and built there once; then for each
# fault the line is changed, the tree rebuilt incrementally, ctest run up to its
# first failure and the file restored. A fault whose text is no longer in its
# file is stale, one that does not build is reported; neither is counted.
set -uo pipefail
main() {
root=$(cd "$(dirname "$0")/.." && pwd)
filter="${1:-}"

work=$(mktemp -d "${TMPDIR:-/tmp}/vapora-mutate.XXXXXX")
trap 'rm -rf "$work"' EXIT
src="$work/src" build="$work/build"
mkdir "$src" && tar -C "$root" --exclude='./build*' --exclude=./dist --exclude=./.git -cf - . | tar -C "$src" -xf -
export CCACHE_BASEDIR="$work" CCACHE_NOHASHDIR=true
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVAPORA_BENCH=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null || exit 1
build_tree() { cmake --build "$build" -j2 >"$work/build.log" 2>&1; }
# The quick tests first: most faults fail one of them within seconds.
run_suite() {
  local run=(ctest --test-dir "$build" -j2 --stop-on-failure --timeout 120 ${broken:+-E "$broken"})
  "${run[@]}" -LE gui >"$work/ctest.log" 2>&1 && "${run[@]}" -L gui >>"$work/ctest.log" 2>&1
}

echo "building the unchanged tree and running its tests..."
build_tree || { echo "the unchanged tree does not build" >&2; tail -n 20 "$work/build.log" >&2; exit 1; }
# A test that fails without any fault tells nothing about one: leave it out.
ctest --test-dir "$build" -j2 --timeout 120 >"$work/ctest.log" 2>&1
broken=$(sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' "$work/ctest.log" | paste -sd'|')
[ -z "$broken" ] || { echo "failing on the unchanged tree, left out: $broken"; broken="^($broken)\$"; }

caught=0 total=0 survivors=() skipped=()
while IFS=$'\t' read -r name file find replace; do
  case "$name" in '' | '#'*) continue ;; esac
  [[ -z "$filter" || "$name $file" =~ $filter ]] || continue
  target="$src/$file"
  grep -qF -- "$find" "$target" 2>/dev/null || { skipped+=("$name (stale)"); continue; }
  cp "$target" "$work/original"
  # The text is literal, not a pattern: awk's index() and ENVIRON take it as is.
  FIND="$find" REPLACE="$replace" awk '!done && (i = index($0, ENVIRON["FIND"])) { done = 1
      $0 = substr($0, 1, i - 1) ENVIRON["REPLACE"] substr($0, i + length(ENVIRON["FIND"])) }
    { print }' "$work/original" >"$target"
  if ! build_tree; then
    skipped+=("$name (does not build)") && echo "no build $name"
  elif total=$((total + 1)) && run_suite; then
    survivors+=("$name ($file)") && echo "SURVIVED $name"
  else
    caught=$((caught + 1))
    first=$(grep -m1 -A1 'tests FAILED' "$work/ctest.log" | tail -1 | tr -s ' \t' ' ')
    echo "caught $name by$first"
  fi
  # A fresh time stamp, so that the next build compiles the original again.
  cp "$work/original" "$target"
done <"$src/tests/mutants.txt"

echo "caught $caught of $total${filter:+ (filter: $filter)}"
[ ${#skipped[@]} -eq 0 ] || printf 'not counted: %s\n' "${skipped[@]}"
[ ${#survivors[@]} -eq 0 ] || printf 'survived: %s\n' "${survivors[@]}"
}
main "$@"  # read whole before it runs, so that editing the script cannot change a run
