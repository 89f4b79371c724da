// The test build's hook into the Linux layer. With VAPORA_TEST_DIR set, it writes the
// program state to <dir>/state after every message the main window or a dialog has
// handled, at every beep and before every message box ("name value ..." lines, under a
// temporary name and renamed, so a reader never sees half a file); and on SIGUSR1 it
// writes the backing surface of every live window to <dir>/<title>.png.
#include <glib-unix.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "program_state.h"
#include "test_hook.h"

namespace {

std::set<HWND> windows;
std::map<std::string, long> event_counts;
long sequence = 0;

const char* test_dir() {
    static const char* dir = std::getenv("VAPORA_TEST_DIR");
    return dir && *dir ? dir : nullptr;
}

// The titles are plain ASCII.
std::string narrow(const wchar_t* text) {
    std::string out;
    for (const wchar_t* c = text; *c; ++c) out += *c < 128 ? static_cast<char>(*c) : '?';
    return out;
}

std::string title_of(HWND hwnd) {
    wchar_t text[100] = {};
    GetWindowTextW(hwnd, text, 100);
    return narrow(text);
}

const char* message_name(UINT message) {
    switch (message) {
    case WM_PAINT: return "paint";
    case WM_MOUSEMOVE: return "mouse_move";
    case WM_LBUTTONDOWN: return "left_button_down";
    case WM_KEYDOWN: return "key_down";
    case WM_COMMAND: return "command";
    case WM_DESTROY: return "destroy";
    default: return nullptr;
    }
}

// The event a test waits for; empty for messages no test reads. (Reading a title sends
// WM_GETTEXT, so only the messages named above ask for one.)
std::string event_name(const std::string& event, HWND hwnd, UINT message) {
    if (event == "dialog") return title_of(hwnd) == "Results" ? "results" : "dialog";
    if (event != "message") return event;
    const char* name = message_name(message);
    if (!name) return "";
    std::string title = title_of(hwnd);
    if (title == "Results") return message == WM_PAINT ? "results_paint" : "";
    return title == narrow(window_title) ? name : "";
}

void put_state(FILE* f, const char* name, const SteamState& s) {
    std::fprintf(f, "%s %.17g %.17g %.17g %.17g %.17g %.17g\n", name, s.t, s.p, s.h, s.s, s.v,
                 s.x);
}

void put_point(FILE* f, const char* name, POINT p) {
    std::fprintf(f, "%s %ld %ld\n", name, static_cast<long>(p.x), static_cast<long>(p.y));
}

void write_state(const std::string& event) {
    std::string path = std::string(test_dir()) + "/state";
    FILE* f = std::fopen((path + ".tmp").c_str(), "w");
    if (!f) return;
    ++event_counts[event];
    std::fprintf(f, "seq %ld\nevent %s\n", ++sequence, event.c_str());
    for (const auto& count : event_counts)
        std::fprintf(f, "count_%s %ld\n", count.first.c_str(), count.second);
    std::fprintf(f, "awaiting_first_point %d\n", awaiting_first_point ? 1 : 0);
    put_point(f, "cursor_px", cursor_px);
    put_point(f, "point1_px", point1_px);
    put_point(f, "point2_px", point2_px);
    put_state(f, "cursor_state", cursor_state);
    put_state(f, "point1_state", point1_state);
    put_state(f, "point2_state", point2_state);
    std::fprintf(f, "client_rect %ld %ld\n", static_cast<long>(client_rect.right),
                 static_cast<long>(client_rect.bottom));
    std::fprintf(f, "gdi_objects %d\n", vapora_gdi_object_count());
    std::fclose(f);
    std::rename((path + ".tmp").c_str(), path.c_str());
}

gboolean write_snapshots(gpointer) {
    for (HWND hwnd : windows) {
        if (!IsWindow(hwnd)) continue;
        std::string path = std::string(test_dir()) + "/" + title_of(hwnd) + ".png";
        if (vapora_save_window_png(hwnd, (path + ".tmp").c_str()))
            std::rename((path + ".tmp").c_str(), path.c_str());
    }
    return G_SOURCE_CONTINUE;
}

}  // namespace

void platform_test_hook(const char* event, HWND hwnd, UINT message) {
    if (!test_dir()) return;
    static bool signal_installed = false;
    if (!signal_installed) {
        g_unix_signal_add(SIGUSR1, write_snapshots, nullptr);
        signal_installed = true;
    }
    if (message == WM_NCDESTROY) {
        windows.erase(hwnd);
        return;
    }
    if (hwnd) windows.insert(hwnd);
    std::string name = event_name(event, hwnd, message);
    if (!name.empty()) write_state(name);
}
