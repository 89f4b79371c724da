// The harness behind the end-to-end tests: processes, the dump, images and X windows.
#include "gui_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cairo.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>


namespace gui {

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

long now_ms() {
    using namespace std::chrono;
    return static_cast<long>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

CommandResult run(const std::string& command, int timeout_seconds) {
    CommandResult result;
    std::string line = "timeout -k 2 " + std::to_string(timeout_seconds) + " " + command +
                       " 2>/dev/null";
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// ---- Dump -------------------------------------------------------------------------

std::string Dump::text(const std::string& key) const {
    auto it = fields.find(key);
    if (it == fields.end() || it->second.empty()) return std::string();
    return it->second[0];
}

double Dump::number(const std::string& key, size_t index) const {
    auto it = fields.find(key);
    if (it == fields.end() || index >= it->second.size()) return -1e300;
    return std::strtod(it->second[index].c_str(), nullptr);
}

int Dump::integer(const std::string& key, size_t index) const {
    return static_cast<int>(number(key, index));
}

static Dump parse_dump(const std::string& text) {
    Dump d;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key.empty()) continue;
        if (key == "results_line") {
            std::string index;
            words >> index;
            key += " " + index;
            std::string rest;
            std::getline(words, rest);
            if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
            d.fields[key] = {rest};
            continue;
        }
        std::vector<std::string> values;
        std::string w;
        while (words >> w) values.push_back(w);
        d.fields[key] = values;
    }
    return d;
}

// ---- Images -----------------------------------------------------------------------

uint32_t Image::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFFu;
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return gui::rgb(p[0], p[1], p[2]);
}

Image read_png(const std::string& path) {
    Image image;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(s);
        image.width = cairo_image_surface_get_width(s);
        image.height = cairo_image_surface_get_height(s);
        int stride = cairo_image_surface_get_stride(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                uint32_t v;
                std::memcpy(&v, data + y * stride + x * 4, 4);
                uint8_t* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
                p[0] = (v >> 16) & 0xFF;
                p[1] = (v >> 8) & 0xFF;
                p[2] = v & 0xFF;
            }
    }
    cairo_surface_destroy(s);
    return image;
}

Image screenshot(const std::string& window_id) {
    Image image;
    CommandResult r = run("import -window " + window_id + " -depth 8 ppm:-", 20);
    const std::string& d = r.output;
    // P6 <width> <height> 255 <pixels>
    std::istringstream header(d);
    std::string magic;
    int maxval = 0;
    header >> magic >> image.width >> image.height >> maxval;
    if (magic != "P6" || maxval != 255) return Image{};
    size_t start = static_cast<size_t>(header.tellg()) + 1;
    size_t size = static_cast<size_t>(image.width) * image.height * 3;
    if (d.size() < start + size) return Image{};
    image.rgb.assign(d.begin() + start, d.begin() + start + size);
    return image;
}

// ---- X windows --------------------------------------------------------------------

std::string find_window(const std::string& name, int timeout_ms) {
    long end = now_ms() + timeout_ms;
    for (;;) {
        CommandResult r = run("xdotool search --onlyvisible --name '^" + name + "$'", 5);
        std::istringstream ids(r.output);
        std::string id;
        if (ids >> id) return id;
        if (now_ms() > end) return std::string();
        sleep_ms(50);
    }
}

bool window_gone(const std::string& name, int timeout_ms) {
    long end = now_ms() + timeout_ms;
    for (;;) {
        CommandResult r = run("xdotool search --onlyvisible --name '^" + name + "$'", 5);
        if (r.output.find_first_not_of(" \n") == std::string::npos) return true;
        if (now_ms() > end) return false;
        sleep_ms(50);
    }
}

bool window_size(const std::string& window_id, int* width, int* height) {
    CommandResult r = run("xdotool getwindowgeometry " + window_id, 5);
    size_t at = r.output.find("Geometry: ");
    if (at == std::string::npos) return false;
    return std::sscanf(r.output.c_str() + at, "Geometry: %dx%d", width, height) == 2;
}

bool request_close(const std::string& window_id) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    Window w = static_cast<Window>(std::strtoul(window_id.c_str(), nullptr, 10));
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, w, False, NoEventMask, &e);
    XFlush(display);
    XCloseDisplay(display);
    return true;
}

std::map<std::string, double> calc(const std::string& arguments) {
    std::map<std::string, double> values;
    CommandResult r = run(std::string(VAPORA_CALC_PATH) + " " + arguments, 20);
    if (r.status != 0) return values;
    std::istringstream in(r.output);
    std::string name;
    double v;
    while (in >> name >> v) values[name] = v;
    return values;
}

// ---- The program ------------------------------------------------------------------

App::App() {
    char pattern[] = "/tmp/vapora-e2e-XXXXXX";
    if (!mkdtemp(pattern)) return;
    dir_ = pattern;
    std::string dump = dir_ + "/state";
    std::string log = dir_ + "/log";
    pid_ = fork();
    if (pid_ == 0) {
        setenv("VAPORA_STATE_DUMP", dump.c_str(), 1);
        setenv("VAPORA_SNAPSHOT_DIR", dir_.c_str(), 1);
        int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
        }
        execl(VAPORA_APP_PATH, VAPORA_APP_PATH, static_cast<char*>(nullptr));
        _exit(127);
    }
    main_window = find_window("Vapora 2.0", 15000);
}

App::~App() {
    if (pid_ > 0 && alive()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (!dir_.empty()) run("rm -rf '" + dir_ + "'", 10);
}

bool App::alive() {
    if (pid_ <= 0 || exit_status_ != -2) return false;
    int status = 0;
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == 0) return true;
    exit_status_ = (r == pid_ && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    return false;
}

int App::wait_exit(int timeout_ms) {
    long end = now_ms() + timeout_ms;
    while (alive()) {
        if (now_ms() > end) return -1;
        sleep_ms(20);
    }
    return exit_status_;
}

std::string App::log() const {
    std::ifstream in(dir_ + "/log");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

Dump App::dump() const {
    std::ifstream in(dir_ + "/state");
    if (!in) return Dump{};
    std::stringstream s;
    s << in.rdbuf();
    return parse_dump(s.str());
}

Image App::snapshot(const std::string& title) {
    std::string path = dir_ + "/" + title + ".png";
    std::remove(path.c_str());
    kill(pid_, SIGUSR1);
    long end = now_ms() + 10000;
    struct stat st;
    while (stat(path.c_str(), &st) != 0) {
        if (now_ms() > end || !alive()) return Image{};
        sleep_ms(10);
    }
    return read_png(path);
}

Dump App::move_to(int x, int y) {
    run("xdotool mousemove --window " + main_window + " " + std::to_string(x) + " " +
        std::to_string(y));
    return wait_for([&](const Dump& d) {
        return d.event() == "mouse_move" && d.integer("cursor_px", 0) == x &&
               d.integer("cursor_px", 1) == y;
    });
}

Dump App::click_at(int x, int y) {
    move_to(x, y);
    Dump start = dump();
    long clicks = start.count("left_button_down");
    long results = start.count("results");
    run("xdotool click 1");
    return wait_for([&](const Dump& d) {
        return d.count("left_button_down") > clicks || d.count("results") > results;
    });
}

void App::click_in_window(const std::string& window_id, int x, int y) {
    run("xdotool mousemove --window " + window_id + " " + std::to_string(x) + " " +
        std::to_string(y) + " click 1");
}

void App::key(const std::string& keys) { run("xdotool key " + keys); }

void App::type(const std::string& text) { run("xdotool type --delay 5 '" + text + "'"); }

}  // namespace gui
