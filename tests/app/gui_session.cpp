// The harness behind the end-to-end tests: processes, the state, images and X windows.
#include "gui_session.h"

#include <X11/Xlib.h>
#include <cairo.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "memory_dc.h"

namespace gui {

namespace {

long now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Polls until done() holds or 15 seconds have passed.
template <class Done>
bool poll(Done done, long timeout_ms = 15000) {
    for (long end = now_ms() + timeout_ms; !done(); sleep_ms(10))
        if (now_ms() > end) return false;
    return true;
}

std::string read_file(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path).rdbuf();
    return s.str();
}

uint32_t rgb_of(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }
COLORREF colorref(uint32_t rgb) { return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(("timeout -k 2 20 " + command + " 2>/dev/null").c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    return pipe && pclose(pipe) == 0 ? output : std::string();
}

double Dump::number(const std::string& key, size_t i) const {
    auto it = fields.find(key);
    return it == fields.end() || i >= it->second.size() ? 0.0 : it->second[i];
}

int differing(const Image& a, const Image& b, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

int text_mismatch(const Image& shot, int x0, int y0, int x1, int y1,
                  const std::vector<Text>& texts, uint32_t background) {
    MemoryDC c(x1 - x0, y1 - y0);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) c.set(x - x0, y - y0, colorref(shot.pixel(x, y)));
    for (const Text& t : texts) {
        HFONT font = CreateFontW(t.height, 0, 0, 0, t.weight, 0, 0, 0, 0, 0, 0, t.quality,
                                 t.pitch_family, nullptr);
        const int x = t.x - x0, y = t.y - y0, n = static_cast<int>(t.text.size());
        HGDIOBJ old = SelectObject(c.dc, font);
        // The rest of the line is cleared, so a text that runs long shows as a mismatch.
        for (int cy = y; cy < std::min(y + t.height, c.height); ++cy)
            for (int cx = x; cx < c.width; ++cx) c.set(cx, cy, colorref(background));
        SetBkMode(c.dc, t.opaque ? OPAQUE : TRANSPARENT);
        SetBkColor(c.dc, colorref(background));
        SetTextColor(c.dc, colorref(t.colour));
        TextOutW(c.dc, x, y, t.text.c_str(), n);
        SelectObject(c.dc, old);
        DeleteObject(font);
    }
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += rgb_of(c.at(x - x0, y - y0)) != shot.pixel(x, y);
    return n;
}

std::string find_window(const std::string& title, int timeout_ms) {
    std::string id;
    poll([&] {
        return static_cast<bool>(std::istringstream(
                   run("xdotool search --onlyvisible --name '^" + title + "$'")) >> id);
    }, timeout_ms);
    return id;
}

bool window_gone(const std::string& title) {
    return poll([&] { return find_window(title, 0).empty(); });
}

void request_close(const std::string& window_id) {
    Display* display = XOpenDisplay(nullptr);
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = std::stoul(window_id);
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, e.xclient.window, False, NoEventMask, &e);
    XCloseDisplay(display);
}

void key(const std::string& keys) { run("xdotool key " + keys); }
void type(const std::string& text) { run("xdotool type --delay 5 '" + text + "'"); }

std::map<std::string, double> calc(const std::string& arguments) {
    std::map<std::string, double> values;
    std::istringstream in(run(std::string(VAPORA_CALC_PATH) + " " + arguments));
    std::string name;
    for (double v; in >> name >> v;) values[name] = v;
    return values;
}

App::App() {
    char pattern[] = "/tmp/vapora-e2e-XXXXXX";
    if (!mkdtemp(pattern)) return;
    dir_ = pattern;
    pid_ = fork();
    if (pid_ == 0) {
        setenv("VAPORA_TEST_DIR", dir_.c_str(), 1);
        if (freopen((dir_ + "/log").c_str(), "w", stderr))
            execl(VAPORA_APP_PATH, VAPORA_APP_PATH, static_cast<char*>(nullptr));
        _exit(127);
    }
    main_window = find_window("Vapora 2.0");
    wait_count("paint", 0);
}

App::~App() {
    if (alive()) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
    if (!dir_.empty()) run("rm -rf '" + dir_ + "'");
}

bool App::alive() {
    int status = 0;
    if (pid_ <= 0 || exit_status_ != -2) return false;
    if (waitpid(pid_, &status, WNOHANG) == 0) return true;
    exit_status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return false;
}

int App::wait_exit() {
    poll([&] { return !alive(); });
    return alive() ? -1 : exit_status_;
}

std::string App::log() const { return read_file(dir_ + "/log"); }

Dump App::dump() const {
    Dump d;
    std::istringstream in(read_file(dir_ + "/state"));
    std::string key;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        words >> key;
        d.texts[key] = line.substr(std::min(line.size(), key.size() + 1));
        for (double v; words >> v;) d.fields[key].push_back(v);
    }
    return d;
}

Dump App::wait_count(const std::string& event, long before) const {
    Dump d;
    poll([&] { return (d = dump()).count(event) > before; });
    return d;
}

Image App::snapshot(const std::string& title) {
    std::string path = dir_ + "/" + title + ".png";
    std::remove(path.c_str());
    kill(pid_, SIGUSR1);
    struct stat st;
    Image image;
    if (!poll([&] { return stat(path.c_str(), &st) == 0 || !alive(); }) || !alive()) return image;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        image.width = cairo_image_surface_get_width(s);
        image.height = cairo_image_surface_get_height(s);
        for (int y = 0; y < image.height; ++y) {
            auto row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s) +
                                                         y * cairo_image_surface_get_stride(s));
            for (int x = 0; x < image.width; ++x) image.px.push_back(row[x] & 0xFFFFFF);
        }
    }
    cairo_surface_destroy(s);
    return image;
}

Dump App::move_to(int x, int y) {
    Dump d;
    for (int attempt = 0; attempt < 3; ++attempt) {
        long moves = dump().count("mouse_move");
        run("xdotool mousemove --window " + main_window + " " + std::to_string(x) + " " +
            std::to_string(y));
        d = wait_count("mouse_move", moves);
        if (d.number("cursor_px", 0) == x && d.number("cursor_px", 1) == y) break;
    }
    return d;
}

Dump App::click_at(int x, int y) {
    Dump start = move_to(x, y), d;
    run("xdotool click 1");
    poll([&] {
        d = dump();
        return d.count("left_button_down") > start.count("left_button_down") ||
               d.count("results") > start.count("results");
    });
    return d;
}

void App::click_dlu(const std::string& window, int x, int y) {
    run("xdotool mousemove --window " + window + " " + std::to_string(du(x)) + " " +
        std::to_string(du(y)) + " click 1");
}

}  // namespace gui
