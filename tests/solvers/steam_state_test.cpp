// The (T, P) evaluation: which subregion answers where, the phase flag, and
// the two sides of the saturation line.
#include <cmath>

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

Props sub1(double T, double P) { return {sub1_volume(T, P), sub1_enthalpy(T, P), sub1_entropy(T, P)}; }
Props sub2(double T, double P) { return {sub2_volume(T, P), sub2_enthalpy(T, P), sub2_entropy(T, P)}; }
Props sub3(double T, double P)
{
    const double v = sub3_volume(T, P);
    return {v, sub3_enthalpy(T, v), sub3_entropy(T, v)};
}
Props sub4(double T, double P)
{
    const double v = sub4_volume(T, P);
    return {v, sub4_enthalpy(T, v), sub4_entropy(T, v)};
}

void expect_same(const Props &a, const Props &b)
{
    EXPECT_DOUBLE_EQ(a.v, b.v);
    EXPECT_DOUBLE_EQ(a.h, b.h);
    EXPECT_DOUBLE_EQ(a.s, b.s);
}

// Values of the formulation at points well inside a subregion: the decision
// must send each one to the functions that give them.
struct Reference {
    double T, P, v, h, s;
};

TEST(PropsFromTP, ReferenceStatesOfTheLiquidAndTheSteam)
{
    const Reference cases[] = {
        {293.15, 1e5, 0.00100168, 83953.6, 296.277},
        {573.15, 1e7, 0.00139785, 1343363.6, 3248.779},
        {623.15, 1e8, 0.00131478, 1550599.7, 3392.248},
        {473.15, 1e5, 2.172328, 2875357.3, 7834.945},
        {573.15, 1e6, 0.257976, 3052143.2, 7125.143},
        {773.15, 1e7, 0.0327598, 3374598.2, 6599.445},
        {773.15, 1000, 356.8136, 3489225.1, 10961.182},
    };
    for (const Reference &c : cases) {
        SCOPED_TRACE(testing::Message() << "T=" << c.T << " P=" << c.P);
        const Props r = at(c.T, c.P);
        EXPECT_NEAR(r.v, c.v, 2e-6 * c.v);
        EXPECT_NEAR(r.h, c.h, 0.2);
        EXPECT_NEAR(r.s, c.s, 0.002);
    }
}

TEST(PropsFromTP, SubregionAtTheBoundaries)
{
    const double T350 = 623.15;
    const double Ps350 = sat_pressure(T350);
    // 350 degC belongs to subregions 1 and 2: liquid at and above the
    // saturation pressure, also within 1e-5 Pa below it; steam below.
    expect_same(at(T350, Ps350), sub1(T350, Ps350));
    expect_same(at(T350, Ps350 - 0.5e-5), sub1(T350, Ps350 - 0.5e-5));
    expect_same(at(T350, Ps350 - 1.0), sub2(T350, Ps350 - 1.0));
    expect_same(at(T350, 5e7), sub1(T350, 5e7));
    const double T100 = 373.15;
    const double Ps100 = sat_pressure(T100);
    expect_same(at(T100, Ps100 - 0.5e-5), sub1(T100, Ps100 - 0.5e-5));
    expect_same(at(T100, Ps100 - 1e-3), sub2(T100, Ps100 - 1e-3));

    // Near-critical band below 647.3 K: subregion 2 up to the L line,
    // subregion 3 from there to the saturation pressure, 4 above it.
    const double T = 640.0;
    const double PL = l_boundary_beta(T / 647.3) * 22120000;
    const double Ps = sat_pressure(T);
    expect_same(at(T, PL * (1 - 1e-12)), sub2(T, PL * (1 - 1e-12)));
    expect_same(at(T, 0.5 * (PL + Ps)), sub3(T, 0.5 * (PL + Ps)));
    expect_same(at(T, Ps + 1000), sub4(T, Ps + 1000));

    // 0.0005 K below the critical temperature counts as supercritical:
    // subregion 3 at high pressure, never subregion 4.
    const double Tc = 647.3 - 0.0005;
    expect_same(at(Tc, 3e7), sub3(Tc, 3e7));
    // Above the L line, but within 6 K of 863.15 K: subregion 2.
    expect_same(at(860.0, 1e8), sub2(860.0, 1e8));
    expect_same(at(850.0, 1e8), sub3(850.0, 1e8));
}

TEST(PropsFromTP, ContinuousAcrossSubregionBorders)
{
    struct Border {
        double T1, P1, T2, P2, dh, ds;
    };
    // Pairs of states a hair apart on either side of a border between
    // subregions: the formulation joins them within a small step.
    const double PL700 = l_boundary_beta(700.0 / 647.3) * 22120000;
    const Border borders[] = {
        {623.15, 5e7, 623.16, 5e7, 400, 0.7},          // subregion 1 to 4
        {623.15, 1.2e7, 623.16, 1.2e7, 400, 0.7},      // subregion 2 on both sides
        {700.0, PL700 * 0.9999, 700.0, PL700 * 1.0001, 3000, 5},   // 2 to 3
        {647.3 - 0.002, 3e7, 647.3 + 0.002, 3e7, 3000, 5},         // 4 to 3
    };
    for (const Border &b : borders) {
        SCOPED_TRACE(testing::Message() << "T=" << b.T1 << " P=" << b.P1);
        const Props a = at(b.T1, b.P1), c = at(b.T2, b.P2);
        EXPECT_NEAR(a.h, c.h, b.dh);
        EXPECT_NEAR(a.s, c.s, b.ds);
    }
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
        {200, 1, 1.0},     // steam
        {300, 221.2, 1.0}, // exactly the critical pressure
        {374.15, 300, 1.0},
    };
    for (const Case &c : cases) {
        double h, s, v, x;
        state_from_t_p(c.t, c.p, &h, &s, &v, &x);
        EXPECT_EQ(x, c.x) << "t=" << c.t << " p=" << c.p;
    }
}

TEST(StateFromTP, ConvertsAtTheBoundary)
{
    double h, s, v, x;
    state_from_t_p(100, 1.01325, &h, &s, &v, &x);
    const Props r = at(373.15, 101325);
    EXPECT_DOUBLE_EQ(h, r.h);
    EXPECT_DOUBLE_EQ(s, r.s);
    EXPECT_DOUBLE_EQ(v, r.v);
}

TEST(SaturationSides, SaturatedLiquidNearTheCriticalPoint)
{
    const Reference cases[] = {
        {630.0, 0, 0.00183807, 1733816, 3875.02},
        {640.0, 0, 0.00207486, 1841227, 4037.06},
        {645.0, 0, 0.00234867, 1931373, 4173.05},
    };
    for (const Reference &c : cases) {
        SCOPED_TRACE(testing::Message() << "T=" << c.T);
        Props r;
        sat_liquid_props(c.T, sat_pressure(c.T), &r.v, &r.h, &r.s);
        EXPECT_NEAR(r.v, c.v, 2e-8);
        EXPECT_NEAR(r.h, c.h, 30);
        EXPECT_NEAR(r.s, c.s, 0.05);
    }
}

TEST(SaturationSides, VapourAboveLiquidBelowTheCriticalPoint)
{
    for (double T : {283.15, 373.15, 473.15, 573.15, 623.15, 623.2, 635.0, 645.0, 647.0}) {
        SCOPED_TRACE(testing::Message() << "T=" << T);
        const double Ps = sat_pressure(T);
        Props l, g;
        sat_liquid_props(T, Ps, &l.v, &l.h, &l.s);
        sat_vapour_props(T, Ps, &g.v, &g.h, &g.s);
        EXPECT_LT(l.v, g.v);
        EXPECT_LT(l.h, g.h);
        EXPECT_LT(l.s, g.s);
    }
}

TEST(SaturationSides, MeetAtTheCriticalPoint)
{
    Props l, g;
    sat_liquid_props(647.3, 22120000, &l.v, &l.h, &l.s);
    sat_vapour_props(647.3, 22120000, &g.v, &g.h, &g.s);
    expect_same(l, g);
    // The critical isotherm is flat there, so the saturated-liquid volume
    // search stops somewhat below the critical volume.
    EXPECT_NEAR(l.s, 4442.9, 30.0);
}

} // namespace
