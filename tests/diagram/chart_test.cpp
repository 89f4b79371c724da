// The whole repaint, checked pixel by pixel at positions computed from the physics.
#include <gtest/gtest.h>

#include <algorithm>

#include "canvas.h"
#include "diagram/diagram.h"
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

double bar_pa(double bar) { return static_cast<double>(static_cast<float>(bar)) * 100000.0; }

double isobar_s(double p, double t)
{
    double v, h, s;
    props_from_TP(t + 273.15, p, &v, &h, &s);
    return s;
}

// Temperature (C) where the enthalpy along an isobar reaches h, by bisection.
double isobar_t_at_h(double p, double h, double t_lo, double t_hi)
{
    for (int n = 0; n < 60; ++n) {
        const double t = (t_lo + t_hi) / 2;
        double v, ht, s;
        props_from_TP(t + 273.15, p, &v, &ht, &s);
        (ht < h ? t_lo : t_hi) = t;
    }
    return t_lo;
}

class ChartTest : public testing::Test {
protected:
    static Canvas canvas;
    static DiagramFrame f;
    static int objects_before, objects_after;

    static void SetUpTestSuite()
    {
        canvas = open_canvas(W, H);
        const RECT client = {0, 0, W, H};
        objects_before = vapora_gdi_object_count();
        draw_chart(canvas.hdc, &client, &f);
        objects_after = vapora_gdi_object_count();
    }
    static void TearDownTestSuite() { close_canvas(&canvas); }

    static COLORREF at(int x, int y) { return pixel(canvas, x, y); }
    static int right() { return f.origin_x + f.plot_width; }
    static int top() { return f.origin_y - f.plot_height; }
};

Canvas ChartTest::canvas;
DiagramFrame ChartTest::f;
int ChartTest::objects_before;
int ChartTest::objects_after;

TEST_F(ChartTest, LeavesNoGdiObjectBehind)
{
    EXPECT_EQ(objects_after, objects_before);
}

TEST_F(ChartTest, BlackBackgroundGreyGridWhiteAxes)
{
    // Corners, the margin between two temperature labels, empty plot cells.
    for (POINT p : {POINT{W - 1, 0}, POINT{W - 1, H - 1}, POINT{0, H - 1}, POINT{5, 30},
                    POINT{s_to_px(f, 1200), t_to_px(f, 500)},
                    POINT{s_to_px(f, 2700), t_to_px(f, 560)}})
        EXPECT_EQ(at(p.x, p.y), black) << p.x << "," << p.y;
    // Grid lines where the integer form puts them (which is not always where the mapping
    // would), one pixel wide, seen where no curve passes and below the title panel.
    for (int i : {1, 2}) {
        const int x = grid_line_x(f, i), y = t_to_px(f, 480);
        EXPECT_EQ(at(x, y), grey) << "vertical " << i;
        EXPECT_EQ(at(x - 1, y), black);
        EXPECT_EQ(at(x + 1, y), black);
    }
    for (int i : {10, 11}) {
        const int x = s_to_px(f, 1200), y = grid_line_y(f, i);
        EXPECT_EQ(at(x, y), grey) << "horizontal " << i;
        EXPECT_EQ(at(x, y - 1), black);
        EXPECT_EQ(at(x, y + 1), black);
    }
    EXPECT_EQ(at(s_to_px(f, 1200), top()), grey);         // top border
    EXPECT_EQ(at(right(), t_to_px(f, 680)), grey);        // right border
    EXPECT_EQ(at(f.origin_x, t_to_px(f, 600)), white);    // left axis
    EXPECT_EQ(at(s_to_px(f, 9900), f.origin_y), white);   // bottom axis
}

TEST_F(ChartTest, DomeIsYellowOnTheSaturationLine)
{
    // Each traced temperature is a vertex of the dome's polylines, so its pixel is
    // exact: the liquid branch at the mapping, the vapour branch one pixel left of it.
    for (double t : {20.0, 100.0, 200.0, 300.0, 345.0}) {
        const double T = t + 273.15, p = sat_pressure(T);
        const int y = t_to_px(f, t);
        EXPECT_EQ(at(s_to_px(f, sub1_entropy(T, p)), y), yellow) << "liquid " << t;
        const int xv = static_cast<int>(sub2_entropy(T, p) * f.plot_width / 10000 + f.origin_x - 1.0);
        EXPECT_EQ(at(xv, y), yellow) << "vapour " << t;
    }
    // The near-critical branches close near 4.4429 kJ/kg C at 374 C.
    EXPECT_TRUE(colour_near(canvas, s_to_px(f, 4442.9), t_to_px(f, 374), 6, yellow));
}

TEST_F(ChartTest, IsobarsAreGreenWhereTheSteamTablesPutThem)
{
    // Vertices at whole degrees, clear of the isenthalps and labels drawn later.
    struct Case {
        double bar, t;
        COLORREF colour;
    };
    const Case cases[] = {
        {0.1, 150, green}, {1, 400, green},    {10, 250, green},  {100, 450, green},
        {100, 200, green}, {1000, 500, green}, {221.2, 450, RGB(0, 130, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(at(s_to_px(f, isobar_s(bar_pa(c.bar), c.t)), t_to_px(f, c.t)), c.colour)
            << c.bar << " bar at " << c.t << " C";
}

TEST_F(ChartTest, IsenthalpsAreCyanAtTheirCrossingsWithTheIsobars)
{
    // The recorded crossing is the traced point (whole degrees) nearest the exact one:
    // within half a degree, so within one pixel each way on this plot.
    struct Case {
        double mj, bar, t_lo;
    };
    const Case cases[] = {{2.8, 5, 160}, {3.0, 1, 100}, {3.2, 10, 180}, {3.4, 100, 311}, {3.3, 50, 264}};
    for (const Case& c : cases) {
        const double t = isobar_t_at_h(bar_pa(c.bar), c.mj * 1e6, c.t_lo, 700);
        EXPECT_TRUE(colour_near(canvas, s_to_px(f, isobar_s(bar_pa(c.bar), t)), t_to_px(f, t), 1, cyan))
            << c.mj << " MJ/kg on " << c.bar << " bar at " << t << " C";
    }
}

TEST_F(ChartTest, LabelsAndCaptionsAreWritten)
{
    for (int i = 1; i <= 14; ++i) {
        const int y = grid_line_y(f, i);
        EXPECT_GT(count_other(canvas, 0, y, f.origin_x, y + 10, black), 5) << "t label " << i;
    }
    for (int i = 0; i <= 19; ++i) {
        const int x = grid_line_x(f, i);
        EXPECT_GT(count_other(canvas, x - 10, f.origin_y + 1, x + 12, H, black), 2) << "s label " << i;
    }
    // None at s = 10 and none at t = 0.
    EXPECT_EQ(count_other(canvas, right() - 2, f.origin_y + 1, W, H, black), 0);
    EXPECT_EQ(count_other(canvas, 0, f.origin_y - 5, f.origin_x - 1, f.origin_y + 1, black), 0);
    // "T [C]" top left and "S [kJ/kgC]" bottom right, inside the plot.
    EXPECT_GT(count_other(canvas, f.origin_x + 3, top() + 3, f.origin_x + 60, top() + 16, black), 10);
    EXPECT_GT(count_other(canvas, right() - 60, f.origin_y - 15, right(), f.origin_y, black), 10);
    // Each isenthalp label ends six pixels left of its anchor, just above it.
    for (int k = 0; k < isenthalp_count; ++k) {
        const POINT a = label_anchor[k];
        EXPECT_GT(count_if(canvas, a.x - 60, a.y - 12, a.x - 6, a.y,
                           [](COLORREF p) { return GetRValue(p) < 40 && GetBValue(p) > 100; }),
                  15)
            << "isenthalp label " << k;
    }
}

TEST_F(ChartTest, TitlePanelCoversTheStatusLine)
{
    EXPECT_EQ(at(84, 107), grey);
    EXPECT_EQ(at(77, 60), RGB(224, 224, 224));   // light bevel
    EXPECT_EQ(at(343, 60), RGB(160, 160, 160));  // dark bevel
    auto bluish = [](COLORREF p) { return GetBValue(p) > GetRValue(p) + 40; };
    auto reddish = [](COLORREF p) { return GetRValue(p) > GetGValue(p) + 40; };
    EXPECT_GT(count_if(canvas, 162, 25, 300, 48, bluish), 30) << "name";
    EXPECT_GT(count_other(canvas, 83, 50, 340, 67, grey), 30) << "credit";
    EXPECT_GT(count_other(canvas, 83, 75, 340, 89, grey), 30) << "first prompt line";
    EXPECT_GT(count_other(canvas, 83, 89, 340, 103, grey), 30) << "second prompt line";
    // The status line drawn before the isolines is gone from the panel's face (its end
    // may stick out to the right of the panel, as the prompts do).
    EXPECT_EQ(count_if(canvas, 80, 20, 340, 110, reddish), 0);
}

// --- Pieces drawn on their own, each leaving no GDI object behind ---------------------

class PiecesTest : public testing::Test {
protected:
    void SetUp() override
    {
        c = open_canvas(W, H);
        const RECT client = {0, 0, W, H};
        f = frame_from_client(&client);
        before = vapora_gdi_object_count();
    }
    void TearDown() override
    {
        EXPECT_EQ(vapora_gdi_object_count(), before);
        close_canvas(&c);
    }
    Canvas c;
    DiagramFrame f;
    int before;
};

TEST_F(PiecesTest, IsobarsEndAtTheRightEdgeOrAt699C)
{
    CrossingGrid grid;
    POINT anchors[isobar_count] = {};
    draw_isobars(c.hdc, f, &grid, anchors);
    for (int i = 0; i < isobar_count; ++i) {
        const double p = static_cast<double>(isobar_pressures[i]) * 100000.0;
        int t_last = 699;  // the last whole degree whose entropy is still inside the chart
        while (t_last > 10 && isobar_s(p, t_last) > 10000)
            --t_last;
        SCOPED_TRACE(testing::Message() << isobar_pressures[i] << " bar");
        EXPECT_EQ(anchors[i].x, s_to_px(f, isobar_s(p, t_last)));
        EXPECT_EQ(anchors[i].y, t_to_px(f, t_last));
        EXPECT_EQ(t_last < 699, i < 4);  // 0.02 to 0.2 bar leave through the right edge
    }
}

TEST_F(PiecesTest, IsobarLabelsRiseToTheEndOfTheirIsobar)
{
    CrossingGrid grid;
    POINT anchors[isobar_count] = {};
    draw_isobars(c.hdc, f, &grid, anchors);
    for (int i = 0; i < isobar_count; ++i) {
        // Only label i lands on a fresh canvas; the others are drawn far outside it.
        POINT one[isobar_count];
        std::fill(one, one + isobar_count, POINT{-5000, -5000});
        one[i] = anchors[i];
        Canvas lc = open_canvas(W, H);
        draw_isobar_labels(lc.hdc, f, one);
        int min_x = W, max_x = -1, min_y = H, max_y = -1;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (pixel(lc, x, y) != black) {
                    min_x = std::min(min_x, x), max_x = std::max(max_x, x);
                    min_y = std::min(min_y, y), max_y = std::max(max_y, y);
                }
        close_canvas(&lc);
        // Rotated text, taller than wide, below and left of the end with its top near it.
        const POINT a = anchors[i];
        SCOPED_TRACE(testing::Message() << "isobar " << i);
        EXPECT_GT(max_y - min_y, max_x - min_x);
        EXPECT_LE(max_x, a.x + 3);
        EXPECT_GE(min_y, a.y - 3);
        EXPECT_LE(min_y, a.y + (i == critical_isobar ? 60 : 20));
    }
}

TEST_F(PiecesTest, BevelColoursAreClampedAndShifted)
{
    struct Case {
        int r, g, b;
        COLORREF face, light, dark;
    };
    const Case cases[] = {
        {0, 130, 0, RGB(0, 130, 0), RGB(32, 162, 32), RGB(0, 98, 0)},
        {192, 192, 192, grey, RGB(224, 224, 224), RGB(160, 160, 160)},
        {300, -20, 240, RGB(255, 0, 240), RGB(255, 32, 255), RGB(223, 0, 208)},
    };
    for (const Case& k : cases) {
        draw_bevel_box(c.hdc, 100, 100, 200, 160, k.r, k.g, k.b);
        EXPECT_TRUE(pixel(c, 100, 100) == k.face && pixel(c, 199, 159) == k.face);
        EXPECT_EQ(pixel(c, 97, 130), k.light);  // left, 5 pixels wide
        EXPECT_EQ(pixel(c, 150, 97), k.light);  // top, 4 pixels high
        EXPECT_EQ(pixel(c, 203, 130), k.dark);  // right
        EXPECT_EQ(pixel(c, 150, 163), k.dark);  // bottom
        for (POINT out : {POINT{94, 130}, POINT{206, 130}, POINT{150, 95}, POINT{150, 165}})
            EXPECT_EQ(pixel(c, out.x, out.y), black);
    }
}

TEST_F(PiecesTest, StatusPanelWipesThePromptsAndEmptyLinesDrawNothing)
{
    draw_title_box(c.hdc, start_prompt_line1, start_prompt_line2);
    draw_status_box(c.hdc, status_drawing);
    EXPECT_GT(count_if(c, 83, 70, 340, 90, [](COLORREF p) { return GetRValue(p) > GetGValue(p) + 40; }), 40);
    EXPECT_EQ(count_other(c, 80, 92, 340, 110, grey), 0);
    EXPECT_EQ(count_other(c, 80, 20, 340, 68, grey), 0);
    draw_title_box(c.hdc, blank_prompt, blank_prompt);
    EXPECT_EQ(count_other(c, 80, 75, 340, 110, grey), 0);
}

TEST_F(PiecesTest, ReadoutPanelShowsTheStateAndShorterValuesWipeOutLonger)
{
    const RECT client = {0, 0, 1000, 661};  // plot_height 643: the top drops the half pixel
    const DiagramFrame g = frame_from_client(&client);
    const COLORREF face = RGB(0, 130, 0);
    // A value one digit shorter than the one before, as when the cursor moves back
    // across 100 C or 10 bar.
    draw_readout_panel(c.hdc, g, SteamState{100.5, 10.123e5, 1000.0e3, 10.123e3, 10.123, 0.50});
    draw_readout_panel(c.hdc, g, SteamState{99.5, 9.123e5, 999.0e3, 9.123e3, 9.123, 1.00});
    EXPECT_EQ(readout_left, g.origin_x + 20);
    EXPECT_EQ(readout_top, g.origin_y - 321);
    const int l = readout_left, t = readout_top;
    EXPECT_EQ(pixel(c, l + 95, t + 20), face);
    EXPECT_GT(count_other(c, l + 15, t + 5, l + 100, t + 20, face), 20) << "heading";
    for (int line = 0; line < 6; ++line)
        EXPECT_GT(count_other(c, l + 5, t + 30 + 15 * line, l + 100, t + 44 + 15 * line, face), 15)
            << "line " << line;
    EXPECT_EQ(GetBkMode(c.hdc), OPAQUE);
    EXPECT_EQ(GetBkColor(c.hdc), face);
    Canvas fresh = open_canvas(W, H);
    draw_readout_panel(fresh.hdc, g, SteamState{99.5, 9.123e5, 999.0e3, 9.123e3, 9.123, 1.00});
    int differing = 0;
    for (int y = t + 30; y < t + 120; ++y)
        for (int x = l; x < l + 100; ++x)
            differing += pixel(c, x, y) != pixel(fresh, x, y);
    EXPECT_EQ(differing, 0);
    close_canvas(&fresh);
}

TEST_F(PiecesTest, PointMarkersAreFilledCircles)
{
    draw_point_marker(c.hdc, 300, 300, marker_red);
    draw_point_marker(c.hdc, 400, 300, turbine_blue);
    for (int d : {-2, 0, 2}) {
        EXPECT_EQ(pixel(c, 300 + d, 300), marker_red);
        EXPECT_EQ(pixel(c, 300, 300 + d), marker_red);
        EXPECT_EQ(pixel(c, 400 + d, 300), turbine_blue);
    }
    EXPECT_TRUE(pixel(c, 295, 300) == black && pixel(c, 305, 300) == black && pixel(c, 300, 305) == black);
}

TEST(TallClient, TracersStillAdvanceWhenTheIntegerStepIsZero)
{
    // A plot taller than 700 pixels has no integer step of a degree; the tracers fall
    // back to one degree instead of standing still for ever.
    Canvas tall = open_canvas(600, 800);
    const RECT client = {0, 0, 600, 800};
    DiagramFrame f;
    draw_chart(tall.hdc, &client, &f);
    EXPECT_EQ(f.t_step, 0.0f);
    const double T = 473.15;
    EXPECT_EQ(pixel(tall, s_to_px(f, sub1_entropy(T, sat_pressure(T))), t_to_px(f, 200)), yellow);
    close_canvas(&tall);
}

}  // namespace
