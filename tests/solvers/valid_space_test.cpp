// The valid space of each pair and the state at a diagram point.
#include <cmath>

#include <gtest/gtest.h>

#include "properties/properties.h"
#include "solvers/bisection.h"
#include "solvers/steam_state.h"
#include "solvers/valid_space.h"

namespace {

const double low_isobar = 0.019999999552965164; // bar

double s_at(double t, double p, double *h = nullptr)
{
    double hh, s, v, x;
    state_from_t_p(t, p, h ? h : &hh, &s, &v, &x);
    return s;
}

double h_at(double t, double p)
{
    double h;
    s_at(t, p, &h);
    return h;
}

TEST(ValidSpace, EdgesOfEachPair)
{
    double h_edge_500, h_edge_005, t, p, v, x;
    state_from_t_s(500, 10000, &h_edge_500, &p, &v, &x);
    state_from_p_s(0.05, 10000, &t, &h_edge_005, &v, &x);
    const struct {
        int (*test)(double, double);
        double a, b;
        int inside;
        const char *why;
    } cases[] = {
        {in_valid_space_t_s, 5, 1000, 0, "(t, s) below 10 degC"},
        {in_valid_space_t_s, 10, s_at(10, 1000), 1, "on the 1000 bar isobar at 10 degC"},
        {in_valid_space_t_s, 10, s_at(10, low_isobar), 1, "on the 0.02 bar isobar at 10 degC"},
        {in_valid_space_t_s, 700, s_at(700, low_isobar), 1, "on the 0.02 bar isobar at 700 degC"},
        {in_valid_space_t_s, 300, s_at(300, 1000) - 0.01, 0, "left of the 1000 bar isobar"},
        {in_valid_space_t_s, 300, s_at(300, low_isobar) + 0.01, 0, "right of the 0.02 bar isobar"},
        {in_valid_space_t_s, 500, 10500, 1, "beyond the diagram edge but left of 0.02 bar"},
        {in_valid_space_t_h, 500, h_edge_500, 1, "500 degC at s = 10000"},
        {in_valid_space_t_h, 500, h_edge_500 + 1, 0, "500 degC just right of s = 10000"},
        {in_valid_space_t_h, 500, h_at(500, 1000) - 1, 0, "500 degC above 1000 bar"},
        {in_valid_space_t_h, 100, h_at(100, low_isobar), 1, "100 degC at 0.02 bar"},
        {in_valid_space_t_h, 100, h_at(100, low_isobar) + 1, 0, "100 degC below 0.02 bar"},
        {in_valid_space_t_h, 100, 500e3, 1, "wet steam above the 1000 bar enthalpy"},
        {in_valid_space_t_h, 100, 480e3, 0, "100 degC below the 1000 bar enthalpy"},
        {in_valid_space_p_h, 0.05, h_edge_005, 1, "0.05 bar at s = 10000"},
        {in_valid_space_p_h, 0.05, h_edge_005 + 1, 0, "0.05 bar just beyond s = 10000"},
        {in_valid_space_p_h, 100, h_at(700, 100), 1, "100 bar at 700 degC"},
        {in_valid_space_p_h, 100, h_at(700, 100) + 1, 0, "100 bar above 700 degC"},
        {in_valid_space_p_h, 1000.001, 2000e3, 0, "above 1000 bar"},
        {in_valid_space_p_s, 100, 9000, 0, "(p, s) beyond the 700 degC isotherm"},
        {in_valid_space_p_s, 1, 50, 0, "(p, s) below the 10 degC isotherm"},
        {in_valid_space_p_s, 0.02, 11000, 1, "(p, s) right of the edge at 0.02 bar"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.test(c.a, c.b), c.inside) << c.why;
}

// Every point inside answers with the state at the point, wet ones at the
// saturation pressure; outside nothing is written. A coarse grid over the
// diagram, denser near the critical point.
TEST(DiagramPoint, StatesOverTheDiagram)
{
    int inside = 0;
    auto check = [&](double t, double s) {
        SteamState st = {1, 2, 3, 4, 5, 6};
        const int in = state_at_diagram_point(t, s, &st);
        const bool wet = st.x > 0.0 && st.x < 1.0;
        inside += in;
        ASSERT_TRUE(in ? std::isfinite(st.h + st.v) && st.x >= 0 && st.x <= 1 : st.p == 2)
            << "t=" << t << " s=" << s;
        if (in && wet) {
            EXPECT_NEAR(st.p, sat_pressure(t + 273.15) / 1e5, 1e-9) << "t=" << t << " s=" << s;
        } else if (in && std::fabs(t - 374.15) > 1) {
            EXPECT_NEAR(s_at(t, st.p), s, 0.25) << "t=" << t << " s=" << s;
        }
    };
    for (double t = 0; t <= 700; t += 7.3)
        for (double s = 0; s <= 10000; s += 197)
            check(t, s);
    for (double t = 370; t <= 380; t += 0.37)
        for (double s = 4000; s <= 4900; s += 31.3)
            check(t, s);
    EXPECT_GT(inside, 1500);
}

} // namespace
