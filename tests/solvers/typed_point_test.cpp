// Typed points: the guard of every pair, the valid spaces behind them, and the
// turbine expansion.
#include <cmath>
#include <tuple>

#include <gtest/gtest.h>

#include "solvers/solvers.h"

// Every pair's guard, with the valid space of (t, s), (t, h), (p, h) and
// (p, s) on and just beyond each of its edges; a refusal writes nothing.
TEST(TypedPoint, Guards) {
    const auto at = [](double t, double p) {
        SteamState st = {t, p, 0, 0, 0, 0};
        state_from_t_p(t, p, &st.h, &st.s, &st.v, &st.x);
        return st;
    };
    const double p_lo = 0.019999999552965164;   // 0.02 bar held in single precision
    double h_edge_500, h_edge_005, t, p, v, x;  // where s = 10000 cuts 500 degC and 0.05 bar
    state_from_t_s(500, 10000, &h_edge_500, &p, &v, &x);
    state_from_p_s(0.05, 10000, &t, &h_edge_005, &v, &x);
    // clang-format off
    const std::tuple<int, double, double, int> guards[] = {
        // Rows of cases by pair and edge.
        {t_p, 0, 0, 0}, {t_p, 100, 0.02, 1}, {t_p, 100, 0.0199, 0}, {t_p, 100, 1000, 1},
        {t_p, 100, 1000.0001, 0}, {t_p, 10, 1, 1}, {t_p, 9.99, 1, 0}, {t_p, 700, 1, 1},
        {t_p, 700.01, 1, 0}, {t_p, NAN, 1, 0}, {t_p, 100, INFINITY, 0},
        {t_x, 374.15, 0.5, 1}, {t_x, 374.16, 0.5, 0}, {t_x, 100, -0.01, 0}, {t_x, 100, 1.01, 0},
        {t_x, 9, 0.5, 0}, {p_x, 500, 0.5, 1}, {p_x, 1000.5, 0.5, 0}, {p_x, 1, NAN, 0},
        {turbine, 1, 80, 0}, {42, 1, 1, 0},
        // (t, s): 10..700 degC between the 1000 and 0.02 bar isobars, also beyond the
        // diagram's right edge
        {t_s, 5, 1000, 0}, {t_s, 9.99, at(10, 1000).s, 0}, {t_s, 10, at(10, 1000).s, 1},
        {t_s, 10, at(10, p_lo).s, 1}, {t_s, 700, at(700, p_lo).s, 1},
        {t_s, 300, at(300, 1000).s - 0.01, 0}, {t_s, 300, at(300, p_lo).s + 0.01, 0},
        {t_s, 500, 10500, 1}, {t_s, 200, 2330, 1},
        // (t, h): the same band, cut at s = 10000 where that edge comes first; at 100 degC
        // the wet steam lies above the 1000 bar enthalpy
        {t_h, 500, h_edge_500, 1}, {t_h, 500, h_edge_500 + 1, 0}, {t_h, 100, 500e3, 1},
        {t_h, 500, at(500, 1000).h - 1, 0}, {t_h, 100, at(100, p_lo).h, 1},
        {t_h, 100, 480e3, 0}, {t_h, 100, at(100, p_lo).h + 1, 0}, {t_h, 20, 2400e3, 1},
        {t_h, 15, 2000e3, 0},
        // (p, h): 0.02..1000 bar between the 10 and 700 degC isotherms, cut at s = 10000
        {p_h, 0.05, h_edge_005, 1}, {p_h, 0.05, h_edge_005 + 1, 0}, {p_h, 100, at(700, 100).h, 1},
        {p_h, 100, at(700, 100).h + 1, 0}, {p_h, 1000.001, 2000e3, 0}, {p_h, 1, 50e3, 1},
        {p_h, 1, 30e3, 0},
        // (p, s): between the same isotherms and at most 10000
        {p_s, 100, 9000, 0}, {p_s, 1, 50, 0}, {p_s, 0.02, 10000, 1}, {p_s, 0.02, 10000.001, 0},
        {p_s, 1, 5000, 1}};
    // clang-format on
    for (const auto& [pair, a, b, expected] : guards) {
        SteamState st = {9, 9, 9, 9, 9, 9};
        const int accepted = solve_typed_point(pair, a, b, &st);
        EXPECT_EQ(accepted, expected) << "pair " << pair << ": " << a << ", " << b;
        for (double value : {st.t, st.p, st.h, st.s, st.v, st.x})
            EXPECT_TRUE(accepted ? std::isfinite(value) : value == 9);
    }
}

TEST(Turbine, ExpansionAndItsBounds) {
    SteamState in, iso, out;
    ASSERT_EQ(solve_typed_point(t_p, 500, 100, &in), 1);
    ASSERT_EQ(turbine_expansion(&in, 0.1, 85, &iso, &out), 1);
    EXPECT_EQ(iso.s, in.s);
    EXPECT_EQ(iso.p, 0.1);
    EXPECT_TRUE(iso.x > 0.7 && iso.x < 0.9);
    EXPECT_NEAR(out.h, iso.h + 0.15 * (in.h - iso.h), 1e-6);
    EXPECT_NEAR(out.p, 0.1, 1e-4);
    EXPECT_GT(out.x, iso.x);
    // 0 %: no work, the enthalpy stays; 100 %: the isentropic outlet.
    ASSERT_EQ(turbine_expansion(&in, 5, 0, &iso, &out), 1);
    EXPECT_EQ(out.h, in.h);
    ASSERT_EQ(turbine_expansion(&in, 5, 100, &iso, &out), 1);
    EXPECT_EQ(out.h, iso.h);
    for (double eta : {-0.01, 100.01, double(NAN)})
        EXPECT_EQ(turbine_expansion(&in, 5, eta, &iso, &out), 0) << eta;
    for (double p2 : {0.0199, 1000.01})
        EXPECT_EQ(turbine_expansion(&in, p2, 80, &iso, &out), 0) << p2;
    // Compressing steam to 1000 bar would end far above 700 degC.
    ASSERT_EQ(solve_typed_point(t_p, 500, 10, &in), 1);
    EXPECT_EQ(turbine_isentropic_end(&in, 1000, 80, &iso), 0);
    // With no work done the outlet at 0.02 bar lies beyond the diagram's right
    // edge: refused, but the isentropic end is kept.
    ASSERT_EQ(solve_typed_point(t_p, 700, 1, &in), 1);
    out.t = 7;
    EXPECT_EQ(turbine_expansion(&in, 0.02, 0, &iso, &out), 0);
    EXPECT_EQ(iso.p, 0.02);
    EXPECT_EQ(out.t, 7);
}
