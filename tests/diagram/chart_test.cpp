// The whole repaint, checked pixel by pixel at positions computed from the physics, and
// the panels with every fixed text inside them.
#include <gtest/gtest.h>

#include "diagram/diagram.h"
#include "memory_dc.h"
#include "properties/properties.h"
#include "solvers/solvers.h"

namespace {

constexpr int W = 994, H = 671;  // the Linux main window's client area
constexpr COLORREF black = RGB(0, 0, 0), grey = RGB(192, 192, 192), yellow = RGB(255, 255, 0);
const RECT client = {0, 0, W, H};
const DiagramFrame f = frame_from_client(&client);

// The chart as a repaint leaves it, drawn once; and the GDI objects it left behind.
const MemoryDC& chart(int* leaked = nullptr)
{
    static int left_behind = 0;
    static const MemoryDC* c = [] {
        MemoryDC* dc = new MemoryDC(W, H);
        const int before = vapora_gdi_object_count();
        DiagramFrame frame;
        draw_chart(dc->dc, &client, &frame);
        left_behind = vapora_gdi_object_count() - before;
        return dc;
    }();
    if (leaked)
        *leaked = left_behind;
    return *c;
}

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
    int leaked = -1;
    const MemoryDC& c = chart(&leaked);
    EXPECT_EQ(leaked, 0);
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

TEST(Panels, BevelColoursAreClampedAndShiftedAndMarkersAreFilledCircles)
{
    // Components clamped into 0..255 before the bevels take 32 more and 32 less.
    MemoryDC bevel(300, 300);
    draw_bevel_box(bevel.dc, 100, 100, 200, 160, 300, -20, 240);
    EXPECT_TRUE(bevel.at(100, 100) == RGB(255, 0, 240) && bevel.at(199, 159) == RGB(255, 0, 240));
    EXPECT_TRUE(bevel.at(97, 130) == RGB(255, 32, 255) && bevel.at(150, 97) == RGB(255, 32, 255));
    EXPECT_TRUE(bevel.at(203, 130) == RGB(223, 0, 208) && bevel.at(150, 163) == RGB(223, 0, 208));
    EXPECT_EQ(bevel.count_other(0, 0, 300, 300, black), 110 * 68);  // 5 and 4 pixels each side
    MemoryDC c(100, 100);
    draw_point_marker(c.dc, 50, 50, marker_red);
    const int red = c.count(47, 47, 53, 53, [](COLORREF p) { return p == marker_red; });
    EXPECT_TRUE(red >= 28 && red == c.count_other(0, 0, 100, 100, black));
}

TEST(Chart, TracersStillAdvanceWhenTheIntegerStepIsZero)
{
    MemoryDC tall(600, 800);
    const RECT r = {0, 0, 600, 800};
    DiagramFrame g;
    draw_chart(tall.dc, &r, &g);
    const double T = 473.15;
    EXPECT_TRUE(g.t_step == 0.0f && tall.at(s_to_px(g, sub1_entropy(T, sat_pressure(T))), t_to_px(g, 200)) == yellow);
}

}  // namespace
