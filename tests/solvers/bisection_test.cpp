// The four bisections: round trips against the (t, p) evaluation across the
// chart, targets inside the dome and near the critical point, and targets out
// of reach, which must end at the cap with numbers instead of looping.
#include <cmath>

#include <gtest/gtest.h>

#include "properties/properties.h"
#include "solvers/bisection.h"
#include "solvers/steam_state.h"

namespace {

struct Full {
    double h, s, v, x;
};

Full from_t_p(double t, double p)
{
    Full r;
    state_from_t_p(t, p, &r.h, &r.s, &r.v, &r.x);
    return r;
}

// From each single-phase state every inversion finds a state whose matched
// property lies within its tolerance of the target, and whose other values
// are those of the state it found.
TEST(Bisections, RoundTripsAcrossTheChart)
{
    const struct { double t, p; } states[] = {
        {10, 0.02}, {20, 1}, {50, 10}, {200, 100}, {300, 500}, {340, 1000}, {360, 200},
        {100, 0.5}, {151, 4.7}, {360, 180}, {374.2, 230}, {380, 250}, {400, 300}, {500, 100},
        {585, 1000}, {700, 0.02}, {700, 1000}, {374.15, 221.2}, {374.16, 221.2}, {374.14, 221.3}};
    for (const auto &c : states) {
        SCOPED_TRACE(testing::Message() << "t=" << c.t << " p=" << c.p);
        const Full ref = from_t_p(c.t, c.p);
        double a, b, v, x;
        if (try_state_from_t_s(c.t, ref.s, &a, &b, &v, &x)) {
            EXPECT_NEAR(from_t_p(c.t, b).s, ref.s, 0.25);
            EXPECT_DOUBLE_EQ(from_t_p(c.t, b).h, a);
        } else {
            EXPECT_NEAR(b, c.p, 2.0); // a jump of the entropy at the critical point
        }
        ASSERT_EQ(try_state_from_p_s(c.p, ref.s, &a, &b, &v, &x), 1);
        EXPECT_NEAR(from_t_p(a, c.p).s, ref.s, 0.25);
        EXPECT_DOUBLE_EQ(from_t_p(a, c.p).h, b);
        ASSERT_EQ(try_state_from_p_h(c.p, ref.h, &a, &b, &v, &x), 1);
        EXPECT_NEAR(from_t_p(a, c.p).h, ref.h, 250);
        EXPECT_NEAR(from_t_p(a, c.p).s, b, 0.25);
        // Compressed water below 285 degC has less enthalpy than at 1000 bar,
        // where the (t, h) bracket starts.
        if (c.t < 285 && ref.s < 3000)
            continue;
        // A state whose entropy the inner search missed is no answer: the
        // entropy written is that of the state written.
        ASSERT_EQ(try_state_from_t_h(c.t, ref.h, &a, &b, &v, &x), 1);
        EXPECT_NEAR(from_t_p(c.t, a).h, ref.h, 250);
        EXPECT_NEAR(from_t_p(c.t, a).s, b, 0.25);
        EXPECT_DOUBLE_EQ(from_t_p(c.t, a).v, v);
    }
}

// A target inside the dome: the last probe is mixed, so the saturation point
// and the lever-rule dryness and volume come out.
TEST(Bisections, EnthalpyTargetsInsideTheDome)
{
    const double Ps = sat_pressure(373.15);
    double v1, h1, s1, v2, h2, s2, p, t, s, v, x;
    sat_liquid_props(373.15, Ps, &v1, &h1, &s1);
    sat_vapour_props(373.15, Ps, &v2, &h2, &s2);
    ASSERT_EQ(try_state_from_t_h(100, h1 + 0.3 * (h2 - h1), &p, &s, &v, &x), 1);
    EXPECT_DOUBLE_EQ(p, Ps / 100000);
    EXPECT_NEAR(v, v1 + 0.3 * (v2 - v1), 250 / (h2 - h1) * (v2 - v1));
    ASSERT_EQ(try_state_from_p_h(Ps / 100000, h1 + 0.3 * (h2 - h1), &t, &s, &v, &x), 1);
    EXPECT_NEAR(t, 100, 0.01);
    EXPECT_NEAR(x, 0.3, 250 / (h2 - h1));
}

// Targets no probe can meet end with numbers and the answer 0; targets that
// only some probes cannot reach end with a hit.
TEST(Bisections, TargetsOutOfReachEndWithNumbers)
{
    // pair 0: (t, s), 1: (p, s), 2: (t, h), 3: (p, h)
    const struct { int pair; double a, b; int reached; const char *why; } cases[] = {
        {0, 200, 20000, 0, "entropy beyond the 0.02 bar isobar"},
        {1, 100, 9000, 0, "entropy beyond the 700 degC isotherm"},
        {2, 20, 2400e3, 1, "probes beyond the 0.02 bar isobar move back into the dome"},
        {2, 200, 9e6, 0, "enthalpy above the bracket"},
        {3, 1, 50e3, 1, "probes below the 10 degC isotherm move back up"},
        {3, 1, 9e6, 0, "enthalpy above the 700 degC isotherm"},
        {0, NAN, 5000, 0, "no temperature"},
        {3, 10, NAN, 0, "no enthalpy"},
    };
    typedef int (*Solver)(double, double, double *, double *, double *, double *);
    const Solver solvers[] = {try_state_from_t_s, try_state_from_p_s, try_state_from_t_h,
                              try_state_from_p_h};
    for (const auto &c : cases) {
        double r[4] = {0, 0, 0, 0};
        EXPECT_EQ(solvers[c.pair](c.a, c.b, &r[0], &r[1], &r[2], &r[3]), c.reached) << c.why;
        for (double value : r)
            EXPECT_TRUE(std::isfinite(value) || std::isnan(c.a)) << c.why;
    }
}

} // namespace
