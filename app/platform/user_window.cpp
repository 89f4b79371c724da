// Window classes and top-level windows over GTK 3: creation, showing, teardown, the client
// area's size and place, and the cursor position.
#include <algorithm>
#include <clocale>
#include <cwchar>
#include <cstdlib>
#include <map>
#include <set>

#include "user_internal.h"

namespace vapora::user {
namespace {

std::map<std::wstring, WNDCLASSEXW>& classes() {
    static std::map<std::wstring, WNDCLASSEXW> m;
    return m;
}
std::set<HWND>& live() {
    static std::set<HWND> s;
    return s;
}
// Destroyed records wait here until no procedure call on the stack still uses them.
std::vector<HWND>& graveyard() {
    static std::vector<HWND> v;
    return v;
}

// The frame Windows gives a fixed window with a caption: 3 pixels each side and a
// 23-pixel caption bar above the top border, so 1000 x 700 leaves 994 x 671.
constexpr int kFrameSide = 3, kCaption = 23;

gboolean on_delete(GtkWidget*, GdkEvent*, gpointer data) {
    HWND w = static_cast<HWND>(data);
    // A disabled owner of a modal dialog cannot be closed, as on Windows.
    if (is_live(w) && w->enabled) post(w, WM_CLOSE, 0, 0);
    return TRUE;  // the window goes only through DestroyWindow
}

// The buttons of the frame, as Windows derives them from the style: close for a system
// menu, minimise for a top-level window that asks for it, never maximise.
void on_realize(GtkWidget* widget, gpointer data) {
    HWND w = static_cast<HWND>(data);
    int functions = GDK_FUNC_MOVE | ((w->style & WS_SYSMENU) ? GDK_FUNC_CLOSE : 0);
    if (w->kind == WndKind::TopLevel && (w->style & WS_MINIMIZEBOX)) functions |= GDK_FUNC_MINIMIZE;
    gdk_window_set_functions(gtk_widget_get_window(widget), (GdkWMFunction)functions);
}

}  // namespace

void ensure_gtk() {
    static bool done = false;
    if (done) return;
    done = true;
    if (!gtk_init_check(nullptr, nullptr)) {
        g_printerr("cannot open the display\n");
        std::exit(1);
    }
    std::setlocale(LC_NUMERIC, "C");  // as in main(): a decimal point in every locale
}

// wchar_t is UTF-32 on this platform, GLib's UCS-4.
std::string to_utf8(const std::wstring& w) {
    static_assert(sizeof(wchar_t) == sizeof(gunichar), "wchar_t holds one code point");
    gchar* s = g_ucs4_to_utf8(reinterpret_cast<const gunichar*>(w.data()), (glong)w.size(), nullptr,
                              nullptr, nullptr);
    std::string out = s ? s : "";
    g_free(s);
    return out;
}

std::wstring from_utf8(const char* s) {
    glong n = 0;
    gunichar* u = g_utf8_to_ucs4_fast(s ? s : "", -1, &n);
    std::wstring out(reinterpret_cast<const wchar_t*>(u), (size_t)n);
    g_free(u);
    return out;
}

void free_destroyed_windows() {
    auto& g = graveyard();
    auto idle = std::partition(g.begin(), g.end(), [](HWND w) { return w->busy > 0; });
    for (auto it = idle; it != g.end(); ++it) delete *it;
    g.erase(idle, g.end());
}

bool is_live(HWND w) {
    return w && live().count(w) && !w->destroyed;
}

void register_window(HWND w) {
    live().insert(w);
}

void build_toplevel(HWND w, int client_w, int client_h) {
    ensure_gtk();
    w->client_w = std::max(1, client_w);
    w->client_h = std::max(1, client_h);
    w->surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w->client_w, w->client_h);
    cairo_t* cr = cairo_create(w->surface);
    cairo_set_source_rgb(cr, GetRValue(w->face) / 255.0, GetGValue(w->face) / 255.0,
                         GetBValue(w->face) / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);

    w->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* win = GTK_WINDOW(w->window);
    gtk_window_set_title(win, to_utf8(w->text).c_str());
    gtk_window_set_resizable(win, FALSE);
    gtk_window_set_gravity(win, GDK_GRAVITY_STATIC);  // positions name the client area
    w->fixed = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(w->window), w->fixed);
    w->area = gtk_drawing_area_new();
    gtk_widget_set_size_request(w->area, w->client_w, w->client_h);
    gtk_fixed_put(GTK_FIXED(w->fixed), w->area, 0, 0);
    g_signal_connect(w->window, "delete-event", G_CALLBACK(on_delete), w);
    g_signal_connect(w->window, "realize", G_CALLBACK(on_realize), w);
    connect_painting(w);
    register_window(w);
}

POINT client_origin(HWND w) {
    POINT p{0, 0};
    GdkWindow* top = w->window ? gtk_widget_get_window(w->window) : nullptr;
    if (!top) return p;
    gint ox = 0, oy = 0, dx = 0, dy = 0;
    gdk_window_get_origin(top, &ox, &oy);
    gtk_widget_translate_coordinates(w->area, w->window, 0, 0, &dx, &dy);
    return POINT{ox + dx, oy + dy};
}

void destroy_window(HWND w) {
    if (!is_live(w)) return;
    ++w->busy;
    call_proc(w, WM_DESTROY, 0, 0);
    call_proc(w, WM_NCDESTROY, 0, 0);
    --w->busy;
    w->destroyed = true;
    live().erase(w);
    for (HWND c : w->children) {
        c->destroyed = true;
        live().erase(c);
        if (c->partner) g_object_unref(c->partner);
        graveyard().push_back(c);
    }
    forget_window_dcs(w);
    drop_messages_of(w);
    if (w->window) gtk_widget_destroy(w->window);
    w->window = w->fixed = w->area = nullptr;
    if (w->surface) cairo_surface_destroy(w->surface);
    w->surface = nullptr;
    graveyard().push_back(w);
}

}  // namespace vapora::user

using namespace vapora::user;

ATOM RegisterClassExW(const WNDCLASSEXW* wc) {
    if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName)) return 0;
    if (!classes().emplace(wc->lpszClassName, *wc).second) return 0;
    return (ATOM)(0xC000 + classes().size());
}

// Top-level windows with a caption only: the one kind the program creates.
HWND CreateWindowExW(DWORD, LPCWSTR class_name, LPCWSTR title, DWORD style, int x, int y, int width,
                     int height, HWND, HMENU, HINSTANCE instance, LPVOID) {
    if (!class_name || IS_INTRESOURCE(class_name)) return nullptr;
    auto it = classes().find(class_name);
    if (it == classes().end()) return nullptr;
    const WNDCLASSEXW& wc = it->second;
    HWND w = new HWND__;
    w->text = title ? title : L"";
    w->proc = wc.lpfnWndProc;
    w->instance = instance;
    w->style = style;
    build_toplevel(w, width - 2 * kFrameSide, height - 2 * kFrameSide - kCaption);
    if (x != CW_USEDEFAULT)
        gtk_window_move(GTK_WINDOW(w->window), x + kFrameSide, y + kFrameSide + kCaption);
    GList* icons = nullptr;
    for (HICON icon : {wc.hIcon, wc.hIconSm})
        if (icon && icon->pixbuf) icons = g_list_append(icons, icon->pixbuf);
    gtk_window_set_icon_list(GTK_WINDOW(w->window), icons);
    g_list_free(icons);
    connect_input(w);
    invalidate(w);  // a new window is wholly invalid
    if (style & WS_VISIBLE) ShowWindow(w, SW_SHOW);
    return w;
}

BOOL DestroyWindow(HWND w) {
    if (!is_live(w)) return FALSE;
    destroy_window(w);
    return TRUE;
}

// The program shows its windows the default way: shown, raised and active.
BOOL IsWindow(HWND w) {
    return is_live(w) ? TRUE : FALSE;
}

int GetWindowTextW(HWND w, LPWSTR buf, int max) {
    if (!is_live(w) || !buf || max <= 0) return 0;
    size_t n = std::min(w->text.size(), (size_t)max - 1);
    std::wmemcpy(buf, w->text.c_str(), n);
    buf[n] = 0;
    return (int)n;
}

BOOL ShowWindow(HWND w, int) {
    if (!is_live(w) || !w->window) return FALSE;
    BOOL was_visible = gtk_widget_get_visible(w->window);
    gtk_widget_show_all(w->window);
    gtk_window_present(GTK_WINDOW(w->window));
    return was_visible;
}

BOOL GetClientRect(HWND w, LPRECT r) {
    if (!is_live(w) || !r) return FALSE;
    *r = RECT{0, 0, w->client_w, w->client_h};
    return TRUE;
}

BOOL GetCursorPos(LPPOINT p) {
    if (!p) return FALSE;
    ensure_gtk();
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
    if (!pointer) return FALSE;
    gint x = 0, y = 0;
    gdk_device_get_position(pointer, nullptr, &x, &y);  // asks the server: the position now
    *p = POINT{x, y};
    return TRUE;
}

BOOL ScreenToClient(HWND w, LPPOINT p) {
    if (!is_live(w) || !p) return FALSE;
    POINT o = client_origin(w);
    p->x -= o.x;
    p->y -= o.y;
    return TRUE;
}
