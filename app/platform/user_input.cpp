// Input of a top-level window: GTK's pointer and key events become the posted messages
// the program handles (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_KEYDOWN), with WM_SYSKEYDOWN for
// keys held with Alt, as Windows queues them. No handler calls a window procedure.
#include <deque>

#include "user_internal.h"

namespace vapora::user {
namespace {

// The character of each recent key-down, for TranslateMessage to find again.
struct KeyChar {
    DWORD time;
    LPARAM lparam;
    wchar_t ch;
};
std::deque<KeyChar>& recent_chars() {
    static std::deque<KeyChar> d;
    return d;
}

// The virtual key: letters and digits as their upper-case character, as on Windows;
// F4 for Alt+F4; Alt itself; any other key as a code of its own above those.
WPARAM virtual_key(const GdkEventKey* e) {
    guint k = gdk_keyval_to_upper(e->keyval);
    if ((k >= GDK_KEY_A && k <= GDK_KEY_Z) || (k >= GDK_KEY_0 && k <= GDK_KEY_9)) return k;
    if (k == GDK_KEY_F4) return VK_F4;
    if (k == GDK_KEY_Alt_L || k == GDK_KEY_Alt_R || k == GDK_KEY_Meta_L) return VK_MENU;
    return 0x100 + e->hardware_keycode;
}

// The character a key-down makes, as TranslateMessage would: control characters for
// Return, Escape, Backspace and Tab, 0 for keys without one.
wchar_t key_char(const GdkEventKey* e) {
    switch (e->keyval) {
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
            return L'\r';
        case GDK_KEY_Escape:
            return 0x1B;
        case GDK_KEY_BackSpace:
            return 0x08;
        case GDK_KEY_Tab:
        case GDK_KEY_ISO_Left_Tab:
            return L'\t';
        default:
            return (wchar_t)gdk_keyval_to_unicode(e->keyval);
    }
}

gboolean on_key(GtkWidget*, GdkEventKey* e, gpointer data) {
    HWND w = static_cast<HWND>(data);
    if (!is_live(w) || !w->enabled) return TRUE;
    WPARAM vk = virtual_key(e);
    bool alt = (e->state & GDK_MOD1_MASK) || vk == VK_MENU;
    LPARAM lp = 1 | ((LPARAM)(e->hardware_keycode & 0xFF) << 16) | ((LPARAM)alt << 29);
    post(w, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, lp, e->time);
    auto& chars = recent_chars();
    chars.push_back({e->time, lp, key_char(e)});
    if (chars.size() > 64) chars.pop_front();
    return TRUE;
}

gboolean on_motion(GtkWidget*, GdkEventMotion* e, gpointer data) {
    HWND w = static_cast<HWND>(data);
    if (is_live(w) && w->enabled) post(w, WM_MOUSEMOVE, 0, MAKELPARAM((int)e->x, (int)e->y));
    return TRUE;
}

gboolean on_button(GtkWidget*, GdkEventButton* e, gpointer data) {
    HWND w = static_cast<HWND>(data);
    // A double click arrives as two plain presses; GTK's extra 2BUTTON event is dropped.
    if (is_live(w) && w->enabled && e->type == GDK_BUTTON_PRESS && e->button == 1)
        post(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((int)e->x, (int)e->y));
    return TRUE;
}

}  // namespace

void connect_input(HWND w) {
    gtk_widget_add_events(w->area, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK);
    g_signal_connect(w->area, "motion-notify-event", G_CALLBACK(on_motion), w);
    g_signal_connect(w->area, "button-press-event", G_CALLBACK(on_button), w);
    g_signal_connect(w->window, "key-press-event", G_CALLBACK(on_key), w);
}

wchar_t char_of_key(const MSG& m) {
    for (auto it = recent_chars().rbegin(); it != recent_chars().rend(); ++it)
        if (it->time == m.time && it->lparam == m.lParam) return it->ch;
    return 0;
}

}  // namespace vapora::user
