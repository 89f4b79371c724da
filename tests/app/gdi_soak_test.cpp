// A bounded soak of the real program: thousands of mouse moves, two-click processes,
// data-input, message-box and About round trips; afterwards the live GDI objects are
// as many as after the first paint and the process is alive.
#include <string>

#include <gtest/gtest.h>

#include "chart_geometry.h"
#include "gui_session.h"

using namespace geometry;
using gui::App;
using gui::Dump;

namespace {

// One xdotool call moving the pointer through n points of a sweep over the chart, with
// a pause after each move so that the window sees every one instead of their sum.
void sweep(App& app, int n, int phase) {
    std::string command = "xdotool";
    for (int i = 0; i < n; ++i) {
        int x = 25 + (i * 37 + phase * 11) % (client_width - 30);
        int y = 5 + (i * 53 + phase * 7) % (client_height - 10);
        command += " mousemove --window " + app.main_window + " " + std::to_string(x) + " " +
                   std::to_string(y) + " sleep 0.003";
    }
    gui::run(command, 30);
}

}  // namespace

TEST(GdiSoak, ObjectsBalanceAfterMovesClicksAndDialogs) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    Dump first = app.wait_count("paint", 0);
    const int baseline = first.integer("gdi_objects");
    ASSERT_GE(baseline, 0);
    const long deadline = gui::now_ms() + 45000;

    for (int round = 0; round < 10 && gui::now_ms() < deadline; ++round) {
        sweep(app, 300, round);
        // A process by two clicks, closed from its results dialog.
        app.click_at(x_of(6.0 + 0.1 * round), y_of(350));
        app.move_to(x_of(7.5), y_of(120));
        Dump d = app.click_at(x_of(7.5), y_of(120));
        ASSERT_TRUE(gui::results_shown(d)) << app.log();
        std::string results = gui::find_window("Results");
        ASSERT_FALSE(results.empty());
        app.click_in_window(results, du(100), du(157));
        ASSERT_TRUE(gui::window_gone("Results"));
        // The data-input dialog with empty boxes, refused by the message box.
        app.move_to(700, 600);
        app.key("space");
        std::string input = gui::find_window("Data input window");
        ASSERT_FALSE(input.empty());
        long refusals = app.dump().count("refusal");
        long keys = app.dump().count("key_down");
        app.click_in_window(input, du(135), du(138));
        app.wait_count("refusal", refusals);
        app.key("Return");
        app.wait_count("key_down", keys);
        // The About box.
        app.key("alt+slash");
        ASSERT_FALSE(gui::find_window("Informazioni su Vapora 2.0").empty());
        app.key("Return");
        ASSERT_TRUE(gui::window_gone("Informazioni su Vapora 2.0"));
    }
    Dump last = app.move_to(500, 300);
    ASSERT_EQ(last.event(), "mouse_move");
    EXPECT_GT(last.count("mouse_move"), 600);  // the window sees a part of the 3000 moves
    EXPECT_EQ(last.integer("gdi_objects"), baseline);
    EXPECT_TRUE(app.alive());
}
