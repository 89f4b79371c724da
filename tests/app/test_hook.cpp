// The test build's hook into the Linux layer. With VAPORA_TEST_DIR set, it writes the
// program state to <dir>/state after each message of the main window a test waits for,
// after each command of the data-input dialog (with its four field labels), when the
// results dialog or the About box (with its texts) has been set up, at every beep and
// before every message box: "name value ..." lines with count_<event> for each event so
// far, written under a temporary name and renamed, so a reader never sees half a file.
// On SIGUSR1 it writes the backing surface of every window it has seen to
// <dir>/<title>.png.
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
#include "user_internal.h"

namespace {

std::set<HWND> windows;
std::map<std::string, long> event_counts;
const char* const dir = std::getenv("VAPORA_TEST_DIR");

std::string title_of(HWND hwnd) {  // the titles are plain ASCII
    return std::string(hwnd->text.begin(), hwnd->text.end());
}

// The event a test waits for, "" for the others: the main window's paints, mouse moves
// and clicks, the data-input dialog's commands, the results and About dialogs set up.
std::string event_name(const std::string& event, HWND hwnd, UINT message) {
    const std::map<UINT, const char*> main_window = {
        {WM_PAINT, "paint"}, {WM_MOUSEMOVE, "mouse_move"}, {WM_LBUTTONDOWN, "left_button_down"}};
    if (event == "message" && message == WM_COMMAND)
        return title_of(hwnd) == "Data input window" ? "input_command" : "";
    if (event == "message")
        return main_window.count(message) && title_of(hwnd) == "Vapora 2.0"
                   ? main_window.at(message)
                   : "";
    if (event != "dialog") return event;
    const std::string title = title_of(hwnd);
    return title == "Results" ? "results" : title == "Informazioni su Vapora 2.0" ? "about" : "";
}

// The labels of a message box about to be shown: the newest dialog not yet on screen.
void collect_labels(GtkWidget* widget, gpointer out) {
    if (GTK_IS_LABEL(widget))
        *static_cast<std::string*>(out) +=
            std::string(" ") + gtk_label_get_text(GTK_LABEL(widget)) + "|";
    else if (GTK_IS_CONTAINER(widget))
        gtk_container_forall(GTK_CONTAINER(widget), collect_labels, out);
}

std::string message_box_texts() {
    std::string texts;
    GList* all = gtk_window_list_toplevels();
    for (GList* w = all; w; w = w->next)
        if (GTK_IS_DIALOG(w->data) && !gtk_widget_get_visible(GTK_WIDGET(w->data)))
            collect_labels(gtk_dialog_get_content_area(GTK_DIALOG(w->data)), &texts);
    g_list_free(all);
    return texts;
}

void write_state(const std::string& event, HWND hwnd) {
    const std::string path = std::string(dir) + "/state";
    FILE* f = std::fopen((path + ".tmp").c_str(), "w");
    if (!f) return;
    ++event_counts[event];
    for (const auto& count : event_counts)
        std::fprintf(f, "count_%s %ld\n", count.first.c_str(), count.second);
    std::fprintf(f, "cursor_x %ld\ncursor_y %ld\ngdi_objects %d\n", static_cast<long>(cursor_px.x),
                 static_cast<long>(cursor_px.y), vapora_gdi_object_count());
    for (int id = 1051; event == "input_command" && id <= 1057; id += 2) {
        wchar_t text[100] = {};
        GetDlgItemTextW(hwnd, id, text, 100);
        std::fprintf(f, "label_%d %s|\n", id, std::string(text, text + wcslen(text)).c_str());
    }
    if (event == "about") {  // its controls' texts and places, in the order of the template
        std::fputs("about_texts", f);
        for (HWND c : hwnd->children) {
            int x = 0, y = 0;
            gtk_container_child_get(GTK_CONTAINER(hwnd->fixed), c->widget, "x", &x, "y", &y,
                                    nullptr);
            std::fprintf(f, " %s@%d,%d|", std::string(c->text.begin(), c->text.end()).c_str(), x,
                         y);
        }
        std::fputc('\n', f);
    }
    if (event == "message_box") std::fprintf(f, "message_texts%s\n", message_box_texts().c_str());
    std::fclose(f);
    std::rename((path + ".tmp").c_str(), path.c_str());
}

gboolean write_snapshots(gpointer) {
    for (HWND hwnd : windows) {
        if (!IsWindow(hwnd)) continue;
        const std::string path = std::string(dir) + "/" + title_of(hwnd) + ".png";
        if (vapora_save_window_png(hwnd, (path + ".tmp").c_str()))
            std::rename((path + ".tmp").c_str(), path.c_str());
    }
    return G_SOURCE_CONTINUE;
}

}  // namespace

void platform_test_hook(const char* event, HWND hwnd, UINT message) {
    if (!dir || !*dir) return;
    static const guint snapshots = g_unix_signal_add(SIGUSR1, write_snapshots, nullptr);
    (void)snapshots;
    if (message == WM_NCDESTROY)
        windows.erase(hwnd);
    else if (hwnd)
        windows.insert(hwnd);
    const std::string name = message == WM_NCDESTROY ? "" : event_name(event, hwnd, message);
    if (!name.empty()) write_state(name, hwnd);
}
