#!/bin/sh
# Times this tree against an earlier commit of the same repository: both are
# built the same way (RelWithDebInfo), and their benchmark programs are run
# alternately, round after round, so that both see the same load on the
# machine. Prints the median of each figure over the rounds and the ratio
# this tree / base.
#
#   bench/compare.sh BASE_COMMIT [ROUNDS]
#
# Figures: the readout's time per pixel (BM_readout_sweep: the sweep's CPU
# time over its pixels, and its mean of the single calls timed by the clock,
# which on a loaded machine also holds the moments the process was scheduled
# out), the CPU time of a full repaint (full_repaint, median of its 20
# repetitions), and v, h, s of steam at 573.15 K and 1 MPa, both as the three
# subregion functions (sub2_v_h_s) and through props_from_TP (steam_300C_10bar).
set -eu

base=${1:?usage: bench/compare.sh BASE_COMMIT [ROUNDS]}
rounds=${2:-5}
top=$(git rev-parse --show-toplevel)
work=${TMPDIR:-/tmp}/vapora-compare-$(git -C "$top" rev-parse --short "$base")

build() {  # source dir, build dir
    cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$2" -j2 --target bench_properties bench_solvers bench_diagram >/dev/null
}

if [ ! -d "$work/src" ]; then
    mkdir -p "$work/src"
    git -C "$top" archive "$base" | tar -x -C "$work/src"
fi
build "$work/src" "$work/build"
build "$top" "$top/build-compare"

out=$work/results
rm -rf "$out"
mkdir -p "$out"
run() {  # which (base or this), build dir, round
    b=$2/bench
    "$b/bench_solvers" --benchmark_filter='BM_readout_sweep|steam_300C_10bar' \
        --benchmark_min_time=0.3 --benchmark_format=json >"$out/$1-solvers-$3.json"
    "$b/bench_diagram" --benchmark_filter='^full_repaint/' \
        --benchmark_format=json >"$out/$1-diagram-$3.json"
    "$b/bench_properties" --benchmark_filter='sub2_v_h_s' --benchmark_min_time=0.3 \
        --benchmark_format=json >"$out/$1-properties-$3.json"
}
i=1
while [ "$i" -le "$rounds" ]; do
    # Alternate which program goes first, so neither always meets a warm machine.
    if [ $((i % 2)) -eq 1 ]; then
        run base "$work/build" "$i"; run this "$top/build-compare" "$i"
    else
        run this "$top/build-compare" "$i"; run base "$work/build" "$i"
    fi
    i=$((i + 1))
done

python3 - "$out" "$rounds" <<'EOF'
import json, statistics, sys
out, rounds = sys.argv[1], int(sys.argv[2])

def figure(which, program, pick):
    values = []
    for r in range(1, rounds + 1):
        with open(f"{out}/{which}-{program}-{r}.json") as f:
            values.append(pick(json.load(f)["benchmarks"]))
    return statistics.median(values)

def sweep(benchmarks):
    return next(b for b in benchmarks if b["name"].startswith("BM_readout"))

def readout_cpu(benchmarks):
    b = sweep(benchmarks)
    return b["cpu_time"] * 1e9 / b["pixels"]  # s -> ns

def readout_mean(benchmarks):
    return sweep(benchmarks)["mean_us"] * 1000

def repaint(benchmarks):
    b = next(b for b in benchmarks if b["name"].endswith("_median"))
    return b["cpu_time"] * 1e6  # ms -> ns

def named(part):
    return lambda benchmarks: next(b["cpu_time"] for b in benchmarks if part in b["name"])

rows = [
    ("readout, CPU per pixel", "solvers", readout_cpu),
    ("readout, mean of timed calls", "solvers", readout_mean),
    ("full repaint, CPU", "diagram", repaint),
    ("steam v, h, s: sub2_v_h_s", "properties", named("sub2_v_h_s")),
    ("steam v, h, s: props_from_TP", "solvers", named("steam_300C_10bar")),
]
print(f"{'figure':32} {'base':>12} {'this':>12} {'ratio':>7}")
for label, program, pick in rows:
    a, b = figure("base", program, pick), figure("this", program, pick)
    print(f"{label:32} {a:10.0f}ns {b:10.0f}ns {b / a:7.3f}")
EOF
