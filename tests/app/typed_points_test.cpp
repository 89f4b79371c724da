// The typed-point path for real: any key opens the data-input dialog, typed pairs and a
// turbine case are solved, drawn and shown in the results dialog, and input out of
// range gets its message box while the program goes on. The results dialog's own
// lines and layout for a process from superheated steam to wet steam.
#include <algorithm>
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

// Control rectangles of the data-input dialog, in dialog units.
struct Control {
    int x, y, w, h;
};
constexpr Control point1_value1 = {45, 70, 35, 12};
constexpr Control point1_value2 = {45, 85, 35, 12};
constexpr Control point2_value1 = {135, 70, 35, 12};
constexpr Control point2_value2 = {135, 85, 35, 12};
constexpr Control point1_t_p = {15, 40, 30, 12};
constexpr Control point1_p_h = {60, 40, 15, 12};
constexpr Control point2_p_h = {150, 40, 15, 12};
constexpr Control point2_t_x = {135, 52, 15, 12};
constexpr Control turbine_t_p = {15, 120, 60, 12};
constexpr Control calculate = {105, 126, 60, 24};
constexpr Control results_close = {60, 150, 80, 14};

void click(App& app, const std::string& window, const Control& c) {
    app.click_in_window(window, du(c.x + c.w / 2), du(c.y + c.h / 2));
}

void type_into(App& app, const std::string& window, const Control& c, const std::string& text) {
    click(app, window, c);
    app.type(text);
}

// The four edit boxes in their order: point 1's two values, then point 2's.
void type_values(App& app, const std::string& input, const char* p1_first,
                 const char* p1_second, const char* p2_first, const char* p2_second) {
    type_into(app, input, point1_value1, p1_first);
    type_into(app, input, point1_value2, p1_second);
    type_into(app, input, point2_value1, p2_first);
    type_into(app, input, point2_value2, p2_second);
}

// Opens the data-input dialog with a key press over the main window.
std::string open_input_dialog(App& app, const char* key = "a") {
    app.move_to(700, 600);
    app.key(key);
    return gui::find_window("Data input window");
}

// The dump taken just before the results dialog opens, and that dialog.
Dump calculate_and_wait_results(App& app, const std::string& input, std::string* results) {
    long before = app.dump().count("results");
    click(app, input, calculate);
    Dump d = app.wait_count("results", before);
    *results = gui::find_window("Results");
    return d;
}

void close_results(App& app, const std::string& results) {
    long keys = app.dump().count("key_down");
    click(app, results, results_close);
    EXPECT_TRUE(gui::window_gone("Results"));
    app.wait_count("key_down", keys);
}

// vapora-calc's reply in the dump's units (p in Pa, h in J/kg, s in J/(kg K)).
void expect_state(const Dump& d, const std::string& record, std::map<std::string, double> want,
                  const std::string& prefix = "") {
    ASSERT_FALSE(want.empty()) << "vapora-calc refused the reference point";
    const char* names[6] = {"t", "p", "h", "s", "v", "x"};
    const double scale[6] = {1, 100000, 1000, 1000, 1, 1};
    for (int i = 0; i < 6; ++i) {
        double expected = want.at(prefix + names[i]) * scale[i];
        EXPECT_NEAR(d.number(record, i), expected, 1e-6 + 1e-9 * std::fabs(expected))
            << record << " " << names[i];
    }
}

// The painted lines in drawing order, with the top-left corner each is drawn at.
struct Line {
    const char* text;
    int x, y;
};
// 500 C, 100 bar: h = 3374.598 kJ/kg, s = 6.59944 kJ/kg C, v = 0.0327598 m3/kg, phase
// flag 1. 120 C, x = 0.25: p = 1.98543 bar, h = 1054.280 kJ/kg, s = 2.92801 kJ/kg C,
// v = 0.223676 m3/kg.
const Line expected_lines[14] = {
    {"t1 = 500.0 \u00B0C", 40, 60},          {"t2 = 120.0 \u00B0C", 240, 60},
    {"p1 = 100.000 bar", 40, 85},            {"p2 = 1.985 bar", 240, 85},
    {"h1 = 3374.6 kJ/kg", 40, 110},          {"h2 = 1054.3 kJ/kg", 240, 110},
    {"s1 = 6.599 kJ/kg\u00B0C", 40, 135},    {"s2 = 2.928 kJ/kg\u00B0C", 240, 135},
    {"v1 = 0.033 m3/kg", 40, 160},           {"v2 = 0.224 m3/kg", 240, 160},
    {"x1 = 1.00 kg/kg", 40, 185},            {"x2 = 0.25 kg/kg", 240, 185},
    {"h1-h2 = 2320.3 kJ/kg", 120, 235},      {"s1-s2 = 3.671 kJ/kg\u00B0C", 120, 260},
};

// Pixels of the box [x0, x1) x [y0, y1) that differ from the background.
int ink(const Image& im, int x0, int y0, int x1, int y1, uint32_t background) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += im.pixel(x, y) != background;
    return n;
}

// A box [x0, x1) x [y0, y1) in dialog pixels.
struct Box {
    int x0, y0, x1, y1;
};

// The smallest box around the pixels of `box` that differ from the background.
Box inked(const Image& im, const Box& box, uint32_t background) {
    Box found = {box.x1, box.y1, box.x0, box.y0};
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x)
            if (im.pixel(x, y) != background) {
                found.x0 = std::min(found.x0, x);
                found.y0 = std::min(found.y0, y);
                found.x1 = std::max(found.x1, x + 1);
                found.y1 = std::max(found.y1, y + 1);
            }
    return found;
}

int count(const Image& im, int x0, int y0, int x1, int y1, uint32_t colour) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += im.pixel(x, y) == colour;
    return n;
}

}  // namespace

TEST(TypedPoints, TemperaturePressureAndPressureEnthalpyPairsGiveTheResults) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    app.wait_count("paint", 0);

    // (t, p) for both points.
    std::string input = open_input_dialog(app);
    ASSERT_FALSE(input.empty()) << app.log();
    type_values(app, input, "500", "100", "200", "1");
    std::string results;
    Dump d = calculate_and_wait_results(app, input, &results);
    ASSERT_FALSE(results.empty()) << app.log();
    expect_state(d, "point1_state", gui::calc("state t,p 500 100"));
    expect_state(d, "point2_state", gui::calc("state t,p 200 1"));
    EXPECT_EQ(d.integer("point1_pair"), 0);
    Image drawn = app.snapshot();
    EXPECT_EQ(drawn.pixel(d.integer("point1_px", 0), d.integer("point1_px", 1)), rgb(255, 0, 0));
    EXPECT_EQ(drawn.pixel(d.integer("point2_px", 0), d.integer("point2_px", 1)), rgb(255, 0, 0));
    close_results(app, results);

    // (p, h) for both points, Enter in an edit box as "Calculate".
    input = open_input_dialog(app, "shift");
    ASSERT_FALSE(input.empty());
    click(app, input, point1_p_h);
    click(app, input, point2_p_h);
    type_values(app, input, "50", "3000", "0.5", "2400");
    long before = app.dump().count("results");
    long painted = app.dump().count("results_paint");
    app.key("Return");
    d = app.wait_count("results", before);
    results = gui::find_window("Results");
    ASSERT_FALSE(results.empty()) << app.log();
    EXPECT_EQ(d.integer("point1_pair"), 2);
    EXPECT_EQ(d.integer("point2_pair"), 2);
    expect_state(d, "point1_state", gui::calc("state p,h 50 3000"));
    expect_state(d, "point2_state", gui::calc("state p,h 0.5 2400"));
    double dh = 0;
    d = app.wait_count("results_paint", painted);
    ASSERT_EQ(std::sscanf(d.text("results_line 12").c_str(), "h1-h2 = %lf", &dh), 1);
    EXPECT_NEAR(dh, 600.0, 0.051);
    close_results(app, results);
}

TEST(TypedPoints, TurbineCaseDrawsTheIsentropicLineInBlue) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    app.wait_count("paint", 0);
    std::string input = open_input_dialog(app);
    ASSERT_FALSE(input.empty()) << app.log();
    click(app, input, turbine_t_p);
    type_values(app, input, "500", "100", "0.1", "85");
    std::string results;
    Dump d = calculate_and_wait_results(app, input, &results);
    ASSERT_FALSE(results.empty()) << app.log();
    EXPECT_EQ(d.integer("point2_pair"), 7);
    EXPECT_EQ(d.number("turbine_efficiency"), 85.0);
    auto want = gui::calc("turbine 100 500 0.1 85");
    expect_state(d, "point1_state", want, "inlet_");
    expect_state(d, "point2_state", want, "outlet_");

    // Blue from the inlet straight down to the isentropic end, red to the real outlet.
    Image drawn = app.snapshot();
    const int x1 = d.integer("point1_px", 0), y1 = d.integer("point1_px", 1);
    const int y2s = y_of(want.at("isentropic_t"));
    EXPECT_EQ(drawn.pixel(x1, y2s), rgb(0, 0, 255));
    int blue = 0;
    for (int y = y1 + 5; y < y2s - 4; ++y) blue += drawn.pixel(x1, y) == rgb(0, 0, 255);
    EXPECT_GE(blue, (y2s - 4 - y1 - 5) * 9 / 10);
    EXPECT_EQ(drawn.pixel(d.integer("point2_px", 0), d.integer("point2_px", 1)), rgb(255, 0, 0));
    close_results(app, results);

    // Efficiency 0 from 700 C and 1000 bar leaves the real outlet at the inlet enthalpy,
    // beyond the (p, h) valid space at 0.02 bar: refused, the blue line stays.
    input = open_input_dialog(app);
    ASSERT_FALSE(input.empty());
    click(app, input, turbine_t_p);
    type_values(app, input, "700", "1000", "0.02", "0");
    long refusals = app.dump().count("refusal");
    long keys = app.dump().count("key_down");
    click(app, input, calculate);
    d = app.wait_count("refusal", refusals);
    ASSERT_GT(d.count("refusal"), refusals) << app.log();
    drawn = app.snapshot();
    const int x = d.integer("point1_px", 0), top = d.integer("point1_px", 1);
    const int bottom = y_of(17.5);  // the saturation temperature at 0.02 bar
    blue = 0;
    for (int y = top + 5; y < bottom - 4; ++y) blue += drawn.pixel(x, y) == rgb(0, 0, 255);
    EXPECT_GE(blue, (bottom - top - 9) * 9 / 10);
    app.key("Return");
    d = app.wait_count("key_down", keys);
    EXPECT_GT(d.count("key_down"), keys);
}

TEST(TypedPoints, InputOutOfRangeGetsTheMessageAndTheProgramGoesOn) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    app.wait_count("paint", 0);
    app.click_at(x_of(6.0), y_of(300));  // point 1 fixed by the mouse: state B

    // Esc does not close the data-input dialog; "Calculate" on empty boxes reads t = 0.
    std::string input = open_input_dialog(app);
    ASSERT_FALSE(input.empty()) << app.log();
    app.key("Escape");
    gui::sleep_ms(200);
    EXPECT_FALSE(gui::find_window("Data input window", 500).empty());
    long before = app.dump().count("refusal");
    long keys = app.dump().count("key_down");
    click(app, input, calculate);
    Dump d = app.wait_count("refusal", before);
    ASSERT_GT(d.count("refusal"), before) << app.log();
    EXPECT_EQ(d.integer("refusals"), 1);
    EXPECT_TRUE(gui::window_gone("Data input window"));
    app.key("Return");  // the message box's OK
    d = app.wait_count("key_down", keys);
    ASSERT_GT(d.count("key_down"), keys) << "message box still open";
    EXPECT_TRUE(app.alive());

    // A pressure above 1000 bar is refused; exactly 1000 and 0.02 pass.
    input = open_input_dialog(app);
    ASSERT_FALSE(input.empty());
    type_values(app, input, "300", "1000.0001", "300", "0.02");
    before = app.dump().count("refusal");
    keys = app.dump().count("key_down");
    click(app, input, calculate);
    d = app.wait_count("refusal", before);
    EXPECT_EQ(d.integer("refusals"), 2);
    app.key("Return");
    app.wait_count("key_down", keys);

    // Leaving a turbine case by a point-1 pair returns point 2 to (t, p).
    input = open_input_dialog(app);
    ASSERT_FALSE(input.empty());
    click(app, input, turbine_t_p);
    click(app, input, point1_t_p);
    type_values(app, input, "300", "1000", "300", "0.02");
    std::string results;
    d = calculate_and_wait_results(app, input, &results);
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(d.integer("refusals"), 2);
    EXPECT_EQ(d.integer("point2_pair"), 0);
    EXPECT_EQ(d.number("point2_state", 1), 0.02 * 100000);
    close_results(app, results);
    EXPECT_TRUE(app.alive());
}

TEST(ResultsDialog, ShowsBothStatesAndTheDifferencesInDisplayUnits) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    app.wait_count("paint", 0);
    std::string input = open_input_dialog(app);
    ASSERT_FALSE(input.empty()) << app.log();
    click(app, input, point2_t_x);
    type_values(app, input, "500", "100", "120", "0.25");
    long painted = app.dump().count("results_paint");
    click(app, input, calculate);
    Dump d = app.wait_count("results_paint", painted);
    ASSERT_GT(d.count("results_paint"), painted) << app.log();
    EXPECT_EQ(d.integer("point2_pair"), 5);
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(d.text("results_line " + std::to_string(i)), expected_lines[i].text) << i;

    std::string results = gui::find_window("Results");
    ASSERT_FALSE(results.empty());
    Image im = app.snapshot("Results");
    ASSERT_TRUE(im.valid()) << app.log();
    ASSERT_EQ(im.width, du(200));
    ASSERT_EQ(im.height, du(170));
    const uint32_t background = im.pixel(5, im.height - 5);
    const uint32_t dark_red = rgb(130, 0, 0);

    // The heading "Results" in bold dark red with its top-left corner at (160, 20), a
    // cell 22 pixels high; no dark red anywhere else, no black in it.
    const Box heading = {160, 20, 260, 42};
    EXPECT_GT(count(im, heading.x0, heading.y0, heading.x1, heading.y1, dark_red), 150);
    EXPECT_EQ(count(im, 0, 0, im.width, im.height, dark_red),
              count(im, heading.x0, heading.y0, heading.x1, heading.y1, dark_red));
    EXPECT_EQ(count(im, heading.x0, heading.y0, heading.x1, heading.y1, rgb(0, 0, 0)), 0);
    Box ink_box = inked(im, heading, background);
    EXPECT_GE(ink_box.x0, 160);
    EXPECT_LE(ink_box.x0, 163);
    EXPECT_GE(ink_box.y0, 20);
    EXPECT_LE(ink_box.y0, 26);

    // Each line in black within a cell 17 pixels high from its top-left corner, and
    // nothing drawn outside the heading and the fourteen lines.
    int inside = ink(im, heading.x0, heading.y0, heading.x1, heading.y1, background);
    for (int i = 0; i < 14; ++i) {
        const Line& line = expected_lines[i];
        const int right = line.x == 40 ? 240 : im.width;
        const Box cell = {line.x, line.y, right, line.y + 17};
        EXPECT_GT(count(im, cell.x0, cell.y0, cell.x1, cell.y1, rgb(0, 0, 0)), 15) << line.text;
        ink_box = inked(im, cell, background);
        EXPECT_GE(ink_box.x0, line.x) << line.text;
        EXPECT_LE(ink_box.x0, line.x + 3) << line.text;
        EXPECT_GE(ink_box.y0, line.y) << line.text;
        EXPECT_LE(ink_box.y0, line.y + 6) << line.text;
        EXPECT_GT(ink_box.x1 - ink_box.x0, 80) << line.text;
        inside += ink(im, cell.x0, cell.y0, cell.x1, cell.y1, background);
    }
    EXPECT_EQ(ink(im, 0, 0, im.width, im.height, background), inside)
        << "something drawn outside the heading and the lines";

    click(app, results, results_close);
    EXPECT_TRUE(gui::window_gone("Results"));
}
