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
