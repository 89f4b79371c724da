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
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "memory_dc.h"

namespace gui {

namespace {

long now_ms() {
    using namespace std::chrono;
    return static_cast<long>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string read_file(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

Image read_png(const std::string& path) {
    Image image;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        image.width = cairo_image_surface_get_width(s);
        image.height = cairo_image_surface_get_height(s);
        const int stride = cairo_image_surface_get_stride(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                image.px.push_back(
                    reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF);
    }
    cairo_surface_destroy(s);
    return image;
}

COLORREF colorref(uint32_t rgb) { return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::string run(const std::string& command, int timeout_seconds) {
    std::string output;
    FILE* pipe = popen(("timeout -k 2 " + std::to_string(timeout_seconds) + " " + command +
                        " 2>/dev/null").c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    return pclose(pipe) == 0 ? output : std::string();
}

double Dump::number(const std::string& key, size_t i) const {
    auto it = fields.find(key);
    return it == fields.end() || i >= it->second.size() ? 0.0 : it->second[i];
}

int text_mismatch(const Image& shot, Box box, const std::vector<Text>& texts,
                  uint32_t background) {
    const int width = box.x1 - box.x0, height = box.y1 - box.y0;
    MemoryDC c(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            c.set(x, y, colorref(shot.pixel(box.x0 + x, box.y0 + y)));
    HBRUSH clean = CreateSolidBrush(colorref(background));
    for (const Text& t : texts) {
        HFONT font = CreateFontW(t.height, 0, 0, 0, t.weight, 0, 0, 0, 0, 0, 0, t.quality,
                                 t.pitch_family, nullptr);
        const int x = t.x - box.x0, y = t.y - box.y0, n = static_cast<int>(t.text.size());
        // The text's width: where its ink ends when written alone.
        MemoryDC alone(width + 100, t.height);
        HGDIOBJ old = SelectObject(alone.dc, font);
        SetTextColor(alone.dc, RGB(255, 255, 255));
        TextOutW(alone.dc, 0, 0, t.text.c_str(), n);
        SelectObject(alone.dc, old);
        int extent = 0;
        for (int i = 0; i < alone.width; ++i)
            if (alone.count_other(i, 0, i + 1, t.height, RGB(0, 0, 0))) extent = i + 1;
        old = SelectObject(c.dc, font);
        const RECT cell = {x, y, std::min(x + extent + 12, width), y + t.height};
        FillRect(c.dc, &cell, clean);
        SetBkMode(c.dc, t.opaque ? OPAQUE : TRANSPARENT);
        SetBkColor(c.dc, colorref(background));
        SetTextColor(c.dc, colorref(t.colour));
        TextOutW(c.dc, x, y, t.text.c_str(), n);
        SelectObject(c.dc, old);
        DeleteObject(font);
    }
    DeleteObject(clean);
    int n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF p = c.at(x, y);
            uint32_t rgb = GetRValue(p) << 16 | GetGValue(p) << 8 | GetBValue(p);
            n += rgb != shot.pixel(box.x0 + x, box.y0 + y);
        }
    return n;
}

int differing(const Image& a, const Image& b, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

std::string find_window(const std::string& title, int timeout_ms) {
    for (long end = now_ms() + timeout_ms;; sleep_ms(50)) {
        std::istringstream ids(run("xdotool search --onlyvisible --name '^" + title + "$'"));
        std::string id;
        if (ids >> id) return id;
        if (now_ms() > end) return std::string();
    }
}

bool window_gone(const std::string& title, int timeout_ms) {
    for (long end = now_ms() + timeout_ms;; sleep_ms(50)) {
        std::string ids = run("xdotool search --onlyvisible --name '^" + title + "$'");
        if (ids.find_first_not_of(" \n") == std::string::npos) return true;
        if (now_ms() > end) return false;
    }
}

void request_close(const std::string& window_id) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = static_cast<Window>(std::stoul(window_id));
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, e.xclient.window, False, NoEventMask, &e);
    XCloseDisplay(display);
}

std::map<std::string, double> calc(const std::string& arguments) {
    std::map<std::string, double> values;
    std::istringstream in(run(std::string(VAPORA_CALC_PATH) + " " + arguments, 20));
    std::string name;
    double v;
    while (in >> name >> v) values[name] = v;
    return values;
}

App::App() {
    char pattern[] = "/tmp/vapora-e2e-XXXXXX";
    if (!mkdtemp(pattern)) return;
    dir_ = pattern;
    pid_ = fork();
    if (pid_ == 0) {
        setenv("VAPORA_TEST_DIR", dir_.c_str(), 1);
        if (!freopen((dir_ + "/log").c_str(), "w", stderr)) _exit(126);
        execl(VAPORA_APP_PATH, VAPORA_APP_PATH, static_cast<char*>(nullptr));
        _exit(127);
    }
    main_window = find_window("Vapora 2.0", 15000);
    wait_count("paint", 0);
}

App::~App() {
    if (alive()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (!dir_.empty()) run("rm -rf '" + dir_ + "'");
}

bool App::alive() {
    if (pid_ <= 0 || exit_status_ != -2) return false;
    int status = 0;
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == 0) return true;
    exit_status_ = r == pid_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return false;
}

int App::wait_exit(int timeout_ms) {
    for (long end = now_ms() + timeout_ms; alive(); sleep_ms(20))
        if (now_ms() > end) return -1;
    return exit_status_;
}

std::string App::log() const { return read_file(dir_ + "/log"); }

Dump App::dump() const {
    Dump d;
    std::istringstream in(read_file(dir_ + "/state"));
    std::string line, key;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        words >> key;
        if (key == "event") {
            words >> d.event;
            continue;
        }
        double v;
        while (words >> v) d.fields[key].push_back(v);
    }
    return d;
}

Dump App::wait_count(const std::string& event, long before, int timeout_ms) const {
    Dump d;
    for (long end = now_ms() + timeout_ms; now_ms() < end; sleep_ms(10))
        if ((d = dump()).count(event) > before) break;
    return d;
}

Image App::snapshot(const std::string& title) {
    std::string path = dir_ + "/" + title + ".png";
    std::remove(path.c_str());
    kill(pid_, SIGUSR1);
    struct stat st;
    for (long end = now_ms() + 10000; stat(path.c_str(), &st) != 0; sleep_ms(10))
        if (now_ms() > end || !alive()) return Image{};
    return read_png(path);
}

Dump App::move_to(int x, int y) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        long moves = dump().count("mouse_move");
        run("xdotool mousemove --window " + main_window + " " + std::to_string(x) + " " +
            std::to_string(y));
        Dump d = wait_count("mouse_move", moves, 5000);
        if (d.number("cursor_px", 0) == x && d.number("cursor_px", 1) == y) return d;
    }
    return dump();
}

Dump App::click_at(int x, int y) {
    Dump start = move_to(x, y);
    run("xdotool click 1");
    for (long end = now_ms() + 15000; now_ms() < end; sleep_ms(10)) {
        Dump d = dump();
        if (d.count("left_button_down") > start.count("left_button_down") ||
            d.count("results") > start.count("results"))
            return d;
    }
    return dump();
}

void App::click_dlu(const std::string& window, int x, int y) {
    run("xdotool mousemove --window " + window + " " + std::to_string(du(x)) + " " +
        std::to_string(du(y)) + " click 1");
}

void App::key(const std::string& keys) { run("xdotool key " + keys); }

void App::type(const std::string& text) { run("xdotool type --delay 5 '" + text + "'"); }

}  // namespace gui
