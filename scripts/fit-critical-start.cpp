// Prints converged/critical_start.h, the start tables of the converged (p, h)
// and (p, s) solves in the critical region: T and v of the state at each
// node of a grid in ln p and h (and in ln p and s), as the converged solvers
// answer it; and the start of the volume search of a (T, p) state just
// above the critical temperature: v at each node of a grid in T and ln p.
// Built against the library (one line):
//   g++ -O2 -I. scripts/fit-critical-start.cpp build/converged/libvapora_converged.a
//   build/properties/libvapora_properties.a -o /tmp/fit-critical-start
// then: /tmp/fit-critical-start > converged/critical_start.h
// The table is only a start: the solve converges from it, the nodes need no
// more digits than a float's.
#include <cmath>
#include <cstdio>

#include "converged/converged.h"

namespace {

// The grid: ln p from the critical region's lowest pressure (the L line at
// 623.15 K, 16.53 MPa) to 1000 bar, and each value over the critical region's
// values at every pressure of it, with a node's width of room.
constexpr int rows = 24, columns = 40;
constexpr double p_lo = 1.65e7, p_hi = 1e8;
constexpr double h_lo = 1.50e6, h_hi = 2.85e6, s_lo = 3350.0, s_hi = 5300.0;

// The (T, p) grid: from the critical temperature to where the search starts
// from the L line anyway (700 K), in kelvins, over the same ln p.
constexpr int tp_rows = 48, tp_columns = 53;
constexpr double tp_T_lo = 647.3, tp_T_hi = 700.0;

void table(const char* name, int (*solve)(double, double, ConvergedState*), double lo, double hi) {
    std::printf("constexpr float %s[%d][%d][2] = {\n", name, rows + 1, columns + 1);
    for (int i = 0; i <= rows; ++i) {
        const double p = std::fmin(p_hi, p_lo * std::pow(p_hi / p_lo, double(i) / rows));
        std::printf("    {");
        ConvergedState last{};
        for (int j = 0; j <= columns; ++j) {
            ConvergedState st;
            // A node in a gap between subregions takes its neighbour's state.
            if (solve(p, lo + (hi - lo) * j / columns, &st) != converged_ok) st = last;
            last = st;
            std::printf("{%.7gf, %.7gf}%s", st.T, st.v, j < columns ? ", " : "");
        }
        std::printf("},\n");
    }
    std::printf("};\n");
}

void volume_table() {
    std::printf("constexpr float critical_start_v[%d][%d] = {\n", tp_rows + 1, tp_columns + 1);
    for (int i = 0; i <= tp_rows; ++i) {
        const double p = std::fmin(p_hi, p_lo * std::pow(p_hi / p_lo, double(i) / tp_rows));
        std::printf("    {");
        for (int j = 0; j <= tp_columns; ++j) {
            ConvergedState st;
            converged_state_from_T_p(tp_T_lo + (tp_T_hi - tp_T_lo) * j / tp_columns, p, &st);
            std::printf("%.7gf%s", st.v, j < tp_columns ? ", " : "");
        }
        std::printf("},\n");
    }
    std::printf("};\n");
}

}  // namespace

int main() {
    std::printf(
        "// The start of the converged (p, h) and (p, s) solves in the critical region,\n"
        "// as scripts/fit-critical-start.cpp prints it: T [K] and v [m3/kg] at the\n"
        "// nodes of a grid, %d steps of ln p from %g Pa to %g Pa and %d steps of h\n"
        "// (%g to %g J/kg) or s (%g to %g J/(kg K)), interpolated linearly.\n"
        "#pragma once\n\n// clang-format off\n",
        rows, p_lo, p_hi, columns, h_lo, h_hi, s_lo, s_hi);
    std::printf("constexpr int critical_start_rows = %d, critical_start_columns = %d;\n", rows,
                columns);
    std::printf("constexpr double critical_start_p_lo = %g;\n", p_lo);
    std::printf("constexpr double critical_start_rows_per_ln_p = %.17g;\n",
                rows / std::log(p_hi / p_lo));
    std::printf("constexpr double critical_start_h_lo = %g, critical_start_h_hi = %g;\n", h_lo,
                h_hi);
    std::printf("constexpr double critical_start_s_lo = %g, critical_start_s_hi = %g;\n", s_lo,
                s_hi);
    table("critical_start_h", converged_state_from_p_h, h_lo, h_hi);
    table("critical_start_s", converged_state_from_p_s, s_lo, s_hi);
    std::printf(
        "// v [m3/kg] of the (T, p) state, %d steps of ln p as above (rows) and %d of T\n"
        "// from %g K to %g K (columns).\n",
        tp_rows, tp_columns, tp_T_lo, tp_T_hi);
    std::printf("constexpr int critical_start_v_rows = %d, critical_start_v_columns = %d;\n",
                tp_rows, tp_columns);
    std::printf("constexpr double critical_start_v_rows_per_ln_p = %.17g;\n",
                tp_rows / std::log(p_hi / p_lo));
    std::printf("constexpr double critical_start_v_T_lo = %g, critical_start_v_T_hi = %g;\n",
                tp_T_lo, tp_T_hi);
    volume_table();
    std::printf("// clang-format on\n");
}
