// The dome tests and the wet-steam mixtures.
#include <cmath>

#include <gtest/gtest.h>

#include "properties/properties.h"
#include "solvers/steam_state.h"
#include "solvers/two_phase.h"

namespace {

struct Sides {
    double Ps;
    double v1, h1, s1, v2, h2, s2;
};

Sides sides_at(double t)
{
    Sides r;
    const double T = t + 273.15;
    r.Ps = sat_pressure(T);
    sat_liquid_props(T, r.Ps, &r.v1, &r.h1, &r.s1);
    sat_vapour_props(T, r.Ps, &r.v2, &r.h2, &r.s2);
    return r;
}

TEST(IsTwoPhase, CriticalTemperatureAndPressure)
{
    EXPECT_EQ(is_two_phase_t_s(374.15, 4442.9), 1);
    EXPECT_EQ(is_two_phase_t_s(374.15, 4442.8), 0);
    EXPECT_EQ(is_two_phase_t_s(374.15, 4443.0), 0);
    for (double s : {3000.0, 4442.9, 6000.0})
        EXPECT_EQ(is_two_phase_t_s(374.16, s), 0) << s;
    EXPECT_EQ(is_two_phase_p_s(221.0, 4442.9), 1);
    EXPECT_EQ(is_two_phase_p_s(221.0, 4400.0), 0);
    EXPECT_EQ(is_two_phase_p_s(221.0, 4500.0), 0);
    for (double s : {3000.0, 4442.9, 6000.0})
        EXPECT_EQ(is_two_phase_p_s(221.21, s), 0) << s;
}

TEST(IsTwoPhase, BoundaryLinesBelongToTheDome)
{
    for (double t : {10.0, 100.0, 250.0, 350.0, 360.0, 373.0}) {
        SCOPED_TRACE(testing::Message() << "t=" << t);
        const Sides c = sides_at(t);
        EXPECT_EQ(is_two_phase_t_s(t, c.s1), 1);
        EXPECT_EQ(is_two_phase_t_s(t, c.s2), 1);
        EXPECT_EQ(is_two_phase_t_s(t, 0.5 * (c.s1 + c.s2)), 1);
        EXPECT_EQ(is_two_phase_t_s(t, c.s1 - 0.01), 0);
        EXPECT_EQ(is_two_phase_t_s(t, c.s2 + 0.01), 0);
    }
}

TEST(IsTwoPhase, SameDomeFromPressure)
{
    for (double p : {0.02, 1.0, 10.0, 100.0, 165.0, 180.0, 210.0}) {
        SCOPED_TRACE(testing::Message() << "p=" << p);
        const double Ts = sat_temperature(p * 100000);
        double v1, h1, s1, v2, h2, s2;
        sat_liquid_props(Ts, p * 100000, &v1, &h1, &s1);
        sat_vapour_props(Ts, p * 100000, &v2, &h2, &s2);
        EXPECT_EQ(is_two_phase_p_s(p, 0.5 * (s1 + s2)), 1);
        EXPECT_EQ(is_two_phase_p_s(p, s1 - 0.5), 0);
        EXPECT_EQ(is_two_phase_p_s(p, s2 + 0.5), 0);
    }
}

// Just below 221 bar the saturation temperature lies within a few
// thousandths of a kelvin of the critical one; every test and mixture there
// must still answer with numbers.
TEST(WetState, JustBelowTheCriticalPressure)
{
    for (double p : {220.8, 220.9, 220.95, 220.99, 220.999}) {
        SCOPED_TRACE(testing::Message() << "p=" << p);
        double t, s, h, v, x;
        wet_state_from_p_x(p, 0.5, &t, &s, &h, &v);
        EXPECT_LT(t, 374.15 + 1e-9);
        EXPECT_GT(t, 373.9);
        EXPECT_TRUE(std::isfinite(s) && std::isfinite(h) && std::isfinite(v));
        EXPECT_EQ(is_two_phase_p_s(p, s), 1);
        wet_state_from_p_s(p, s, &t, &h, &v, &x);
        EXPECT_TRUE(std::isfinite(h) && std::isfinite(v) && std::isfinite(x));
    }
}

TEST(WetState, SaturationLinesGiveDrynessZeroAndOne)
{
    for (double t : {20.0, 100.0, 300.0, 370.0}) {
        SCOPED_TRACE(testing::Message() << "t=" << t);
        const Sides c = sides_at(t);
        double h, p, v, x;
        wet_state_from_t_s(t, c.s1, &h, &p, &v, &x);
        EXPECT_NEAR(x, 0.0, 1e-12);
        EXPECT_NEAR(h, c.h1, 1e-6);
        wet_state_from_t_s(t, c.s2, &h, &p, &v, &x);
        EXPECT_NEAR(x, 1.0, 1e-12);
        EXPECT_NEAR(v, c.v2, 1e-12);
        EXPECT_DOUBLE_EQ(p, c.Ps / 100000);
    }
}

TEST(WetState, HalfwayAtOneHundredDegrees)
{
    const Sides c = sides_at(100);
    double p, s, h, v;
    wet_state_from_t_x(100, 0.5, &p, &s, &h, &v);
    EXPECT_DOUBLE_EQ(p, sat_pressure(373.15) / 100000);
    EXPECT_NEAR(p, 1.01325, 0.001);
    EXPECT_DOUBLE_EQ(s, 0.5 * (c.s1 + c.s2));
    EXPECT_DOUBLE_EQ(h, 0.5 * (c.h1 + c.h2));
    EXPECT_DOUBLE_EQ(v, 0.5 * (c.v1 + c.v2));
}

// A mixture made from a dryness fraction and read back from its entropy (and
// the same from pressure) gives the fraction and the enthalpy back.
TEST(WetState, DrynessAndEntropyRoundTrip)
{
    struct Case {
        double t, p; // one of the two is the saturation point
    };
    const Case points[] = {{15, 0}, {100, 0}, {250, 0}, {350, 0}, {365, 0}, {373.5, 0},
                           {0, 0.02}, {0, 1}, {0, 50}, {0, 170}, {0, 215}};
    for (const Case &c : points) {
        for (double x0 : {0.0, 0.25, 0.9, 1.0}) {
            SCOPED_TRACE(testing::Message() << "t=" << c.t << " p=" << c.p << " x=" << x0);
            double p, t, s, h, v, h2, v2, x;
            if (c.p == 0) {
                wet_state_from_t_x(c.t, x0, &p, &s, &h, &v);
                ASSERT_EQ(is_two_phase_t_s(c.t, s), 1);
                wet_state_from_t_s(c.t, s, &h2, &p, &v2, &x);
            } else {
                wet_state_from_p_x(c.p, x0, &t, &s, &h, &v);
                ASSERT_EQ(is_two_phase_p_s(c.p, s), 1);
                wet_state_from_p_s(c.p, s, &t, &h2, &v2, &x);
            }
            EXPECT_NEAR(x, x0, 1e-9);
            EXPECT_NEAR(h2, h, 1e-6 * std::fabs(h) + 1e-6);
            EXPECT_NEAR(v2, v, 1e-9 * v);
        }
    }
}

TEST(WetState, AboveTwoHundredTwentyOneBarTheDrynessDoesNotMatter)
{
    double t0, s0, h0, v0;
    wet_state_from_p_x(500, 0.0, &t0, &s0, &h0, &v0);
    EXPECT_DOUBLE_EQ(t0, 647.3 - 273.15);
    for (double x : {0.3, 0.7, 1.0}) {
        double t, s, h, v;
        wet_state_from_p_x(500, x, &t, &s, &h, &v);
        EXPECT_EQ(t, t0);
        EXPECT_DOUBLE_EQ(s, s0);
        EXPECT_DOUBLE_EQ(h, h0);
        EXPECT_DOUBLE_EQ(v, v0);
    }
}

// At the critical point the lever rule has no value; the mixture must still
// be a number.
TEST(WetState, CriticalPointGivesNumbers)
{
    double h, p, v, x, t;
    wet_state_from_t_s(374.15, 4442.9, &h, &p, &v, &x);
    EXPECT_TRUE(std::isfinite(h) && std::isfinite(v) && std::isfinite(x));
    EXPECT_NEAR(p, 221.2, 1e-9);
    for (double pc : {221.0, 221.1, 221.2}) {
        ASSERT_EQ(is_two_phase_p_s(pc, 4442.9), 1);
        wet_state_from_p_s(pc, 4442.9, &t, &h, &v, &x);
        EXPECT_TRUE(std::isfinite(h) && std::isfinite(v) && std::isfinite(x)) << pc;
        EXPECT_GE(x, 0.0);
        EXPECT_LE(x, 1.0);
        EXPECT_DOUBLE_EQ(t, 374.15);
    }
}

} // namespace
