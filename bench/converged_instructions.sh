#!/bin/sh
# Instruction counts of bench_converged's cases under callgrind, which the
# machine's load does not move: each case run N times between callgrind's
# start and stop marks, one dump per case; the table gives instructions per
# call, each converged solve as a multiple of the forward evaluation at its
# state (of one saturation pressure for the saturation temperature) and its
# speed-up over the window's solve.
#   bench/converged_instructions.sh build/bench/bench_converged [N]
set -eu
bench=${1:?usage: converged_instructions.sh path/to/bench_converged [N]}
n=${2:-1000}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$dir/cg.%p" \
    "$bench" --instructions "$n" >/dev/null 2>&1
for f in "$dir"/cg.*.*; do
    name=$(sed -n 's/^desc: Trigger: Client Request: //p' "$f")
    total=$(sed -n 's/^totals: //p' "$f")
    echo "$name $total"
done | awk -v n="$n" '
    { ir[$1] = $2 / n }
    function row(pair, at, ref, conv, win) {
        printf "%-6s %-28s %9.0f %9.0f %8.2f %10.0f %8.1f\n", pair, at, ir[conv], ir[ref],
               ir[conv] / ir[ref], ir[win], ir[win] / ir[conv]
    }
    END {
        printf "%-6s %-28s %9s %9s %8s %10s %8s\n", "pair", "state", "conv_Ir", "ref_Ir",
               "multiple", "window_Ir", "speed-up"
        split("liquid_150C_100bar steam_300C_10bar critical_650K_250bar critical_liquid_640K_250bar", regions)
        split("T,p p,h p,s T,h T,s", pairs)
        for (r = 1; r <= 4; ++r)
            for (k = 1; k <= 5; ++k) {
                at = regions[r]; pair = pairs[k]
                win = pair == "T,p" ? "forward/" at : "window/" pair "/" at
                row(pair, at, "forward/" at, "converged/" pair "/" at, win)
            }
        split("1bar 10bar 100bar 220bar", sat)
        for (k = 1; k <= 4; ++k)
            row("sat_T", sat[k], "sat_pressure/" sat[k], "converged/sat_T/" sat[k], "window/sat_T/" sat[k])
    }'
