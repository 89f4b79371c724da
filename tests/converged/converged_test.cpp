// The converged solvers: the formulation's reference values, a seeded grid
// over the whole range and its bands through (T, p) and back through every
// pair, held to the converged tolerances, and the choices where a pair names
// two states or none.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "converged/converged.h"
#include "properties/saturation_line.h"

namespace {

using Pair = int (*)(double, double, ConvergedState*);

// Within rel of the larger of |want| and floor.
bool near(double got, double want, double rel, double floor) {
    return std::fabs(got - want) <= rel * std::fmax(std::fabs(want), floor);
}

// The state from (a, b) by the pair, and whether it reproduces them: field
// ia of a (T 0, p 1), field ib of b (h 2, s 3, x 5).
void expect_round_trip(Pair pair, double a, int ia, double b, int ib, const char* what) {
    ConvergedState st;
    ASSERT_EQ(pair(a, b, &st), converged_ok) << what << " " << a << " " << b;
    const double* f = &st.T;
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(std::isfinite(f[i])) << what;
    const double rel_b = ib == 5 ? 1e-12 : 1e-9, floor_b = ib == 2 ? 1e3 : (ib == 3 ? 10 : 1);
    EXPECT_TRUE(near(f[ia], a, 1e-12, 0) && near(f[ib], b, rel_b, floor_b))
        << what << " given " << a << " " << b << " got " << f[ia] << " " << f[ib] << " at T "
        << st.T << " p " << st.p;
}

void expect_all_pairs(const ConvergedState& st) {
    expect_round_trip(converged_state_from_p_h, st.p, 1, st.h, 2, "p,h");
    expect_round_trip(converged_state_from_p_s, st.p, 1, st.s, 3, "p,s");
    expect_round_trip(converged_state_from_T_h, st.T, 0, st.h, 2, "T,h");
    expect_round_trip(converged_state_from_T_s, st.T, 0, st.s, 3, "T,s");
}

}  // namespace

TEST(Converged, ReferenceValues) {
    // T, p -> v, h, s as the formulation prints them, each to its digits:
    // subregions 1 and 2 at (T, p), 3 at the pressure of a printed (T, v).
    const struct {
        double T, p, v, h, s, dv, dh, ds;
    } rows[] = {
        {293.15, 1e5, 0.00100168, 83953.6, 296.277, 5e-9, 0.05, 5e-4},
        {573.15, 1e7, 0.00139785, 1343363.6, 3248.779, 5e-9, 0.05, 5e-4},
        {623.15, 1e8, 0.00131478, 1550599.7, 3392.248, 5e-9, 0.05, 5e-4},
        {573.15, 1e6, 0.257976, 3052143.2, 7125.143, 5e-7, 0.05, 5e-4},
        {1073.15, 1e8, 0.00434106, 3714263.5, 6039.661, 5e-9, 0.05, 5e-4},
        {773.15, 1000, 356.8136, 3489225.1, 10961.182, 5e-5, 0.05, 5e-4},
        {650.0, 23146529, 0.0025, 1988835, 4255.72, 1e-9, 0.5, 5e-3},
    };
    for (const auto& r : rows) {
        ConvergedState st;
        ASSERT_EQ(converged_state_from_T_p(r.T, r.p, &st), converged_ok);
        EXPECT_NEAR(st.v, r.v, r.dv) << r.T << " " << r.p;
        EXPECT_NEAR(st.h, r.h, r.dh) << r.T << " " << r.p;
        EXPECT_NEAR(st.s, r.s, r.ds) << r.T << " " << r.p;
    }
    // The saturated liquid of subregion 4, and the saturation temperature to
    // the digits printed (the window's meets only 0.1 to 10 Pa).
    ConvergedState wet;
    ASSERT_EQ(converged_state_from_T_x(640.0, 0.0, &wet), converged_ok);
    EXPECT_NEAR(wet.v, 0.00207486, 5e-9);
    EXPECT_NEAR(wet.h, 1841227, 0.5);
    EXPECT_NEAR(wet.s, 4037.06, 5e-3);
    const double sat[][2] = {{101325, 373.150}, {1e6, 453.035}, {1e7, 584.111}, {2.2e7, 646.842}};
    for (const auto& r : sat) {
        double T = 0;
        ASSERT_EQ(converged_sat_temperature(r[0], &T), converged_ok);
        EXPECT_NEAR(T, r[1], 1e-3);  // printed from a search to 1 to 10 Pa
        EXPECT_NEAR(sat_pressure(T), r[0], 1e-12 * r[0]);
    }
}

// The grid: seeded states in each band, p uniform in log p, or relative to
// the saturation pressure or the L line at the drawn T.
TEST(Converged, SeededGridRoundTrips) {
    enum Ref { none, sat_line, l_line };
    const struct Band {
        double T_lo, T_hi, p_lo, p_hi;
        Ref ref;
        int count;
    } bands[] = {
        {273.15, 1073.15, 611.2, 1e8, none, 3000},      // the whole range
        {273.15, 1073.15, 611.2, 3000, none, 300},      // the lowest pressures
        {273.15, 1073.15, 9e7, 1e8, none, 300},         // the highest
        {273.15, 290, 611.2, 1e8, none, 300},           // cold water
        {640, 655, 2.0e7, 2.5e7, none, 1000},           // near the critical point
        {647.29, 647.31, 2.210e7, 2.214e7, none, 300},  // at it
        {623.0, 623.3, 1.6e7, 1e8, none, 300},          // 623.15 K
        {856.9, 857.4, 1e7, 1e8, none, 300},            // 857.15 K
        {273.16, 647.29, -1e-4, 1e-4, sat_line, 600},   // both sides of the line
        {623.2, 857.1, -2e-3, 2e-3, l_line, 600},       // both sides of the L line
    };
    std::mt19937_64 rng(20261207);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (const Band& b : bands) {
        for (int i = 0; i < b.count; ++i) {
            const double T = b.T_lo + (b.T_hi - b.T_lo) * unit(rng);
            const double u = b.p_lo + (b.p_hi - b.p_lo) * unit(rng);
            double p = b.ref == none ? b.p_lo * std::pow(b.p_hi / b.p_lo, unit(rng)) : 0.0;
            if (b.ref == sat_line) p = sat_pressure(T) * (1.0 + u);
            if (b.ref == l_line) p = critical_pressure * l_boundary_beta(T / 647.3) * (1.0 + u);
            if (p < 611.2 || p > 1e8) continue;
            ConvergedState st;
            ASSERT_EQ(converged_state_from_T_p(T, p, &st), converged_ok) << T << " " << p;
            expect_all_pairs(st);
        }
    }
    // Wet states along the whole line, back through the pairs that name them.
    for (int i = 0; i < 600; ++i) {
        ConvergedState st;
        const double T = 273.15 + (647.3 - 273.15) * std::sqrt(unit(rng));
        ASSERT_EQ(converged_state_from_T_x(T, unit(rng), &st), converged_ok);
        expect_round_trip(converged_state_from_p_x, st.p, 1, st.x, 5, "p,x");
        if (st.p >= 611.2) expect_all_pairs(st);
    }
}

// Where a pair names two states the header's choice is returned, where it
// names none the pair is out of range: the twin states of the isotherms'
// extremes, the jump of subregions 1 and 4 at 623.15 K, liquid over wet.
TEST(Converged, TwoStatesOrNone) {
    const struct {
        Pair pair;
        double a, T_or_p;  // the pair's a; the T or p of the state whose b is given
        int b;             // field of that state: h 2, s 3
        double want;       // the T or p expected
        int field;
    } rows[] = {
        {converged_state_from_T_s, 275.0, 2e7, 3, 1.02519e7, 1},   // s of cold water has a maximum
        {converged_state_from_T_h, 573.15, 9e7, 2, 3.61987e7, 1},  // h of hot water a minimum
        {converged_state_from_T_h, 300.0, 5e6, 2, 5e6, 1},         // liquid, not wet
        {converged_state_from_p_h, 5e7, 623.150001, 2, 623.127952, 0},  // overlap: the colder
    };
    for (const auto& r : rows) {
        ConvergedState given, st;
        const bool isobar = r.pair == converged_state_from_p_h;
        ASSERT_EQ(
            converged_state_from_T_p(isobar ? r.T_or_p : r.a, isobar ? r.a : r.T_or_p, &given),
            converged_ok);
        ASSERT_EQ(r.pair(r.a, (&given.T)[r.b], &st), converged_ok);
        EXPECT_NEAR((&st.T)[r.field], r.want, 1e-6 * r.want) << r.a;
    }
    // 623.15 K at 500 bar: the entropy jumps up by 0.16 J/(kg K), a gap.
    ConvergedState below, above, st;
    converged_state_from_T_p(623.15, 5e7, &below);
    converged_state_from_T_p(623.15 + 1e-9, 5e7, &above);
    EXPECT_EQ(converged_state_from_p_s(5e7, 0.5 * (below.s + above.s), &st),
              converged_out_of_range);
}

TEST(Converged, StatusesAndRanges) {
    const double nan = std::nan(""), inf = INFINITY;
    ConvergedState st;
    double x;
    const Pair pairs[] = {converged_state_from_T_p, converged_state_from_T_h,
                          converged_state_from_p_h, converged_state_from_T_s,
                          converged_state_from_p_s, converged_state_from_T_x,
                          converged_state_from_p_x};
    for (Pair pair : pairs) {
        EXPECT_EQ(pair(nan, 1.0, &st), converged_invalid);
        EXPECT_EQ(pair(500.0, -inf, &st), converged_invalid);
        EXPECT_EQ(pair(500.0, 0.5, nullptr), converged_invalid);
    }
    EXPECT_EQ(converged_sat_pressure(nan, &x), converged_invalid);
    EXPECT_EQ(converged_sat_temperature(inf, &x), converged_invalid);
    // Just outside each call's range; the ends themselves are inside.
    const struct {
        Pair pair;
        double a, b;
        int status;
    } rows[] = {
        {converged_state_from_T_p, 273.14, 1e5, 1},   {converged_state_from_T_p, 1073.16, 1e5, 1},
        {converged_state_from_T_p, 500, 611.1, 1},    {converged_state_from_T_p, 500, 1.0001e8, 1},
        {converged_state_from_T_p, 273.15, 611.2, 0}, {converged_state_from_T_p, 1073.15, 1e8, 0},
        {converged_state_from_T_x, 647.31, 0.5, 1},   {converged_state_from_T_x, 647.3, 1.0, 0},
        {converged_state_from_p_x, 2.2121e7, 0.5, 1}, {converged_state_from_p_x, 611.2, 1.01, 1},
        {converged_state_from_p_h, 1e5, 4.2e6, 1},    {converged_state_from_p_h, 1e5, -100, 1},
        {converged_state_from_T_s, 500, 12000, 1},    {converged_state_from_p_s, 1e8, 6000, 0},
    };
    for (const auto& r : rows) EXPECT_EQ(r.pair(r.a, r.b, &st), r.status) << r.a << " " << r.b;
    EXPECT_EQ(converged_sat_pressure(647.31, &x), converged_out_of_range);
    EXPECT_EQ(converged_sat_temperature(611.1, &x), converged_out_of_range);
    ConvergedState in, end, out;
    EXPECT_EQ(converged_turbine(1e7, 800, 1e4, 1.2, &in, &end, &out), converged_out_of_range);
    ASSERT_EQ(converged_turbine(1e7, 800, 1e4, 0.85, &in, &end, &out), converged_ok);
    EXPECT_NEAR(out.h, in.h - 0.85 * (in.h - end.h), 1e-9 * in.h);
    EXPECT_LT(end.x, 1.0);  // the isentropic end is wet at 0.1 bar
}
