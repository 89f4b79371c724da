// The harness of the end-to-end tests: the test build of the program on the test
// program's private Xvfb display (on_xvfb.sh), the state and window snapshots its hook
// writes, xdotool for the mouse and the keyboard. Every wait is bounded; a test
// that fails kills what it started.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace gui {

// The main window's 994 x 671 client area and the chart's mapping in it (s in J/(kg K),
// t in C); templates without a font of their own have 2 pixels to the dialog unit.
constexpr int client_width = 994, client_height = 671, origin_x = 20, origin_y = 655;
constexpr int plot_width = 972, plot_height = 653;
constexpr int x_of(double s) { return static_cast<int>(s * plot_width / 10000 + origin_x); }
constexpr int y_of(double t) { return static_cast<int>(origin_y - plot_height * t / 700); }
constexpr double s_of(int x) { return (x - origin_x) * 10000.0 / plot_width; }
constexpr double t_of(int y) { return (2.0 + plot_height - y) * 700.0 / plot_height; }
constexpr int du(int units) { return units * 2; }

// Output of a shell command run under `timeout`; empty when it failed.
std::string run(const std::string& command);

// The state the hook wrote: "key value ..." lines, and count_<event> for every event.
struct Dump {
    std::map<std::string, std::vector<double>> fields;
    std::map<std::string, std::string> texts;  // the rest of each line, as written
    double number(const std::string& key, size_t i = 0) const;
    long count(const std::string& event) const { return static_cast<long>(number("count_" + event)); }
};

struct Image {  // 0xRRGGBB pixels
    int width = 0, height = 0;
    std::vector<uint32_t> px;
    uint32_t pixel(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0xFFFFFFFFu : px[y * width + x];
    }
};
// Pixels of the box [x0, x1) x [y0, y1) where two images differ.
int differing(const Image& a, const Image& b, int x0, int y0, int x1, int y1);

// A text as the program draws it: top-left corner, cell height, weight, quality and
// pitch-and-family of a font without a face name, colour, opaque or transparent.
struct Text {
    int x, y;
    std::wstring text;
    int height, weight, quality, pitch_family;
    uint32_t colour;
    bool opaque;
};
// Pixels of the box [x0, x1) x [y0, y1) of `shot` that change when, in turn, each text's
// line is cleared to `background` from the text's corner to the box's right edge and the
// text drawn there again by the layer's own GDI: 0 when the shot shows exactly these
// texts and nothing else on their lines. (Texts later in the list may stand to the right
// of earlier ones on the same line.)
int text_mismatch(const Image& shot, int x0, int y0, int x1, int y1,
                  const std::vector<Text>& texts, uint32_t background);

class App {
public:
    App();  // started and painted
    ~App();
    bool alive();
    int wait_exit();  // exit status; -1 on timeout or a signal
    Dump dump() const;
    // Polls the state until `event` has been written more often than `before`.
    Dump wait_count(const std::string& event, long before) const;
    Image snapshot(const std::string& title = "Vapora 2.0");  // a window's backing surface
    Dump move_to(int x, int y);  // waits until the main window has handled the move
    Dump click_at(int x, int y);  // waits for the click, or for the results dialog
    void click_dlu(const std::string& window, int x, int y);
    std::string log() const;
    std::string main_window;  // X window id

private:
    pid_t pid_ = -1;
    std::string dir_;
    int exit_status_ = -2;
};

// X window of that exact title, waiting for it; empty when none appears.
std::string find_window(const std::string& title, int timeout_ms = 10000);
bool window_gone(const std::string& title);
// Asks a window to close, as a window manager's close button does.
void request_close(const std::string& window_id);
void key(const std::string& keys);
void type(const std::string& text);
// vapora-calc's "name value" reply.
std::map<std::string, double> calc(const std::string& arguments);

}  // namespace gui
