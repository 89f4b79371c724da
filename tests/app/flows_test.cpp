// The program as a user meets it, one test per path: the readout, a process by two
// clicks, typed pairs, a turbine expansion, typed input refused, the About box and the
// end. Each checks the solved states against vapora-calc and reads every text the user
// sees off the window surfaces, pixel for pixel against the same text drawn where the
// program places it.
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <string>

#include <gtest/gtest.h>

#include "gui_session.h"

using namespace gui;

namespace {

constexpr uint32_t white = 0xFFFFFF, black = 0, grey = 0xC0C0C0, readout_green = 0x008200;
constexpr uint32_t red = 0xFF0000, blue = 0x0000FF, dark_red = 0x820000;
constexpr int proof = 2;  // PROOF_QUALITY
const int readout_left = origin_x + 20, readout_top = origin_y - plot_height / 2;

std::wstring format(const wchar_t* pattern, double value) {
    wchar_t text[100];
    std::swprintf(text, 100, pattern, value);
    return text;
}

// The six fields of a record in the hook's state, as vapora-calc gives them (p in bar,
// h in kJ/kg, s in kJ/kg C).
struct State {
    double t, p, h, s, v, x;
};
State recorded(const Dump& d, const std::string& record) {
    return {d.number(record, 0), d.number(record, 1) / 1e5, d.number(record, 2) / 1e3,
            d.number(record, 3) / 1e3, d.number(record, 4), d.number(record, 5)};
}

void expect_state(const State& got, std::map<std::string, double> want,
                  const std::string& prefix = "") {
    ASSERT_FALSE(want.empty()) << "vapora-calc refused the reference state";
    const double values[6] = {got.t, got.p, got.h, got.s, got.v, got.x};
    const char* names[6] = {"t", "p", "h", "s", "v", "x"};
    for (int i = 0; i < 6; ++i) {
        double w = want.at(prefix + names[i]);
        EXPECT_NEAR(values[i], w, 1e-7 + 1e-9 * std::fabs(w)) << names[i];
    }
}

// The title panel's two prompt lines.
int prompt_mismatch(const Image& shot, const wchar_t* line1, const wchar_t* line2) {
    return text_mismatch(shot, {83, 75, 340, 104},
                         {{83, 75, line1, 14, 400, proof, 0x10, black, false},
                          {83, 89, line2, 14, 400, proof, 0x10, black, false}},
                         grey);
}

// The readout panel for a cursor state: heading and six lines.
int readout_mismatch(const Image& shot, const State& c) {
    const int x = readout_left + 5, y = readout_top;
    auto line = [&](int dy, const wchar_t* f, double v) {
        return Text{x, y + dy, format(f, v), 14, 0, proof, 0x22, white, true};
    };
    return text_mismatch(
        shot, {readout_left, readout_top, readout_left + 100, readout_top + 125},
        {{readout_left + 15, y + 5, L"   Vapora", 14, 700, proof, 0x22, white, false},
         line(30, L"t = %.1f C   ", c.t), line(45, L"p = %.3f bar   ", c.p),
         line(60, L"h = %.0f kJ/kg   ", c.h), line(75, L"s = %.3f kJ/kgC   ", c.s),
         line(90, L"v = %.3f m3/kg   ", c.v), line(105, L"x = %.2f kg/kg   ", c.x)},
        readout_green);
}

// The results dialog's heading and fourteen lines for two recorded states.
int results_mismatch(const Image& shot, const State& a, const State& b) {
    std::vector<Text> texts = {{160, 20, L"Results", 22, 700, 0, 0, dark_red, false}};
    auto add = [&](int x, int y, const wchar_t* f, double v) {
        texts.push_back({x, y, format(f, v), 17, 0, 0, 0, black, false});
    };
    add(40, 60, L"t1 = %.1f \u00B0C", a.t);         add(240, 60, L"t2 = %.1f \u00B0C", b.t);
    add(40, 85, L"p1 = %.3f bar", a.p);             add(240, 85, L"p2 = %.3f bar", b.p);
    add(40, 110, L"h1 = %.1f kJ/kg", a.h);          add(240, 110, L"h2 = %.1f kJ/kg", b.h);
    add(40, 135, L"s1 = %.3f kJ/kg\u00B0C", a.s);   add(240, 135, L"s2 = %.3f kJ/kg\u00B0C", b.s);
    add(40, 160, L"v1 = %.3f m3/kg", a.v);          add(240, 160, L"v2 = %.3f m3/kg", b.v);
    add(40, 185, L"x1 = %.2f kg/kg", a.x);          add(240, 185, L"x2 = %.2f kg/kg", b.x);
    add(120, 235, L"h1-h2 = %.1f kJ/kg", a.h - b.h);
    add(120, 260, L"s1-s2 = %.3f kJ/kg\u00B0C", a.s - b.s);
    return text_mismatch(shot, {0, 0, shot.width, du(148)}, texts, shot.pixel(2, 2));
}

// Control centres of the data-input dialog, in dialog units.
struct Spot {
    int x, y;
};
const Spot point1_selector[7] = {{30, 46}, {52, 46}, {67, 46}, {22, 58},
                                 {37, 58}, {52, 58}, {67, 58}};
const Spot boxes[4] = {{62, 76}, {62, 91}, {152, 76}, {152, 91}};
const Spot turbine_tp = {45, 126}, calculate = {135, 138};
const char* const pair_names[7] = {"t,p", "t,h", "p,h", "t,s", "p,s", "t,x", "p,x"};

// A key opens the data-input dialog; its blue heading is checked once per run.
std::string open_input(App& app) {
    app.move_to(700, 600);
    app.key("a");
    std::string input = find_window("Data input window");
    Image shot = app.snapshot("Data input window");
    EXPECT_EQ(text_mismatch(shot, {22, 10, shot.width, 30},
                            {{22, 10, L"Introduce the start point and the end point", 17, 700,
                              0, 0, blue, false}},
                            shot.pixel(2, 2)),
              0);
    return input;
}

void type_values(App& app, const std::string& input, const char* const values[4]) {
    for (int i = 0; i < 4; ++i) {
        app.click_dlu(input, boxes[i].x, boxes[i].y);
        app.type(values[i]);
    }
}

// Calculate, then the results dialog: the two records and every line it shows.
Dump calculate_and_read_results(App& app, const std::string& input) {
    long results = app.dump().count("results");
    app.click_dlu(input, calculate.x, calculate.y);
    Dump d = app.wait_count("results", results);
    std::string window = find_window("Results");
    EXPECT_FALSE(window.empty()) << app.log();
    if (window.empty()) return d;
    EXPECT_EQ(results_mismatch(app.snapshot("Results"), recorded(d, "point1_state"),
                               recorded(d, "point2_state")),
              0);
    long keys = d.count("key_down");
    app.click_dlu(window, 100, 157);
    return app.wait_count("key_down", keys);
}

bool near_colour(const Image& shot, int x, int y, uint32_t colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (shot.pixel(x + dx, y + dy) == colour) return true;
    return false;
}

}  // namespace

TEST(Flows, ReadoutShowsTheStateUnderTheCursor) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    Dump d = app.dump();
    EXPECT_EQ(d.number("client_rect", 0), client_width);
    EXPECT_EQ(d.number("client_rect", 1), client_height);
    Image start = app.snapshot();
    EXPECT_EQ(prompt_mismatch(start, L"Press a KEY to introduce data from keyboard or point",
                              L"the screen and press the LEFT BUTTON of the mouse"), 0);
    // Superheated steam, wet steam, compressed water, the margin outside the chart.
    const int points[][2] = {{x_of(6.5), y_of(400)}, {x_of(2.0), y_of(150)},
                             {x_of(3.5), y_of(340)}, {5, 663}};
    for (const auto& pt : points) {
        d = app.move_to(pt[0], pt[1]);
        State c = recorded(d, "cursor_state");
        char args[80];
        std::snprintf(args, sizeof args, "point %.17g %.17g", s_of(pt[0]) / 1000, t_of(pt[1]));
        if (pt[0] > origin_x) expect_state(c, calc(args));
        else EXPECT_EQ(c.p + c.h + c.v + c.x, 0.0) << "outside the chart only t and s";
        EXPECT_EQ(readout_mismatch(app.snapshot(), c), 0) << pt[0] << "," << pt[1];
    }
}

TEST(Flows, TwoClicksMarkJoinAndShowTheProcess) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    const int ax = x_of(6.5), ay = y_of(400), bx = x_of(7.0), by = y_of(150);
    Image before = app.snapshot();
    Dump d = app.click_at(ax, ay);
    EXPECT_EQ(d.number("awaiting_first_point"), 0);
    Image marked = app.snapshot();
    EXPECT_EQ(marked.pixel(ax, ay), red);
    EXPECT_EQ(prompt_mismatch(marked, L"Point the screen and press the LEFT BUTTON of",
                              L"the mouse to calculate values of the second point"), 0);

    // The rubber band inverts what it crosses; moved away and back, it leaves the same
    // screen, so every earlier segment was erased.
    app.move_to(bx, by);
    Image band = app.snapshot();
    const int mx = (ax + bx) / 2, my = (ay + by) / 2;
    int inverted = 0;
    for (int y = my - 3; y <= my + 3; ++y)
        inverted += band.pixel(mx, y) == (0xFFFFFF ^ marked.pixel(mx, y));
    EXPECT_GE(inverted, 1) << "no rubber band half way";
    for (int i = 0; i < 10; ++i) app.move_to(300 + 37 * i, 200 + 19 * i);
    app.move_to(bx, by);
    EXPECT_EQ(differing(band, app.snapshot(), origin_x, 120, client_width, origin_y), 0);

    d = app.click_at(bx, by);
    ASSERT_EQ(d.count("results"), 1) << app.log();
    State a = recorded(d, "point1_state"), b = recorded(d, "point2_state");
    char args[80];
    std::snprintf(args, sizeof args, "point %.17g %.17g", s_of(ax) / 1000, t_of(ay));
    expect_state(a, calc(args));
    std::snprintf(args, sizeof args, "point %.17g %.17g", s_of(bx) / 1000, t_of(by));
    expect_state(b, calc(args));
    std::string results = find_window("Results");
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(results_mismatch(app.snapshot("Results"), a, b), 0);
    app.key("Escape");  // does not close it; its button does
    EXPECT_FALSE(find_window("Results", 300).empty());
    app.click_dlu(results, 100, 157);
    EXPECT_TRUE(window_gone("Results"));

    // The band is gone, the marks are joined in red, the start prompts are back.
    Image done = app.snapshot();
    EXPECT_EQ(done.pixel(bx, by), red);
    int line = 0;
    for (int y = my - 3; y <= my + 3; ++y) line += done.pixel(mx, y) == red;
    EXPECT_GE(line, 1) << "no red process line half way";
    EXPECT_EQ(differing(before, done, 83, 75, 340, 104), 0) << "start prompts";
}

TEST(Flows, TypedPairsAreSolvedMarkedAndShown) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    const double gdi_objects = app.dump().number("gdi_objects");
    struct Case {
        int pair1, pair2;
        const char* values[4];
    };
    // Every pair once for point 1 and once for point 2: superheated and wet steam,
    // compressed water.
    const Case cases[] = {{0, 2, {"500", "100", "5", "2700"}},
                          {1, 3, {"250", "2900", "300", "6.2"}},
                          {4, 5, {"20", "6.5", "120", "0.25"}},
                          {6, 0, {"2", "0.9", "50", "200"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(pair_names[c.pair1]) + " / " + pair_names[c.pair2]);
        std::string input = open_input(app);
        ASSERT_FALSE(input.empty());
        app.click_dlu(input, point1_selector[c.pair1].x, point1_selector[c.pair1].y);
        app.click_dlu(input, point1_selector[c.pair2].x + 90, point1_selector[c.pair2].y);
        type_values(app, input, c.values);
        Dump d = calculate_and_read_results(app, input);
        State a = recorded(d, "point1_state"), b = recorded(d, "point2_state");
        expect_state(a, calc(std::string("state ") + pair_names[c.pair1] + " " + c.values[0] +
                             " " + c.values[1]));
        expect_state(b, calc(std::string("state ") + pair_names[c.pair2] + " " + c.values[2] +
                             " " + c.values[3]));
        Image shot = app.snapshot();
        EXPECT_TRUE(near_colour(shot, x_of(a.s), y_of(a.t), red));
        EXPECT_TRUE(near_colour(shot, x_of(b.s), y_of(b.t), red));
    }
    EXPECT_EQ(app.dump().number("gdi_objects"), gdi_objects) << "GDI objects left behind";
}

TEST(Flows, TurbineExpansionIsDrawnInBlueThenRed) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    std::string input = open_input(app);
    ASSERT_FALSE(input.empty());
    app.click_dlu(input, turbine_tp.x, turbine_tp.y);
    const char* const values[4] = {"500", "100", "1", "85"};
    type_values(app, input, values);
    Dump d = calculate_and_read_results(app, input);
    auto want = calc("turbine 100 500 1 85");
    State a = recorded(d, "point1_state"), b = recorded(d, "point2_state");
    expect_state(a, want, "inlet_");
    expect_state(b, want, "outlet_");
    Image shot = app.snapshot();
    EXPECT_TRUE(near_colour(shot, x_of(a.s), y_of(want["isentropic_t"]), blue));
    EXPECT_TRUE(near_colour(shot, x_of(a.s), y_of((a.t + want["isentropic_t"]) / 2), blue));
    EXPECT_TRUE(near_colour(shot, x_of(b.s), y_of(b.t), red));
}

TEST(Flows, InputOutOfRangeIsRefusedWithOneMessageBox) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    Image before = app.snapshot();
    // Empty boxes read as 0 C: point 1 is refused before point 2 is looked at.
    for (const char* key : {"Return", "Escape"}) {
        std::string input = open_input(app);
        ASSERT_FALSE(input.empty());
        long boxes_shown = app.dump().count("message_box");
        app.click_dlu(input, calculate.x, calculate.y);
        Dump d = app.wait_count("message_box", boxes_shown);
        EXPECT_EQ(d.count("message_box"), boxes_shown + 1);
        EXPECT_EQ(d.count("results"), 0);
        long keys = d.count("key_down");
        app.key(key);
        app.wait_count("key_down", keys);
        EXPECT_EQ(differing(before, app.snapshot(), 80, 20, 341, 111), 0) << "start prompts";
    }
    EXPECT_TRUE(app.log().find("CRITICAL") == std::string::npos) << app.log();
}

TEST(Flows, AboutBoxOpensWithAltAndClosesEveryWay) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    app.move_to(500, 300);
    const char* const title = "Informazioni su Vapora 2.0";
    for (const char* keys : {"alt+question", "alt+slash"})
        for (const char* close : {"Return", "Escape", "request"}) {
            SCOPED_TRACE(std::string(keys) + " " + close);
            app.key(keys);
            std::string about = find_window(title);
            ASSERT_FALSE(about.empty());
            if (std::string(close) == "request") request_close(about);
            else app.key(close);
            EXPECT_TRUE(window_gone(title));
        }
    EXPECT_TRUE(app.log().find("CRITICAL") == std::string::npos) << app.log();
    request_close(app.main_window);
    EXPECT_EQ(app.wait_exit(10000), 0) << app.log();
}
