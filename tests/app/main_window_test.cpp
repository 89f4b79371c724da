// The main window for real: start and first paint, the live readout, the two-click
// process with its rubber band, clicks outside the valid space, the About box and the
// end of the program.
#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "chart_geometry.h"
#include "gui_session.h"

using namespace geometry;
using gui::App;
using gui::Dump;
using gui::Image;
using gui::rgb;

namespace {

bool near(double a, double b, double relative = 1e-9, double absolute = 1e-9) {
    return std::fabs(a - b) <= absolute + relative * std::fabs(b);
}

// The state the solvers give for a diagram pixel, in the dump's units (p in Pa,
// h in J/kg, s in J/(kg K)); empty when the pixel is outside the valid space.
std::map<std::string, double> expected_at(int x, int y) {
    char args[128];
    std::snprintf(args, sizeof args, "point %.17g %.17g", s_of(x), t_of(y));
    auto v = gui::calc(args);
    if (v.empty()) return v;
    v["p"] *= 100000.0;
    v["h"] *= 1000.0;
    v["s"] *= 1000.0;
    return v;
}

void expect_state(const Dump& d, const std::string& record, const std::map<std::string, double>& want) {
    const char* names[6] = {"t", "p", "h", "s", "v", "x"};
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(near(d.number(record, i), want.at(names[i]), 1e-9, 1e-6))
            << record << " " << names[i] << ": " << d.number(record, i) << " vs "
            << want.at(names[i]);
}

Dump wait_paint(App& app) {
    return app.wait_count("paint", 0);
}

// Pixels that differ between two images inside a rectangle.
int differing(const Image& a, const Image& b, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++n;
    return n;
}

bool in_box(int x, int y, int left, int top, int right, int bottom) {
    return x >= left && x < right && y >= top && y < bottom;
}

bool in_readout_or_title(int x, int y) {
    return in_box(x, y, readout_left - 6, readout_top - 5, readout_left + 107, readout_top + 131) ||
           in_box(x, y, 74, 15, 347, 116);
}

}  // namespace

TEST(MainWindow, StartsWithTheWholeChartInAFixedClientArea) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << "no window titled \"Vapora 2.0\"\n" << app.log();
    Dump d = wait_paint(app);
    ASSERT_EQ(d.event(), "paint");
    EXPECT_EQ(d.integer("client_rect", 2), client_width);
    EXPECT_EQ(d.integer("client_rect", 3), client_height);
    EXPECT_EQ(d.integer("frame", 0), origin_x);
    EXPECT_EQ(d.integer("frame", 1), origin_y);
    EXPECT_EQ(d.integer("awaiting_first_point"), 1);

    // What the X server shows: black ground, the yellow dome, green isobars, the grey
    // title panel.
    int width = 0, height = 0;
    ASSERT_TRUE(gui::window_size(app.main_window, &width, &height));
    EXPECT_EQ(width, client_width);
    EXPECT_EQ(height, client_height);
    // Not resizable: the window asks any window manager for one size only.
    std::string hints = gui::run("xprop -id " + app.main_window + " WM_NORMAL_HINTS").output;
    EXPECT_NE(hints.find("maximum size: 994 by 671"), std::string::npos) << hints;
    Image shot = gui::screenshot(app.main_window);
    ASSERT_TRUE(shot.valid());
    int black = 0, yellow = 0, green = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            uint32_t p = shot.pixel(x, y);
            black += p == rgb(0, 0, 0);
            yellow += p == rgb(255, 255, 0);
            green += p == rgb(0, 255, 0);
        }
    EXPECT_GT(black, shot.width * shot.height / 2);
    EXPECT_GT(yellow, 500);
    EXPECT_GT(green, 3000);
    Image surface = app.snapshot();
    ASSERT_TRUE(surface.valid());
    EXPECT_EQ(surface.width, client_width);
    EXPECT_EQ(surface.height, client_height);
    EXPECT_EQ(surface.pixel(330, 60), rgb(192, 192, 192)) << "title panel face, right of the credit";
    EXPECT_EQ(surface.pixel(5, 660), rgb(0, 0, 0));
}

TEST(MainWindow, ReadoutShowsTheStateUnderTheCursor) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    wait_paint(app);
    // Superheated steam, wet steam near the liquid side, low-pressure vapour, compressed
    // water, and the dome's top.
    const int points[][2] = {{x_of(6.5), y_of(400)}, {x_of(2.0), y_of(150)},
                             {x_of(7.9), y_of(60)},  {x_of(3.5), y_of(340)},
                             {x_of(4.4), y_of(370)}};
    Image before = app.snapshot();
    for (const auto& pt : points) {
        Dump d = app.move_to(pt[0], pt[1]);
        ASSERT_EQ(d.integer("cursor_px", 0), pt[0]) << "move not handled";
        auto want = expected_at(pt[0], pt[1]);
        ASSERT_FALSE(want.empty()) << "test point outside the valid space";
        expect_state(d, "cursor_state", want);
        Image now = app.snapshot();
        EXPECT_EQ(now.pixel(readout_left + 90, readout_top + 20), rgb(0, 130, 0));
        EXPECT_GT(differing(before, now, readout_left, readout_top + 30, readout_left + 100,
                            readout_top + 120), 20)
            << "panel text did not change";
        before = now;
    }
    // Over the margin: t and s follow the mapping, everything else is zero.
    Dump d = app.move_to(5, 663);
    EXPECT_TRUE(near(d.number("cursor_state", 0), t_of(663)));
    EXPECT_TRUE(near(d.number("cursor_state", 3), s_of(5) * 1000));
    for (int i : {1, 2, 4, 5}) EXPECT_EQ(d.number("cursor_state", i), 0.0);
}

TEST(MainWindow, TwoClicksMarkJoinAndShowTheProcess) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    wait_paint(app);
    const int ax = x_of(6.5), ay = y_of(400);
    const int bx = x_of(7.0), by = y_of(150);

    Dump d = app.click_at(ax, ay);
    EXPECT_EQ(d.integer("awaiting_first_point"), 0);
    auto first = expected_at(ax, ay);
    expect_state(d, "point1_state", first);
    Image marked = app.snapshot();
    EXPECT_EQ(marked.pixel(ax, ay), rgb(255, 0, 0));
    EXPECT_EQ(marked.pixel(ax + 2, ay), rgb(255, 0, 0));

    // The rubber band follows the cursor; wherever it went, the screen at one cursor
    // position is the same: every old segment was erased.
    app.move_to(600, 400);
    app.move_to(bx, by);
    Image band = app.snapshot();
    int band_pixels = 0;
    for (int y = 0; y < client_height; ++y)
        for (int x = 0; x < client_width; ++x)
            if (!in_readout_or_title(x, y) && !in_box(x, y, ax - 4, ay - 4, ax + 5, ay + 5) &&
                band.pixel(x, y) != marked.pixel(x, y)) {
                ++band_pixels;
                uint32_t was = marked.pixel(x, y);
                EXPECT_EQ(band.pixel(x, y), 0xFFFFFFu ^ was) << "not inverted at " << x << "," << y;
            }
    EXPECT_GT(band_pixels, 200);
    for (int i = 0; i < 30; ++i) app.move_to(300 + 17 * i, 200 + 9 * i);
    app.move_to(bx, by);
    Image again = app.snapshot();
    EXPECT_EQ(differing(band, again, 0, 0, client_width, client_height), 0);

    // Second click: band gone, red line and marker, results with the differences.
    d = app.click_at(bx, by);
    ASSERT_TRUE(gui::results_shown(d)) << app.log();
    auto second = expected_at(bx, by);
    expect_state(d, "point2_state", second);
    std::string results = gui::find_window("Results");
    ASSERT_FALSE(results.empty());
    d = app.wait_count("results_paint", 0);
    double dh = 0, ds = 0;
    ASSERT_EQ(std::sscanf(d.text("results_line 12").c_str(), "h1-h2 = %lf kJ/kg", &dh), 1)
        << d.text("results_line 12");
    ASSERT_EQ(std::sscanf(d.text("results_line 13").c_str(), "s1-s2 = %lf kJ/kg", &ds), 1);
    EXPECT_NEAR(dh, (first["h"] - second["h"]) / 1000, 0.051);
    EXPECT_NEAR(ds, (first["s"] - second["s"]) / 1000, 0.00051);
    EXPECT_GT(dh, 0) << "expansion to lower enthalpy shows a positive difference";
    char t1_line[64];
    std::snprintf(t1_line, sizeof t1_line, "t1 = %.1f \u00B0C", first["t"]);
    EXPECT_EQ(d.text("results_line 0"), t1_line);

    Image done = app.snapshot();
    for (int y = 0; y < client_height; ++y)
        for (int x = 0; x < client_width; ++x) {
            if (in_readout_or_title(x, y) || band.pixel(x, y) == marked.pixel(x, y)) continue;
            if (in_box(x, y, ax - 4, ay - 4, ax + 5, ay + 5) ||
                in_box(x, y, bx - 4, by - 4, bx + 5, by + 5))
                continue;
            uint32_t p = done.pixel(x, y);
            EXPECT_TRUE(p == marked.pixel(x, y) || p == rgb(255, 0, 0))
                << "rubber band left at " << x << "," << y;
        }
    EXPECT_EQ(done.pixel(bx, by), rgb(255, 0, 0));
    EXPECT_EQ(done.pixel((ax + bx) / 2, (ay + by) / 2) == rgb(255, 0, 0) ||
                  done.pixel((ax + bx) / 2, (ay + by) / 2 + 1) == rgb(255, 0, 0) ||
                  done.pixel((ax + bx) / 2, (ay + by) / 2 - 1) == rgb(255, 0, 0),
              true)
        << "no red process line";

    // Esc does not close the results; its button does.
    app.key("Escape");
    gui::sleep_ms(200);
    EXPECT_FALSE(gui::find_window("Results", 500).empty());
    long clicks = app.dump().count("left_button_down");
    app.click_in_window(results, du(100), du(157));
    EXPECT_TRUE(gui::window_gone("Results"));
    d = app.wait_count("left_button_down", clicks);
    EXPECT_EQ(d.integer("awaiting_first_point"), 1);

    // A double click is two plain clicks: a process of one point, zero differences.
    app.move_to(x_of(8.0), y_of(250));
    long painted = app.dump().count("results_paint");
    gui::run("xdotool click --repeat 2 --delay 80 1");
    d = app.wait_count("results_paint", painted);
    EXPECT_EQ(d.text("results_line 12"), "h1-h2 = 0.0 kJ/kg");
    EXPECT_EQ(d.text("results_line 13"), "s1-s2 = 0.000 kJ/kg\u00B0C");
    results = gui::find_window("Results");
    ASSERT_FALSE(results.empty());
    app.click_in_window(results, du(100), du(157));
    EXPECT_TRUE(gui::window_gone("Results"));
}

TEST(MainWindow, ClickOutsideTheValidSpaceBeepsAndPrompts) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    wait_paint(app);
    const int cold_x = x_of(5.0), cold_y = y_of(5);  // below 10 C
    app.move_to(cold_x, cold_y);
    Image start = app.snapshot();
    Dump d = app.click_at(cold_x, cold_y);
    EXPECT_EQ(d.integer("beeps"), 1);
    EXPECT_EQ(d.integer("awaiting_first_point"), 1);
    Image outside = app.snapshot();
    EXPECT_GT(differing(start, outside, 83, 75, 340, 106), 50) << "prompt lines unchanged";
    EXPECT_EQ(differing(start, outside, 83, 20, 340, 70), 0) << "name and credit changed";

    // In state B an outside click keeps point 1 and the band; a valid click completes.
    d = app.click_at(x_of(6.0), y_of(300));
    ASSERT_EQ(d.integer("awaiting_first_point"), 0);
    const int p1x = d.integer("point1_px", 0);
    app.move_to(x_of(8.0), y_of(350));
    d = app.click_at(992, y_of(200));  // right of the 0.02 bar isobar at 200 C
    EXPECT_GE(d.integer("beeps"), 2);
    EXPECT_EQ(d.integer("awaiting_first_point"), 0);
    EXPECT_EQ(d.integer("point1_px", 0), p1x);
    d = app.click_at(x_of(7.0), y_of(120));
    ASSERT_TRUE(gui::results_shown(d));
    std::string results = gui::find_window("Results");
    ASSERT_FALSE(results.empty());
    app.click_in_window(results, du(100), du(157));
    EXPECT_TRUE(gui::window_gone("Results"));
}

TEST(MainWindow, AltQuestionMarkOrSlashOpensTheAboutBox) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    wait_paint(app);
    app.move_to(500, 300);
    for (const char* keys : {"alt+question", "alt+slash"}) {
        app.key(keys);
        std::string about = gui::find_window("Informazioni su Vapora 2.0");
        ASSERT_FALSE(about.empty()) << keys;
        app.key("Return");
        EXPECT_TRUE(gui::window_gone("Informazioni su Vapora 2.0")) << keys;
    }
    // With point 1 fixed, the box covers part of the window: the repaint when it closes
    // returns the interaction to awaiting point 1.
    Dump d = app.click_at(x_of(6.0), y_of(300));
    ASSERT_EQ(d.integer("awaiting_first_point"), 0);
    long paints = d.count("paint");
    app.key("alt+question");
    ASSERT_FALSE(gui::find_window("Informazioni su Vapora 2.0").empty());
    app.key("Escape");
    EXPECT_TRUE(gui::window_gone("Informazioni su Vapora 2.0"));
    d = app.wait_count("paint", paints);
    EXPECT_EQ(d.integer("awaiting_first_point"), 1);
    EXPECT_TRUE(app.alive());
}

TEST(MainWindow, ClosingTheWindowEndsTheProgramWithStatusZero) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    wait_paint(app);
    ASSERT_TRUE(gui::request_close(app.main_window));
    EXPECT_EQ(app.wait_exit(10000), 0) << app.log();
}
