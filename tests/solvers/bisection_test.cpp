// The four bisections: round trips against the (t, p) evaluation across the
// chart, the properties each one promises, and the targets out of reach,
// which must end at the cap instead of looping.
#include <cmath>

#include <gtest/gtest.h>

#include "properties/properties.h"
#include "solvers/bisection.h"
#include "solvers/steam_state.h"
#include "solvers/two_phase.h"

namespace {

struct Tp {
    double t, p;
    const char *where;
};

// Single-phase states over the whole chart.
const Tp chart_states[] = {
    {10, 0.02, "liquid at the lower corner"},
    {20, 1, "cold water"},
    {50, 10, "water"},
    {200, 100, "compressed water"},
    {300, 500, "water above the critical pressure"},
    {340, 1000, "hot water at the top isobar"},
    {360, 200, "near-critical liquid"},
    {100, 0.5, "steam at low pressure"},
    {151, 4.7, "steam next to the dome"},
    {200, 1, "steam"},
    {360, 180, "near-critical steam"},
    {374.2, 230, "just above the critical point"},
    {380, 250, "supercritical near the critical point"},
    {400, 300, "supercritical"},
    {500, 100, "superheated steam"},
    {585, 1000, "the 863 K band at 1000 bar"},
    {700, 0.02, "the hot low corner"},
    {700, 1000, "the hot top corner"},
};

struct Full {
    double h, s, v, x;
};

Full from_t_p(double t, double p)
{
    Full r;
    state_from_t_p(t, p, &r.h, &r.s, &r.v, &r.x);
    return r;
}

// From each single-phase state, every inversion finds a state whose matched
// property lies within its tolerance of the target.
TEST(Bisections, RoundTripsAcrossTheChart)
{
    for (const Tp &c : chart_states) {
        SCOPED_TRACE(c.where);
        const Full ref = from_t_p(c.t, c.p);
        double a, b, v, x;
        ASSERT_EQ(try_state_from_t_s(c.t, ref.s, &a, &b, &v, &x), 1);
        EXPECT_NEAR(from_t_p(c.t, b).s, ref.s, 0.25);
        EXPECT_DOUBLE_EQ(from_t_p(c.t, b).h, a);
        EXPECT_EQ(x, (b > 221.2 && c.t < 374.15) ? 0.0 : 1.0);

        ASSERT_EQ(try_state_from_p_s(c.p, ref.s, &a, &b, &v, &x), 1);
        EXPECT_NEAR(from_t_p(a, c.p).s, ref.s, 0.25);
        EXPECT_NEAR(a, c.t, 0.5);

        ASSERT_EQ(try_state_from_p_h(c.p, ref.h, &a, &b, &v, &x), 1);
        EXPECT_NEAR(from_t_p(a, c.p).h, ref.h, 250);
        EXPECT_NEAR(from_t_p(a, c.p).s, b, 0.25);

        // Compressed water below 285 degC has less enthalpy than at 1000 bar,
        // where the (t, h) bracket starts.
        if (c.t < 285 && ref.s < 3000)
            continue;
        ASSERT_EQ(try_state_from_t_h(c.t, ref.h, &a, &b, &v, &x), 1);
        EXPECT_NEAR(from_t_p(c.t, a).h, ref.h, 250);
        EXPECT_NEAR(from_t_p(c.t, a).s, b, 0.25);
    }
}

TEST(StateFromTS, PromisedCases)
{
    double h, p, v, x;
    // Steam: the pressure comes back within about 0.05 %.
    state_from_t_s(200, from_t_p(200, 1).s, &h, &p, &v, &x);
    EXPECT_NEAR(p, 1.0, 0.0005);
    EXPECT_EQ(x, 1.0);
    // Water: the entropy tolerance spans several bar, and the halving of
    // 0.02..1000 bar first meets it near 4 bar.
    state_from_t_s(50, from_t_p(50, 1).s, &h, &p, &v, &x);
    EXPECT_NEAR(p, 3.9, 0.2);
    // The phase flag follows the pressure found.
    state_from_t_s(300, from_t_p(300, 500).s, &h, &p, &v, &x);
    EXPECT_GT(p, 221.2);
    EXPECT_EQ(x, 0.0);
    state_from_t_s(300, from_t_p(300, 100).s, &h, &p, &v, &x);
    EXPECT_EQ(x, 1.0);
    // (p, s) of water at 1 bar: below the boiling point, flag 1.0.
    double t;
    state_from_p_s(1, from_t_p(60, 1).s, &t, &h, &v, &x);
    EXPECT_NEAR(t, 60, 0.1);
    EXPECT_EQ(x, 1.0);
}

// A target inside the dome: the last probe is mixed, so the saturation
// point and the lever-rule dryness come out.
TEST(Bisections, EnthalpyTargetsInsideTheDome)
{
    const double Ps = sat_pressure(373.15), Ts = sat_temperature(1e6);
    double v1, h1, s1, v2, h2, s2, p, t, s, v, x;
    sat_liquid_props(373.15, Ps, &v1, &h1, &s1);
    sat_vapour_props(373.15, Ps, &v2, &h2, &s2);
    ASSERT_EQ(try_state_from_t_h(100, h1 + 0.3 * (h2 - h1), &p, &s, &v, &x), 1);
    EXPECT_DOUBLE_EQ(p, Ps / 100000);
    EXPECT_NEAR(x, 0.3, 250 / (h2 - h1));
    EXPECT_NEAR(v, v1 + x * (v2 - v1), 1e-9);
    EXPECT_NEAR(s, s1 + 0.3 * (s2 - s1), 250 / 373.15);
    sat_liquid_props(Ts, 1e6, &v1, &h1, &s1);
    sat_vapour_props(Ts, 1e6, &v2, &h2, &s2);
    ASSERT_EQ(try_state_from_p_h(10, 0.5 * (h1 + h2), &t, &s, &v, &x), 1);
    EXPECT_DOUBLE_EQ(t, Ts - 273.15);
    EXPECT_NEAR(x, 0.5, 250 / (h2 - h1));
}

// Targets no probe can meet. Each must end (a state or a refusal) with
// numbers, never loop, never NaN.
struct Unreachable {
    int pair; // 0: (t, s), 1: (p, s), 2: (t, h), 3: (p, h)
    double a, b;
    int reached;
    const char *why;
};

const Unreachable out_of_reach[] = {
    {0, 200, 20000, 0, "entropy beyond the 0.02 bar isobar"},
    {0, 200, 100, 0, "entropy below the 1000 bar isobar"},
    {0, 100, 4000, 0, "entropy inside the saturation jump"},
    {1, 100, 9000, 0, "entropy beyond the 700 degC isotherm"},
    {1, 1, 50, 0, "entropy below the 10 degC isotherm"},
    {1, 1, 4000, 0, "entropy inside the saturation jump"},
    {2, 20, 2400e3, 1, "probes beyond the 0.02 bar isobar move back into the dome"},
    {2, 25, 2500e3, 1, "the same at 25 degC"},
    {2, 200, 9e6, 0, "enthalpy above the bracket"},
    {2, 15, 1000e3, 1, "wet steam below the saturation temperature of 0.02 bar"},
    {2, 15, 2600e3, 0, "15 degC above the saturated-vapour enthalpy"},
    {3, 1, 50e3, 1, "probes below the 10 degC isotherm move back up"},
    {3, 100, 60e3, 1, "the same at 100 bar"},
    {3, 1, 9e6, 0, "enthalpy above the 700 degC isotherm"},
    {3, 1, -1e6, 0, "negative enthalpy"},
    {0, NAN, 5000, 0, "no temperature"},
    {3, 10, NAN, 0, "no enthalpy"},
};

TEST(Bisections, TargetsOutOfReachEndWithNumbers)
{
    for (const Unreachable &c : out_of_reach) {
        SCOPED_TRACE(c.why);
        double r[4] = {0, 0, 0, 0};
        int reached = -1;
        switch (c.pair) {
        case 0: reached = try_state_from_t_s(c.a, c.b, &r[0], &r[1], &r[2], &r[3]); break;
        case 1: reached = try_state_from_p_s(c.a, c.b, &r[0], &r[1], &r[2], &r[3]); break;
        case 2: reached = try_state_from_t_h(c.a, c.b, &r[0], &r[1], &r[2], &r[3]); break;
        case 3: reached = try_state_from_p_h(c.a, c.b, &r[0], &r[1], &r[2], &r[3]); break;
        }
        EXPECT_EQ(reached, c.reached);
        if (std::isfinite(c.a)) {
            for (double value : r)
                EXPECT_TRUE(std::isfinite(value));
        }
    }
}

TEST(Bisections, NearTheCriticalPoint)
{
    const Tp points[] = {{374.15, 221.2, "the critical point"},
                         {374.16, 221.2, "just above the critical temperature"},
                         {374.14, 221.3, "just above the critical pressure"},
                         {374.2, 221.5, "next to it"}};
    for (const Tp &c : points) {
        SCOPED_TRACE(c.where);
        const Full ref = from_t_p(c.t, c.p);
        double r[4];
        try_state_from_t_s(c.t, ref.s, &r[0], &r[1], &r[2], &r[3]);
        for (double value : r)
            EXPECT_TRUE(std::isfinite(value));
        EXPECT_NEAR(r[1], c.p, 2.0);
        try_state_from_p_h(c.p, ref.h, &r[0], &r[1], &r[2], &r[3]);
        for (double value : r)
            EXPECT_TRUE(std::isfinite(value));
        EXPECT_NEAR(r[0], c.t, 0.5);
        EXPECT_NEAR(from_t_p(r[0], c.p).s, r[1], 0.25);
        // A state whose entropy the inner search missed is not an answer:
        // the entropy written is that of the state written.
        try_state_from_t_h(c.t, ref.h, &r[0], &r[1], &r[2], &r[3]);
        for (double value : r)
            EXPECT_TRUE(std::isfinite(value));
        EXPECT_NEAR(from_t_p(c.t, r[0]).s, r[1], 0.25);
    }
}

} // namespace
