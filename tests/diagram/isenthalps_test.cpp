// The isenthalp crossing detector, the end-point searches and the label anchors.
#include <gtest/gtest.h>

#include "diagram/diagram.h"
#include "memory_dc.h"
#include "properties/properties.h"

namespace {

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

TEST(Isenthalps, EdgeSearchesGiveUpOutsideTheirBracketAndEndsLieWhereTheyShould)
{
    EXPECT_NEAR(sub2_enthalpy(973.15, top_edge_pressure(3.5e6).value), 3.5e6, 250);
    for (double h : {1.0e6, 5.0e6})
        EXPECT_FALSE(top_edge_pressure(h).found || right_edge_temperature(h, 0.5e5).found) << h;
    const RECT client = {0, 0, 994, 671};
    const DiagramFrame f = frame_from_client(&client);
    draw_isolines(MemoryDC(994, 671).dc, f);
    for (int k = 0; k < isenthalp_count; ++k) {
        // 2.6 to 3.0 MJ/kg are labelled where they cross 0.02 bar, the others at the right edge.
        EXPECT_EQ(label_anchor[k].x, k <= 4 ? crossing_grid.x[k][0] : f.origin_x + f.plot_width) << k;
        EXPECT_TRUE(k > 4 || label_anchor[k].y == crossing_grid.y[k][0]) << k;
    }
    EXPECT_EQ(label_anchor[10].y, t_to_px(f, right_edge_temperature(3.6e6, 0.5e5).value));
}

}  // namespace
