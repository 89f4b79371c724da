// The plot rectangle and the mapping between (s, t) and pixels, both ways.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>

#include "diagram/frame.h"
#include "diagram/text_buffer.h"

namespace {

RECT client_of(int w, int h)
{
    RECT r = {0, 0, w, h};
    return r;
}

// The Linux main window's client area: 1000 x 700 less a 3-pixel frame and a
// 26-pixel caption.
const RECT window_client = {0, 0, 994, 671};
const DiagramFrame window_frame = frame_from_client(&window_client);

TEST(FrameFromClient, FiveFormulasAcrossClientSizes)
{
    struct Case {
        int w, h;
        int origin_x, origin_y, plot_width, plot_height;
        float t_step;
    };
    const Case cases[] = {
        {994, 671, 20, 655, 972, 653, 1.0f},
        {1000, 660, 20, 644, 978, 642, 1.0f},
        {400, 369, 20, 353, 378, 351, 1.0f},   // the lowest height with a step of 1
        {400, 718, 20, 702, 378, 700, 1.0f},   // the highest
        {400, 368, 20, 352, 378, 350, 2.0f},
        {400, 719, 20, 703, 378, 701, 0.0f},   // taller than 700: no integer step
    };
    for (const Case& c : cases) {
        const RECT r = client_of(c.w, c.h);
        const DiagramFrame f = frame_from_client(&r);
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        EXPECT_EQ(f.origin_x, c.origin_x);
        EXPECT_EQ(f.origin_y, c.origin_y);
        EXPECT_EQ(f.plot_width, c.plot_width);
        EXPECT_EQ(f.plot_height, c.plot_height);
        EXPECT_EQ(f.t_step, c.t_step);
        EXPECT_EQ(f.origin_y, f.plot_height + 2);
    }
}

TEST(Mapping, CornersAndTicksBothWays)
{
    const DiagramFrame& f = window_frame;
    const int right = f.origin_x + f.plot_width;
    const int top = f.origin_y - f.plot_height;
    struct Case {
        double s, t;
        int x, y;
    };
    const Case cases[] = {
        {0, 0, f.origin_x, f.origin_y},
        {10000, 700, right, top},
        {10000, 0, right, f.origin_y},
        {0, 700, f.origin_x, top},
        // Ticks: 48.6 pixels per half kJ/kg C, 46.64 per 50 C; y = trunc(655 - 46.64 i)
        // lies one pixel above the integer grid line 655 - 46 i.
        {500, 50, 20 + 48, 608},
        {5000, 350, 20 + 486, 328},
        {9500, 650, 20 + 923, 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "s=" << c.s << " t=" << c.t);
        EXPECT_EQ(s_to_px(f, c.s), c.x);
        EXPECT_EQ(t_to_px(f, c.t), c.y);
    }
    // The inverse mapping is exact at the frame's corners.
    EXPECT_DOUBLE_EQ(px_to_s(f, f.origin_x), 0.0);
    EXPECT_DOUBLE_EQ(px_to_s(f, right), 10000.0);
    EXPECT_DOUBLE_EQ(px_to_t(f, f.origin_y), 0.0);
    EXPECT_DOUBLE_EQ(px_to_t(f, top), 700.0);
}

TEST(Mapping, TruncatesTowardTheOriginForSAndTheTopForT)
{
    const DiagramFrame& f = window_frame;
    // 123.4 J/(kg K) -> 11.99 pixels: pixel 11 from the axis, not 12.
    EXPECT_EQ(s_to_px(f, 123.4), f.origin_x + 11);
    // 10 C -> 9.33 pixels up: y = 645.67, truncated to 645 (upward, toward the top).
    EXPECT_EQ(t_to_px(f, 10.0), 645);
}

TEST(Mapping, PixelToValueToPixelRoundTrips)
{
    // The cursor pixel is turned into (s, t); mapping it forward must find the same
    // pixel again, or one nearer the origin when the product falls just short.
    const DiagramFrame& f = window_frame;
    for (int x = f.origin_x; x <= f.origin_x + f.plot_width; ++x) {
        const int back = s_to_px(f, px_to_s(f, x));
        ASSERT_TRUE(back == x || back == x - 1) << "x=" << x << " back=" << back;
    }
    for (int y = f.origin_y - f.plot_height; y <= f.origin_y; ++y) {
        const int back = t_to_px(f, px_to_t(f, y));
        ASSERT_TRUE(back == y || back == y - 1) << "y=" << y << " back=" << back;
    }
}

TEST(Mapping, ValueToPixelToValueStaysWithinOnePixel)
{
    const DiagramFrame& f = window_frame;
    const double s_per_px = 10000.0 / f.plot_width;
    const double t_per_px = 700.0 / f.plot_height;
    for (double s = 0; s <= 10000; s += 37.3) {
        const double back = px_to_s(f, s_to_px(f, s));
        ASSERT_LE(back, s + 1e-9);
        ASSERT_GT(back, s - s_per_px);
    }
    for (double t = 0; t <= 700; t += 3.7) {
        const double back = px_to_t(f, t_to_px(f, t));
        ASSERT_GE(back, t - 1e-9);
        ASSERT_LT(back, t + t_per_px);
    }
}

TEST(Grid, IntegerPositions)
{
    const RECT r = client_of(1000, 660);  // plot_height 642
    const DiagramFrame f = frame_from_client(&r);
    // 642 * 50 / 700 = 45.857..., truncated.
    EXPECT_EQ(grid_line_y(f, 1), f.origin_y - 45);
    EXPECT_EQ(grid_line_y(f, 14), f.origin_y - f.plot_height);
    EXPECT_EQ(grid_line_x(f, 0), f.origin_x);
    EXPECT_EQ(grid_line_x(f, 20), f.origin_x + f.plot_width);
    // 978 * 500 / 10000 = 48.9, truncated.
    EXPECT_EQ(grid_line_x(f, 1), f.origin_x + 48);
}

TEST(FormatText, FormatsAndTerminates)
{
    struct Case {
        const wchar_t* format;
        double value;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"%.0f bar", 221.1999969482422, L"221 bar"},
        {L"%.2f bar", 0.019999999552965164, L"0.02 bar"},
        {L"%.1f MJ/kg", 3.6, L"3.6 MJ/kg"},
        {L"t = %.1f C   ", -12.34, L"t = -12.3 C   "},
    };
    for (const Case& c : cases) {
        text_buffer[0] = L'#';
        format_text(text_buffer, c.format, c.value);
        EXPECT_STREQ(text_buffer, c.expected);
    }
}

}  // namespace
