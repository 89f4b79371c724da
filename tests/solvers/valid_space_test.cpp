// The valid space and the state at a diagram point.
#include <cmath>

#include <gtest/gtest.h>

#include "properties/properties.h"
#include "solvers/bisection.h"
#include "solvers/steam_state.h"
#include "solvers/two_phase.h"
#include "solvers/valid_space.h"

namespace {

const double p_low_isobar = 1999.9999552965164; // Pa

double entropy_at(double t, double P)
{
    double v, h, s;
    props_from_TP(t + 273.15, P, &v, &h, &s);
    return s;
}

double enthalpy_t_p(double t, double p)
{
    double h, s, v, x;
    state_from_t_p(t, p, &h, &s, &v, &x);
    return h;
}

TEST(ValidSpaceTS, Edges)
{
    struct Case {
        double t, s;
        int inside;
        const char *why;
    };
    const Case cases[] = {
        {5, 1000, 0, "below 10 degC"},
        {700.01, 8000, 0, "above 700 degC"},
        {10, entropy_at(10, 1e8), 1, "on the 1000 bar isobar at 10 degC"},
        {10, entropy_at(10, p_low_isobar), 1, "on the 0.02 bar isobar at 10 degC"},
        {700, entropy_at(700, 1e8), 1, "on the 1000 bar isobar at 700 degC"},
        {700, entropy_at(700, p_low_isobar), 1, "on the 0.02 bar isobar at 700 degC"},
        {300, entropy_at(300, 1e8) - 0.01, 0, "left of the 1000 bar isobar"},
        {300, entropy_at(300, p_low_isobar) + 0.01, 0, "right of the 0.02 bar isobar"},
        {500, 10500, 1, "beyond the diagram edge but left of 0.02 bar"},
        {100, 5000, 1, "inside the dome"},
        {NAN, 5000, 0, "no temperature"},
        {100, NAN, 0, "no entropy"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(in_valid_space_t_s(c.t, c.s), c.inside) << c.why;
}

TEST(ValidSpaceTH, CutAtTheDiagramEdgeWhereItComesFirst)
{
    double h10000, p, v, x;
    state_from_t_s(500, 10000, &h10000, &p, &v, &x);
    const double h500_low = enthalpy_t_p(500, 0.019999999552965164);
    // Steam at 500 degC is nearly an ideal gas: the cut is small, but real.
    ASSERT_GT(h500_low, h10000 + 10);
    const double h100_low = enthalpy_t_p(100, 0.019999999552965164);
    struct Case {
        double t, h;
        int inside;
        const char *why;
    };
    const Case cases[] = {
        {500, h10000, 1, "500 degC at s = 10000"},
        {500, h10000 + 1, 0, "500 degC just right of s = 10000"},
        {500, h500_low, 0, "500 degC at 0.02 bar lies beyond the edge"},
        {500, enthalpy_t_p(500, 1000), 1, "500 degC at 1000 bar"},
        {500, enthalpy_t_p(500, 1000) - 1, 0, "500 degC above 1000 bar"},
        {100, h100_low, 1, "100 degC at 0.02 bar"},
        {100, h100_low + 1, 0, "100 degC below 0.02 bar"},
        {100, 500e3, 1, "wet steam at 100 degC above the 1000 bar enthalpy"},
        {100, 480e3, 0, "100 degC below the 1000 bar enthalpy"},
        {15, 1000e3, 0, "below 17.5 degC nothing is inside"},
        {15, 63e3, 0, "below 17.5 degC nothing is inside"},
        {5, 1000e3, 0, "below 10 degC"},
        {100, NAN, 0, "no enthalpy"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(in_valid_space_t_h(c.t, c.h), c.inside) << c.why;
}

TEST(ValidSpacePH, CutAtTheDiagramEdgeWhereItComesFirst)
{
    double t, h10000, v, x;
    state_from_p_s(0.05, 10000, &t, &h10000, &v, &x);
    struct Case {
        double p, h;
        int inside;
        const char *why;
    };
    const Case cases[] = {
        {0.05, h10000, 1, "0.05 bar at s = 10000"},
        {0.05, h10000 + 1, 0, "0.05 bar just beyond s = 10000"},
        {0.05, enthalpy_t_p(700, 0.05), 0, "0.05 bar at 700 degC lies beyond the edge"},
        {100, enthalpy_t_p(700, 100), 1, "100 bar at 700 degC"},
        {100, enthalpy_t_p(700, 100) + 1, 0, "100 bar above 700 degC"},
        {100, enthalpy_t_p(10, 100), 1, "100 bar at 10 degC"},
        {100, enthalpy_t_p(10, 100) - 1, 0, "100 bar below 10 degC"},
        {0.02, 2000e3, 1, "a typed 0.02 bar"},
        {0.0199, 2000e3, 0, "below 0.02 bar"},
        {1000, 2000e3, 1, "1000 bar"},
        {1000.001, 2000e3, 0, "above 1000 bar"},
        {NAN, 2000e3, 0, "no pressure"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(in_valid_space_p_h(c.p, c.h), c.inside) << c.why;
}

TEST(ValidSpacePS, BandBetweenTheIsotherms)
{
    EXPECT_EQ(in_valid_space_p_s(100, 9000), 0);
    EXPECT_EQ(in_valid_space_p_s(1, 50), 0);
    EXPECT_EQ(in_valid_space_p_s(1, 7000), 1);
    EXPECT_EQ(in_valid_space_p_s(0.02, 11000), 1);
    EXPECT_EQ(in_valid_space_p_s(0.006, 7000), 0);
    EXPECT_EQ(in_valid_space_p_s(1500, 5000), 0);
}

TEST(DiagramPoint, OutsideWritesNothing)
{
    for (double t : {5.0, 700.5, -20.0}) {
        SteamState st = {1, 2, 3, 4, 5, 6};
        EXPECT_EQ(state_at_diagram_point(t, 5000, &st), 0);
        EXPECT_EQ(st.p, 2);
        EXPECT_EQ(st.x, 6);
    }
    SteamState st = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(state_at_diagram_point(100, 9500, &st), 0); // right of 0.02 bar
    EXPECT_EQ(st.h, 3);
}

TEST(DiagramPoint, WetCompressedAndSteam)
{
    SteamState st;
    ASSERT_EQ(state_at_diagram_point(100, 4000, &st), 1);
    EXPECT_GT(st.x, 0.0);
    EXPECT_LT(st.x, 1.0);
    EXPECT_NEAR(st.p, 1.013, 0.001);
    EXPECT_EQ(st.t, 100);
    EXPECT_EQ(st.s, 4000);

    // Compressed water below the critical pressure carries the flag 1.0.
    ASSERT_EQ(state_at_diagram_point(50, entropy_at(50, 5e6), &st), 1);
    EXPECT_EQ(st.x, 1.0);
    EXPECT_LT(st.p, 221.2);

    ASSERT_EQ(state_at_diagram_point(400, 6500, &st), 1);
    EXPECT_NEAR(entropy_at(400, st.p * 100000), 6500, 0.25);
}

// The readout over the plot: every point inside answers with numbers. A
// coarse grid over the diagram, denser near the critical point.
TEST(DiagramPoint, NoNaNOverTheDiagram)
{
    int inside = 0;
    auto check = [&](double t, double s) {
        SteamState st;
        if (!state_at_diagram_point(t, s, &st))
            return;
        ++inside;
        ASSERT_TRUE(std::isfinite(st.h) && std::isfinite(st.p) && std::isfinite(st.v) &&
                    std::isfinite(st.x))
            << "t=" << t << " s=" << s;
        ASSERT_GE(st.x, 0.0);
        ASSERT_LE(st.x, 1.0);
    };
    for (double t = 0; t <= 700; t += 7.3)
        for (double s = 0; s <= 10000; s += 97)
            check(t, s);
    for (double t = 370; t <= 380; t += 0.37)
        for (double s = 4000; s <= 4900; s += 11.3)
            check(t, s);
    EXPECT_GT(inside, 3000);
}

} // namespace
