// The program as a user meets it, one test per path: the readout, a process by two
// clicks, typed pairs refused or solved, a turbine expansion, the About box and the end,
// and a restore from minimise. The test build of the program runs on the test's private
// Xvfb display (on_xvfb.sh), once under openbox and once with no window manager, driven
// by xdotool; its hook writes the state and, on SIGUSR1, the window surfaces. Each flow
// reads every text the user sees off those surfaces, pixel for pixel against the same
// text drawn where the program places it, with the values vapora-calc gives for the same
// input, and checks that the screen shows the surface again wherever a dialog or a
// message box went away. No GLib or GTK warning may be logged. Every wait is bounded.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <tuple>

#include <gtest/gtest.h>

#include "diagram/frame.h"
#include "memory_dc.h"
#include "process.h"

namespace {

// The chart's mapping in the 994 x 671 client area (s in J/(kg K), t in C), and back to
// the chart point of a pixel (s in kJ/(kg K)).
const RECT client = {0, 0, 994, 671};
const DiagramFrame frame = frame_from_client(&client);
const auto x_of = [](double s) { return s_to_px(frame, s); };
const auto y_of = [](double t) { return t_to_px(frame, t); };
const auto s_of = [](int x) { return px_to_s(frame, x) / 1000; };
const auto t_of = [](int y) { return px_to_t(frame, y); };

// Polls every 10 ms until done() holds, for about `timeout_ms` at most.
template <class Done>
bool poll(Done done, int timeout_ms = 15000) {
    for (int waited = 0; !done(); waited += 10, usleep(10000))
        if (waited > timeout_ms) return false;
    return true;
}

std::string read_file(const std::string& path) {
    return (std::stringstream() << std::ifstream(path).rdbuf()).str();
}

// Output of a shell command, bounded to 20 s; empty when it failed.
std::string run(const std::string& command) {
    const ProcessResult r = run_process({"/bin/sh", "-c", "timeout -k 2 20 " + command});
    return r.status == 0 ? r.out : std::string();
}

std::string find_window(const std::string& title, int timeout_ms = 10000) {
    std::string id;
    const std::string search = "xdotool search --onlyvisible --name '^" + title + "$'";
    poll([&] { return !!(std::istringstream(run(search)) >> id); }, timeout_ms);
    return id;
}
bool window_gone(const std::string& title) {
    return poll([&] { return find_window(title, 0).empty(); });
}
void xdotool(const std::string& arguments) {
    run("xdotool " + arguments);
}
// A click at a point of a dialog in dialog units (2 pixels each in templates without a
// font of their own), and what follows it.
void click(const std::string& window, int x, int y, const std::string& then = "") {
    xdotool("mousemove --window " + window + " " + std::to_string(2 * x) + " " +
            std::to_string(2 * y) + " click 1" + then);
}

// vapora-calc's "name value" reply, in the units the program shows.
using Values = std::map<std::string, double>;
Values calc(const std::string& arguments) {
    Values values;
    std::istringstream in(run(VAPORA_CALC_PATH " " + arguments));
    std::string name;
    for (double v; in >> name >> v;) values[name] = v;
    return values;
}
// A state of that reply: t, p (bar), h (kJ/kg), s (kJ/kg C), v, x.
std::vector<double> state(Values values, const std::string& prefix = "") {
    EXPECT_FALSE(values.empty()) << "vapora-calc refused the reference state";
    std::vector<double> state;
    for (const char* name : {"t", "p", "h", "s", "v", "x"}) state.push_back(values[prefix + name]);
    return state;
}

// The state the hook wrote: "key value ..." lines, count_<event> for every event.
struct Dump {
    std::map<std::string, std::string> lines;
    double number(const std::string& key) const {
        return lines.count(key) ? std::stod(lines.at(key)) : 0.0;
    }
    long count(const std::string& event) const {
        return static_cast<long>(number("count_" + event));
    }
};

// A window's pixels, read from a PNG file.
using Image = std::shared_ptr<MemoryDC>;

// A font without a face name, as the program asks for it, and a text drawn in it.
struct Font {
    int height, weight, quality, pitch_family;
};
constexpr int proof = 2;  // PROOF_QUALITY
constexpr Font prompt_font = {14, 400, proof, 0x10}, readout_font = {14, 0, proof, 0x22},
               results_font = {17, 0, 0, 0};
struct Line {
    int x, y;
    std::wstring text;
    Font font;
    COLORREF colour;
    bool opaque = false;
};

// Pixels of the box [x0, x1) x [y0, y1) of `shot` that change when each text's line is
// cleared to `background` from its corner rightwards and the text drawn there again by
// the layer's own GDI: 0 when the shot shows these texts and nothing else on their
// lines.
int text_mismatch(const Image& shot, int x0, int y0, int x1, int y1, const std::vector<Line>& texts,
                  COLORREF background) {
    MemoryDC c(x1 - x0, y1 - y0);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) c.set(x - x0, y - y0, shot->at(x, y));
    SetBkColor(c.dc, background);
    for (const Line& t : texts) {
        const Font& f = t.font;
        HGDIOBJ old = SelectObject(c.dc, CreateFontW(f.height, 0, 0, 0, f.weight, 0, 0, 0, 0, 0, 0,
                                                     f.quality, f.pitch_family, nullptr));
        for (int y = t.y - y0; y < std::min(t.y - y0 + f.height, c.height); ++y)
            for (int x = t.x - x0; x < c.width; ++x) c.set(x, y, background);
        SetBkMode(c.dc, t.opaque ? OPAQUE : TRANSPARENT);
        SetTextColor(c.dc, t.colour);
        TextOutW(c.dc, t.x - x0, t.y - y0, t.text.c_str(), static_cast<int>(t.text.size()));
        DeleteObject(SelectObject(c.dc, old));
    }
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += c.at(x - x0, y - y0) != shot->at(x, y);
    return n;
}

class App {
public:
    App() {
        char pattern[] = "/tmp/vapora-e2e-XXXXXX";
        if (!mkdtemp(pattern)) return;
        dir_ = pattern;
        if ((pid_ = fork()) == 0) {
            setenv("VAPORA_TEST_DIR", dir_.c_str(), 1);
            if (freopen((dir_ + "/log").c_str(), "w", stderr))
                execl(VAPORA_APP_PATH, VAPORA_APP_PATH, nullptr);
            _exit(127);
        }
        main_window = find_window("Vapora 2.0");
        wait_count("paint", 0);
    }
    ~App() {
        if (wait_exit(0) == -1) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
        EXPECT_EQ(log().find("**"), std::string::npos) << "a GLib or GTK warning:\n" << log();
        run("rm -rf '" + dir_ + "'");
    }
    // The exit status; -1 while it still runs after `timeout_ms`, or after a signal.
    int wait_exit(int timeout_ms = 15000) {
        int status = 0;
        poll([&] { return pid_ <= 0 || waitpid(pid_, &status, WNOHANG) != 0; }, timeout_ms);
        return pid_ > 0 && kill(pid_, 0) == 0 ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string log() const { return read_file(dir_ + "/log"); }
    Dump dump() const {
        Dump d;
        std::istringstream in(read_file(dir_ + "/state"));
        for (std::string key, rest; in >> key && std::getline(in, rest);)
            d.lines[key] = rest.substr(rest.empty() ? 0 : 1);
        return d;
    }
    // Polls the state until `event` has been written more often than `before`.
    Dump wait_count(const std::string& event, long before) const {
        Dump d;
        poll([&] { return (d = dump()).count(event) > before; });
        return d;
    }
    Image snapshot(const std::string& title = "Vapora 2.0") {
        const std::string path = dir_ + "/" + title + ".png";
        std::remove(path.c_str());
        kill(pid_, SIGUSR1);
        poll([&] { return access(path.c_str(), F_OK) == 0; });
        return read_png(path);
    }
    // Whether the screen shows the window's surface within 10 s: an uncovered part is
    // drawn again from the surface, not by the program.
    bool on_screen(const std::string& title = "Vapora 2.0") {
        const std::string path = dir_ + "/screen.png", window = find_window(title);
        return poll(
            [&] {
                run("import -window " + window + " '" + path + "'");
                return read_png(path)->differing(*snapshot(title)) == 0;
            },
            10000);
    }
    // Waits until the main window has handled the move to exactly that pixel.
    Dump move_to(int x, int y) {
        Dump d;
        const auto there = [&] {
            return (d = dump()).number("cursor_x") == x && d.number("cursor_y") == y;
        };
        for (int attempt = 0; attempt < 3 && !there(); ++attempt, poll(there, 5000))
            xdotool("mousemove --window " + main_window + " " + std::to_string(x) + " " +
                    std::to_string(y));
        return d;
    }
    // Clicks there, then waits for `event` (the results dialog opened by a second point
    // is written before the click itself, which ends when the dialog does).
    Dump click_at(int x, int y, const std::string& event = "left_button_down") {
        const long before = move_to(x, y).count(event);
        xdotool("click 1");
        return wait_count(event, before);
    }
    std::string main_window;  // X window id

private:
    pid_t pid_ = -1;
    std::string dir_;
};

constexpr COLORREF white = RGB(255, 255, 255), black = 0, red = RGB(255, 0, 0),
                   blue = RGB(0, 0, 255);
const wchar_t* const start1 = L"Press a KEY to introduce data from keyboard or point";
const wchar_t* const start2 = L"the screen and press the LEFT BUTTON of the mouse";

std::wstring format(const wchar_t* pattern, double value) {
    wchar_t text[100];
    std::swprintf(text, 100, pattern, value);
    return text;
}

// vapora-calc's state at the chart point of a pixel.
std::vector<double> calc_point(int x, int y) {
    char args[80];
    std::snprintf(args, sizeof args, "point %.17g %.17g", s_of(x), t_of(y));
    return state(calc(args));
}

int prompt_mismatch(const Image& shot, const wchar_t* line1, const wchar_t* line2) {
    return text_mismatch(shot, 83, 75, 340, 104,
                         {{83, 75, line1, prompt_font, black}, {83, 89, line2, prompt_font, black}},
                         0xC0C0C0);
}

int readout_mismatch(const Image& shot, const std::vector<double>& c) {
    const int left = frame.origin_x + 20, top = frame.origin_y - frame.plot_height / 2;
    const wchar_t* formats[6] = {L"t = %.1f C   ",      L"p = %.3f bar   ",   L"h = %.0f kJ/kg   ",
                                 L"s = %.3f kJ/kgC   ", L"v = %.3f m3/kg   ", L"x = %.2f kg/kg   "};
    std::vector<Line> texts = {{left + 15, top + 5, L"   Vapora", {14, 700, proof, 0x22}, white}};
    for (int i = 0; i < 6; ++i)
        texts.push_back(
            {left + 5, top + 30 + 15 * i, format(formats[i], c[i]), readout_font, white, true});
    return text_mismatch(shot, left, top, left + 100, top + 125, texts, 0x008200);
}

// The results dialog's heading, the six lines of each point and the two differences.
int results_mismatch(const Image& shot, const std::vector<double>& a,
                     const std::vector<double>& b) {
    const wchar_t* formats[6] = {L"t? = %.1f \u00B0C",      L"p? = %.3f bar",   L"h? = %.1f kJ/kg",
                                 L"s? = %.3f kJ/kg\u00B0C", L"v? = %.3f m3/kg", L"x? = %.2f kg/kg"};
    std::vector<Line> texts = {
        {160, 20, L"Results", {22, 700, 0, 0}, RGB(130, 0, 0)},
        {120, 235, format(L"h1-h2 = %.1f kJ/kg", a[2] - b[2]), results_font, black},
        {120, 260, format(L"s1-s2 = %.3f kJ/kg\u00B0C", a[3] - b[3]), results_font, black}};
    for (int i = 0; i < 12; ++i) {  // point 1 first, as point 2 stands to its right
        std::wstring f = formats[i / 2];
        f[1] = i % 2 ? L'2' : L'1';
        texts.push_back({i % 2 ? 240 : 40, 60 + 25 * (i / 2),
                         format(f.c_str(), (i % 2 ? b : a)[i / 2]), results_font, black});
    }
    return text_mismatch(shot, 0, 0, shot->width, 296, texts, shot->at(2, 2));
}

// Pixels of that colour within `radius` of (x, y): a line through a point gives a few.
int around(const Image& shot, int x, int y, COLORREF colour, int radius) {
    int n = 0;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) n += shot->at(x + dx, y + dy) == colour;
    return n;
}
// A point's filled marker centred there: the 3 x 3 pixels about it and more than a dozen
// of the 5 x 5.
bool marker_at(const Image& shot, int x, int y, COLORREF colour) {
    return around(shot, x, y, colour, 1) == 9 && around(shot, x, y, colour, 2) > 12;
}

// A key opens the data-input dialog, whose blue heading is read each time.
std::string open_input(App& app) {
    app.move_to(700, 600);
    xdotool("key a");
    std::string input = find_window("Data input window");
    Image shot = app.snapshot("Data input window");
    EXPECT_EQ(text_mismatch(
                  shot, 22, 10, shot->width, 30,
                  {{22, 10, L"Introduce the start point and the end point", {17, 700, 0, 0}, blue}},
                  shot->at(2, 2)),
              0);
    return input;
}

// The message box: the program's one window on screen besides the main window.
std::string message_box(const App& app) {
    std::string box;
    poll([&] {
        std::istringstream ids(run("xdotool search --onlyvisible --classname vapora_test"));
        for (std::string id; ids >> id;) box = id == app.main_window ? box : id;
        return !box.empty();
    });
    return box;
}

// The results of points a and b read, then closed with their button.
void close_results(App& app, const std::vector<double>& a, const std::vector<double>& b) {
    std::string window = find_window("Results");
    ASSERT_FALSE(window.empty()) << app.log();
    EXPECT_EQ(results_mismatch(app.snapshot("Results"), a, b), 0);
    click(window, 100, 157);
    EXPECT_TRUE(window_gone("Results"));
}

// The four boxes typed, then Calculate.
void calculate(const std::string& input, const std::vector<const char*>& values) {
    const int boxes[4][2] = {{62, 76}, {62, 91}, {152, 76}, {152, 91}};
    for (int i = 0; i < 4; ++i)
        click(input, boxes[i][0], boxes[i][1], std::string(" type --delay 5 ") + values[i]);
    click(input, 135, 138);
}

// The labels in front of the four boxes, as the hook writes them.
void expect_labels(const Dump& d, const std::string& quantities) {
    const std::map<char, std::string> labels = {{'t', "t [C]  |"},   {'p', "p [bar]|"},
                                                {'h', "h [kJ/kg]|"}, {'s', "s [kJ/kgC]|"},
                                                {'x', "x [0-1]|"},   {'e', "eta [%]|"}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(d.lines.at("label_" + std::to_string(1051 + 2 * i)), labels.at(quantities[i]))
            << i;
}

}  // namespace

TEST(Flows, ReadoutShowsTheStateUnderTheCursor) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    Image shot = app.snapshot();
    EXPECT_EQ(shot->width * 10000 + shot->height, 994 * 10000 + 671) << "the client area";
    EXPECT_EQ(prompt_mismatch(shot, start1, start2), 0);
    // Superheated steam, wet steam, compressed water, the margin left of the chart.
    const int points[][2] = {
        {x_of(6500), y_of(400)}, {x_of(2000), y_of(150)}, {x_of(3500), y_of(340)}, {5, 663}};
    for (const auto& pt : points) {
        app.move_to(pt[0], pt[1]);  // outside the chart only t and s
        const std::vector<double> c =
            pt[0] > frame.origin_x ? calc_point(pt[0], pt[1])
                                   : std::vector<double>{t_of(pt[1]), 0, 0, s_of(pt[0]), 0, 0};
        EXPECT_EQ(readout_mismatch(app.snapshot(), c), 0) << pt[0] << "," << pt[1];
    }
}

TEST(Flows, TwoClicksMarkJoinAndShowTheProcess) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    const int ax = x_of(6500), ay = y_of(400), bx = x_of(7000), by = y_of(150);
    const int mx = (ax + bx) / 2, my = (ay + by) / 2;
    // A click outside the valid space (below 10 C) beeps and says so, in either state.
    EXPECT_EQ(app.click_at(x_of(5000), y_of(5)).count("beep"), 1);
    EXPECT_EQ(prompt_mismatch(app.snapshot(), L"The point selected is outside the valid space",
                              L"Please re-insert the point by the mouse"),
              0);
    app.click_at(ax, ay);
    Image marked = app.snapshot();
    EXPECT_TRUE(marker_at(marked, ax, ay, red));
    EXPECT_EQ(prompt_mismatch(marked, L"Point the screen and press the LEFT BUTTON of",
                              L"the mouse to calculate values of the second point"),
              0);
    // The rubber band inverts what it crosses; moved away and back, it leaves the same
    // screen, so every earlier segment was erased.
    app.move_to(bx, by);
    Image band = app.snapshot();
    EXPECT_GT(around(band, mx, my, white ^ marked->at(mx, my), 1), 0);
    for (int i = 0; i < 4; ++i) app.move_to(300 + 90 * i, 200 + 50 * i);
    app.move_to(bx, by);
    EXPECT_EQ(band->differing(*app.snapshot()), 0);

    Dump d = app.click_at(x_of(5000), y_of(5));
    EXPECT_EQ(d.count("beep"), 2);
    d = app.click_at(bx, by, "results");
    ASSERT_EQ(d.count("results"), 1) << app.log();
    close_results(app, calc_point(ax, ay), calc_point(bx, by));
    // The band is gone, the marks are joined in red, the start prompts are back: on the
    // screen where the dialog stood too, with no repaint.
    EXPECT_TRUE(app.on_screen());
    EXPECT_EQ(app.dump().count("paint"), 1);
    Image done = app.snapshot();
    EXPECT_TRUE(marker_at(done, bx, by, red));
    EXPECT_GT(around(done, mx, my, red, 1), 0);
    EXPECT_EQ(prompt_mismatch(done, start1, start2), 0);
}

TEST(Flows, TypedPairsAreRefusedOrSolvedMarkedAndShown) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    const double gdi_objects = app.dump().number("gdi_objects");
    // Empty boxes read as 0 C: point 1 is refused with a message box, with one button,
    // which every way of answering it ends. Esc before leaves the dialog, which has no Cancel.
    const Line thinking = {83, 70, L"Thinking ...", {19, 700, proof, 0x20}, red};
    for (const char* way : {"Return", "Escape", "alt+F4"}) {
        SCOPED_TRACE(way);
        std::string input = open_input(app);
        ASSERT_FALSE(input.empty());
        const Dump before = app.dump();
        xdotool("windowfocus --sync " + input + " key Escape");
        click(input, 135, 138);
        Dump d = app.wait_count("message_box", before.count("message_box"));
        EXPECT_EQ(d.count("input_command"), before.count("input_command") + 2) << "Esc, Calculate";
        EXPECT_EQ(d.lines["message_texts"], "Data out of range, please retry| OK|");
        EXPECT_EQ(text_mismatch(app.snapshot(), 83, 70, 340, 89, {thinking}, 0xC0C0C0), 0);
        xdotool("windowfocus --sync " + message_box(app) + " key " + way);
        EXPECT_TRUE(poll([&] { return prompt_mismatch(app.snapshot(), start1, start2) == 0; }));
        EXPECT_TRUE(app.on_screen());
    }
    EXPECT_EQ(app.dump().count("results"), 0);
    // Every pair once for each point: superheated and wet steam, compressed water.
    const std::tuple<std::string, std::string, std::vector<const char*>> cases[] = {
        {"t,p", "p,h", {"500", "100", "5", "2700"}},
        {"t,h", "t,s", {"250", "2900", "300", "6.2"}},
        {"p,s", "t,x", {"20", "6.5", "120", "0.25"}},
        {"p,x", "t,p", {"2", "0.9", "50", "200"}}};
    // Selector centres of point 1, in dialog units; point 2's are 90 units further right.
    std::map<std::string, std::pair<int, int>> selectors = {
        {"t,p", {30, 46}}, {"t,h", {52, 46}}, {"p,h", {67, 46}}, {"t,s", {22, 58}},
        {"p,s", {37, 58}}, {"t,x", {52, 58}}, {"p,x", {67, 58}}};
    for (const auto& [pair1, pair2, values] : cases) {
        SCOPED_TRACE(pair1 + " / " + pair2);
        const std::string input = open_input(app);
        ASSERT_FALSE(input.empty());
        const long commands = app.dump().count("input_command");
        click(input, selectors[pair1].first, selectors[pair1].second);
        click(input, selectors[pair2].first + 90, selectors[pair2].second);
        expect_labels(app.wait_count("input_command", commands + 1),
                      {pair1[0], pair1[2], pair2[0], pair2[2]});
        const auto a = state(calc("state " + pair1 + " " + values[0] + " " + values[1]));
        const auto b = state(calc("state " + pair2 + " " + values[2] + " " + values[3]));
        calculate(input, values);
        close_results(app, a, b);
        Image shot = app.snapshot();
        EXPECT_TRUE(marker_at(shot, x_of(a[3] * 1000), y_of(a[0]), red));
        EXPECT_TRUE(marker_at(shot, x_of(b[3] * 1000), y_of(b[0]), red));
    }
    EXPECT_EQ(app.dump().number("gdi_objects"), gdi_objects) << "GDI objects left behind";
}

TEST(Flows, TurbineExpansionIsDrawnInBlueThenRed) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    std::string input = open_input(app);
    ASSERT_FALSE(input.empty());
    const long commands = app.dump().count("input_command");
    click(input, 45, 126);  // "Turbine (t,p)"
    expect_labels(app.wait_count("input_command", commands), "tppe");
    Values want = calc("turbine 100 500 1 85");
    const std::vector<double> a = state(want, "inlet_"), b = state(want, "outlet_");
    calculate(input, {"500", "100", "1", "85"});
    close_results(app, a, b);
    Image shot = app.snapshot();
    EXPECT_TRUE(marker_at(shot, x_of(a[3] * 1000), y_of(want["isentropic_t"]), blue));
    EXPECT_GT(around(shot, x_of(a[3] * 1000), y_of((a[0] + want["isentropic_t"]) / 2), blue, 1), 0);
    EXPECT_TRUE(marker_at(shot, x_of(a[3] * 1000), y_of(a[0]), red));
    EXPECT_TRUE(marker_at(shot, x_of(b[3] * 1000), y_of(b[0]), red));
}

// Alt+? or Alt+/ opens the About box; its OK, Enter, Esc and its close request end it.
TEST(Flows, AboutBoxOpensWithAltAndAltF4EndsTheProgramWithStatusZero) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    app.move_to(500, 300);
    const std::string title = "Informazioni su Vapora 2.0";
    for (const char* way : {"click", "Return", "Escape", "alt+F4"}) {
        SCOPED_TRACE(way);
        const long abouts = app.dump().count("about");
        xdotool(abouts % 2 ? "key alt+slash" : "key alt+question");
        const std::string about = find_window(title);
        ASSERT_FALSE(about.empty());
        // The controls' texts (the icon has none), each at its place: 1.5 x 1.625 pixels a
        // dialog unit in the dialog's 8-point font, rounded.
        EXPECT_EQ(
            app.wait_count("about", abouts).lines["about_texts"],
            "@21,23| Vapora 2.0, versione 1.0@63,23| Acqua e vapore, IFC-67@63,42| OK@170,67|");
        // OK's centre, at 1.5 x 1.625 pixels a unit in the dialog's 8-point font.
        xdotool(way == std::string("click") ? "mousemove --window " + about + " 207 78 click 1"
                                            : "windowfocus --sync " + about + " key " + way);
        EXPECT_TRUE(window_gone(title));
    }
    EXPECT_TRUE(app.on_screen());
    xdotool("key alt+F4");
    EXPECT_EQ(app.wait_exit(), 0) << app.log();
}

// Under a window manager: the window is drawn once more on a restore from minimise, and
// only then.
TEST(Flows, RestoreFromMinimiseRepaintsOnce) {
    App app;
    ASSERT_FALSE(app.main_window.empty()) << app.log();
    xdotool("windowminimize --sync " + app.main_window);
    xdotool("windowactivate --sync " + app.main_window);
    EXPECT_EQ(app.wait_count("paint", 1).count("paint"), 2);
    EXPECT_TRUE(app.on_screen());
    app.move_to(500, 300);
    EXPECT_EQ(app.dump().count("paint"), 2);
}
