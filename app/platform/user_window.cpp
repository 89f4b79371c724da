// Top-level windows, the message queue and painting, over GTK 3.
//
// GTK's signal handlers never call a window procedure: they post messages (input) or
// mark part of a window invalid (X exposes), exactly as Windows queues them, and the
// program's own GetMessageW / DispatchMessageW loop delivers them. WM_PAINT is made when
// nothing else is queued, so a modal dialog's nested loop keeps its owner repainted.
#include <gdk/gdkx.h>
#include <glib-unix.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <map>
#include <set>

#include "test_hook.h"
#include "user_internal.h"

namespace vapora::user {
namespace {

struct WindowClass {
  WNDCLASSEXW wc{};
  std::wstring name;
};

struct KeyInfo {
  HWND hwnd;
  WPARAM vk;
  LPARAM lparam;
  DWORD time;
  wchar_t ch;
  guint state;
};

std::map<std::wstring, WindowClass>& classes() {
  static std::map<std::wstring, WindowClass> m;
  return m;
}
std::set<HWND>& live() {
  static std::set<HWND> s;
  return s;
}
std::vector<HWND>& graveyard() {
  static std::vector<HWND> v;
  return v;
}
std::deque<MSG>& queue() {
  static std::deque<MSG> q;
  return q;
}
std::deque<KeyInfo>& recent_keys() {
  static std::deque<KeyInfo> k;
  return k;
}
std::map<HDC, HWND>& window_dcs() {
  static std::map<HDC, HWND> m;
  return m;
}

bool quit_posted = false;
int quit_code = 0;
guint message_mods = 0;  // modifier state as of the last message fetched (GetKeyState)
gint64 last_flush_us = 0;

std::wstring upper(std::wstring s) {
  for (wchar_t& c : s) c = (wchar_t)std::towupper(c);
  return s;
}

HWND hwnd_of(gpointer p) {
  HWND w = static_cast<HWND>(p);
  return is_live(w) ? w : nullptr;
}

// ---- Keys ---------------------------------------------------------------------------

// The virtual key of a hardware key: taken from the key's unshifted symbol, so that
// Shift+1 is still VK '1' and "?" is VK_OEM_2, as on a US keyboard under Windows.
WPARAM virtual_key(const GdkEventKey* e) {
  guint base = e->keyval;
  GdkKeymap* km = gdk_keymap_get_for_display(gdk_display_get_default());
  guint kv = 0;
  if (gdk_keymap_translate_keyboard_state(km, e->hardware_keycode, (GdkModifierType)0, 0, &kv,
                                          nullptr, nullptr, nullptr))
    base = kv;
  if (base >= GDK_KEY_a && base <= GDK_KEY_z) return 'A' + (base - GDK_KEY_a);
  if (base >= GDK_KEY_A && base <= GDK_KEY_Z) return 'A' + (base - GDK_KEY_A);
  if (base >= GDK_KEY_0 && base <= GDK_KEY_9) return '0' + (base - GDK_KEY_0);
  if (base >= GDK_KEY_F1 && base <= GDK_KEY_F12) return VK_F1 + (base - GDK_KEY_F1);
  if (base >= GDK_KEY_KP_0 && base <= GDK_KEY_KP_9) return VK_NUMPAD0 + (base - GDK_KEY_KP_0);
  switch (base) {
    case GDK_KEY_BackSpace: return VK_BACK;
    case GDK_KEY_Tab: case GDK_KEY_ISO_Left_Tab: return VK_TAB;
    case GDK_KEY_Return: case GDK_KEY_KP_Enter: return VK_RETURN;
    case GDK_KEY_Shift_L: case GDK_KEY_Shift_R: return VK_SHIFT;
    case GDK_KEY_Control_L: case GDK_KEY_Control_R: return VK_CONTROL;
    case GDK_KEY_Alt_L: case GDK_KEY_Alt_R: case GDK_KEY_Meta_L: case GDK_KEY_Meta_R:
    case GDK_KEY_ISO_Level3_Shift: return VK_MENU;
    case GDK_KEY_Pause: return VK_PAUSE;
    case GDK_KEY_Caps_Lock: return VK_CAPITAL;
    case GDK_KEY_Escape: return VK_ESCAPE;
    case GDK_KEY_space: return VK_SPACE;
    case GDK_KEY_Page_Up: return VK_PRIOR;
    case GDK_KEY_Page_Down: return VK_NEXT;
    case GDK_KEY_End: return VK_END;
    case GDK_KEY_Home: return VK_HOME;
    case GDK_KEY_Left: return VK_LEFT;
    case GDK_KEY_Up: return VK_UP;
    case GDK_KEY_Right: return VK_RIGHT;
    case GDK_KEY_Down: return VK_DOWN;
    case GDK_KEY_Insert: return VK_INSERT;
    case GDK_KEY_Delete: return VK_DELETE;
    case GDK_KEY_Super_L: return VK_LWIN;
    case GDK_KEY_Super_R: return VK_RWIN;
    case GDK_KEY_Menu: return VK_APPS;
    case GDK_KEY_KP_Multiply: return VK_MULTIPLY;
    case GDK_KEY_KP_Add: return VK_ADD;
    case GDK_KEY_KP_Subtract: return VK_SUBTRACT;
    case GDK_KEY_KP_Decimal: return VK_DECIMAL;
    case GDK_KEY_KP_Divide: return VK_DIVIDE;
    case GDK_KEY_Num_Lock: return VK_NUMLOCK;
    case GDK_KEY_Scroll_Lock: return VK_SCROLL;
    case GDK_KEY_semicolon: return VK_OEM_1;
    case GDK_KEY_equal: return VK_OEM_PLUS;
    case GDK_KEY_comma: return VK_OEM_COMMA;
    case GDK_KEY_minus: return VK_OEM_MINUS;
    case GDK_KEY_period: return VK_OEM_PERIOD;
    case GDK_KEY_slash: return VK_OEM_2;
    case GDK_KEY_grave: return VK_OEM_3;
    case GDK_KEY_bracketleft: return VK_OEM_4;
    case GDK_KEY_backslash: return VK_OEM_5;
    case GDK_KEY_bracketright: return VK_OEM_6;
    case GDK_KEY_apostrophe: return VK_OEM_7;
    case GDK_KEY_less: return VK_OEM_102;
    default: return 0;
  }
}

// The character a key-down makes, as TranslateMessage would: control characters for
// Return, Escape, Backspace and Tab, Ctrl+letter as 1..26, 0 for keys without one.
wchar_t key_char(const GdkEventKey* e) {
  switch (e->keyval) {
    case GDK_KEY_Return: case GDK_KEY_KP_Enter: return L'\r';
    case GDK_KEY_Escape: return 0x1B;
    case GDK_KEY_BackSpace: return 0x08;
    case GDK_KEY_Tab: case GDK_KEY_ISO_Left_Tab: return L'\t';
    default: break;
  }
  gunichar u = gdk_keyval_to_unicode(e->keyval);
  if ((e->state & GDK_CONTROL_MASK) && u < 0x80 && std::isalpha((int)u))
    return (wchar_t)(std::toupper((int)u) - 'A' + 1);
  return (wchar_t)u;
}

gboolean on_key(GtkWidget*, GdkEventKey* e, gpointer data) {
  HWND w = hwnd_of(data);
  if (!w || !w->enabled) return TRUE;
  bool down = e->type == GDK_KEY_PRESS;
  WPARAM vk = virtual_key(e);
  bool alt = (e->state & GDK_MOD1_MASK) || (vk == VK_MENU && down);
  bool ctrl = e->state & GDK_CONTROL_MASK;
  bool sys = alt && !ctrl;  // Alt+key goes to the system keys, as on Windows
  unsigned scan = e->hardware_keycode >= 8 ? e->hardware_keycode - 8 : 0;
  LPARAM lp = 1 | ((LPARAM)(scan & 0xFF) << 16);
  if (alt) lp |= (LPARAM)1 << 29;
  if (!down) lp |= ((LPARAM)1 << 30) | ((LPARAM)1u << 31);
  UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  guint state = e->state;
  if (vk == VK_MENU) state = down ? (state | GDK_MOD1_MASK) : (state & ~GDK_MOD1_MASK);
  if (vk == VK_SHIFT) state = down ? (state | GDK_SHIFT_MASK) : (state & ~GDK_SHIFT_MASK);
  if (vk == VK_CONTROL) state = down ? (state | GDK_CONTROL_MASK) : (state & ~GDK_CONTROL_MASK);
  auto& keys = recent_keys();
  keys.push_back({w, vk, lp, e->time, down ? key_char(e) : (wchar_t)0, state});
  while (keys.size() > 64) keys.pop_front();
  MSG m{w, msg, vk, lp, e->time, {0, 0}};
  queue().push_back(m);
  return TRUE;
}

gboolean on_motion(GtkWidget*, GdkEventMotion* e, gpointer data) {
  HWND w = hwnd_of(data);
  if (!w || !w->enabled) return TRUE;
  WPARAM keys = 0;
  if (e->state & GDK_BUTTON1_MASK) keys |= MK_LBUTTON;
  if (e->state & GDK_BUTTON3_MASK) keys |= MK_RBUTTON;
  if (e->state & GDK_SHIFT_MASK) keys |= MK_SHIFT;
  if (e->state & GDK_CONTROL_MASK) keys |= MK_CONTROL;
  // Windows keeps at most one pending mouse move: a newer one replaces it.
  auto& q = queue();
  if (!q.empty() && q.back().hwnd == w && q.back().message == WM_MOUSEMOVE) q.pop_back();
  post(w, WM_MOUSEMOVE, keys, MAKELPARAM((int)e->x, (int)e->y));
  q.back().pt = POINT{(LONG)e->x_root, (LONG)e->y_root};
  return TRUE;
}

gboolean on_button(GtkWidget*, GdkEventButton* e, gpointer data) {
  HWND w = hwnd_of(data);
  // A double click arrives as two plain presses; GTK's extra 2BUTTON event is dropped.
  if (!w || !w->enabled || (e->type != GDK_BUTTON_PRESS && e->type != GDK_BUTTON_RELEASE))
    return TRUE;
  bool down = e->type == GDK_BUTTON_PRESS;
  UINT msg;
  switch (e->button) {
    case 1: msg = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
    case 2: msg = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
    case 3: msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
    default: return TRUE;
  }
  WPARAM keys = 0;
  if (e->state & GDK_SHIFT_MASK) keys |= MK_SHIFT;
  if (e->state & GDK_CONTROL_MASK) keys |= MK_CONTROL;
  if (down && e->button == 1) keys |= MK_LBUTTON;
  post(w, msg, keys, MAKELPARAM((int)e->x, (int)e->y));
  queue().back().pt = POINT{(LONG)e->x_root, (LONG)e->y_root};
  return TRUE;
}

gboolean on_draw(GtkWidget*, cairo_t* cr, gpointer data) {
  HWND w = hwnd_of(data);
  if (!w || !w->surface) return FALSE;
  cairo_surface_flush(w->surface);
  cairo_set_source_surface(cr, w->surface, 0, 0);
  cairo_paint(cr);
  return FALSE;  // controls above the area draw themselves
}

gboolean on_delete(GtkWidget*, GdkEvent*, gpointer data) {
  HWND w = hwnd_of(data);
  // A disabled owner of a modal dialog cannot be closed, as on Windows.
  if (w && w->enabled && (w->kind != WndKind::Dialog || (w->style & WS_SYSMENU)))
    post(w, WM_CLOSE, 0, 0);
  return TRUE;  // the window goes only through DestroyWindow
}

// Raw X events of a window: an Expose means the server lost those pixels (uncovered,
// restored), which is what makes Windows invalidate a window; GTK's own redraws (focus,
// hover) do not reach the program, since the backing surface already holds its drawing.
GdkFilterReturn on_x_event(GdkXEvent* xev, GdkEvent*, gpointer data) {
  HWND w = hwnd_of(data);
  XEvent* x = static_cast<XEvent*>(xev);
  if (!w || !w->area) return GDK_FILTER_CONTINUE;
  if (x->type == MapNotify) {
    if (!w->mapped_once) {
      w->mapped_once = true;
      w->skip_map_expose = true;
    } else {
      invalidate(w, nullptr, true);
    }
  } else if (x->type == Expose) {
    if (w->skip_map_expose) {
      if (x->xexpose.count == 0) w->skip_map_expose = false;
    } else {
      GtkAllocation a;
      gtk_widget_get_allocation(w->area, &a);
      RECT r{x->xexpose.x - a.x, x->xexpose.y - a.y, x->xexpose.x - a.x + x->xexpose.width,
             x->xexpose.y - a.y + x->xexpose.height};
      invalidate(w, &r, true);
    }
  }
  return GDK_FILTER_CONTINUE;
}

void on_realize(GtkWidget* widget, gpointer data) {
  GdkWindow* gw = gtk_widget_get_window(widget);
  if (gw && GDK_IS_X11_WINDOW(gw)) {
    gdk_window_set_events(gw, (GdkEventMask)(gdk_window_get_events(gw) | GDK_STRUCTURE_MASK |
                                             GDK_EXPOSURE_MASK));
    gdk_window_add_filter(gw, on_x_event, data);
  }
}

// Shows on screen what a DC changed. While the program draws for a long time without
// returning to its loop (a full repaint), the screen is brought up to date every 50 ms,
// as drawing on Windows appears at once.
void on_damage(void* data, const RECT* r) {
  HWND w = hwnd_of(data);
  if (!w || !w->area) return;
  gtk_widget_queue_draw_area(w->area, r->left, r->top, r->right - r->left, r->bottom - r->top);
  gint64 now = g_get_monotonic_time();
  if (now - last_flush_us > 50000) {
    last_flush_us = now;
    GdkWindow* gw = gtk_widget_get_window(w->window);
    if (gw) {
      G_GNUC_BEGIN_IGNORE_DEPRECATIONS
      gdk_window_process_updates(gw, TRUE);
      G_GNUC_END_IGNORE_DEPRECATIONS
      gdk_display_flush(gdk_display_get_default());
    }
  }
}

HDC window_dc(HWND w) {
  HDC dc = vapora_dc_for_surface(w->surface);
  if (!dc) return nullptr;
  vapora_dc_set_damage_callback(dc, on_damage, w);
  window_dcs()[dc] = w;
  return dc;
}

void release_window_dc(HDC dc) {
  window_dcs().erase(dc);
  vapora_release_surface_dc(dc);
}

void free_dead() {
  auto& g = graveyard();
  for (size_t i = 0; i < g.size();) {
    if (g[i]->busy == 0) {
      delete g[i];
      g[i] = g.back();
      g.pop_back();
    } else {
      ++i;
    }
  }
}

std::string sanitize(const std::string& s) {
  std::string out;
  for (char c : s) out += (c == '/' || c == '\\' || c == ':' || (unsigned char)c < 0x20) ? '_' : c;
  return out.empty() ? std::string("untitled") : out;
}

gboolean on_snapshot_signal(gpointer) {
  const char* dir = std::getenv("VAPORA_SNAPSHOT_DIR");
  if (!dir) return G_SOURCE_CONTINUE;
  for (HWND w : live()) {
    if (w->kind == WndKind::Control || !w->surface) continue;
    std::string path = std::string(dir) + "/" + sanitize(to_utf8(w->text)) + ".png";
    std::string tmp = path + ".tmp";
    if (vapora_save_window_png(w, tmp.c_str())) std::rename(tmp.c_str(), path.c_str());
  }
  return G_SOURCE_CONTINUE;
}

bool take_message(MSG* m, HWND filter, UINT lo, UINT hi, bool remove) {
  auto& q = queue();
  for (auto it = q.begin(); it != q.end(); ++it) {
    bool hwnd_ok = !filter || it->hwnd == filter || (it->hwnd && it->hwnd->parent == filter);
    bool range_ok = (lo == 0 && hi == 0) || (it->message >= lo && it->message <= hi);
    if (!hwnd_ok || !range_ok) continue;
    *m = *it;
    if (remove) q.erase(it);
    return true;
  }
  return false;
}

HWND window_needing_paint(HWND filter) {
  for (HWND w : live())
    if (w->has_update && (!filter || w == filter)) return w;
  return nullptr;
}

// Fetches the next message without waiting; false when there is none.
bool fetch(MSG* m, HWND filter, UINT lo, UINT hi, bool remove) {
  free_dead();
  if (take_message(m, filter, lo, hi, remove)) return true;
  if (quit_posted && !filter) {
    *m = MSG{nullptr, WM_QUIT, (WPARAM)quit_code, 0, 0, {0, 0}};
    if (remove) quit_posted = false;
    return true;
  }
  bool paint_ok = (lo == 0 && hi == 0) || (WM_PAINT >= lo && WM_PAINT <= hi);
  if (HWND w = paint_ok ? window_needing_paint(filter) : nullptr) {
    *m = MSG{w, WM_PAINT, 0, 0, 0, {0, 0}};
    return true;
  }
  return false;
}

void note_fetched(const MSG* m) {
  for (auto it = recent_keys().rbegin(); it != recent_keys().rend(); ++it) {
    if (it->hwnd == m->hwnd && it->vk == m->wParam && it->lparam == m->lParam &&
        it->time == m->time) {
      message_mods = it->state;
      return;
    }
  }
}

}  // namespace

// ---- Shared helpers ------------------------------------------------------------------

void ensure_gtk() {
  static bool done = false;
  if (done) return;
  done = true;
  if (!gtk_init_check(nullptr, nullptr)) {
    std::fprintf(stderr, "vapora: cannot open the display\n");
    std::exit(1);
  }
  std::setlocale(LC_NUMERIC, "C");  // as in main(): a decimal point in every locale
  g_unix_signal_add(SIGUSR1, on_snapshot_signal, nullptr);
}

std::string to_utf8(const std::wstring& w) {
  std::string out;
  for (wchar_t wc : w) {
    uint32_t c = (uint32_t)wc;
    if (c < 0x80) out += (char)c;
    else if (c < 0x800) { out += (char)(0xC0 | (c >> 6)); out += (char)(0x80 | (c & 0x3F)); }
    else if (c < 0x10000) {
      out += (char)(0xE0 | (c >> 12)); out += (char)(0x80 | ((c >> 6) & 0x3F));
      out += (char)(0x80 | (c & 0x3F));
    } else {
      out += (char)(0xF0 | (c >> 18)); out += (char)(0x80 | ((c >> 12) & 0x3F));
      out += (char)(0x80 | ((c >> 6) & 0x3F)); out += (char)(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::wstring from_utf8(const char* s) {
  std::wstring out;
  if (!s) return out;
  for (const char* p = s; *p; p = g_utf8_next_char(p)) out += (wchar_t)g_utf8_get_char(p);
  return out;
}

void register_window(HWND w) { live().insert(w); }

bool is_live(HWND w) { return w && live().count(w) && !w->destroyed; }

LRESULT call_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (!is_live(w) && !(w && w->busy && msg == WM_NCDESTROY)) return 0;
  ++w->busy;
  LRESULT r;
  if (w->kind == WndKind::TopLevel) r = w->proc ? w->proc(w, msg, wp, lp) : DefWindowProcW(w, msg, wp, lp);
  else if (w->kind == WndKind::Dialog) r = DefDlgProcW(w, msg, wp, lp);
  else r = w->proc ? w->proc(w, msg, wp, lp) : 0;
  --w->busy;
  if (w->kind != WndKind::Control) platform_test_hook("message", w, msg);
  return r;
}

void post(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  queue().push_back(MSG{w, msg, wp, lp, (DWORD)(g_get_monotonic_time() / 1000), {0, 0}});
}

void invalidate(HWND w, const RECT* r, bool erase) {
  if (!w || w->kind == WndKind::Control) return;
  RECT c{0, 0, w->client_w, w->client_h};
  RECT a = r ? *r : c;
  a.left = std::max(a.left, c.left);
  a.top = std::max(a.top, c.top);
  a.right = std::min(a.right, c.right);
  a.bottom = std::min(a.bottom, c.bottom);
  if (a.left >= a.right || a.top >= a.bottom) return;
  if (!w->has_update) {
    w->update = a;
  } else {
    w->update.left = std::min(w->update.left, a.left);
    w->update.top = std::min(w->update.top, a.top);
    w->update.right = std::max(w->update.right, a.right);
    w->update.bottom = std::max(w->update.bottom, a.bottom);
  }
  w->has_update = true;
  w->erase_pending = w->erase_pending || erase;
}

void build_toplevel(HWND w, int client_w, int client_h, COLORREF fill) {
  ensure_gtk();
  w->client_w = std::max(1, client_w);
  w->client_h = std::max(1, client_h);
  w->surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w->client_w, w->client_h);
  cairo_t* cr = cairo_create(w->surface);
  cairo_set_source_rgb(cr, GetRValue(fill) / 255.0, GetGValue(fill) / 255.0, GetBValue(fill) / 255.0);
  cairo_paint(cr);
  cairo_destroy(cr);

  w->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* win = GTK_WINDOW(w->window);
  std::string title = to_utf8(w->text);
  gtk_window_set_title(win, title.c_str());
  std::string cls = w->kind == WndKind::Dialog ? std::string("#32770") : to_utf8(w->class_name);
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_window_set_wmclass(win, cls.c_str(), cls.c_str());
  G_GNUC_END_IGNORE_DEPRECATIONS
  gtk_window_set_resizable(win, FALSE);
  gtk_window_set_gravity(win, GDK_GRAVITY_STATIC);  // positions name the client area
  w->fixed = gtk_fixed_new();
  gtk_widget_set_size_request(w->fixed, w->client_w, w->client_h);
  gtk_container_add(GTK_CONTAINER(w->window), w->fixed);
  w->area = gtk_drawing_area_new();
  gtk_widget_set_size_request(w->area, w->client_w, w->client_h);
  gtk_widget_add_events(w->area, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK |
                                     GDK_BUTTON_RELEASE_MASK);
  gtk_fixed_put(GTK_FIXED(w->fixed), w->area, 0, 0);
  g_signal_connect(w->area, "draw", G_CALLBACK(on_draw), w);
  g_signal_connect(w->window, "delete-event", G_CALLBACK(on_delete), w);
  g_signal_connect(w->window, "realize", G_CALLBACK(on_realize), w);
  if (w->kind == WndKind::TopLevel) {
    g_signal_connect(w->area, "motion-notify-event", G_CALLBACK(on_motion), w);
    g_signal_connect(w->area, "button-press-event", G_CALLBACK(on_button), w);
    g_signal_connect(w->area, "button-release-event", G_CALLBACK(on_button), w);
    g_signal_connect(w->window, "key-press-event", G_CALLBACK(on_key), w);
    g_signal_connect(w->window, "key-release-event", G_CALLBACK(on_key), w);
  }
  live().insert(w);
}

POINT client_origin(HWND w) {
  POINT p{0, 0};
  GtkWidget* widget = w->kind == WndKind::Control ? w->widget : w->area;
  if (!widget) return p;
  GdkWindow* top = gtk_widget_get_window(gtk_widget_get_toplevel(widget));
  if (!top) return p;
  gint ox = 0, oy = 0, dx = 0, dy = 0;
  gdk_window_get_origin(top, &ox, &oy);
  gtk_widget_translate_coordinates(widget, gtk_widget_get_toplevel(widget), 0, 0, &dx, &dy);
  p.x = ox + dx;
  p.y = oy + dy;
  return p;
}

void modal_loop(const bool* done) {
  for (;;) {
    if (*done) return;
    MSG m;
    if (!GetMessageW(&m, nullptr, 0, 0)) {
      PostQuitMessage((int)m.wParam);  // the outer loop must see it too
      return;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

void trace(const std::string& line) {
  const char* path = std::getenv("VAPORA_TRACE");
  if (!path || !*path) return;
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

}  // namespace vapora::user

using namespace vapora::user;

// ---- Classes and windows -------------------------------------------------------------

ATOM RegisterClassExW(const WNDCLASSEXW* wc) {
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName)) return 0;
  WindowClass c;
  c.wc = *wc;
  c.name = wc->lpszClassName;
  std::wstring key = upper(c.name);
  if (classes().count(key)) return 0;  // ERROR_CLASS_ALREADY_EXISTS
  classes()[key] = c;
  return (ATOM)(0xC000 + classes().size());
}

HWND CreateWindowExW(DWORD ex_style, LPCWSTR class_name, LPCWSTR title, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU, HINSTANCE instance,
                     LPVOID param) {
  if (!class_name || IS_INTRESOURCE(class_name)) return nullptr;
  auto it = classes().find(upper(class_name));
  if (it == classes().end() || (style & WS_CHILD)) return nullptr;  // top-level windows only
  const WNDCLASSEXW& wc = it->second.wc;
  HWND w = new HWND__;
  w->class_name = it->second.name;
  w->text = title ? title : L"";
  w->proc = wc.lpfnWndProc;
  w->background = wc.hbrBackground;
  w->instance = instance;
  w->style = style;
  w->ex_style = ex_style;
  w->parent = parent;
  // The frame Windows gives a fixed window: 3 pixels each side, a 23-pixel caption bar
  // above the top border; a sizing border is 8 pixels.
  bool caption = (style & WS_CAPTION) == WS_CAPTION || !(style & WS_POPUP);
  int border = (style & WS_THICKFRAME) ? 8 : (caption || (style & (WS_BORDER | WS_DLGFRAME))) ? 3 : 0;
  w->frame_x = 2 * border;
  w->frame_y = 2 * border + (caption ? 23 : 0);
  if (width == CW_USEDEFAULT) { width = 640; height = 480; }
  build_toplevel(w, width - w->frame_x, height - w->frame_y, RGB(255, 255, 255));
  if (x != CW_USEDEFAULT) gtk_window_move(GTK_WINDOW(w->window), x + w->frame_x / 2, y + w->frame_y - w->frame_x / 2);
  if (!(style & WS_MINIMIZEBOX) && !(style & WS_SYSMENU))
    gtk_window_set_deletable(GTK_WINDOW(w->window), FALSE);
  invalidate(w, nullptr, true);  // a new window is wholly invalid
  GList* icons = nullptr;
  for (HICON icon : {wc.hIcon, wc.hIconSm})
    if (icon && icon->pixbuf) icons = g_list_append(icons, icon->pixbuf);
  if (icons) gtk_window_set_icon_list(GTK_WINDOW(w->window), icons);
  g_list_free(icons);

  CREATESTRUCTW cs{param, instance, nullptr, parent, height, width, y, x, (LONG)style,
                   w->text.c_str(), w->class_name.c_str(), ex_style};
  if (!call_proc(w, WM_NCCREATE, 0, (LPARAM)&cs) || call_proc(w, WM_CREATE, 0, (LPARAM)&cs) == -1) {
    DestroyWindow(w);
    return nullptr;
  }
  if (style & WS_VISIBLE) ShowWindow(w, SW_SHOW);
  return w;
}

BOOL IsWindow(HWND w) { return is_live(w) ? TRUE : FALSE; }

BOOL DestroyWindow(HWND w) {
  if (!is_live(w)) return FALSE;
  call_proc(w, WM_DESTROY, 0, 0);
  for (HWND c : w->children) {
    if (!is_live(c)) continue;
    call_proc(c, WM_DESTROY, 0, 0);
    c->destroyed = true;
    live().erase(c);
    graveyard().push_back(c);
  }
  ++w->busy;
  call_proc(w, WM_NCDESTROY, 0, 0);
  --w->busy;
  w->destroyed = true;
  live().erase(w);
  for (auto it = window_dcs().begin(); it != window_dcs().end();) {
    if (it->second == w) {
      vapora_dc_set_damage_callback(it->first, nullptr, nullptr);
      it = window_dcs().erase(it);
    } else {
      ++it;
    }
  }
  auto& q = queue();
  q.erase(std::remove_if(q.begin(), q.end(), [&](const MSG& m) {
            return m.hwnd == w || (m.hwnd && m.hwnd->parent == w && m.hwnd->kind == WndKind::Control);
          }), q.end());
  if (w->window) gtk_widget_destroy(w->window);
  for (HWND c : w->children)
    if (c->partner) g_object_unref(c->partner);
  w->window = w->fixed = w->area = nullptr;
  if (w->surface) cairo_surface_destroy(w->surface);
  w->surface = nullptr;
  graveyard().push_back(w);
  return TRUE;
}

BOOL ShowWindow(HWND w, int cmd) {
  if (!is_live(w) || !w->window) return FALSE;
  BOOL was_visible = gtk_widget_get_visible(w->window);
  if (cmd == SW_HIDE) {
    gtk_widget_hide(w->window);
    return was_visible;
  }
  gtk_widget_show_all(w->window);
  for (HWND c : w->children)
    if (!(c->style & WS_VISIBLE) && c->widget) gtk_widget_hide(c->widget);
  if (cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE) {
    gtk_window_iconify(GTK_WINDOW(w->window));
  } else if (cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWNA) {
    gtk_window_present(GTK_WINDOW(w->window));
  }
  w->style |= WS_VISIBLE;
  w->shown_once = true;
  return was_visible;
}

BOOL UpdateWindow(HWND w) {
  if (!is_live(w)) return FALSE;
  if (w->has_update) call_proc(w, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL InvalidateRect(HWND w, const RECT* r, BOOL erase) {
  if (!w) return FALSE;
  if (!is_live(w)) return FALSE;
  invalidate(w, r, erase);
  return TRUE;
}

BOOL ValidateRect(HWND w, const RECT*) {
  if (!is_live(w)) return FALSE;
  w->has_update = false;
  w->erase_pending = false;
  return TRUE;
}

BOOL GetClientRect(HWND w, LPRECT r) {
  if (!is_live(w) || !r) return FALSE;
  if (w->kind == WndKind::Control) {
    GtkAllocation a;
    gtk_widget_get_allocation(w->widget, &a);
    *r = RECT{0, 0, a.width, a.height};
  } else {
    *r = RECT{0, 0, w->client_w, w->client_h};
  }
  return TRUE;
}

BOOL GetWindowRect(HWND w, LPRECT r) {
  if (!is_live(w) || !r) return FALSE;
  POINT o = client_origin(w);
  RECT c;
  GetClientRect(w, &c);
  int side = w->frame_x / 2;
  *r = RECT{o.x - side, o.y - (w->frame_y - side), o.x + c.right + side, o.y + c.bottom + side};
  return TRUE;
}

BOOL SetWindowTextW(HWND w, LPCWSTR text) {
  if (!is_live(w)) return FALSE;
  return (BOOL)call_proc(w, WM_SETTEXT, 0, (LPARAM)(text ? text : L""));
}

int GetWindowTextW(HWND w, LPWSTR buf, int max) {
  if (!is_live(w) || !buf || max <= 0) return 0;
  return (int)call_proc(w, WM_GETTEXT, (WPARAM)max, (LPARAM)buf);
}

BOOL EnableWindow(HWND w, BOOL enable) {
  if (!is_live(w)) return FALSE;
  BOOL was_disabled = !w->enabled;
  w->enabled = enable != FALSE;
  if (w->kind == WndKind::Control && w->widget) gtk_widget_set_sensitive(w->widget, w->enabled);
  return was_disabled;
}

BOOL IsWindowEnabled(HWND w) { return is_live(w) && w->enabled; }

HWND GetParent(HWND w) { return is_live(w) ? w->parent : nullptr; }

HWND SetFocus(HWND w) {
  HWND old = GetFocus();
  if (!is_live(w)) return old;
  GtkWidget* target = w->kind == WndKind::Control ? w->widget : w->window;
  if (target) {
    if (w->kind == WndKind::Control) gtk_widget_grab_focus(target);
    else gtk_window_present(GTK_WINDOW(target));
  }
  return old;
}

HWND GetFocus(void) {
  for (HWND w : live()) {
    if (w->kind == WndKind::Control || !w->window) continue;
    if (!gtk_window_is_active(GTK_WINDOW(w->window))) continue;
    GtkWidget* f = gtk_window_get_focus(GTK_WINDOW(w->window));
    for (HWND c : w->children)
      if (c->widget && (c->widget == f || (f && gtk_widget_is_ancestor(f, c->widget)))) return c;
    return w;
  }
  return nullptr;
}

LONG_PTR SetWindowLongPtrW(HWND w, int index, LONG_PTR value) {
  if (!is_live(w)) return 0;
  LONG_PTR old = 0;
  switch (index) {
    case GWLP_USERDATA: old = w->user_data; w->user_data = value; break;
    case GWLP_WNDPROC: old = (LONG_PTR)w->proc; w->proc = (WNDPROC)value; break;
    case GWLP_ID: old = w->id; w->id = (int)value; break;
    case DWLP_MSGRESULT:
      if (w->kind == WndKind::Dialog) { old = w->msg_result; w->msg_result = value; }
      break;
    default: break;
  }
  return old;
}

LONG_PTR GetWindowLongPtrW(HWND w, int index) {
  if (!is_live(w)) return 0;
  switch (index) {
    case GWLP_USERDATA: return w->user_data;
    case GWLP_WNDPROC: return (LONG_PTR)w->proc;
    case GWLP_ID: return w->id;
    case GWLP_HINSTANCE: return (LONG_PTR)w->instance;
    case DWLP_MSGRESULT: return w->kind == WndKind::Dialog ? w->msg_result : 0;
    default: return 0;
  }
}

// ---- Messages ------------------------------------------------------------------------

BOOL GetMessageW(LPMSG m, HWND filter, UINT lo, UINT hi) {
  if (!m) return -1;
  // Waits for GTK events until one becomes a message; every pass blocks in GTK, so the
  // loop ends as soon as input, an expose or a posted message arrives.
  for (;;) {
    if (fetch(m, filter, lo, hi, true)) {
      note_fetched(m);
      return m->message == WM_QUIT ? FALSE : TRUE;
    }
    ensure_gtk();
    gtk_main_iteration_do(TRUE);
  }
}

BOOL PeekMessageW(LPMSG m, HWND filter, UINT lo, UINT hi, UINT remove) {
  if (!m) return FALSE;
  ensure_gtk();
  for (int i = 0; i < 1000 && gtk_events_pending(); ++i) gtk_main_iteration_do(FALSE);
  if (!fetch(m, filter, lo, hi, (remove & PM_REMOVE) != 0)) return FALSE;
  if (remove & PM_REMOVE) note_fetched(m);
  return TRUE;
}

BOOL PostMessageW(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (w && !is_live(w)) return FALSE;
  post(w, msg, wp, lp);
  return TRUE;
}

LRESULT SendMessageW(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return call_proc(w, msg, wp, lp); }

void PostQuitMessage(int code) {
  quit_posted = true;
  quit_code = code;
}

BOOL TranslateMessage(const MSG* m) {
  if (!m || (m->message != WM_KEYDOWN && m->message != WM_SYSKEYDOWN)) return FALSE;
  for (auto it = recent_keys().rbegin(); it != recent_keys().rend(); ++it) {
    if (it->hwnd != m->hwnd || it->vk != m->wParam || it->lparam != m->lParam || it->time != m->time)
      continue;
    if (!it->ch) return FALSE;
    UINT msg = m->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // The character is queued in front of later input, as Windows does.
    queue().push_front(MSG{m->hwnd, msg, (WPARAM)it->ch, m->lParam, m->time, m->pt});
    KeyInfo copy = *it;
    copy.vk = (WPARAM)it->ch;
    recent_keys().push_back(copy);  // so GetKeyState answers for the character message too
    while (recent_keys().size() > 64) recent_keys().pop_front();
    return TRUE;
  }
  return FALSE;
}

LRESULT DispatchMessageW(const MSG* m) {
  if (!m || !is_live(m->hwnd)) return 0;
  return call_proc(m->hwnd, m->message, m->wParam, m->lParam);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return proc ? proc(w, msg, wp, lp) : 0;
}

short GetKeyState(int vk) {
  guint mask = vk == VK_SHIFT ? GDK_SHIFT_MASK : vk == VK_CONTROL ? GDK_CONTROL_MASK
             : vk == VK_MENU ? GDK_MOD1_MASK : 0;
  return (mask && (message_mods & mask)) ? (short)0x8000 : 0;
}

LRESULT DefWindowProcW(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(w);
      return 0;
    case WM_SYSKEYDOWN:
      // Alt+F4 closes the window, as the system menu's shortcut does on Windows.
      if (wp == VK_F4 && ((lp >> 29) & 1)) call_proc(w, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE) call_proc(w, WM_CLOSE, 0, 0);
      else if ((wp & 0xFFF0) == SC_MINIMIZE) ShowWindow(w, SW_MINIMIZE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(w, &ps);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      if (!is_live(w) || !w->background) return 0;
      RECT r{0, 0, w->client_w, w->client_h};
      FillRect((HDC)wp, &r, w->background);
      return 1;
    }
    case WM_SETTEXT: {
      if (!is_live(w)) return FALSE;
      w->text = lp ? (LPCWSTR)lp : L"";
      if (w->window) gtk_window_set_title(GTK_WINDOW(w->window), to_utf8(w->text).c_str());
      return TRUE;
    }
    case WM_GETTEXT: {
      if (!is_live(w) || wp == 0 || !lp) return 0;
      size_t n = std::min(w->text.size(), (size_t)wp - 1);
      std::wmemcpy((LPWSTR)lp, w->text.c_str(), n);
      ((LPWSTR)lp)[n] = 0;
      return (LRESULT)n;
    }
    case WM_GETTEXTLENGTH:
      return is_live(w) ? (LRESULT)w->text.size() : 0;
    default:
      return 0;
  }
}

// ---- Accelerators --------------------------------------------------------------------

HACCEL LoadAcceleratorsW(HINSTANCE, LPCWSTR name) {
  vapora::rc::ResName key;
  if (IS_INTRESOURCE(name)) {
    key.number = (int)(UINT_PTR)name;
  } else {
    key.is_number = false;
    key.text = upper(name);
  }
  auto it = resources().accelerators.find(key);
  if (it == resources().accelerators.end()) return nullptr;
  HACCEL a = new HACCEL__;
  for (const auto& e : it->second) a->entries.push_back(ACCEL{e.flags, e.key, e.command});
  return a;
}

BOOL DestroyAcceleratorTable(HACCEL a) {
  delete a;
  return TRUE;
}

int TranslateAcceleratorW(HWND w, HACCEL table, LPMSG m) {
  if (!table || !m || !is_live(w)) return 0;
  bool key = m->message == WM_KEYDOWN || m->message == WM_SYSKEYDOWN;
  bool chr = m->message == WM_CHAR || m->message == WM_SYSCHAR;
  if (!key && !chr) return 0;
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  bool alt = (m->lParam >> 29) & 1;
  for (const ACCEL& a : table->entries) {
    bool match;
    if (a.fVirt & FVIRTKEY) {
      match = key && a.key == m->wParam && shift == ((a.fVirt & FSHIFT) != 0) &&
              ctrl == ((a.fVirt & FCONTROL) != 0) && alt == ((a.fVirt & FALT) != 0);
    } else {
      // A character entry matches the character itself; ALT asks for Alt held.
      match = chr && a.key == m->wParam && alt == ((a.fVirt & FALT) != 0);
    }
    if (!match) continue;
    call_proc(w, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
    return 1;
  }
  return 0;
}

// ---- Painting ------------------------------------------------------------------------

HDC BeginPaint(HWND w, LPPAINTSTRUCT ps) {
  if (!is_live(w) || !ps || !w->surface) return nullptr;
  *ps = PAINTSTRUCT{};
  ps->rcPaint = w->has_update ? w->update : RECT{0, 0, 0, 0};
  bool erase = w->erase_pending;
  w->has_update = false;
  w->erase_pending = false;
  HDC dc = window_dc(w);
  if (!dc) return nullptr;
  vapora_dc_set_clip(dc, &ps->rcPaint);
  ps->hdc = dc;
  ps->fErase = erase && !call_proc(w, WM_ERASEBKGND, (WPARAM)dc, 0);
  return dc;
}

BOOL EndPaint(HWND w, const PAINTSTRUCT* ps) {
  if (!ps || !ps->hdc) return FALSE;
  release_window_dc(ps->hdc);
  if (is_live(w) && w->area) gtk_widget_queue_draw(w->area);
  return TRUE;
}

HDC GetDC(HWND w) {
  if (!w) {
    // The screen: a scratch surface, enough for measuring text.
    static cairo_surface_t* screen = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 16, 16);
    return vapora_dc_for_surface(screen);
  }
  if (!is_live(w) || !w->surface) return nullptr;
  return window_dc(w);
}

int ReleaseDC(HWND w, HDC dc) {
  if (!dc) return 0;
  release_window_dc(dc);
  if (is_live(w) && w->area) gtk_widget_queue_draw(w->area);
  return 1;
}

BOOL GetCursorPos(LPPOINT p) {
  if (!p) return FALSE;
  ensure_gtk();
  GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
  GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
  if (!pointer) return FALSE;
  gint x = 0, y = 0;
  gdk_device_get_position(pointer, nullptr, &x, &y);  // asks the server: the position now
  p->x = x;
  p->y = y;
  return TRUE;
}

BOOL ScreenToClient(HWND w, LPPOINT p) {
  if (!is_live(w) || !p) return FALSE;
  POINT o = client_origin(w);
  p->x -= o.x;
  p->y -= o.y;
  return TRUE;
}

BOOL ClientToScreen(HWND w, LPPOINT p) {
  if (!is_live(w) || !p) return FALSE;
  POINT o = client_origin(w);
  p->x += o.x;
  p->y += o.y;
  return TRUE;
}

BOOL MessageBeep(UINT) {
  ensure_gtk();
  gdk_display_beep(gdk_display_get_default());
  trace("beep");
  platform_test_hook("beep", nullptr, 0);
  return TRUE;
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  long long p = (long long)a * b;
  long long half = (c > 0 ? c : -c) / 2;
  // Rounds half away from zero, as Windows does; the division truncates toward zero.
  long long r = (p + (p >= 0 ? half : -half)) / c;
  return (int)r;
}

int vapora_save_window_png(HWND w, const char* path) {
  if (!is_live(w) || !w->surface || !path) return 0;
  cairo_surface_flush(w->surface);
  return cairo_surface_write_to_png(w->surface, path) == CAIRO_STATUS_SUCCESS ? 1 : 0;
}
