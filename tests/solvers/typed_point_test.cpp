// Typed points: the guard of every pair, the round trip from each pair back
// to the state it came from, and the turbine expansion.
#include <cmath>

#include <gtest/gtest.h>

#include "properties/properties.h"
#include "solvers/steam_state.h"
#include "solvers/two_phase.h"
#include "solvers/typed_point.h"

namespace {

struct Guard {
    int pair;
    double a, b;
    int accepted;
    const char *why;
};

const Guard guards[] = {
    {t_p, 0, 0, 0, "the fresh dialog: everything empty"},
    {t_p, 100, 0.02, 1, "a typed 0.02 bar passes"},
    {t_p, 100, 0.0199, 0, "below 0.02 bar"},
    {t_p, 100, 0.006, 0, "the triple-point pressure"},
    {t_p, 100, 1000, 1, "1000 bar passes"},
    {t_p, 100, 1000.0001, 0, "above 1000 bar"},
    {t_p, 10, 1, 1, "10 degC passes"},
    {t_p, -1, 1, 0, "below 0 degC"},
    {t_p, 9.99, 1, 0, "below 10 degC"},
    {t_p, 700, 1, 1, "700 degC passes"},
    {t_p, 800, 1, 0, "800 degC"},
    {t_p, NAN, 1, 0, "no temperature"},
    {t_p, 100, INFINITY, 0, "infinite pressure"},
    {t_h, 20, 2400e3, 1, "20 degC with 2400 kJ/kg: wet steam"},
    {t_h, 200, 9000e3, 0, "far above the 0.02 bar enthalpy"},
    {t_h, 15, 2000e3, 0, "below 17.5 degC"},
    {p_h, 1, 50e3, 1, "1 bar with 50 kJ/kg: water just above 10 degC"},
    {p_h, 1, 30e3, 0, "below the 10 degC isotherm"},
    {p_h, 2000, 1000e3, 0, "above 1000 bar"},
    {t_s, 200, 2330, 1, "compressed water"},
    {t_s, 100, 9500, 0, "right of the 0.02 bar isobar"},
    {t_s, 5, 1000, 0, "below 10 degC"},
    {p_s, 100, 9000, 0, "100 bar with 9 kJ/kg degC: beyond the 700 degC isotherm"},
    {p_s, 1, 50, 0, "1 bar with 0.05 kJ/kg degC: below the 10 degC isotherm"},
    {p_s, 0.02, 10000, 1, "the diagram edge passes"},
    {p_s, 0.02, 10000.001, 0, "beyond the diagram edge"},
    {p_s, 1, -1, 0, "negative entropy"},
    {p_s, 1, 5000, 1, "wet steam"},
    {t_x, 374.15, 0.5, 1, "the critical temperature passes"},
    {t_x, 374.16, 0.5, 0, "above the critical temperature"},
    {t_x, 100, -0.01, 0, "x below 0"},
    {t_x, 100, 1.01, 0, "x above 1"},
    {t_x, 9, 0.5, 0, "below 10 degC"},
    {p_x, 500, 0.5, 1, "no critical bound on the pressure"},
    {p_x, 1000.5, 0.5, 0, "above 1000 bar"},
    {p_x, 1, 2, 0, "x above 1"},
    {p_x, 1, NAN, 0, "no dryness"},
    {turbine, 1, 80, 0, "the turbine is no point of its own"},
    {42, 1, 1, 0, "no such pair"},
};

TEST(TypedPoint, Guards)
{
    for (const Guard &g : guards) {
        SteamState st = {9, 9, 9, 9, 9, 9};
        const int accepted = solve_typed_point(g.pair, g.a, g.b, &st);
        EXPECT_EQ(accepted, g.accepted) << g.why;
        if (accepted) {
            for (double value : {st.t, st.p, st.h, st.s, st.v, st.x})
                EXPECT_TRUE(std::isfinite(value)) << g.why;
        } else {
            EXPECT_EQ(st.t, 9) << g.why;
        }
    }
}

// A state given by (t, p) and typed again by each other pair comes back as
// the same state, within what the bisections promise.
TEST(TypedPoint, EveryPairFindsTheSameState)
{
    struct Case {
        double t, p;
    };
    const Case states[] = {{300, 10}, {500, 100}, {200, 1}, {400, 300}, {600, 0.5}, {380, 250}};
    for (const Case &c : states) {
        SteamState ref;
        ASSERT_EQ(solve_typed_point(t_p, c.t, c.p, &ref), 1);
        SCOPED_TRACE(testing::Message() << "t=" << c.t << " p=" << c.p);
        SteamState st;
        ASSERT_EQ(solve_typed_point(t_h, c.t, ref.h, &st), 1);
        // In steam the enthalpy hardly depends on the pressure, so the check
        // is on the enthalpy at the pressure found.
        SteamState back;
        ASSERT_EQ(solve_typed_point(t_p, c.t, st.p, &back), 1);
        EXPECT_NEAR(back.h, ref.h, 250);
        ASSERT_EQ(solve_typed_point(p_h, c.p, ref.h, &st), 1);
        EXPECT_NEAR(st.t, c.t, 0.5);
        ASSERT_EQ(solve_typed_point(t_s, c.t, ref.s, &st), 1);
        EXPECT_NEAR(st.p, c.p, 0.001 * c.p);
        EXPECT_NEAR(st.h, ref.h, 500);
        ASSERT_EQ(solve_typed_point(p_s, c.p, ref.s, &st), 1);
        EXPECT_NEAR(st.t, c.t, 0.1);
        EXPECT_EQ(st.p, c.p);
        EXPECT_EQ(st.s, ref.s);
    }
}

SteamState inlet_at(double t, double p)
{
    SteamState st;
    EXPECT_EQ(solve_typed_point(t_p, t, p, &st), 1);
    return st;
}

TEST(Turbine, ExpansionIntoTheDome)
{
    const SteamState in = inlet_at(500, 100);
    SteamState iso, out;
    ASSERT_EQ(turbine_expansion(&in, 0.1, 85, &iso, &out), 1);
    EXPECT_EQ(iso.s, in.s);
    EXPECT_EQ(iso.p, 0.1);
    EXPECT_GT(iso.x, 0.7);
    EXPECT_LT(iso.x, 0.9);
    EXPECT_NEAR(out.h, iso.h + 0.15 * (in.h - iso.h), 1e-6);
    EXPECT_GT(out.x, iso.x);
    EXPECT_GT(out.s, in.s);
    EXPECT_NEAR(out.p, 0.1, 1e-4);
    EXPECT_NEAR(out.t, iso.t, 0.01);
}

TEST(Turbine, EfficiencyBounds)
{
    const SteamState in = inlet_at(400, 50);
    SteamState iso, out;
    // 100 %: the real outlet is the isentropic one.
    ASSERT_EQ(turbine_expansion(&in, 5, 100, &iso, &out), 1);
    EXPECT_EQ(out.h, iso.h);
    EXPECT_NEAR(out.t, iso.t, 0.5);
    EXPECT_NEAR(out.s, in.s, 1.0);
    // 0 %: no work, the enthalpy stays.
    ASSERT_EQ(turbine_expansion(&in, 5, 0, &iso, &out), 1);
    EXPECT_EQ(out.h, in.h);
    EXPECT_LT(out.t, in.t);
    for (double eta : {-0.01, 100.01, double(NAN)}) {
        SteamState untouched = {7, 7, 7, 7, 7, 7};
        EXPECT_EQ(turbine_expansion(&in, 5, eta, &untouched, &out), 0) << eta;
        EXPECT_EQ(untouched.t, 7);
    }
    for (double p2 : {0.0199, 1000.01, 0.006}) {
        EXPECT_EQ(turbine_expansion(&in, p2, 80, &iso, &out), 0) << p2;
    }
}

TEST(Turbine, RefusedOutlets)
{
    // Compressing steam to 1000 bar would end far above 700 degC.
    SteamState in = inlet_at(500, 10);
    SteamState iso, out;
    EXPECT_EQ(turbine_isentropic_end(&in, 1000, 80, &iso), 0);
    // The isentropic end exists, but with no work done the outlet at 0.02 bar
    // lies beyond the diagram's right edge: the isentropic state is kept.
    in = inlet_at(700, 1);
    SteamState marker = {7, 7, 7, 7, 7, 7};
    out = marker;
    EXPECT_EQ(turbine_expansion(&in, 0.02, 0, &iso, &out), 0);
    EXPECT_EQ(iso.p, 0.02);
    EXPECT_EQ(iso.s, in.s);
    EXPECT_EQ(out.t, 7);
}

} // namespace
