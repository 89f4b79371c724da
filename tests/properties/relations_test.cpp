// Property relations that hold wherever a formula of the formulation holds:
// h and s are derivatives of one Gibbs function g(T, p) in subregions 1 and 2
// and of one Helmholtz function f(T, v) in subregions 3 and 4, so finite
// differences of the library's own functions must satisfy dh = T ds + v dp
// and the Maxwell relation. A stored product or a dropped term that differs
// between v, h and s breaks them. Across each subregion boundary the values
// must join to within the formulation's own consistency.
#include <gtest/gtest.h>

#include <cmath>

#include "properties/properties.h"

namespace {

typedef double (*Fn)(double, double);

double d_dx(Fn f, double x, double y, double d) {
    return (f(x + d, y) - f(x - d, y)) / (2 * d);
}
double d_dy(Fn f, double x, double y, double d) {
    return (f(x, y + d) - f(x, y - d)) / (2 * d);
}

// Subregions 1 and 2 at (T, p): (dh/dT)p = T (ds/dT)p, (dh/dp)T = v + T (ds/dp)T
// and (ds/dp)T = -(dv/dT)p, each to a few millionths of its scale.
void expect_gibbs_relations(Fn v, Fn h, Fn s, double T, double p) {
    SCOPED_TRACE(testing::Message() << T << " K, " << p << " Pa");
    const double dT = 1e-3, dp = 1e-5 * p, vol = v(T, p);
    const double s_T = d_dx(s, T, p, dT), s_p = d_dy(s, T, p, dp);
    EXPECT_NEAR(d_dx(h, T, p, dT), T * s_T, 3e-6 * T * s_T);
    EXPECT_NEAR(d_dy(h, T, p, dp), vol + T * s_p, 1e-6 * vol);
    EXPECT_NEAR(s_p, -d_dx(v, T, p, dT), 1e-5 * vol / T);
}

// Subregions 3 and 4 at (T, v): (dh/dv)T = T (ds/dv)T + v (dp/dv)T, the
// Maxwell relation (ds/dv)T = (dp/dT)v and (dh/dT)v = T (ds/dT)v + v (dp/dT)v.
// Within a band about 647.3 K where some of the functions take their 647.3 K
// forms, only the relations between the others hold.
enum Relations { h_v = 1, maxwell = 2, h_T = 4, all = 7 };

void expect_helmholtz_relations(Fn p, Fn h, Fn s, double T, double v, int which = all) {
    SCOPED_TRACE(testing::Message() << T << " K, " << v << " m3/kg");
    const double dT = 1e-4, dv = 1e-6 * v;
    const double s_v = d_dy(s, T, v, dv), p_T = d_dx(p, T, v, dT), s_T = d_dx(s, T, v, dT);
    const double h_v_gap = d_dy(h, T, v, dv) - T * s_v - v * d_dy(p, T, v, dv);
    const double h_T_gap = d_dx(h, T, v, dT) - T * s_T - v * p_T, h_T_scale = T * s_T + v * p_T;
    EXPECT_TRUE(!(which & h_v) || std::fabs(h_v_gap) <= 1e-6 * T * std::fabs(s_v)) << h_v_gap;
    EXPECT_TRUE(!(which & maxwell) || std::fabs(s_v - p_T) <= 1e-6 * std::fabs(p_T)) << s_v - p_T;
    EXPECT_TRUE(!(which & h_T) || std::fabs(h_T_gap) <= 1e-6 * std::fabs(h_T_scale)) << h_T_gap;
}

// Subregion 1 above the saturation line, subregion 2 below it (below the L line
// above 623.15 K) and beyond 857.15 K at every pressure. Cold water at high
// pressure is where the terms of highest pressure power count most.
TEST(PropertyRelations, CompressedLiquidAndSteam) {
    for (double T : {273.16, 283.15, 300.0, 350.0, 373.15, 400.0, 450.0, 500.0, 550.0, 600.0,
                     623.15, 650.0, 700.0, 800.0, 860.0, 1073.15})
        for (double p : {5e3, 1e5, 1e6, 1e7, 2e7, 3e7, 5e7, 1e8}) {
            const double p_top =
                T <= 623.15 ? sat_pressure(T) : 2.212e7 * l_boundary_beta(T / 647.3);
            if (T <= 623.15 && p > p_top)
                expect_gibbs_relations(sub1_volume, sub1_enthalpy, sub1_entropy, T, p);
            if (p < p_top || T > 857.15)
                expect_gibbs_relations(sub2_volume, sub2_enthalpy, sub2_entropy, T, p);
        }
}

TEST(PropertyRelations, CriticalRegionAndLiquidNearIt) {
    // 647.295 and 647.305 K lie just outside the bands of the 647.3 K forms;
    // 0.003173 m3/kg just outside the band of the critical volume's logarithm.
    for (double T : {623.15, 640.0, 647.295, 647.305, 650.0, 700.0, 800.0, 863.15})
        for (double v : {0.0015, 0.0022, 0.003173, 0.0045, 0.0088})
            expect_helmholtz_relations(sub3_pressure, sub3_enthalpy, sub3_entropy, T, v);
    for (double v : {0.0022, 0.003173, 0.0045}) {
        expect_helmholtz_relations(sub3_pressure, sub3_enthalpy, sub3_entropy, 647.3, v, h_v);
        expect_helmholtz_relations(sub3_pressure, sub3_enthalpy, sub3_entropy, 647.3005, v,
                                   maxwell);
    }
    for (double T : {623.16, 626.0, 630.0, 640.0, 645.5, 647.0})
        for (double v : {0.0013, 0.0017, 0.0022, 0.0026})
            expect_helmholtz_relations(sub4_pressure, sub4_enthalpy, sub4_entropy, T, v);
}

TEST(SubregionBoundaries, ValuesJoin) {
    // Subregion 4 just above 623.15 K meets subregion 1 at 623.15 K.
    for (double p : {16535124.0, 2e7, 3e7, 5e7, 1e8}) {
        const double T = 623.15 + 1e-6, v = sub4_volume(T, p);
        EXPECT_NEAR(v, sub1_volume(623.15, p), 2e-4 * v) << p;
        EXPECT_NEAR(sub4_enthalpy(T, v), sub1_enthalpy(623.15, p), 200.0) << p;
        EXPECT_NEAR(sub4_entropy(T, v), sub1_entropy(623.15, p), 0.25) << p;
    }
    // Subregion 3 just above the L line meets subregion 2 on it.
    for (double T : {623.15, 630.0, 647.3, 650.0, 700.0, 800.0, 857.0}) {
        const double pL = 2.212e7 * l_boundary_beta(T / 647.3), v = sub3_volume(T, pL + 2.0);
        EXPECT_NEAR(v, sub2_volume(T, pL), 4e-4 * v) << T;
        EXPECT_NEAR(sub3_enthalpy(T, v), sub2_enthalpy(T, pL), 150.0) << T;
        EXPECT_NEAR(sub3_entropy(T, v), sub2_entropy(T, pL), 0.2) << T;
    }
    // At 647.3 K the correction of subregion 4 vanishes; the 647.3 K forms of
    // subregion 3 join its general ones within the terms they drop.
    const Fn sub3[] = {sub3_pressure, sub3_enthalpy, sub3_entropy};
    const Fn sub4[] = {sub4_pressure, sub4_enthalpy, sub4_entropy};
    const double beside[] = {647.300002, 647.302, 647.300002}, gap[] = {10.0, 60.0, 1e-3};
    for (double v : {0.0019, 0.00317, 0.0045})
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(sub4[i](647.3, v), sub3[i](647.3, v)) << v;
            EXPECT_NEAR(sub3[i](647.3, v), sub3[i](beside[i], v), gap[i]) << v;
        }
}

}  // namespace
