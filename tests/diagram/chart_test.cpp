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

TEST(Chart, GridAxesAndCurvesLieWhereTheMappingAndTheSteamTablesPutThem) {
    MemoryDC c(W, H);
    const int before = vapora_gdi_object_count();
    DiagramFrame frame;
    draw_chart(c.dc, &client, &frame);
    EXPECT_EQ(vapora_gdi_object_count(), before);
    // The title panel with its prompts is drawn last, over the red status line.
    EXPECT_GT(c.count(83, 89, 340, 103, [](COLORREF p) { return p != grey; }), 30);
    EXPECT_EQ(c.count(0, 0, W, H, [](COLORREF p) { return GetRValue(p) > GetGValue(p) + 40; }), 0);
    for (int i : {1, 11}) {  // one pixel wide, where the integer form puts them
        const int x = grid_line_x(f, i), y = grid_line_y(f, i), ty = t_to_px(f, 480),
                  sx = s_to_px(f, 1200);
        EXPECT_TRUE(c.at(x, ty) == grey && c.at(x + 1, ty) == black && c.at(sx, y) == grey &&
                    c.at(sx, y - 1) == black)
            << i;
    }
    EXPECT_TRUE(c.at(f.origin_x, t_to_px(f, 600)) == RGB(255, 255, 255) &&
                c.at(s_to_px(f, 9900), f.origin_y) == RGB(255, 255, 255));
    // Dome vertices: the liquid branch at the mapping, the vapour branch one pixel left.
    for (double t : {20.0, 200.0, 345.0}) {
        const double T = t + 273.15, p = sat_pressure(T);
        const int y = t_to_px(f, t);
        EXPECT_TRUE(c.at(s_to_px(f, sub1_entropy(T, p)), y) == yellow &&
                    c.at(s_to_px(f, sub2_entropy(T, p)) - 1, y) == yellow)
            << t;
    }
    // Entropy and enthalpy on an isobar (bar, as the tracer rounds it to float) at t C.
    double v, h, s;
    const auto isobar_s = [&](double bar, double t) {
        return props_from_TP(t + 273.15, float(bar) * 1e5, &v, &h, &s), s;
    };
    for (double bar : {0.1, 1.0, 100.0, 221.2, 1000.0})
        EXPECT_EQ(c.at(s_to_px(f, isobar_s(bar, 450)), t_to_px(f, 450)),
                  bar == 221.2 ? RGB(0, 130, 0) : RGB(0, 255, 0))
            << bar;
    // Isenthalps pass within a pixel of their crossings with the isobars (t by bisection).
    for (auto [mj, bar, lo] : {std::tuple{2.8, 5.0, 160.0}, {3.4, 100.0, 311.0}}) {
        double hi = 700;
        for (int n = 0; n < 60; ++n)
            isobar_s(bar, (lo + hi) / 2), (h < mj * 1e6 ? lo : hi) = (lo + hi) / 2;
        const int x = s_to_px(f, isobar_s(bar, lo)), y = t_to_px(f, lo);
        EXPECT_GT(
            c.count(x - 1, y - 1, x + 2, y + 2, [](COLORREF p) { return p == RGB(0, 255, 255); }),
            0)
            << mj;
    }
}

// The frame of the 994 x 671 client: origin (20, 655), plot 972 x 653.
TEST(Frame, MappingTruncatesTowardTheOriginAndTheTopAndTheGridIsInteger) {
    // 48.6 pixels per half kJ/kg C and 46.64 per 50 C; 11.99 -> 11 and 645.67 -> 645. Far
    // beyond any window, or not a number: held at a billion pixels, never overflowing.
    // clang-format off
    for (auto [s, t, x, y] : {std::tuple{0.0, 0.0, 20, 655}, {10000.0, 700.0, 992, 2},
                              {500.0, 50.0, 68, 608}, {9500.0, 650.0, 943, 48}, {123.4, 10.0, 31, 645},
                              {1e300, 1e300, 1000000000, -1000000000},
                              {NAN, -1e300, 1000000000, 1000000000}})
        EXPECT_TRUE(s_to_px(f, s) == x && t_to_px(f, t) == y) << s << " " << t;
    // clang-format on
    EXPECT_TRUE(px_to_s(f, 20) == 0 && px_to_s(f, 992) == 10000 && px_to_t(f, 655) == 0 &&
                px_to_t(f, 2) == 700);
    const RECT r = {0, 0, 1000, 660};
    const DiagramFrame g = frame_from_client(&r);  // plot_height 642: 32100 / 700 = 45.857...
    EXPECT_TRUE(grid_line_y(g, 1) == g.origin_y - 45 && grid_line_x(g, 1) == g.origin_x + 48);
    EXPECT_TRUE(grid_line_y(g, 14) == 2 && grid_line_x(g, 20) == g.origin_x + g.plot_width);
}

TEST(Isenthalps, TheCrossingDetectorKeepsTheNearestTracedPointWithinTheTolerance) {
    // The enthalpies of the traced points 1, 2, 3 (0: none), the level looked at and the
    // point its slot must hold (-1: empty).
    for (auto [what, h1, h2, h3, level, x] :
         {std::tuple{"passing 2.6 MJ/kg: the nearer of the two", 2.597e6, 2.602e6, 2.609e6, 0, 2},
          {"nearest 9.0 kJ/kg off: within the tolerance", 2.591e6, 2.62e6, 0.0, 0, 1},
          {"nearest 9.2 kJ/kg off: outside it", 2.5908e6, 2.62e6, 0.0, 0, -1},
          {"a step jumping over a level", 2.69e6, 2.71e6, 0.0, 1, -1},
          {"a slot keeps the last point it receives", 2.60e6, 2.695e6, 2.70e6, 1, 3}}) {
        CrossingGrid grid;
        clear_crossings(&grid);
        double r = 42e3, h[] = {h1, h2, h3};
        for (int i = 0; i < 3 && h[i] > 0; ++i)
            note_crossing(&grid, 3, &r, h[i], i + 1, 10 * (i + 1));
        EXPECT_TRUE(grid.x[level][3] == x && grid.x[level][2] == -1) << what;
    }
}

TEST(Isenthalps, EndsLieOnTheLowestIsobarOrTheRightAndTopEdges) {
    EXPECT_NEAR(sub2_enthalpy(973.15, top_edge_pressure(3.5e6).value), 3.5e6, 250);
    draw_isolines(MemoryDC(W, H).dc, f);
    // 2.6 to 3.0 MJ/kg are labelled where they cross 0.02 bar, the others at the right edge.
    for (int k = 0; k < isenthalp_count; ++k)
        EXPECT_TRUE(k <= 4 ? label_anchor[k].x == crossing_grid.x[k][0] &&
                                 label_anchor[k].y == crossing_grid.y[k][0]
                           : label_anchor[k].x == f.origin_x + f.plot_width)
            << k;
    EXPECT_EQ(label_anchor[10].y, t_to_px(f, right_edge_temperature(3.6e6, 0.5e5).value));
}

}  // namespace
