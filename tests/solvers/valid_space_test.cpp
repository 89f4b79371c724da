// The valid space of each pair, on and just beyond each of its edges.
#include <gtest/gtest.h>

#include "solvers/solvers.h"

TEST(ValidSpace, EdgesOfEachPair)
{
    const auto at = [](double t, double p) {
        SteamState st = {t, p, 0, 0, 0, 0};
        state_from_t_p(t, p, &st.h, &st.s, &st.v, &st.x);
        return st;
    };
    const double p_lo = 0.019999999552965164; // 0.02 bar held in single precision
    double h_edge_500, h_edge_005, t, p, v, x;
    state_from_t_s(500, 10000, &h_edge_500, &p, &v, &x);
    state_from_p_s(0.05, 10000, &t, &h_edge_005, &v, &x);
    const auto ts = in_valid_space_t_s, th = in_valid_space_t_h;
    const auto ph = in_valid_space_p_h, ps = in_valid_space_p_s;
    const struct { int (*test)(double, double); double a, b; int inside; } cases[] = {
        // (t, s): 10..700 degC between the 1000 and 0.02 bar isobars, also
        // beyond the diagram's right edge
        {ts, 5, 1000, 0}, {ts, 10, at(10, 1000).s, 1}, {ts, 10, at(10, p_lo).s, 1},
        {ts, 700, at(700, p_lo).s, 1}, {ts, 300, at(300, 1000).s - 0.01, 0},
        {ts, 300, at(300, p_lo).s + 0.01, 0}, {ts, 500, 10500, 1},
        // (t, h): the same band, cut at s = 10000 at 500 degC; the wet steam at
        // 100 degC above the 1000 bar enthalpy
        {th, 500, h_edge_500, 1}, {th, 500, h_edge_500 + 1, 0}, {th, 500, at(500, 1000).h - 1, 0},
        {th, 100, at(100, p_lo).h, 1}, {th, 100, at(100, p_lo).h + 1, 0},
        {th, 100, 500e3, 1}, {th, 100, 480e3, 0},
        // (p, h): between the 10 and 700 degC isotherms, cut at s = 10000 at 0.05 bar
        {ph, 0.05, h_edge_005, 1}, {ph, 0.05, h_edge_005 + 1, 0}, {ph, 100, at(700, 100).h, 1},
        {ph, 100, at(700, 100).h + 1, 0}, {ph, 1000.001, 2000e3, 0},
        // (p, s): between the 10 and 700 degC isotherms, not cut at s = 10000
        {ps, 100, 9000, 0}, {ps, 1, 50, 0}, {ps, 0.02, 11000, 1}};
    for (const auto &c : cases)
        EXPECT_EQ(c.test(c.a, c.b), c.inside) << c.a << ", " << c.b;
}
