// The frame and its mapping, the isenthalps' crossings and ends, and the whole repaint,
// checked pixel by pixel at positions computed from the physics.
#include <gtest/gtest.h>

#include <cmath>

#include "diagram/diagram.h"
#include "memory_dc.h"
#include "properties/properties.h"
#include "solvers/solvers.h"

namespace {

constexpr int W = 994, H = 671;  // the Linux main window's client area
constexpr COLORREF black = RGB(0, 0, 0), grey = RGB(192, 192, 192), yellow = RGB(255, 255, 0);
const RECT client = {0, 0, W, H};
const DiagramFrame f = frame_from_client(&client);

// Entropy on an isobar (bar, as the tracer rounds it to float) at t, and the t where the
// isobar's enthalpy reaches h, by bisection.
double isobar_s(double bar, double t, double* h = nullptr)
{
    double v, hh, s;
    props_from_TP(t + 273.15, static_cast<float>(bar) * 100000.0, &v, &hh, &s);
    if (h)
        *h = hh;
    return s;
}
double isobar_t_at_h(double bar, double h, double lo, double hi)
{
    for (int n = 0; n < 60; ++n) {
        double ht;
        isobar_s(bar, (lo + hi) / 2, &ht);
        (ht < h ? lo : hi) = (lo + hi) / 2;
    }
    return lo;
}

TEST(Chart, GridAxesAndCurvesLieWhereTheMappingAndTheSteamTablesPutThem)
{
    MemoryDC c(W, H);
    const int before = vapora_gdi_object_count();
    DiagramFrame frame;
    draw_chart(c.dc, &client, &frame);
    EXPECT_EQ(vapora_gdi_object_count(), before);
    // The title panel with its prompts is drawn last, over the red status line.
    EXPECT_GT(c.count_other(83, 89, 340, 103, grey), 30);
    EXPECT_EQ(c.count(0, 0, W, H, [](COLORREF p) { return GetRValue(p) > GetGValue(p) + 40; }), 0);
    for (int i : {1, 11}) {  // one pixel wide, where the integer form puts them
        const int x = grid_line_x(f, i), y = grid_line_y(f, i);
        EXPECT_TRUE(c.at(x, t_to_px(f, 480)) == grey && c.at(x + 1, t_to_px(f, 480)) == black) << i;
        EXPECT_TRUE(c.at(s_to_px(f, 1200), y) == grey && c.at(s_to_px(f, 1200), y - 1) == black) << i;
    }
    EXPECT_TRUE(c.at(f.origin_x, t_to_px(f, 600)) == RGB(255, 255, 255) && c.at(s_to_px(f, 9900), f.origin_y) == RGB(255, 255, 255));
    // Dome vertices: the liquid branch at the mapping, the vapour branch one pixel left.
    for (double t : {20.0, 200.0, 345.0}) {
        const double T = t + 273.15, p = sat_pressure(T);
        EXPECT_EQ(c.at(s_to_px(f, sub1_entropy(T, p)), t_to_px(f, t)), yellow) << t;
        EXPECT_EQ(c.at(static_cast<int>(sub2_entropy(T, p) * f.plot_width / 10000 + f.origin_x - 1.0), t_to_px(f, t)), yellow) << t;
    }
    for (double bar : {0.1, 1.0, 100.0, 1000.0})
        EXPECT_EQ(c.at(s_to_px(f, isobar_s(bar, 500)), t_to_px(f, 500)), RGB(0, 255, 0)) << bar;
    EXPECT_EQ(c.at(s_to_px(f, isobar_s(221.2, 450)), t_to_px(f, 450)), RGB(0, 130, 0));
    // Isenthalps pass within a pixel of their crossings with the isobars.
    struct Crossing {
        double mj, bar, t_lo;
    };
    for (const Crossing& k : {Crossing{2.8, 5, 160}, Crossing{3.4, 100, 311}}) {
        const double t = isobar_t_at_h(k.bar, k.mj * 1e6, k.t_lo, 700);
        const int x = s_to_px(f, isobar_s(k.bar, t)), y = t_to_px(f, t);
        EXPECT_GT(c.count(x - 1, y - 1, x + 2, y + 2, [](COLORREF p) { return p == RGB(0, 255, 255); }), 0) << k.mj;
    }
}

// The frame of the 994 x 671 client: origin (20, 655), plot 972 x 653.
TEST(Frame, MappingTruncatesTowardTheOriginAndTheTopAndTheGridIsInteger)
{
    struct Case {
        double s, t;
        int x, y;
    };
    // 48.6 pixels per half kJ/kg C and 46.64 per 50 C; 11.99 -> 11 and 645.67 -> 645.
    for (const Case& c : {Case{0, 0, 20, 655}, Case{10000, 700, 992, 2}, Case{500, 50, 68, 608},
                          Case{9500, 650, 943, 48}, Case{123.4, 10, 31, 645}})
        EXPECT_TRUE(s_to_px(f, c.s) == c.x && t_to_px(f, c.t) == c.y) << c.s << " " << c.t;
    // Far beyond any window, or not a number: held at a billion pixels, never overflowing.
    EXPECT_EQ(s_to_px(f, 1e300), 1000000000);
    EXPECT_EQ(t_to_px(f, 1e300), -1000000000);
    EXPECT_EQ(s_to_px(f, NAN), 1000000000);
    EXPECT_TRUE(px_to_s(f, 20) == 0 && px_to_s(f, 992) == 10000 && px_to_t(f, 655) == 0 && px_to_t(f, 2) == 700);
    const RECT r = {0, 0, 1000, 660};
    const DiagramFrame g = frame_from_client(&r);  // plot_height 642: 32100 / 700 = 45.857...
    EXPECT_TRUE(grid_line_y(g, 1) == g.origin_y - 45 && grid_line_x(g, 1) == g.origin_x + 48);
    EXPECT_TRUE(grid_line_y(g, 14) == 2 && grid_line_x(g, 20) == g.origin_x + g.plot_width);
}

TEST(Isenthalps, TheCrossingDetectorKeepsTheNearestTracedPointWithinTheTolerance)
{
    struct Case {
        const char* name;
        double h[3];  // enthalpies of the traced points 1, 2, 3 (0: none)
        int level, x;  // the slot looked at and the point it must hold (-1: empty)
    };
    for (const Case& c : {Case{"passing 2.6 MJ/kg: the nearer of the two", {2.597e6, 2.602e6, 2.609e6}, 0, 2},
                          Case{"nearest but outside the tolerance", {2.585e6, 2.615e6, 0}, 0, -1},
                          Case{"a step jumping over a level", {2.69e6, 2.71e6, 0}, 1, -1},
                          Case{"a slot keeps the last point it receives", {2.60e6, 2.695e6, 2.70e6}, 1, 3}}) {
        CrossingGrid grid;
        clear_crossings(&grid);
        double r = 42e3;
        for (int i = 0; i < 3 && c.h[i] > 0; ++i)
            note_crossing(&grid, 3, &r, c.h[i], i + 1, 10 * (i + 1));
        EXPECT_EQ(grid.x[c.level][3], c.x) << c.name;
        EXPECT_EQ(grid.x[c.level][2], -1) << c.name;
    }
}

TEST(Isenthalps, EndsLieOnTheLowestIsobarOrTheRightAndTopEdges)
{
    EXPECT_NEAR(sub2_enthalpy(973.15, top_edge_pressure(3.5e6).value), 3.5e6, 250);
    draw_isolines(MemoryDC(W, H).dc, f);
    for (int k = 0; k < isenthalp_count; ++k) {
        // 2.6 to 3.0 MJ/kg are labelled where they cross 0.02 bar, the others at the right edge.
        EXPECT_EQ(label_anchor[k].x, k <= 4 ? crossing_grid.x[k][0] : f.origin_x + f.plot_width) << k;
        EXPECT_TRUE(k > 4 || label_anchor[k].y == crossing_grid.y[k][0]) << k;
    }
    EXPECT_EQ(label_anchor[10].y, t_to_px(f, right_edge_temperature(3.6e6, 0.5e5).value));
}

}  // namespace
