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
    EXPECT_EQ(is_two_phase_p_s(221.0, 4442.9), 1);
    for (double s : {3000.0, 4442.8, 4443.0, 6000.0}) {
        EXPECT_EQ(is_two_phase_t_s(374.15, s), 0) << s;
        EXPECT_EQ(is_two_phase_p_s(221.0, s), 0) << s;
    }
    for (double s : {3000.0, 4442.9, 6000.0}) {
        EXPECT_EQ(is_two_phase_t_s(374.16, s), 0) << s;
        EXPECT_EQ(is_two_phase_p_s(221.21, s), 0) << s;
    }
}

// Both saturation lines belong to the dome and give x = 0 and x = 1.
TEST(IsTwoPhase, BoundaryLinesBelongToTheDome)
{
    for (double t : {10.0, 100.0, 250.0, 350.0, 360.0, 373.0}) {
        SCOPED_TRACE(testing::Message() << "t=" << t);
        const Sides c = sides_at(t);
        EXPECT_EQ(is_two_phase_t_s(t, c.s1), 1);
        EXPECT_EQ(is_two_phase_t_s(t, c.s2), 1);
        EXPECT_EQ(is_two_phase_t_s(t, c.s1 - 0.01), 0);
        EXPECT_EQ(is_two_phase_t_s(t, c.s2 + 0.01), 0);
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
    EXPECT_NEAR(p, 1.01325, 0.001);
    EXPECT_DOUBLE_EQ(s, 0.5 * (c.s1 + c.s2));
    EXPECT_DOUBLE_EQ(h, 0.5 * (c.h1 + c.h2));
    EXPECT_DOUBLE_EQ(v, 0.5 * (c.v1 + c.v2));
}

// A mixture made from a dryness fraction lies inside the dome by the test
// and reads back from its entropy with the same fraction and enthalpy; from
// a temperature and from a pressure, up to just below the critical pressure,
// where the saturation temperature is within thousandths of a kelvin of the
// critical one.
TEST(WetState, DrynessAndEntropyRoundTrip)
{
    struct Point {
        double t, p; // one of them is the saturation point, the other 0
    };
    const Point points[] = {{15, 0},   {100, 0},   {250, 0},    {350, 0},    {365, 0},
                            {373.5, 0}, {0, 0.02}, {0, 1},      {0, 170},    {0, 215},
                            {0, 220.8}, {0, 220.95}, {0, 220.999}};
    for (const Point &c : points) {
        for (double x0 : {0.0, 0.25, 0.9, 1.0}) {
            SCOPED_TRACE(testing::Message() << "t=" << c.t << " p=" << c.p << " x=" << x0);
            double p, t, s, h, v, h2, v2, x;
            if (c.p == 0) {
                wet_state_from_t_x(c.t, x0, &p, &s, &h, &v);
                ASSERT_EQ(is_two_phase_t_s(c.t, s), 1);
                wet_state_from_t_s(c.t, s, &h2, &p, &v2, &x);
            } else {
                wet_state_from_p_x(c.p, x0, &t, &s, &h, &v);
                EXPECT_LE(t, 374.15);
                ASSERT_EQ(is_two_phase_p_s(c.p, s), 1);
                wet_state_from_p_s(c.p, s, &t, &h2, &v2, &x);
            }
            EXPECT_NEAR(x, x0, 1e-9);
            EXPECT_NEAR(h2, h, 1e-6 * std::fabs(h) + 1e-6);
            EXPECT_NEAR(v2, v, 1e-9 * v);
        }
    }
}

TEST(WetState, CriticalRegionAnswersWithNumbers)
{
    // From 221 bar up both sides are the same critical-isotherm state.
    double t0, s0, h0, v0, t, s, h, v, p, x;
    wet_state_from_p_x(500, 0.0, &t0, &s0, &h0, &v0);
    EXPECT_DOUBLE_EQ(t0, 374.15);
    wet_state_from_p_x(500, 0.7, &t, &s, &h, &v);
    EXPECT_DOUBLE_EQ(h, h0);
    EXPECT_DOUBLE_EQ(v, v0);
    // At the critical point the lever rule has no value.
    wet_state_from_t_s(374.15, 4442.9, &h, &p, &v, &x);
    EXPECT_TRUE(std::isfinite(h) && std::isfinite(v) && std::isfinite(x));
    EXPECT_NEAR(p, 221.2, 1e-9);
    for (double pc : {221.0, 221.1, 221.2}) {
        wet_state_from_p_s(pc, 4442.9, &t, &h, &v, &x);
        EXPECT_TRUE(std::isfinite(h) && std::isfinite(v)) << pc;
        EXPECT_GE(x, 0.0);
        EXPECT_LE(x, 1.0);
    }
}

} // namespace
