// End-to-end test harness for the real program: a private Xvfb server per test binary,
// the vapora process with its state dump and window snapshots, xdotool for the mouse
// and the keyboard. Every wait is bounded; a failed test kills what it started.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace gui {

// The result of a shell command run under `timeout`.
struct CommandResult {
    int status = -1;
    std::string output;
};
CommandResult run(const std::string& command, int timeout_seconds = 10);

// One state dump of the program, parsed: the first word of each line is its key
// ("results_line 12" for the results lines), the rest its values.
struct Dump {
    std::map<std::string, std::vector<std::string>> fields;
    bool empty() const { return fields.empty(); }
    std::string text(const std::string& key) const;
    double number(const std::string& key, size_t index = 0) const;
    int integer(const std::string& key, size_t index = 0) const;
    long sequence() const { return fields.count("seq") ? std::stol(text("seq")) : 0; }
    std::string event() const { return text("event"); }
    // How many dumps of that event the program has written so far.
    long count(const std::string& event) const {
        return fields.count("count_" + event) ? std::stol(text("count_" + event)) : 0;
    }
};

// The dump taken as the results dialog opens, or as it paints.
inline bool results_shown(const Dump& d) {
    return d.event() == "results" || d.event() == "results_paint";
}

// An RGB image: a window snapshot or a screenshot.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // row-major, 3 bytes a pixel
    bool valid() const { return width > 0 && height > 0; }
    uint32_t pixel(int x, int y) const;  // 0xRRGGBB, 0xFFFFFFFF outside
};
constexpr uint32_t rgb(int r, int g, int b) {
    return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
           static_cast<uint32_t>(b);
}
Image read_png(const std::string& path);
// A screenshot of an X window through the X server (ImageMagick's import).
Image screenshot(const std::string& window_id);

// The vapora program running on the private display.
class App {
public:
    App();
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    bool started() const { return pid_ > 0; }
    bool alive();
    // Waits for the process to end; its exit status, or -1 on timeout or a signal.
    int wait_exit(int timeout_ms);

    // The latest dump (possibly empty before the first handled message).
    Dump dump() const;
    // Polls the dump until pred holds or the timeout passes; returns the last one read.
    template <class Pred>
    Dump wait_for(Pred pred, int timeout_ms = 10000) const;
    // Waits until the program has dumped `event` more often than `before` times.
    Dump wait_count(const std::string& event, long before, int timeout_ms = 10000) const {
        return wait_for([&](const Dump& d) { return d.count(event) > before; }, timeout_ms);
    }

    // The main window's backing surface as the program drew it.
    Image snapshot(const std::string& title = "Vapora 2.0");

    // Mouse and keyboard, in client pixels of the main window.
    Dump move_to(int x, int y);     // waits until the move has been handled
    Dump click_at(int x, int y);    // a move, then a left click; waits for the click
    void click_in_window(const std::string& window_id, int x, int y);
    void key(const std::string& keys);
    void type(const std::string& text);

    std::string main_window;  // X window id of the main window
    std::string log() const;

private:
    pid_t pid_ = -1;
    std::string dir_;
    int exit_status_ = -2;
};

// The X window id of the first visible window whose name matches the regular
// expression exactly, waiting up to timeout_ms; empty when none appears.
std::string find_window(const std::string& name, int timeout_ms = 10000);
// Waits until no visible window of that name is left.
bool window_gone(const std::string& name, int timeout_ms = 10000);
// Asks a window to close, as a window manager's close button does.
bool request_close(const std::string& window_id);
// A window's size in pixels.
bool window_size(const std::string& window_id, int* width, int* height);

// Where vapora-calc lives and a parsed "name value" reply of it.
std::map<std::string, double> calc(const std::string& arguments);

void sleep_ms(int ms);
long now_ms();

template <class Pred>
Dump App::wait_for(Pred pred, int timeout_ms) const {
    long end = now_ms() + timeout_ms;
    Dump d;
    for (;;) {
        d = dump();
        if (!d.empty() && pred(d)) return d;
        if (now_ms() > end) return d;
        sleep_ms(10);
    }
}

}  // namespace gui
