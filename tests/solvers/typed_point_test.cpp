// Typed points: the guard of every pair and the turbine expansion.
#include <cmath>

#include <gtest/gtest.h>

#include "solvers/typed_point.h"

TEST(TypedPoint, Guards)
{
    const struct { int pair; double a, b; int accepted; } guards[] = {
        {t_p, 0, 0, 0},         {t_p, 100, 0.02, 1},     {t_p, 100, 0.0199, 0},
        {t_p, 100, 1000, 1},    {t_p, 100, 1000.0001, 0}, {t_p, 10, 1, 1},
        {t_p, 9.99, 1, 0},      {t_p, 700, 1, 1},        {t_p, 700.01, 1, 0},
        {t_p, NAN, 1, 0},       {t_p, 100, INFINITY, 0}, {t_h, 20, 2400e3, 1},
        {t_h, 200, 9000e3, 0},  {t_h, 15, 2000e3, 0},    {p_h, 1, 50e3, 1},
        {p_h, 1, 30e3, 0},      {p_h, 2000, 1000e3, 0},  {t_s, 200, 2330, 1},
        {t_s, 100, 9500, 0},    {t_s, 5, 1000, 0},       {p_s, 100, 9000, 0},
        {p_s, 1, 50, 0},        {p_s, 0.02, 10000, 1},   {p_s, 0.02, 10000.001, 0},
        {p_s, 1, 5000, 1},      {t_x, 374.15, 0.5, 1},   {t_x, 374.16, 0.5, 0},
        {t_x, 100, -0.01, 0},   {t_x, 100, 1.01, 0},     {t_x, 9, 0.5, 0},
        {p_x, 500, 0.5, 1},     {p_x, 1000.5, 0.5, 0},   {p_x, 1, NAN, 0},
        {turbine, 1, 80, 0},    {42, 1, 1, 0},
    };
    for (const auto &g : guards) {
        SteamState st = {9, 9, 9, 9, 9, 9};
        const int accepted = solve_typed_point(g.pair, g.a, g.b, &st);
        EXPECT_EQ(accepted, g.accepted) << "pair " << g.pair << ": " << g.a << ", " << g.b;
        for (double value : {st.t, st.p, st.h, st.s, st.v, st.x})
            EXPECT_TRUE(accepted ? std::isfinite(value) : value == 9);
    }
}

TEST(Turbine, ExpansionAndItsBounds)
{
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
