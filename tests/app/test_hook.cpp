// The test build's hook into the Linux layer. With VAPORA_TEST_DIR set, it writes the
// program state to <dir>/state after each message the main window or the results dialog
// has handled (with the field labels after a command of the data-input dialog), when a dialog has been set up, at every beep and before every message
// box: "name value ..." lines with count_<event> for each event so far, under a
// temporary name and renamed, so a reader never sees half a file. On SIGUSR1 it writes
// the backing surface of every window it has seen to <dir>/<title>.png.
#include <glib-unix.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <set>
#include <string>

#include "program_state.h"
#include "test_hook.h"

namespace {

std::set<HWND> windows;
std::map<std::string, long> event_counts;

const char* test_dir() {
    static const char* dir = std::getenv("VAPORA_TEST_DIR");
    return dir && *dir ? dir : nullptr;
}

std::string title_of(HWND hwnd) {  // the titles are plain ASCII
    wchar_t text[100] = {};
    GetWindowTextW(hwnd, text, 100);
    return std::string(text, text + wcslen(text));
}

// The event a test waits for; empty for those no test reads. (Reading a title sends
// WM_GETTEXT, so only the messages named here ask for one.)
std::string event_name(const std::string& event, HWND hwnd, UINT message) {
    if (event == "dialog") return title_of(hwnd) == "Results" ? "results" : "dialog";
    if (event != "message") return event;
    const std::map<UINT, const char*> names = {
        {WM_PAINT, "paint"},      {WM_MOUSEMOVE, "mouse_move"}, {WM_LBUTTONDOWN, "left_button_down"},
        {WM_KEYDOWN, "key_down"}, {WM_COMMAND, "command"},      {WM_DESTROY, "destroy"}};
    auto name = names.find(message);
    if (name == names.end()) return "";
    std::string title = title_of(hwnd);
    if (title == "Results") return message == WM_PAINT ? "results_paint" : "";
    if (title == "Data input window") return message == WM_COMMAND ? "input_command" : "";
    return title == std::string(window_title, window_title + wcslen(window_title)) ? name->second : "";
}

void put_state(FILE* f, const char* name, const SteamState& s) {
    std::fprintf(f, "%s %.17g %.17g %.17g %.17g %.17g %.17g\n", name, s.t, s.p, s.h, s.s, s.v, s.x);
}

// The four field labels of the data-input dialog, as "label_<id> <text>|".
void put_labels(FILE* f, HWND dialog) {
    for (int id = 1051; id <= 1057; id += 2) {
        wchar_t text[100] = {};
        GetDlgItemTextW(dialog, id, text, 100);
        std::fprintf(f, "label_%d %s|\n", id, std::string(text, text + wcslen(text)).c_str());
    }
}

void write_state(const std::string& event, HWND hwnd) {
    std::string path = std::string(test_dir()) + "/state";
    FILE* f = std::fopen((path + ".tmp").c_str(), "w");
    if (!f) return;
    ++event_counts[event];
    for (const auto& count : event_counts)
        std::fprintf(f, "count_%s %ld\n", count.first.c_str(), count.second);
    std::fprintf(f, "awaiting_first_point %d\ncursor_px %ld %ld\nclient_rect %ld %ld\n",
                 awaiting_first_point ? 1 : 0, static_cast<long>(cursor_px.x),
                 static_cast<long>(cursor_px.y), static_cast<long>(client_rect.right),
                 static_cast<long>(client_rect.bottom));
    put_state(f, "cursor_state", cursor_state);
    put_state(f, "point1_state", point1_state);
    put_state(f, "point2_state", point2_state);
    std::fprintf(f, "gdi_objects %d\n", vapora_gdi_object_count());
    if (event == "input_command") put_labels(f, hwnd);
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
    static const guint snapshots = g_unix_signal_add(SIGUSR1, write_snapshots, nullptr);
    (void)snapshots;
    if (message == WM_NCDESTROY) {
        windows.erase(hwnd);
        return;
    }
    if (hwnd) windows.insert(hwnd);
    std::string name = event_name(event, hwnd, message);
    if (!name.empty()) write_state(name, hwnd);
}
