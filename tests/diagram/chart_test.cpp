// The whole repaint, checked pixel by pixel at positions computed from the physics.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

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

class ChartTest : public testing::Test {
protected:
    static Canvas canvas;
    static DiagramFrame frame;
    static int objects_before, objects_after;

    static void SetUpTestSuite()
    {
        canvas = open_canvas(W, H);
        const RECT client = {0, 0, W, H};
        objects_before = vapora_gdi_object_count();
        draw_chart(canvas.hdc, &client, &frame);
        objects_after = vapora_gdi_object_count();
    }
    static void TearDownTestSuite() { close_canvas(&canvas); }

    COLORREF at(int x, int y) const { return pixel(canvas, x, y); }
    int right() const { return frame.origin_x + frame.plot_width; }
    int top() const { return frame.origin_y - frame.plot_height; }
};

Canvas ChartTest::canvas;
DiagramFrame ChartTest::frame;
int ChartTest::objects_before;
int ChartTest::objects_after;

// Temperature (C) where the enthalpy along an isobar (Pa) reaches h, by bisection over
// the single-phase evaluation between t_lo and t_hi.
double isobar_t_at_h(double p, double h, double t_lo, double t_hi)
{
    for (int n = 0; n < 100; ++n) {
        const double t = (t_lo + t_hi) / 2;
        double v, hh, s;
        props_from_TP(t + 273.15, p, &v, &hh, &s);
        (hh < h ? t_lo : t_hi) = t;
    }
    return (t_lo + t_hi) / 2;
}

double isobar_s(double p, double t)
{
    double v, h, s;
    props_from_TP(t + 273.15, p, &v, &h, &s);
    return s;
}

TEST_F(ChartTest, LeavesNoGdiObjectBehind)
{
    EXPECT_EQ(objects_after, objects_before);
}

TEST_F(ChartTest, FrameFollowsTheClientArea)
{
    EXPECT_EQ(frame.origin_x, 20);
    EXPECT_EQ(frame.origin_y, 655);
    EXPECT_EQ(frame.plot_width, 972);
    EXPECT_EQ(frame.plot_height, 653);
}

TEST_F(ChartTest, BackgroundIsBlackWhereNothingIsDrawn)
{
    // Margins and empty plot cells: above the dome's top at low entropy, far right below
    // the low-pressure isobars, the corners of the client area.
    const int points[][2] = {
        {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}, {5, 30},
        {s_to_px(frame, 1200), t_to_px(frame, 500)},
        {s_to_px(frame, 2700), t_to_px(frame, 560)},
    };
    for (const auto& p : points)
        EXPECT_EQ(at(p[0], p[1]), black) << p[0] << "," << p[1];
}

TEST_F(ChartTest, GridLinesAreGreyAtTheirIntegerPositions)
{
    // Vertical lines at 0.5 and 1.0 kJ/kg C, seen at 480 C where no curve passes;
    // horizontal lines at 500 and 550 C, seen at 1.2 kJ/kg C (below the title panel).
    // The neighbouring pixels are black: the lines are one pixel wide and where the
    // integer form puts them, which is not always where the mapping would.
    for (int i : {1, 2}) {
        const int x = grid_line_x(frame, i);
        const int y = t_to_px(frame, 480);
        EXPECT_EQ(at(x, y), grey) << "vertical " << i;
        EXPECT_EQ(at(x + 1, y), black);
        EXPECT_EQ(at(x - 1, y), black);
    }
    for (int i : {10, 11}) {
        const int y = grid_line_y(frame, i);
        const int x = s_to_px(frame, 1200);
        EXPECT_EQ(at(x, y), grey) << "horizontal " << i;
        EXPECT_EQ(at(x, y + 1), black);
        EXPECT_EQ(at(x, y - 1), black);
    }
    // The top and right borders are grid lines too.
    EXPECT_EQ(at(s_to_px(frame, 1200), top()), grey);
    EXPECT_EQ(at(right(), t_to_px(frame, 680)), grey);
}

TEST_F(ChartTest, AxesAreWhite)
{
    EXPECT_EQ(at(frame.origin_x, t_to_px(frame, 600)), white);
    EXPECT_EQ(at(frame.origin_x, t_to_px(frame, 300)), white);
    EXPECT_EQ(at(s_to_px(frame, 5000), frame.origin_y), white);
    EXPECT_EQ(at(s_to_px(frame, 9900), frame.origin_y), white);
}

TEST_F(ChartTest, DomeIsYellowOnTheSaturationLine)
{
    const COLORREF yellow = RGB(255, 255, 0);
    // Each traced temperature is a vertex of the dome's polylines, so its pixel is
    // exact: the liquid branch at the mapping, the vapour branch one pixel left of it.
    for (double t : {20.0, 100.0, 200.0, 300.0, 345.0}) {
        const double T = t + 273.15;
        const double p = sat_pressure(T);
        const int y = t_to_px(frame, t);
        EXPECT_EQ(at(s_to_px(frame, sub1_entropy(T, p)), y), yellow) << "liquid " << t;
        const int xv = static_cast<int>(sub2_entropy(T, p) * frame.plot_width / 10000 +
                                        frame.origin_x - 1.0);
        EXPECT_EQ(at(xv, y), yellow) << "vapour " << t;
    }
    // Near the critical point the branches come from the near-critical subregions;
    // the dome's top lies close to 4.4429 kJ/kg C at 374 C.
    const int y374 = t_to_px(frame, 374);
    EXPECT_TRUE(colour_near(canvas, s_to_px(frame, 4442.9), y374, 6, yellow));
    // Everything starts at the saturated liquid at 10 C, and the dome is drawn last.
    const double p10 = sat_pressure(283.15);
    EXPECT_EQ(at(frame.origin_x + static_cast<int>(sub1_entropy(283.15, p10) *
                                                   frame.plot_width / 10000),
                 frame.origin_y - static_cast<int>(frame.plot_height * 10 / 700.0)),
              yellow);
}

TEST_F(ChartTest, IsobarsAreGreenWhereTheSteamTablesPutThem)
{
    // Vertices of the isobar polylines at whole degrees, clear of the isenthalps'
    // crossings and the labels; the critical isobar is dark green.
    struct Case {
        double bar, t;
        COLORREF colour;
    };
    const Case cases[] = {
        {0.1, 150, RGB(0, 255, 0)},   {1, 400, RGB(0, 255, 0)},
        {10, 250, RGB(0, 255, 0)},    {100, 450, RGB(0, 255, 0)},
        {100, 200, RGB(0, 255, 0)},   {1000, 500, RGB(0, 255, 0)},
        {221.2, 450, RGB(0, 130, 0)},
    };
    for (const Case& c : cases) {
        const double p = static_cast<double>(static_cast<float>(c.bar)) * 100000.0;
        const int x = s_to_px(frame, isobar_s(p, c.t));
        const int y = t_to_px(frame, c.t);
        EXPECT_EQ(at(x, y), c.colour) << c.bar << " bar at " << c.t << " C";
    }
}

TEST_F(ChartTest, IsenthalpsAreCyanAtTheirCrossingsWithTheIsobars)
{
    const COLORREF cyan = RGB(0, 255, 255);
    // The recorded crossing is the traced point (whole degrees) nearest the exact one:
    // within half a degree, which is within one pixel each way on this plot.
    struct Case {
        double mj, bar, t_lo, t_hi;
    };
    const Case cases[] = {
        {2.8, 5, 160, 400}, {3.0, 1, 100, 500}, {3.2, 10, 180, 600},
        {3.4, 100, 311, 700}, {3.3, 50, 264, 700},
    };
    for (const Case& c : cases) {
        const double p = static_cast<double>(static_cast<float>(c.bar)) * 100000.0;
        const double t = isobar_t_at_h(p, c.mj * 1e6, c.t_lo, c.t_hi);
        const int x = s_to_px(frame, isobar_s(p, t));
        const int y = t_to_px(frame, t);
        EXPECT_TRUE(colour_near(canvas, x, y, 1, cyan))
            << c.mj << " MJ/kg on " << c.bar << " bar at " << t << " C";
    }
}

TEST_F(ChartTest, TickLabelsAndCaptionsAreWritten)
{
    // The temperature labels in the left margin, the entropy labels below the axis.
    for (int i = 1; i <= 14; ++i) {
        const int y = grid_line_y(frame, i);
        EXPECT_GT(count_other(canvas, 0, y, frame.origin_x, y + 10, black), 5) << "t label " << i;
    }
    for (int i = 0; i <= 19; ++i) {
        const int x = grid_line_x(frame, i);
        EXPECT_GT(count_other(canvas, x - 10, frame.origin_y + 1, x + 12, H, black), 2)
            << "s label " << i;
    }
    // Nothing at s = 10: the space right of the last label's slot stays black.
    EXPECT_EQ(count_other(canvas, right() - 2, frame.origin_y + 1, W, H, black), 0);
    // Nothing at t = 0: the margin beside the bottom axis stays black.
    EXPECT_EQ(count_other(canvas, 0, frame.origin_y - 5, frame.origin_x - 1, frame.origin_y + 1,
                          black),
              0);
    // "T [C]" top left and "S [kJ/kgC]" bottom right inside the plot.
    EXPECT_GT(count_other(canvas, frame.origin_x + 3, top() + 3, frame.origin_x + 60, top() + 16,
                          black),
              10);
    EXPECT_GT(count_other(canvas, right() - 60, frame.origin_y - 15, right(), frame.origin_y,
                          black),
              10);
}

TEST_F(ChartTest, IsenthalpLabelsStandAboveAndLeftOfTheirAnchors)
{
    const COLORREF cyan = RGB(0, 255, 255);
    for (int k = 0; k < isenthalp_count; ++k) {
        const POINT a = label_anchor[k];
        EXPECT_GT(count_ink(canvas, a.x - 60, a.y - 12, a.x - 6, a.y, cyan, black), 15)
            << "label " << k;
    }
}

TEST_F(ChartTest, TitlePanelFaceBevelsAndTexts)
{
    // Face, light bevel top and left, dark bevel right and bottom.
    EXPECT_EQ(at(84, 107), grey);
    EXPECT_EQ(at(330, 22), grey);
    EXPECT_EQ(at(80, 20), grey);
    EXPECT_EQ(at(77, 60), RGB(224, 224, 224));
    EXPECT_EQ(at(200, 17), RGB(224, 224, 224));
    EXPECT_EQ(at(343, 60), RGB(160, 160, 160));
    EXPECT_EQ(at(200, 112), RGB(160, 160, 160));
    // The name in dark blue, the credit and the two start prompts in black.
    EXPECT_GT(count_ink(canvas, 162, 25, 300, 48, RGB(0, 0, 130), grey), 30);
    EXPECT_GT(count_ink(canvas, 83, 50, 340, 67, black, grey), 30);
    EXPECT_GT(count_ink(canvas, 83, 75, 340, 89, black, grey), 30) << "first prompt line";
    EXPECT_GT(count_ink(canvas, 83, 89, 340, 103, black, grey), 30) << "second prompt line";
    // The status line drawn earlier is covered on the panel's face: no red is left.
    // (Its end may stick out to the right of the panel, as the prompts do.)
    EXPECT_EQ(count_ink(canvas, 80, 20, 340, 110, RGB(255, 0, 0), grey), 0);
}

// --- Pieces drawn on their own --------------------------------------------------------

class PiecesTest : public testing::Test {
protected:
    void SetUp() override
    {
        c = open_canvas(W, H);
        const RECT client = {0, 0, W, H};
        frame = frame_from_client(&client);
        before = vapora_gdi_object_count();
    }
    void TearDown() override
    {
        EXPECT_EQ(vapora_gdi_object_count(), before) << "GDI objects left behind";
        close_canvas(&c);
    }
    Canvas c;
    DiagramFrame frame;
    int before;
};

TEST_F(PiecesTest, IsobarsEndAtTheRightEdgeOrAt699C)
{
    CrossingGrid grid;
    POINT anchors[isobar_count] = {};
    draw_isobars(c.hdc, frame, &grid, anchors);
    for (int i = 0; i < isobar_count; ++i) {
        const double p = static_cast<double>(isobar_pressures[i]) * 100000.0;
        // The last whole degree below 700 C whose entropy is still inside the chart.
        int t_last = 699;
        while (t_last > 10 && isobar_s(p, t_last) > 10000)
            --t_last;
        SCOPED_TRACE(testing::Message() << isobar_pressures[i] << " bar");
        EXPECT_EQ(anchors[i].y, t_to_px(frame, t_last));
        EXPECT_EQ(anchors[i].x, s_to_px(frame, isobar_s(p, t_last)));
        if (i < 4) {
            EXPECT_LT(t_last, 699);  // 0.02 to 0.2 bar leave through the right edge
        } else {
            EXPECT_EQ(t_last, 699);
        }
    }
}

TEST_F(PiecesTest, IsobarLabelsRiseToTheEndOfTheirIsobar)
{
    CrossingGrid grid;
    POINT anchors[isobar_count] = {};
    {
        Canvas scrap = open_canvas(W, H);
        draw_isobars(scrap.hdc, frame, &grid, anchors);
        close_canvas(&scrap);
    }
    for (int i = 0; i < isobar_count; ++i) {
        // Only label i lands on the canvas; the others are drawn far outside it.
        POINT one[isobar_count];
        for (POINT& p : one)
            p = POINT{-5000, -5000};
        one[i] = anchors[i];
        Canvas lc = open_canvas(W, H);
        draw_isobar_labels(lc.hdc, frame, one);
        int min_x = W, max_x = -1, min_y = H, max_y = -1, n = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (pixel(lc, x, y) != black) {
                    ++n;
                    min_x = std::min(min_x, x);
                    max_x = std::max(max_x, x);
                    min_y = std::min(min_y, y);
                    max_y = std::max(max_y, y);
                }
        close_canvas(&lc);
        const POINT a = anchors[i];
        SCOPED_TRACE(testing::Message() << "isobar " << i << " anchor " << a.x << "," << a.y);
        EXPECT_GT(n, 15);
        // Rotated text: taller than wide, below and left of the isobar's end, its top
        // within a few pixels of the end.
        EXPECT_GT(max_y - min_y, max_x - min_x);
        EXPECT_LE(max_x, a.x + 3);
        EXPECT_GE(min_y, a.y - 3);
        EXPECT_LE(min_y, a.y + (i == critical_isobar ? 60 : 20));
    }
}

TEST_F(PiecesTest, IsenthalpLabelsAreHorizontalAndEndBeforeTheirAnchor)
{
    const COLORREF cyan = RGB(0, 255, 255);
    for (int k = 0; k < isenthalp_count; ++k) {
        POINT one[isobar_count];
        for (POINT& p : one)
            p = POINT{-5000, -5000};
        one[k] = POINT{500, 300};
        Canvas lc = open_canvas(W, H);
        draw_isenthalp_labels(lc.hdc, one);
        // "3.6 MJ/kg": 9 characters of width 6 between x = 500 - 60 and 500 - 6.
        EXPECT_GT(count_ink(lc, 440, 288, 494, 300, cyan, black), 20) << k;
        EXPECT_EQ(count_other(lc, 0, 0, W, H, black), count_other(lc, 435, 285, 496, 302, black))
            << k;
        close_canvas(&lc);
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
        {192, 192, 192, RGB(192, 192, 192), RGB(224, 224, 224), RGB(160, 160, 160)},
        {300, -20, 240, RGB(255, 0, 240), RGB(255, 32, 255), RGB(223, 0, 208)},
    };
    for (const Case& k : cases) {
        draw_bevel_box(c.hdc, 100, 100, 200, 160, k.r, k.g, k.b);
        EXPECT_EQ(pixel(c, 150, 130), k.face);
        EXPECT_EQ(pixel(c, 199, 159), k.face);
        EXPECT_EQ(pixel(c, 100, 100), k.face);
        EXPECT_EQ(pixel(c, 97, 130), k.light);   // left bevel
        EXPECT_EQ(pixel(c, 150, 97), k.light);   // top bevel
        EXPECT_EQ(pixel(c, 203, 130), k.dark);   // right bevel
        EXPECT_EQ(pixel(c, 150, 163), k.dark);   // bottom bevel
        EXPECT_EQ(pixel(c, 94, 130), black);     // 5 pixels wide at the sides
        EXPECT_EQ(pixel(c, 206, 130), black);
        EXPECT_EQ(pixel(c, 150, 95), black);     // 4 pixels high at top and bottom
        EXPECT_EQ(pixel(c, 150, 165), black);
    }
}

TEST_F(PiecesTest, StatusPanelWipesThePromptsAndShowsARedLine)
{
    draw_title_box(c.hdc, start_prompt_line1, start_prompt_line2);
    draw_status_box(c.hdc, status_drawing);
    EXPECT_GT(count_ink(c, 83, 70, 340, 90, RGB(255, 0, 0), grey), 40);
    // Below the status line the panel is plain grey again: no prompt survives.
    EXPECT_EQ(count_other(c, 80, 92, 340, 110, grey), 0);
    EXPECT_EQ(count_other(c, 80, 20, 340, 68, grey), 0);
}

TEST_F(PiecesTest, TitlePanelWithEmptyLinesShowsOnlyNameAndCredit)
{
    draw_title_box(c.hdc, blank_prompt, blank_prompt);
    EXPECT_EQ(count_other(c, 80, 75, 340, 110, grey), 0);
    EXPECT_GT(count_ink(c, 162, 25, 300, 48, RGB(0, 0, 130), grey), 30);
}

TEST_F(PiecesTest, ReadoutPanelShowsTheStateOnGreen)
{
    const RECT client = {0, 0, 1000, 661};  // plot_height 643: the panel's top drops a half
    const DiagramFrame f = frame_from_client(&client);
    SteamState state = {250.0, 40.0e5, 2801.9e3, 6.07e3, 0.05, 1.0};
    draw_readout_panel(c.hdc, f, state);
    EXPECT_EQ(readout_left, f.origin_x + 20);
    EXPECT_EQ(readout_top, f.origin_y - 321);
    const int l = readout_left, t = readout_top;
    EXPECT_EQ(pixel(c, l + 95, t + 20), RGB(0, 130, 0));
    EXPECT_EQ(pixel(c, l - 3, t + 60), RGB(32, 162, 32));
    EXPECT_EQ(pixel(c, l + 103, t + 60), RGB(0, 98, 0));
    const COLORREF green = RGB(0, 130, 0);
    EXPECT_GT(count_other(c, l + 15, t + 5, l + 100, t + 20, green), 20) << "heading";
    for (int line = 0; line < 6; ++line)
        EXPECT_GT(count_other(c, l + 5, t + 30 + 15 * line, l + 100, t + 44 + 15 * line, green),
                  15)
            << "line " << line;
    // The panel leaves the opaque mode and the green background for the caller.
    EXPECT_EQ(GetBkMode(c.hdc), OPAQUE);
    EXPECT_EQ(GetBkColor(c.hdc), RGB(0, 130, 0));
}

TEST_F(PiecesTest, ShorterReadoutValuesWipeOutLongerOnes)
{
    // A value one digit shorter than the one before it, as when the cursor moves back
    // across 100 C or 10 bar.
    const SteamState longer = {100.5, 10.123e5, 1000.0e3, 10.123e3, 10.123, 0.50};
    const SteamState shorter = {99.5, 9.123e5, 999.0e3, 9.123e3, 9.123, 1.00};
    draw_readout_panel(c.hdc, frame, longer);
    draw_readout_panel(c.hdc, frame, shorter);
    Canvas fresh = open_canvas(W, H);
    draw_readout_panel(fresh.hdc, frame, shorter);
    const int l = readout_left, t = readout_top;
    int differing = 0;
    for (int y = t + 30; y < t + 120; ++y)
        for (int x = l; x < l + 100; ++x)
            differing += pixel(c, x, y) != pixel(fresh, x, y);
    EXPECT_EQ(differing, 0);
    close_canvas(&fresh);
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
    EXPECT_EQ(pixel(tall, s_to_px(f, sub1_entropy(T, sat_pressure(T))), t_to_px(f, 200)),
              RGB(255, 255, 0));
    close_canvas(&tall);
}

TEST_F(PiecesTest, PointMarkersAreFilledCircles)
{
    draw_point_marker(c.hdc, 300, 300, marker_red);
    draw_point_marker(c.hdc, 400, 300, turbine_blue);
    for (int dx : {-2, 0, 2}) {
        EXPECT_EQ(pixel(c, 300 + dx, 300), marker_red);
        EXPECT_EQ(pixel(c, 400 + dx, 300), turbine_blue);
        EXPECT_EQ(pixel(c, 300, 300 + dx), marker_red);
    }
    for (int d : {-5, 5}) {
        EXPECT_EQ(pixel(c, 300 + d, 300), black);
        EXPECT_EQ(pixel(c, 300, 300 + d), black);
    }
}

}  // namespace
