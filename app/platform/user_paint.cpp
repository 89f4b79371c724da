// Painting. Each window keeps a backing surface and GTK shows it whenever the window
// server asks (an expose: a dialog closing over it, another window moving away), sending
// nothing to the window procedure, as Windows with desktop composition does. WM_PAINT
// comes only where a current Windows sends it: the first show and a restore from
// minimise (once). The program invalidates nothing itself.
#include <algorithm>
#include <map>

#include "user_internal.h"

namespace vapora::user {
namespace {

std::vector<HWND>& waiting() {
    static std::vector<HWND> v;
    return v;
}
std::map<HDC, HWND>& window_dcs() {
    static std::map<HDC, HWND> m;
    return m;
}
gint64 last_flush_us = 0;

gboolean on_draw(GtkWidget*, cairo_t* cr, gpointer data) {
    HWND w = static_cast<HWND>(data);
    if (!is_live(w) || !w->surface) return FALSE;
    cairo_surface_flush(w->surface);
    cairo_set_source_surface(cr, w->surface, 0, 0);
    cairo_paint(cr);
    return FALSE;  // a dialog's controls above the area draw themselves
}

gboolean on_window_state(GtkWidget*, GdkEventWindowState* e, gpointer data) {
    HWND w = static_cast<HWND>(data);
    if (!is_live(w) || !(e->changed_mask & GDK_WINDOW_STATE_ICONIFIED)) return FALSE;
    bool iconified = e->new_window_state & GDK_WINDOW_STATE_ICONIFIED;
    if (w->iconified && !iconified) invalidate(w);
    w->iconified = iconified;
    return FALSE;
}

// Puts on screen what a DC changed. While the program draws for a long time without
// returning to its loop (a full repaint of the chart), the screen is brought up to date
// every 50 ms, as drawing on Windows appears at once. Only a window without controls is
// drawn this way: there the backing surface is all there is to show.
void on_damage(void* data, const RECT* r) {
    HWND w = static_cast<HWND>(data);
    if (!is_live(w) || !w->area) return;
    gtk_widget_queue_draw_area(w->area, r->left, r->top, r->right - r->left, r->bottom - r->top);
    gint64 now = g_get_monotonic_time();
    GdkWindow* gw = gtk_widget_get_window(w->area);
    if (now - last_flush_us < 50000 || w->kind != WndKind::TopLevel || !gw ||
        !gdk_window_is_viewable(gw))
        return;
    last_flush_us = now;
    cairo_rectangle_int_t all{0, 0, w->client_w, w->client_h};
    cairo_region_t* region = cairo_region_create_rectangle(&all);
    GdkDrawingContext* frame = gdk_window_begin_draw_frame(gw, region);
    cairo_t* cr = gdk_drawing_context_get_cairo_context(frame);
    cairo_surface_flush(w->surface);
    cairo_set_source_surface(cr, w->surface, 0, 0);
    cairo_paint(cr);
    gdk_window_end_draw_frame(gw, frame);
    cairo_region_destroy(region);
    gdk_display_flush(gdk_window_get_display(gw));
}

HDC window_dc(HWND w) {
    HDC dc = vapora_dc_for_surface(w->surface);
    if (!dc) return nullptr;
    vapora_dc_set_damage_callback(dc, on_damage, w);
    window_dcs()[dc] = w;
    return dc;
}

void release_window_dc(HWND w, HDC dc) {
    window_dcs().erase(dc);
    vapora_release_surface_dc(dc);
    if (is_live(w) && w->area) gtk_widget_queue_draw(w->area);
}

}  // namespace

void invalidate(HWND w) {
    if (w->needs_paint) return;
    w->needs_paint = true;
    waiting().push_back(w);
}

HWND window_needing_paint() {
    auto& v = waiting();
    v.erase(
        std::remove_if(v.begin(), v.end(), [](HWND w) { return !is_live(w) || !w->needs_paint; }),
        v.end());
    return v.empty() ? nullptr : v.front();
}

void connect_painting(HWND w) {
    g_signal_connect(w->area, "draw", G_CALLBACK(on_draw), w);
    g_signal_connect(w->window, "window-state-event", G_CALLBACK(on_window_state), w);
}

void forget_window_dcs(HWND w) {
    for (auto it = window_dcs().begin(); it != window_dcs().end();) {
        if (it->second != w) {
            ++it;
            continue;
        }
        vapora_dc_set_damage_callback(it->first, nullptr, nullptr);
        it = window_dcs().erase(it);
    }
}

}  // namespace vapora::user

using namespace vapora::user;

BOOL UpdateWindow(HWND w) {
    if (!is_live(w)) return FALSE;
    if (w->needs_paint) call_proc(w, WM_PAINT, 0, 0);
    return TRUE;
}

// The update area is always the whole client area: only a first show or a restore makes
// one. A window with a face (a dialog) is erased to it first.
HDC BeginPaint(HWND w, PAINTSTRUCT* ps) {
    if (!is_live(w) || !ps || !w->surface) return nullptr;
    w->needs_paint = false;
    *ps = PAINTSTRUCT{};
    ps->rcPaint = RECT{0, 0, w->client_w, w->client_h};
    ps->hdc = window_dc(w);
    if (ps->hdc && w->erases) {
        cairo_t* cr = cairo_create(w->surface);
        cairo_set_source_rgb(cr, GetRValue(w->face) / 255.0, GetGValue(w->face) / 255.0,
                             GetBValue(w->face) / 255.0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    return ps->hdc;
}

BOOL EndPaint(HWND w, const PAINTSTRUCT* ps) {
    if (!ps || !ps->hdc) return FALSE;
    release_window_dc(w, ps->hdc);
    return TRUE;
}

HDC GetDC(HWND w) {
    return is_live(w) && w->surface ? window_dc(w) : nullptr;
}

int ReleaseDC(HWND w, HDC dc) {
    if (!dc) return 0;
    release_window_dc(w, dc);
    return 1;
}

int vapora_save_window_png(HWND w, const char* path) {
    if (!is_live(w) || !w->surface || !path) return 0;
    cairo_surface_flush(w->surface);
    return cairo_surface_write_to_png(w->surface, path) == CAIRO_STATUS_SUCCESS ? 1 : 0;
}
