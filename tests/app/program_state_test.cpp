// The program state as the program starts: both interaction flags true, every record,
// pixel point, rectangle and the efficiency zero, both pairs (t, p).
#include <gtest/gtest.h>

#include "program_state.h"

TEST(ProgramState, StartsWithBothFlagsTrueAndEverythingElseZero) {
    EXPECT_TRUE(awaiting_first_point);
    EXPECT_TRUE(rubber_band_fresh);
    const SteamState* records[] = {&cursor_state, &point1_state, &point2_state};
    for (const SteamState* r : records) {
        const double fields[6] = {r->t, r->p, r->h, r->s, r->v, r->x};
        for (double f : fields) EXPECT_EQ(f, 0.0);
    }
    EXPECT_EQ(turbine_efficiency, 0.0);
    EXPECT_EQ(point1_pair, t_p);
    EXPECT_EQ(point2_pair, t_p);
    const POINT* points[] = {&cursor_px, &previous_cursor_px, &point1_px, &point2_px};
    for (const POINT* p : points) {
        EXPECT_EQ(p->x, 0);
        EXPECT_EQ(p->y, 0);
    }
    EXPECT_EQ(client_rect.left, 0);
    EXPECT_EQ(client_rect.top, 0);
    EXPECT_EQ(client_rect.right, 0);
    EXPECT_EQ(client_rect.bottom, 0);
    EXPECT_EQ(diagram_frame.origin_x, 0);
    EXPECT_EQ(diagram_frame.origin_y, 0);
    EXPECT_EQ(diagram_frame.plot_width, 0);
    EXPECT_EQ(diagram_frame.plot_height, 0);
    EXPECT_EQ(diagram_frame.t_step, 0.0f);
    static_assert(sizeof(cursor_px.x) == 4 && sizeof(client_rect.left) == 4,
                  "pixel points and the client rectangle hold 32-bit integers");
}
