// The program as a user meets it, one test per path: the readout, a process by two
// clicks, typed pairs, a turbine expansion, typed input refused, the About box and the
// end. Each checks the solved states against vapora-calc and reads every text the user
// sees off the window surfaces, pixel for pixel against the same text drawn where the
// program places it.
#include <cmath>
#include <cstdio>
#include <cwchar>

#include <gtest/gtest.h>

#include "gui_session.h"

using namespace gui;

namespace {

constexpr uint32_t white = 0xFFFFFF, black = 0, grey = 0xC0C0C0, green = 0x008200;
constexpr uint32_t red = 0xFF0000, blue = 0x0000FF, dark_red = 0x820000;
constexpr int proof = 2;  // PROOF_QUALITY
constexpr int readout_left = origin_x + 20, readout_top = origin_y - plot_height / 2;
const char* const pairs[7] = {"t,p", "t,h", "p,h", "t,s", "p,s", "t,x", "p,x"};

std::wstring format(const wchar_t* pattern, double value) {
    wchar_t text[100];
    std::swprintf(text, 100, pattern, value);
    return text;
}

// A record of the hook's state in display units: t, p (bar), h (kJ/kg), s (kJ/kg C), v, x.
std::vector<double> shown(const Dump& d, const std::string& record) {
    const double scale[6] = {1, 1e5, 1e3, 1e3, 1, 1};
    std::vector<double> v;
    for (int i = 0; i < 6; ++i) v.push_back(d.number(record, i) / scale[i]);
    return v;
}

void expect_state(const std::vector<double>& got, std::map<std::string, double> want,
                  const std::string& prefix = "") {
    ASSERT_FALSE(want.empty()) << "vapora-calc refused the reference state";
    const char* names[6] = {"t", "p", "h", "s", "v", "x"};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(got[i], want[prefix + names[i]], 1e-7 + 1e-9 * std::fabs(got[i])) << names[i];
}

std::map<std::string, double> calc_point(int x, int y) {
    char args[80];
    std::snprintf(args, sizeof args, "point %.17g %.17g", s_of(x) / 1000, t_of(y));
    return calc(args);
}

int prompt_mismatch(const Image& shot, const wchar_t* line1, const wchar_t* line2) {
    return text_mismatch(shot, 83, 75, 340, 104,
                         {{83, 75, line1, 14, 400, proof, 0x10, black, false},
                          {83, 89, line2, 14, 400, proof, 0x10, black, false}}, grey);
}
const wchar_t* const start1 = L"Press a KEY to introduce data from keyboard or point";
const wchar_t* const start2 = L"the screen and press the LEFT BUTTON of the mouse";

int readout_mismatch(const Image& shot, const std::vector<double>& c) {
    const wchar_t* formats[6] = {L"t = %.1f C   ",     L"p = %.3f bar   ",  L"h = %.0f kJ/kg   ",
                                 L"s = %.3f kJ/kgC   ", L"v = %.3f m3/kg   ", L"x = %.2f kg/kg   "};
    std::vector<Text> texts = {
        {readout_left + 15, readout_top + 5, L"   Vapora", 14, 700, proof, 0x22, white, false}};
    for (int i = 0; i < 6; ++i)
        texts.push_back({readout_left + 5, readout_top + 30 + 15 * i, format(formats[i], c[i]), 14,
                         0, proof, 0x22, white, true});
    return text_mismatch(shot, readout_left, readout_top, readout_left + 100, readout_top + 125,
                         texts, green);
}

// The results dialog's heading, the six lines of each point and the two differences.
int results_mismatch(const Image& shot, const Dump& d) {
    const std::vector<double> a = shown(d, "point1_state"), b = shown(d, "point2_state");
    const wchar_t* formats[6] = {L"t? = %.1f \u00B0C", L"p? = %.3f bar",   L"h? = %.1f kJ/kg",
                                 L"s? = %.3f kJ/kg\u00B0C", L"v? = %.3f m3/kg", L"x? = %.2f kg/kg"};
    std::vector<Text> texts = {{160, 20, L"Results", 22, 700, 0, 0, dark_red, false}};
    for (int i = 0; i < 6; ++i)
        for (int point = 1; point <= 2; ++point) {
            std::wstring f = formats[i];
            f[1] = point == 1 ? L'1' : L'2';
            texts.push_back({point == 1 ? 40 : 240, 60 + 25 * i,
                             format(f.c_str(), (point == 1 ? a : b)[i]), 17, 0, 0, 0, black, false});
        }
    texts.push_back({120, 235, format(L"h1-h2 = %.1f kJ/kg", a[2] - b[2]), 17, 0, 0, 0, black, false});
    texts.push_back({120, 260, format(L"s1-s2 = %.3f kJ/kg\u00B0C", a[3] - b[3]), 17, 0, 0, 0, black, false});
    return text_mismatch(shot, 0, 0, shot.width, du(148), texts, shot.pixel(2, 2));
}

// The label of a box for the quantity typed in it, as the hook writes it.
std::string field_label(char quantity) {
    const std::map<char, std::string> labels = {{'t', "t [C]  |"},    {'p', "p [bar]|"},
                                                {'h', "h [kJ/kg]|"}, {'s', "s [kJ/kgC]|"},
                                                {'x', "x [0-1]|"},   {'e', "eta [%]|"}};
    return labels.at(quantity);
}

// Pixels of that colour within `radius` of (x, y): a line through a point gives a few,
// a point's filled marker more than a dozen within 2 pixels.
int around(const Image& shot, int x, int y, uint32_t colour, int radius = 2) {
    int n = 0;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) n += shot.pixel(x + dx, y + dy) == colour;
    return n;
}

// A key opens the data-input dialog, whose blue heading is read each time.
std::string open_input(App& app) {
    app.move_to(700, 600);
    key("a");
    std::string input = find_window("Data input window");
    Image shot = app.snapshot("Data input window");
    EXPECT_EQ(text_mismatch(shot, 22, 10, shot.width, 30,
                            {{22, 10, L"Introduce the start point and the end point", 17, 700, 0,
                              0, blue, false}}, shot.pixel(2, 2)), 0);
    return input;
}

// The four boxes typed, Calculate, the results read and closed with their button.
Dump calculate(App& app, const std::string& input, const std::vector<const char*>& values) {
    const int boxes[4][2] = {{62, 76}, {62, 91}, {152, 76}, {152, 91}};
    for (int i = 0; i < 4; ++i) app.click_dlu(input, boxes[i][0], boxes[i][1]), type(values[i]);
    long results = app.dump().count("results");
    app.click_dlu(input, 135, 138);
    Dump d = app.wait_count("results", results);
    std::string window = find_window("Results");
    EXPECT_FALSE(window.empty()) << app.log();
    if (window.empty()) return d;
    EXPECT_EQ(results_mismatch(app.snapshot("Results"), d), 0);
    long keys = d.count("key_down");
    app.click_dlu(window, 100, 157);
    app.wait_count("key_down", keys);
    return d;
}

}  // namespace

TEST(Flows, ReadoutShowsTheStateUnderTheCursor) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    EXPECT_EQ(app.dump().number("client_rect", 0), client_width);
    EXPECT_EQ(app.dump().number("client_rect", 1), client_height);
    EXPECT_EQ(prompt_mismatch(app.snapshot(), start1, start2), 0);
    // Superheated steam, wet steam, compressed water, the margin left of the chart.
    const int points[][2] = {{x_of(6500), y_of(400)}, {x_of(2000), y_of(150)},
                             {x_of(3500), y_of(340)}, {5, 663}};
    for (const auto& pt : points) {
        std::vector<double> c = shown(app.move_to(pt[0], pt[1]), "cursor_state");
        if (pt[0] > origin_x) expect_state(c, calc_point(pt[0], pt[1]));
        else EXPECT_EQ(c[1] + c[2] + c[4] + c[5], 0.0) << "outside the chart only t and s";
        EXPECT_EQ(readout_mismatch(app.snapshot(), c), 0) << pt[0] << "," << pt[1];
    }
}

TEST(Flows, TwoClicksMarkJoinAndShowTheProcess) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    const int ax = x_of(6500), ay = y_of(400), bx = x_of(7000), by = y_of(150);
    const int mx = (ax + bx) / 2, my = (ay + by) / 2;
    Image before = app.snapshot();
    // A click outside the valid space (below 10 C) beeps and says so, in either state.
    const wchar_t* outside1 = L"The point selected is outside the valid space";
    const wchar_t* outside2 = L"Please re-insert the point by the mouse";
    EXPECT_EQ(app.click_at(x_of(5000), y_of(5)).count("beep"), 1);
    EXPECT_EQ(prompt_mismatch(app.snapshot(), outside1, outside2), 0);
    EXPECT_EQ(app.click_at(ax, ay).number("awaiting_first_point"), 0);
    Image marked = app.snapshot();
    EXPECT_GT(around(marked, ax, ay, red), 12);
    EXPECT_EQ(prompt_mismatch(marked, L"Point the screen and press the LEFT BUTTON of",
                              L"the mouse to calculate values of the second point"), 0);
    // The rubber band inverts what it crosses; moved away and back, it leaves the same
    // screen, so every earlier segment was erased.
    app.move_to(bx, by);
    Image band = app.snapshot();
    EXPECT_GT(around(band, mx, my, 0xFFFFFF ^ marked.pixel(mx, my), 1), 0);
    for (int i = 0; i < 10; ++i) app.move_to(300 + 37 * i, 200 + 19 * i);
    app.move_to(bx, by);
    EXPECT_EQ(differing(band, app.snapshot(), origin_x, 120, client_width, origin_y), 0);

    Dump d = app.click_at(x_of(5000), y_of(5));
    EXPECT_EQ(d.count("beep"), 2);
    EXPECT_EQ(d.number("awaiting_first_point"), 0) << "point 1 stays after an outside click";
    d = app.click_at(bx, by);
    ASSERT_EQ(d.count("results"), 1) << app.log();
    expect_state(shown(d, "point1_state"), calc_point(ax, ay));
    expect_state(shown(d, "point2_state"), calc_point(bx, by));
    std::string results = find_window("Results");
    EXPECT_EQ(results_mismatch(app.snapshot("Results"), d), 0);
    key("Escape");  // does not close it; its button does
    EXPECT_FALSE(find_window("Results", 300).empty());
    app.click_dlu(results, 100, 157);
    EXPECT_TRUE(window_gone("Results"));
    // The band is gone, the marks are joined in red, the start prompts are back.
    Image done = app.snapshot();
    EXPECT_GT(around(done, bx, by, red), 12);
    EXPECT_GT(around(done, mx, my, red, 1), 0);
    EXPECT_EQ(differing(before, done, 83, 75, 340, 104), 0);
}

TEST(Flows, TypedPairsAreSolvedMarkedAndShown) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    const double gdi_objects = app.dump().number("gdi_objects");
    // Every pair once for each point: superheated and wet steam, compressed water.
    struct Case {
        int pair1, pair2;
        std::vector<const char*> values;
    };
    const Case cases[] = {{0, 2, {"500", "100", "5", "2700"}}, {1, 3, {"250", "2900", "300", "6.2"}},
                          {4, 5, {"20", "6.5", "120", "0.25"}}, {6, 0, {"2", "0.9", "50", "200"}}};
    // Selector centres of point 1, in dialog units; point 2's are 90 units further right.
    const int selectors[7][2] = {{30, 46}, {52, 46}, {67, 46}, {22, 58}, {37, 58}, {52, 58}, {67, 58}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(pairs[c.pair1]) + " / " + pairs[c.pair2]);
        std::string input = open_input(app);
        ASSERT_FALSE(input.empty());
        long commands = app.dump().count("input_command");
        app.click_dlu(input, selectors[c.pair1][0], selectors[c.pair1][1]);
        app.click_dlu(input, selectors[c.pair2][0] + 90, selectors[c.pair2][1]);
        Dump labels = app.wait_count("input_command", commands + 1);
        for (int i = 0; i < 4; ++i)  // the labels in front of the four boxes
            EXPECT_EQ(labels.texts["label_" + std::to_string(1051 + 2 * i)],
                      field_label(pairs[i < 2 ? c.pair1 : c.pair2][i % 2 * 2]));
        Dump d = calculate(app, input, c.values);
        std::vector<double> a = shown(d, "point1_state"), b = shown(d, "point2_state");
        expect_state(a, calc(std::string("state ") + pairs[c.pair1] + " " + c.values[0] + " " + c.values[1]));
        expect_state(b, calc(std::string("state ") + pairs[c.pair2] + " " + c.values[2] + " " + c.values[3]));
        Image shot = app.snapshot();
        EXPECT_GT(around(shot, x_of(a[3] * 1000), y_of(a[0]), red), 12);
        EXPECT_GT(around(shot, x_of(b[3] * 1000), y_of(b[0]), red), 12);
    }
    EXPECT_EQ(app.dump().number("gdi_objects"), gdi_objects) << "GDI objects left behind";
}

TEST(Flows, TurbineExpansionIsDrawnInBlueThenRed) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    std::string input = open_input(app);
    ASSERT_FALSE(input.empty());
    long commands = app.dump().count("input_command");
    app.click_dlu(input, 45, 126);  // "Turbine (t,p)"
    Dump labels = app.wait_count("input_command", commands);
    EXPECT_EQ(labels.texts["label_1055"], field_label('p'));
    EXPECT_EQ(labels.texts["label_1057"], field_label('e'));
    Dump d = calculate(app, input, {"500", "100", "1", "85"});
    auto want = calc("turbine 100 500 1 85");
    std::vector<double> a = shown(d, "point1_state"), b = shown(d, "point2_state");
    expect_state(a, want, "inlet_");
    expect_state(b, want, "outlet_");
    Image shot = app.snapshot();
    EXPECT_GT(around(shot, x_of(a[3] * 1000), y_of(want["isentropic_t"]), blue), 12);
    EXPECT_GT(around(shot, x_of(a[3] * 1000), y_of((a[0] + want["isentropic_t"]) / 2), blue, 1), 0);
    EXPECT_GT(around(shot, x_of(a[3] * 1000), y_of(a[0]), red), 12);
    EXPECT_GT(around(shot, x_of(b[3] * 1000), y_of(b[0]), red), 12);
}

TEST(Flows, InputOutOfRangeIsRefusedWithOneMessageBox) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    // Empty boxes read as 0 C: point 1 is refused before point 2 is looked at.
    for (const char* answer : {"Return", "Escape"}) {
        std::string input = open_input(app);
        ASSERT_FALSE(input.empty());
        long boxes = app.dump().count("message_box");
        app.click_dlu(input, 135, 138);
        Dump d = app.wait_count("message_box", boxes);
        EXPECT_EQ(d.count("message_box"), boxes + 1);
        EXPECT_EQ(d.count("results"), 0);
        long keys = d.count("key_down");
        key(answer);
        app.wait_count("key_down", keys);
        EXPECT_EQ(prompt_mismatch(app.snapshot(), start1, start2), 0) << answer;
    }
}

TEST(Flows, AboutBoxOpensWithAltAndTheWindowClosesWithStatusZero) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    app.move_to(500, 300);
    for (const char* keys : {"alt+question", "alt+slash"}) {
        key(keys);
        ASSERT_FALSE(find_window("Informazioni su Vapora 2.0").empty()) << keys;
        key("Return");
        EXPECT_TRUE(window_gone("Informazioni su Vapora 2.0")) << keys;
    }
    request_close(app.main_window);
    EXPECT_EQ(app.wait_exit(), 0) << app.log();
}
