// The isenthalp crossing detector, the end-point searches and the label anchors.
#include <gtest/gtest.h>

#include <vector>

#include "memory_dc.h"
#include "diagram/diagram.h"
#include "properties/properties.h"

namespace {

TEST(CrossingDetector, KeepsTheNearestTracedPointWithinTheTolerance)
{
    struct Step {
        double h;
        int x, y;
    };
    struct Case {
        const char* name;
        double h0;
        std::vector<Step> steps;
        int level;        // which slot is looked at
        int x, y;         // expected content, x = -1: empty
    };
    const Case cases[] = {
        {"approach and pass 2.6 MJ/kg: the last point nearer than its predecessor",
         42e3, {{2.590e6, 1, 1}, {2.597e6, 2, 2}, {2.602e6, 3, 3}, {2.609e6, 4, 4}}, 0, 3, 3},
        {"nearest but outside the tolerance", 42e3, {{2.585e6, 1, 1}, {2.615e6, 2, 2}}, 0, -1, -1},
        {"a step jumping over a level by more than twice the tolerance",
         42e3, {{2.69e6, 1, 1}, {2.71e6, 2, 2}}, 1, -1, -1},
        {"a point still approaching a lower level is not recorded for a higher one",
         42e3, {{2.695e6, 5, 6}}, 1, -1, -1},
        {"a slot that receives several points keeps the last",
         42e3, {{2.60e6, 1, 1}, {2.695e6, 5, 6}, {2.70e6, 7, 8}}, 1, 7, 8},
        {"a point moving away from every level leaves the slots as they were",
         2.65e6, {{2.60e6, 1, 1}, {2.55e6, 2, 2}}, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CrossingGrid grid;
        clear_crossings(&grid);
        double r = c.h0;
        for (const Step& s : c.steps)
            note_crossing(&grid, 3, &r, s.h, s.x, s.y);
        EXPECT_EQ(grid.x[c.level][3], c.x);
        if (c.x != -1) {
            EXPECT_EQ(grid.y[c.level][3], c.y);
        }
        // Other isobars' slots are untouched.
        EXPECT_EQ(grid.x[c.level][2], -1);
    }
}

TEST(EdgeSearches, FindTheirTargetsOrGiveUpAtTheCap)
{
    // Top edge: inside the bracket for 3.4 to 3.6 MJ/kg.
    for (double h : {3.4e6, 3.5e6, 3.6e6}) {
        const EdgeSearch r = top_edge_pressure(h);
        ASSERT_TRUE(r.found) << h;
        EXPECT_NEAR(sub2_enthalpy(973.15, r.value), h, 250);
    }
    // Right edge: inside the bracket for 3.1 to 3.6 MJ/kg. At the temperature found, the
    // steam whose entropy is 10 kJ/kg C (its pressure by a bisection of our own) has
    // that enthalpy.
    for (double h : {3.1e6, 3.35e6, 3.6e6}) {
        const EdgeSearch r = right_edge_temperature(h, 0.5e5);
        ASSERT_TRUE(r.found) << h;
        const double T = r.value + 273.15;
        double lo = 1.0, hi = 0.5e5;
        for (int n = 0; n < 80; ++n)
            (sub2_entropy(T, (lo + hi) / 2) > 10000 ? lo : hi) = (lo + hi) / 2;
        EXPECT_NEAR(sub2_enthalpy(T, lo), h, 300) << h;
    }
    // Outside the brackets the bisections would collapse onto one end for ever:
    // they must stop and say so.
    for (double h : {2.6e6, 3.0e6, 5.0e6})
        EXPECT_FALSE(top_edge_pressure(h).found) << h;
    for (double h : {1.0e6, 5.0e6})
        EXPECT_FALSE(right_edge_temperature(h, 0.5e5).found) << h;
}

TEST(IsenthalpEnds, LowLevelsStartOnTheLowestIsobarHighOnesAtTheRightEdge)
{
    const RECT client = {0, 0, 994, 671};
    const DiagramFrame f = frame_from_client(&client);
    draw_isolines(MemoryDC(994, 671).dc, f);
    const int right = f.origin_x + f.plot_width;
    for (int k = 0; k < isenthalp_count; ++k) {
        SCOPED_TRACE(testing::Message() << isenthalp_levels[k] / 1e6 << " MJ/kg");
        if (k <= 4) {
            // 2.6 to 3.0 MJ/kg cross the 0.02 bar isobar and are labelled there.
            ASSERT_NE(crossing_grid.x[k][0], -1);
            EXPECT_EQ(label_anchor[k].x, crossing_grid.x[k][0]);
            EXPECT_EQ(label_anchor[k].y, crossing_grid.y[k][0]);
            EXPECT_LT(label_anchor[k].x, right);
        } else {
            EXPECT_EQ(label_anchor[k].x, right);
        }
    }
    EXPECT_EQ(label_anchor[10].y, t_to_px(f, right_edge_temperature(3.6e6, 0.5e5).value));
    // 3.4 to 3.6 MJ/kg never reach 1000 bar inside the plot: they end on the top edge.
    for (int k = 8; k <= 10; ++k) {
        int last = -1;
        for (int i = 0; i < isobar_count; ++i)
            if (crossing_grid.x[k][i] != -1)
                last = i;
        ASSERT_GE(last, 0);
        EXPECT_EQ(crossing_grid.y[k][last], f.origin_y - f.plot_height) << k;
    }
}

}  // namespace
