// The plot rectangle, the mapping between (s, t) and pixels both ways, the grid.
#include <gtest/gtest.h>

#include <cmath>

#include "diagram/frame.h"

namespace {

DiagramFrame frame_of(int w, int h)
{
    const RECT r = {0, 0, w, h};
    return frame_from_client(&r);
}

TEST(Frame, FormulasAcrossClientSizes)
{
    struct Case {
        int w, h, origin_y, plot_width, plot_height;
        float t_step;
    };
    // 718 is the highest height with a one-degree step.
    for (const Case& c : {Case{994, 671, 655, 972, 653, 1}, Case{400, 718, 702, 378, 700, 1},
                          Case{400, 368, 352, 378, 350, 2}, Case{400, 719, 703, 378, 701, 0}}) {
        const DiagramFrame f = frame_of(c.w, c.h);
        EXPECT_TRUE(f.origin_x == 20 && f.origin_y == c.origin_y && f.plot_width == c.plot_width &&
                    f.plot_height == c.plot_height && f.t_step == c.t_step) << c.w << " x " << c.h;
    }
}

TEST(Frame, MappingTruncatesTowardTheOriginAndTheTopAndTheGridIsInteger)
{
    const DiagramFrame f = frame_of(994, 671);
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
    const DiagramFrame g = frame_of(1000, 660);  // plot_height 642: 32100 / 700 = 45.857...
    EXPECT_TRUE(grid_line_y(g, 1) == g.origin_y - 45 && grid_line_x(g, 1) == g.origin_x + 48);
    EXPECT_TRUE(grid_line_y(g, 14) == 2 && grid_line_x(g, 20) == g.origin_x + g.plot_width);
}

}  // namespace
