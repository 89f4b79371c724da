// The plot rectangle and the mapping between (s, t) and pixels, both ways.
#include <gtest/gtest.h>

#include <cmath>

#include "diagram/frame.h"

namespace {

DiagramFrame frame_of(int w, int h)
{
    const RECT r = {0, 0, w, h};
    return frame_from_client(&r);
}

// The Linux main window's client area: 1000 x 700 less a 3-pixel frame and a caption.
const DiagramFrame window = frame_of(994, 671);

TEST(FrameFromClient, FiveFormulasAcrossClientSizes)
{
    struct Case {
        int w, h, origin_y, plot_width, plot_height;
        float t_step;
    };
    const Case cases[] = {
        {994, 671, 655, 972, 653, 1.0f}, {1000, 660, 644, 978, 642, 1.0f},
        {400, 369, 353, 378, 351, 1.0f},  // the lowest height with a one-degree step
        {400, 718, 702, 378, 700, 1.0f},  // the highest
        {400, 368, 352, 378, 350, 2.0f}, {400, 719, 703, 378, 701, 0.0f},
    };
    for (const Case& c : cases) {
        const DiagramFrame f = frame_of(c.w, c.h);
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        EXPECT_EQ(f.origin_x, 20);
        EXPECT_EQ(f.origin_y, c.origin_y);
        EXPECT_EQ(f.plot_width, c.plot_width);
        EXPECT_EQ(f.plot_height, c.plot_height);
        EXPECT_EQ(f.t_step, c.t_step);
    }
}

TEST(Mapping, CornersTicksAndTruncation)
{
    const DiagramFrame& f = window;
    struct Case {
        double s, t;
        int x, y;
    };
    const Case cases[] = {
        {0, 0, 20, 655}, {10000, 700, 992, 2}, {10000, 0, 992, 655}, {0, 700, 20, 2},
        // 48.6 pixels per half kJ/kg C and 46.64 per 50 C: y = trunc(655 - 46.64 i) lies
        // one pixel above the integer grid line 655 - 46 i.
        {500, 50, 68, 608}, {5000, 350, 506, 328}, {9500, 650, 943, 48},
        // Truncation: toward the axis for s (11.99 -> 11), toward the top for t
        // (645.67 -> 645).
        {123.4, 10, 31, 645},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "s=" << c.s << " t=" << c.t);
        EXPECT_EQ(s_to_px(f, c.s), c.x);
        EXPECT_EQ(t_to_px(f, c.t), c.y);
    }
    // Far beyond any window, or not a number: held at a billion pixels, never overflowing.
    EXPECT_EQ(s_to_px(f, 1e300), 1000000000);
    EXPECT_EQ(t_to_px(f, 1e300), -1000000000);
    EXPECT_EQ(s_to_px(f, NAN), 1000000000);
    EXPECT_DOUBLE_EQ(px_to_s(f, 20), 0.0);
    EXPECT_DOUBLE_EQ(px_to_s(f, 992), 10000.0);
    EXPECT_DOUBLE_EQ(px_to_t(f, 655), 0.0);
    EXPECT_DOUBLE_EQ(px_to_t(f, 2), 700.0);
}

TEST(Mapping, RoundTripsStayOnThePixel)
{
    // A cursor pixel turned into (s, t) and mapped forward finds the same pixel again,
    // or the one nearer the origin when the product falls just short.
    const DiagramFrame& f = window;
    for (int x = 20; x <= 992; ++x) {
        const int back = s_to_px(f, px_to_s(f, x));
        ASSERT_TRUE(back == x || back == x - 1) << x;
    }
    for (int y = 2; y <= 655; ++y) {
        const int back = t_to_px(f, px_to_t(f, y));
        ASSERT_TRUE(back == y || back == y - 1) << y;
    }
}

TEST(Grid, IntegerPositions)
{
    const DiagramFrame f = frame_of(1000, 660);  // plot_height 642
    EXPECT_EQ(grid_line_y(f, 1), f.origin_y - 45);  // 32100 / 700 = 45.857..., truncated
    EXPECT_EQ(grid_line_y(f, 14), f.origin_y - f.plot_height);
    EXPECT_EQ(grid_line_x(f, 1), f.origin_x + 48);  // 978 * 500 / 10000 = 48.9
    EXPECT_EQ(grid_line_x(f, 20), f.origin_x + f.plot_width);
}

}  // namespace
