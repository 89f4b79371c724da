// The dome tests and the wet-steam mixtures.
#include <cmath>

#include <gtest/gtest.h>

#include "properties/properties.h"
#include "solvers/steam_state.h"
#include "solvers/two_phase.h"

namespace {

// At the critical point only its entropy is two-phase, and the mixture there
// (where the lever rule has no value) still answers with numbers.
TEST(IsTwoPhase, CriticalTemperatureAndPressure)
{
    double h, p, v, x;
    wet_state_from_t_s(374.15, 4442.9, &h, &p, &v, &x);
    EXPECT_TRUE(std::isfinite(h) && std::isfinite(v) && x >= 0.0 && x <= 1.0);
    EXPECT_EQ(is_two_phase_t_s(374.15, 4442.9), 1);
    EXPECT_EQ(is_two_phase_p_s(221.0, 4442.9), 1);
    for (double s : {3000.0, 4442.8, 4443.0, 6000.0}) {
        EXPECT_EQ(is_two_phase_t_s(374.15, s), 0) << s;
        EXPECT_EQ(is_two_phase_p_s(221.0, s), 0) << s;
        EXPECT_EQ(is_two_phase_t_s(374.16, s), 0) << s;
        EXPECT_EQ(is_two_phase_p_s(221.21, s), 0) << s;
    }
}

// Both saturation lines belong to the dome, give x = 0 and x = 1 and the
// saturated sides; a mixture made from a dryness fraction reads back from its
// entropy with the same fraction, enthalpy and volume, from a temperature and
// from a pressure up to just below the critical one.
TEST(WetState, SaturationLinesAndDrynessRoundTrip)
{
    for (double t : {10.0, 100.0, 250.0, 350.0, 360.0, 374.14}) {
        SCOPED_TRACE(testing::Message() << "t=" << t);
        const double T = t + 273.15, Ps = sat_pressure(T);
        double v1, h1, s1, v2, h2, s2, h, p, v, x, sm, hm, vm;
        sat_liquid_props(T, Ps, &v1, &h1, &s1);
        sat_vapour_props(T, Ps, &v2, &h2, &s2);
        EXPECT_EQ(is_two_phase_t_s(t, s1), 1);
        EXPECT_EQ(is_two_phase_t_s(t, s2), 1);
        EXPECT_EQ(is_two_phase_t_s(t, s1 - 0.01), 0);
        EXPECT_EQ(is_two_phase_t_s(t, s2 + 0.01), 0);
        wet_state_from_t_s(t, s1, &h, &p, &v, &x);
        EXPECT_DOUBLE_EQ(p, Ps / 100000);
        wet_state_from_t_x(t, 0.5, &p, &sm, &hm, &vm);
        EXPECT_NEAR(hm, 0.5 * (h1 + h2), 1e-6);
        EXPECT_NEAR(vm, 0.5 * (v1 + v2), 1e-12);
    }
    // One of t and p is the saturation point, the other 0.
    const struct { double t, p; } points[] = {{15, 0},   {100, 0}, {365, 0},   {373.5, 0},
                                              {0, 0.02}, {0, 1},   {0, 170},   {0, 220.999}};
    for (const auto &c : points) {
        for (double x0 : {0.0, 0.25, 1.0}) {
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

} // namespace
