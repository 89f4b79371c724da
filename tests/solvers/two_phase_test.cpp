// The dome and the wet-steam mixtures.
#include <cmath>

#include <gtest/gtest.h>

#include "properties/properties.h"
#include "solvers/solvers.h"

// At the critical point both saturated sides are one state, only its entropy
// is two-phase, and the mixture there (where the lever rule has no value)
// still answers with numbers.
TEST(IsTwoPhase, CriticalPoint) {
    double l[3], g[3], h, p, v, x;
    sat_liquid_props(647.3, 22120000, &l[0], &l[1], &l[2]);
    sat_vapour_props(647.3, 22120000, &g[0], &g[1], &g[2]);
    EXPECT_TRUE(l[0] == g[0] && l[1] == g[1] && l[2] == g[2]);
    wet_state_from_t_s(374.15, 4442.9, &h, &p, &v, &x);
    EXPECT_TRUE(std::isfinite(h) && std::isfinite(v) && x >= 0.0 && x <= 1.0);
    EXPECT_EQ(is_two_phase_t_s(374.15, 4442.9) + is_two_phase_p_s(221.0, 4442.9), 2);
    for (double s : {3000.0, 4442.8, 4443.0, 6000.0})
        EXPECT_EQ(is_two_phase_t_s(374.15, s) + is_two_phase_p_s(221.0, s) +
                      is_two_phase_t_s(374.16, s) + is_two_phase_p_s(221.21, s),
                  0)
            << s;
}

// Mixtures made from a dryness fraction at a temperature or a pressure, up to
// just below the critical point: the lever rule between the saturated sides;
// their entropy is in the dome, the saturation lines included and just beyond
// them not; and they read back with the same state from (t, s) or (p, s), and
// from (t, h) or (p, h), whose last probe lies inside the dome.
TEST(WetState, DrynessRoundTrips) {
    const std::pair<double, double> points[] = {{10, 0},  {100, 0},    {250, 0},
                                                {365, 0}, {374.14, 0}, {0, 0.02},
                                                {0, 1},   {0, 170},    {0, 220.999}};
    for (const auto& [t0, p0] : points) {
        for (double x0 : {0.0, 0.3, 1.0}) {
            SCOPED_TRACE(testing::Message() << "t=" << t0 << " p=" << p0 << " x=" << x0);
            const bool by_t = p0 == 0;
            double t = t0, p = p0, s, h, v, v1, h1, s1, v2, h2, s2, a, b, vb, xb;
            by_t ? wet_state_from_t_x(t, x0, &p, &s, &h, &v)
                 : wet_state_from_p_x(p, x0, &t, &s, &h, &v);
            sat_liquid_props(t + 273.15, p * 1e5, &v1, &h1, &s1);
            sat_vapour_props(t + 273.15, p * 1e5, &v2, &h2, &s2);
            EXPECT_NEAR(h, h1 + x0 * (h2 - h1), 1e-6);
            EXPECT_NEAR(v, v1 + x0 * (v2 - v1), 1e-12);
            const auto in_dome = [&](double sd) {
                return by_t ? is_two_phase_t_s(t, sd) : is_two_phase_p_s(p, sd);
            };
            EXPECT_EQ(in_dome(s), 1);
            EXPECT_EQ(in_dome(s + 0.02 * (x0 - 0.5)), x0 == 0.3);
            by_t ? wet_state_from_t_s(t, s, &a, &b, &vb, &xb)
                 : wet_state_from_p_s(p, s, &b, &a, &vb, &xb);
            EXPECT_NEAR(xb, x0, 1e-9);
            EXPECT_NEAR(a, h, 1e-6 * std::fabs(h) + 1e-6);
            EXPECT_NEAR(vb, v, 1e-9 * v);
            if (x0 != 0.3) continue;
            ASSERT_EQ(by_t ? try_state_from_t_h(t, h, &a, &b, &vb, &xb)
                           : try_state_from_p_h(p, h, &a, &b, &vb, &xb),
                      1);
            EXPECT_NEAR(a, by_t ? p : t, by_t ? 0 : 0.01);
            EXPECT_NEAR(xb, x0, 250 / (h2 - h1));
            EXPECT_NEAR(vb, v, 250 / (h2 - h1) * (v2 - v1));
        }
    }
}
