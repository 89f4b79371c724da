// The (T, P) evaluation: which subregion answers where, the phase flag, and
// the two sides of the saturation line.
#include <gtest/gtest.h>

#include "properties/properties.h"
#include "solvers/steam_state.h"

namespace {

struct Props {
    double v, h, s;
};

Props at(double T, double P)
{
    Props r;
    props_from_TP(T, P, &r.v, &r.h, &r.s);
    return r;
}

// Values of the formulation well inside subregions 1 and 2 (liquid first),
// and states on either side of each border between subregions, by the
// volume that tells the subregion apart.
TEST(PropsFromTP, ReferenceStatesAndSubregionBorders)
{
    struct Reference {
        double T, P, v, h, s;
    };
    const Reference references[] = {
        {293.15, 1e5, 0.00100168, 83953.6, 296.277},
        {573.15, 1e7, 0.00139785, 1343363.6, 3248.779},
        {623.15, 1e8, 0.00131478, 1550599.7, 3392.248},
        {473.15, 1e5, 2.172328, 2875357.3, 7834.945},
        {773.15, 1e7, 0.0327598, 3374598.2, 6599.445},
        {773.15, 1000, 356.8136, 3489225.1, 10961.182},
    };
    for (const Reference &c : references) {
        const Props r = at(c.T, c.P);
        EXPECT_NEAR(r.v, c.v, 2e-6 * c.v) << c.T << " " << c.P;
        EXPECT_NEAR(r.h, c.h, 0.2) << c.T << " " << c.P;
        EXPECT_NEAR(r.s, c.s, 0.002) << c.T << " " << c.P;
    }

    struct Border {
        double T, P, v_expected;
        const char *where;
    };
    const double Ps350 = sat_pressure(623.15), Ps640 = sat_pressure(640.0);
    const double PL640 = l_boundary_beta(640.0 / 647.3) * 22120000;
    const Border borders[] = {
        {623.15, Ps350, sub1_volume(623.15, Ps350), "350 degC on the saturation line: liquid"},
        {623.15, Ps350 - 0.5e-5, sub1_volume(623.15, Ps350), "within 1e-5 Pa below it: liquid"},
        {623.15, Ps350 - 1.0, sub2_volume(623.15, Ps350 - 1.0), "1 Pa below it: steam"},
        {640.0, PL640 * (1 - 1e-12), sub2_volume(640.0, PL640), "on the L line: subregion 2"},
        {640.0, Ps640 - 1e5, sub3_volume(640.0, Ps640 - 1e5), "between L line and saturation: 3"},
        {640.0, Ps640 + 1000, sub4_volume(640.0, Ps640 + 1000), "above saturation: subregion 4"},
        {647.2995, 3e7, sub3_volume(647.2995, 3e7), "0.0005 K below critical: 3, never 4"},
        {860.0, 1e8, sub2_volume(860.0, 1e8), "within 6 K of 863.15 K: 2 at 1000 bar"},
        {850.0, 1e8, sub3_volume(850.0, 1e8), "below that band: 3 above the L line"},
    };
    for (const Border &b : borders)
        EXPECT_NEAR(at(b.T, b.P).v, b.v_expected, 1e-7 * b.v_expected) << b.where;
}

TEST(StateFromTP, PhaseFlag)
{
    struct Case {
        double t, p, x;
    };
    const Case cases[] = {
        {300, 250, 0.0},   // compressed water above the critical pressure
        {200, 50, 1.0},    // compressed water below it
        {400, 300, 1.0},   // supercritical fluid
        {300, 221.2, 1.0}, // exactly the critical pressure
        {374.15, 300, 1.0},
    };
    for (const Case &c : cases) {
        double h, s, v, x;
        state_from_t_p(c.t, c.p, &h, &s, &v, &x);
        EXPECT_EQ(x, c.x) << "t=" << c.t << " p=" << c.p;
    }
}

TEST(SaturationSides, LiquidNearTheCriticalPointAndBothSidesMeetThere)
{
    struct Reference {
        double T, v, h, s;
    };
    const Reference cases[] = {
        {630.0, 0.00183807, 1733816, 3875.02},
        {640.0, 0.00207486, 1841227, 4037.06},
        {645.0, 0.00234867, 1931373, 4173.05},
    };
    for (const Reference &c : cases) {
        Props r;
        sat_liquid_props(c.T, sat_pressure(c.T), &r.v, &r.h, &r.s);
        EXPECT_NEAR(r.v, c.v, 2e-8) << c.T;
        EXPECT_NEAR(r.h, c.h, 30) << c.T;
        EXPECT_NEAR(r.s, c.s, 0.05) << c.T;
    }
    Props l, g;
    sat_liquid_props(647.3, 22120000, &l.v, &l.h, &l.s);
    sat_vapour_props(647.3, 22120000, &g.v, &g.h, &g.s);
    EXPECT_EQ(l.v, g.v);
    EXPECT_EQ(l.h, g.h);
    EXPECT_EQ(l.s, g.s);
    // The critical isotherm is flat there, so the saturated-liquid volume
    // search stops somewhat below the critical volume.
    EXPECT_NEAR(l.s, 4442.9, 30.0);
}

} // namespace
