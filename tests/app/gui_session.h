// The harness of the end-to-end tests: the test build of the program on the test
// program's private Xvfb display (xvfb_main.cpp), its state and window snapshots as the
// test hook writes them, xdotool for the mouse and the keyboard. Every wait is bounded;
// a test that fails kills what it started.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace gui {

// The main window's 994 x 671 client area and the chart's mapping in it; templates
// without a font of their own have 2 pixels to the dialog unit.
constexpr int client_width = 994, client_height = 671;
constexpr int origin_x = 20, origin_y = client_height - 16;
constexpr int plot_width = client_width - 22, plot_height = client_height - 18;
constexpr int x_of(double s_kj) { return static_cast<int>(s_kj * 1000 * plot_width / 10000 + origin_x); }
constexpr int y_of(double t) { return static_cast<int>(origin_y - plot_height * t / 700); }
constexpr double s_of(int x) { return (x - origin_x) * 10000.0 / plot_width; }
constexpr double t_of(int y) { return (2.0 + plot_height - y) * 700.0 / plot_height; }
constexpr int du(int units) { return units * 2; }

// Output of a shell command run under `timeout`; empty when it failed.
std::string run(const std::string& command, int timeout_seconds = 10);

// The program state the hook wrote: the first word of a line is the key.
struct Dump {
    std::map<std::string, std::vector<double>> fields;
    std::string event;
    bool empty() const { return fields.empty(); }
    double number(const std::string& key, size_t i = 0) const;
    long count(const std::string& e) const { return static_cast<long>(number("count_" + e)); }
};

// An image as 0xRRGGBB pixels.
struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> px;
    uint32_t pixel(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0xFFFFFFFFu : px[y * width + x];
    }
};

// Text drawn as the program draws it: top-left corner, a font of that cell height,
// weight, quality and pitch-and-family and no face name, opaque or transparent.
struct Text {
    int x, y;
    std::wstring text;
    int height, weight, quality, pitch_family;
    uint32_t colour;
    bool opaque;
};
struct Box {
    int x0, y0, x1, y1;
};
// Pixels of `box` in `shot` that differ from the same box with each text redrawn by the
// layer's own GDI on a clean `background` (up to 12 pixels past its end, within the box):
// 0 when the shot shows exactly these texts there.
int text_mismatch(const Image& shot, Box box, const std::vector<Text>& texts, uint32_t background);
// Pixels of the box [x0, x1) x [y0, y1) where two images differ.
int differing(const Image& a, const Image& b, int x0, int y0, int x1, int y1);

class App {
public:
    App();
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    bool alive();
    int wait_exit(int timeout_ms);  // exit status; -1 on timeout or a signal
    Dump dump() const;
    // Polls the state until the event has been written more often than `before`.
    Dump wait_count(const std::string& event, long before, int timeout_ms = 15000) const;
    Image snapshot(const std::string& title = "Vapora 2.0");  // a window's backing surface

    Dump move_to(int x, int y);  // waits until the main window has handled the move
    Dump click_at(int x, int y);  // waits for the click, or for the results dialog
    void click_dlu(const std::string& window, int x, int y);  // dialog units
    void key(const std::string& keys);
    void type(const std::string& text);
    std::string log() const;

    std::string main_window;  // X window id

private:
    pid_t pid_ = -1;
    std::string dir_;
    int exit_status_ = -2;
};

// X window of that exact title, waiting for it; empty when none appears.
std::string find_window(const std::string& title, int timeout_ms = 10000);
bool window_gone(const std::string& title, int timeout_ms = 10000);
// Asks a window to close, as a window manager's close button does.
void request_close(const std::string& window_id);
// vapora-calc's "name value" reply.
std::map<std::string, double> calc(const std::string& arguments);
void sleep_ms(int ms);

}  // namespace gui
