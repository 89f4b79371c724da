// The whole repaint, checked pixel by pixel at positions computed from the physics, and
// the panels with every fixed text inside them.
#include <gtest/gtest.h>

#include "diagram/diagram.h"
#include "memory_dc.h"
#include "properties/properties.h"
#include "solvers/solvers.h"

namespace {

// The Linux main window's client area.
constexpr int W = 994;
constexpr int H = 671;

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF grey = RGB(192, 192, 192);
constexpr COLORREF yellow = RGB(255, 255, 0);
constexpr COLORREF green = RGB(0, 255, 0);
constexpr COLORREF cyan = RGB(0, 255, 255);
const auto reddish = [](COLORREF p) { return GetRValue(p) > GetGValue(p) + 40; };

double isobar_s(double bar, double t)
{
    double v, h, s;
    props_from_TP(t + 273.15, static_cast<float>(bar) * 100000.0, &v, &h, &s);
    return s;
}

// Temperature (C) where the enthalpy along an isobar reaches h, by bisection.
double isobar_t_at_h(double bar, double h, double t_lo, double t_hi)
{
    for (int n = 0; n < 60; ++n) {
        const double t = (t_lo + t_hi) / 2, p = static_cast<float>(bar) * 100000.0;
        double v, ht, s;
        props_from_TP(t + 273.15, p, &v, &ht, &s);
        (ht < h ? t_lo : t_hi) = t;
    }
    return t_lo;
}

class ChartTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        canvas = new MemoryDC(W, H);
        const RECT client = {0, 0, W, H};
        const int before = vapora_gdi_object_count();
        draw_chart(canvas->dc, &client, &f);
        leaked = vapora_gdi_object_count() - before;
    }
    static void TearDownTestSuite() { delete canvas; }
    static COLORREF at(int x, int y) { return canvas->at(x, y); }
    static int right() { return f.origin_x + f.plot_width; }
    static int top() { return f.origin_y - f.plot_height; }

    static MemoryDC* canvas;
    static DiagramFrame f;
    static int leaked;
};

MemoryDC* ChartTest::canvas;
DiagramFrame ChartTest::f;
int ChartTest::leaked;

TEST_F(ChartTest, BlackBackgroundGreyGridWhiteAxesAndNoObjectLeft)
{
    EXPECT_EQ(leaked, 0);
    for (POINT p : {POINT{W - 1, 0}, POINT{W - 1, H - 1}, POINT{0, H - 1}, POINT{5, 30},
                    POINT{s_to_px(f, 1200), t_to_px(f, 500)}})
        EXPECT_EQ(at(p.x, p.y), black) << p.x << "," << p.y;
    // Grid lines where the integer form puts them, one pixel wide.
    for (int i : {1, 2}) {
        const int x = grid_line_x(f, i), y = t_to_px(f, 480);
        EXPECT_TRUE(at(x, y) == grey && at(x - 1, y) == black && at(x + 1, y) == black) << i;
    }
    for (int i : {10, 11}) {
        const int x = s_to_px(f, 1200), y = grid_line_y(f, i);
        EXPECT_TRUE(at(x, y) == grey && at(x, y - 1) == black && at(x, y + 1) == black) << i;
    }
    EXPECT_EQ(at(right(), t_to_px(f, 680)), grey);
    EXPECT_EQ(at(f.origin_x, t_to_px(f, 600)), white);
    EXPECT_EQ(at(s_to_px(f, 9900), f.origin_y), white);
}

TEST_F(ChartTest, CurvesLieWhereTheSteamTablesPutThem)
{
    // Dome vertices: the liquid branch at the mapping, the vapour branch one pixel left.
    for (double t : {20.0, 100.0, 200.0, 300.0, 345.0}) {
        const double T = t + 273.15, p = sat_pressure(T);
        const int y = t_to_px(f, t);
        EXPECT_EQ(at(s_to_px(f, sub1_entropy(T, p)), y), yellow) << "liquid " << t;
        EXPECT_EQ(at(static_cast<int>(sub2_entropy(T, p) * f.plot_width / 10000 + f.origin_x - 1.0), y), yellow) << t;
    }
    struct Isobar {
        double bar, t;
        COLORREF colour;
    };
    for (const Isobar& c : {Isobar{0.1, 150, green}, Isobar{1, 400, green}, Isobar{100, 200, green},
                            Isobar{1000, 500, green}, Isobar{221.2, 450, RGB(0, 130, 0)}})
        EXPECT_EQ(at(s_to_px(f, isobar_s(c.bar, c.t)), t_to_px(f, c.t)), c.colour) << c.bar;
    // Isenthalps pass within a pixel of their crossings with the isobars.
    struct Crossing {
        double mj, bar, t_lo;
    };
    for (const Crossing& c : {Crossing{2.8, 5, 160}, Crossing{3.0, 1, 100}, Crossing{3.4, 100, 311}}) {
        const double t = isobar_t_at_h(c.bar, c.mj * 1e6, c.t_lo, 700);
        const int x = s_to_px(f, isobar_s(c.bar, t)), y = t_to_px(f, t);
        EXPECT_GT(canvas->count_colour(x - 1, y - 1, x + 2, y + 2, cyan), 0) << c.mj;
    }
}

TEST_F(ChartTest, TickLabelsAndCaptionsWhereTheyBelong)
{
    for (int i = 1; i <= 14; ++i)
        EXPECT_GT(canvas->count_other(0, grid_line_y(f, i), f.origin_x, grid_line_y(f, i) + 10, black), 5) << i;
    for (int i = 0; i <= 19; ++i)
        EXPECT_GT(canvas->count_other(grid_line_x(f, i) - 10, f.origin_y + 1, grid_line_x(f, i) + 12, H, black), 2) << i;
    // None at s = 10 and none at t = 0.
    EXPECT_EQ(canvas->count_other(right() - 2, f.origin_y + 1, W, H, black), 0);
    EXPECT_EQ(canvas->count_other(0, f.origin_y - 5, f.origin_x - 1, f.origin_y + 1, black), 0);
    EXPECT_GT(canvas->count_other(f.origin_x + 3, top() + 3, f.origin_x + 60, top() + 16, black), 10);
    EXPECT_GT(canvas->count_other(right() - 60, f.origin_y - 15, right(), f.origin_y, black), 10);
}

TEST_F(ChartTest, TitlePanelCoversTheStatusLineAndHoldsItsTexts)
{
    EXPECT_EQ(at(77, 60), RGB(224, 224, 224));   // light bevel
    EXPECT_EQ(at(343, 60), RGB(160, 160, 160));  // dark bevel
    EXPECT_GT(canvas->count(162, 25, 300, 48, [](COLORREF p) { return GetBValue(p) > GetRValue(p) + 40; }), 30);
    for (int y : {50, 75, 89})
        EXPECT_GT(canvas->count_other(83, y, 340, y + 14, grey), 30) << y;
    // No red status pixel anywhere after the repaint.
    EXPECT_EQ(canvas->count(0, 0, W, H, reddish), 0);
}

// Every fixed text of the main window fits where it is placed: drawn alone over a
// black client, nothing but the panel itself changes.
TEST(PanelTexts, EveryTextStaysInsideItsPanel)
{
    const RECT client = {0, 0, W, H};
    const DiagramFrame f = frame_from_client(&client);
    const auto outside = [](const MemoryDC& c, RECT panel) {
        return c.count_other(0, 0, W, H, black) - c.count_other(panel.left, panel.top, panel.right, panel.bottom, black);
    };
    const RECT title = {75, 16, 345, 115};  // the panel, its bevel included
    const wchar_t* const prompts[][2] = {{start_prompt_line1, start_prompt_line2},
                                         {second_point_prompt_line1, second_point_prompt_line2},
                                         {outside_prompt_line1, outside_prompt_line2}};
    for (const auto& p : prompts) {
        MemoryDC c(W, H);
        draw_title_box(c.dc, p[0], p[1]);
        EXPECT_EQ(outside(c, title), 0) << "title panel";
    }
    for (const wchar_t* status : {status_drawing, status_thinking}) {
        MemoryDC c(W, H);
        draw_status_box(c.dc, status);
        EXPECT_GT(c.count(83, 70, 340, 90, reddish), 40);
        EXPECT_EQ(c.count(0, 0, W, H, reddish), c.count(80, 20, 341, 111, reddish));
    }
    // The widest values the readout shows: 700 C, 1000 bar, 3900 kJ/kg, 10 kJ/kg C and
    // the 225 m3/kg of steam at 0.02 bar and 700 C.
    MemoryDC c(W, H);
    draw_readout_panel(c.dc, f, SteamState{700, 1000e5, 3900e3, 10e3, 225.5, 1});
    const int l = readout_left, t = readout_top;
    EXPECT_EQ(outside(c, RECT{l - 5, t - 4, l + 106, t + 130}), 0);
    for (int line = 0; line < 6; ++line) {
        const int y = t + 30 + 15 * line;
        EXPECT_GT(c.count_other(l + 5, y, l + 100, y + 14, RGB(0, 130, 0)), 15) << line;
        EXPECT_EQ(c.count_other(l + 101, y, l + 105, y + 14, RGB(0, 98, 0)), 0) << line;
    }
}

TEST(PanelTexts, ShorterReadoutValuesWipeOutLongerOnes)
{
    const RECT client = {0, 0, 1000, 661};  // plot_height 643: the top drops the half pixel
    const DiagramFrame g = frame_from_client(&client);
    MemoryDC twice(W, H), once(W, H);
    draw_readout_panel(twice.dc, g, SteamState{100.5, 10.123e5, 1000.0e3, 10.123e3, 10.123, 0.50});
    draw_readout_panel(twice.dc, g, SteamState{99.5, 9.123e5, 999.0e3, 9.123e3, 9.123, 1.00});
    draw_readout_panel(once.dc, g, SteamState{99.5, 9.123e5, 999.0e3, 9.123e3, 9.123, 1.00});
    EXPECT_EQ(readout_top, g.origin_y - 321);
    EXPECT_EQ(twice.differing(once), 0);
}

TEST(Pieces, BevelColoursAreClampedAndShiftedAndMarkersAreFilledCircles)
{
    struct Case {
        int r, g, b;
        COLORREF face, light, dark;
    };
    for (const Case& k : {Case{0, 130, 0, RGB(0, 130, 0), RGB(32, 162, 32), RGB(0, 98, 0)},
                          Case{300, -20, 240, RGB(255, 0, 240), RGB(255, 32, 255), RGB(223, 0, 208)}}) {
        MemoryDC c(300, 300);
        draw_bevel_box(c.dc, 100, 100, 200, 160, k.r, k.g, k.b);
        EXPECT_EQ(c.at(100, 100), k.face);
        EXPECT_EQ(c.at(199, 159), k.face);
        EXPECT_TRUE(c.at(97, 130) == k.light && c.at(150, 97) == k.light);
        EXPECT_TRUE(c.at(203, 130) == k.dark && c.at(150, 163) == k.dark);
        EXPECT_EQ(c.count_other(0, 0, 300, 300, black), 110 * 68);  // 5 and 4 pixels each side
    }
    MemoryDC c(100, 100);
    draw_point_marker(c.dc, 50, 50, marker_red);
    EXPECT_EQ(c.count_colour(0, 0, 100, 100, marker_red), c.count_other(0, 0, 100, 100, black));
    EXPECT_EQ(c.count_colour(47, 47, 53, 53, marker_red), c.count_other(0, 0, 100, 100, black));
    EXPECT_GE(c.count_colour(47, 47, 53, 53, marker_red), 28);
}

TEST(TallClient, TracersStillAdvanceWhenTheIntegerStepIsZero)
{
    MemoryDC tall(600, 800);
    const RECT client = {0, 0, 600, 800};
    DiagramFrame f;
    draw_chart(tall.dc, &client, &f);
    EXPECT_EQ(f.t_step, 0.0f);
    const double T = 473.15;
    EXPECT_EQ(tall.at(s_to_px(f, sub1_entropy(T, sat_pressure(T))), t_to_px(f, 200)), yellow);
}

}  // namespace
