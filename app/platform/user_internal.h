// Shared insides of the windowing half (user_*.cpp): the record behind an HWND and the
// helpers the units share. Not part of the Win32 subset.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "gdi_internal.h"
#include "rc_parse.h"
#include "user.h"

enum class WndKind { TopLevel, Dialog, Control };
enum class CtlKind { PushButton, RadioButton, GroupBox, Edit, Static, Icon };

// The record behind an HWND. A top-level window or dialog owns a GtkWindow whose client
// area is a GtkFixed: a drawing area showing `surface` at the bottom, a dialog's controls
// above it. A control owns one widget.
struct HWND__ {
    WndKind kind = WndKind::TopLevel;
    std::wstring text;
    WNDPROC proc = nullptr;
    DLGPROC dlgproc = nullptr;
    HINSTANCE instance = nullptr;
    DWORD style = 0;
    int id = 0;
    HWND parent = nullptr;  // a control's dialog; a dialog's owner

    GtkWidget* window = nullptr;
    GtkWidget* fixed = nullptr;
    GtkWidget* area = nullptr;
    cairo_surface_t* surface = nullptr;  // the backing surface: what the window shows
    int client_w = 0, client_h = 0;
    COLORREF face = RGB(255, 255, 255);  // what a new surface, or an erase, fills with
    bool erases = false;                 // whether a repaint erases to `face` first

    bool needs_paint = false;  // the whole client area waits for WM_PAINT
    bool enabled = true;
    bool iconified = false;
    bool destroyed = false;
    int busy = 0;  // procedure calls on the stack: the record outlives them

    // Controls.
    CtlKind ctl = CtlKind::Static;
    GtkWidget* widget = nullptr;
    GtkWidget* partner = nullptr;  // hidden radio of the same GTK group: checked = "none"
    int check = BST_UNCHECKED;
    bool guard = false;  // set while the layer itself changes a widget's state

    // Dialogs.
    std::vector<HWND> children;
    bool dialog_ended = false;
    INT_PTR dialog_result = 0;
    HWND first_tab_stop = nullptr;
};

struct HICON__ {
    int id = 0;
    GdkPixbuf* pixbuf = nullptr;  // the largest image of the icon file; null for system icons
};

namespace vapora::user {

void ensure_gtk();
std::string to_utf8(const std::wstring& w);
std::wstring from_utf8(const char* s);

// Windows: the live set, the procedure call every message goes through, and teardown.
bool is_live(HWND w);
void register_window(HWND w);
LRESULT call_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
void destroy_window(HWND w);
// Frees the records of destroyed windows once no procedure call uses them any more.
void free_destroyed_windows();
// Builds a GTK window with a client area of the given size showing a new backing
// surface filled with w->face; the caller places and shows it.
void build_toplevel(HWND w, int client_w, int client_h);
// Screen position of the client area's top-left pixel.
POINT client_origin(HWND w);

// Input: GTK events of a top-level window become posted messages.
void connect_input(HWND w);
// The character a posted key-down makes, for TranslateMessage; 0 for none.
wchar_t char_of_key(const MSG& m);

// The queue. A message's time is the event's when it comes from one.
void post(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD time = 0);
void drop_messages_of(HWND w);
// Runs the nested loop of a modal dialog or message box until *done or WM_QUIT.
void modal_loop(const bool* done);

// Painting: marks the whole client area for a WM_PAINT (first show, restore); which
// window waits for one; the GTK side that shows the backing surface.
void invalidate(HWND w);
HWND window_needing_paint();
void connect_painting(HWND w);
void forget_window_dcs(HWND w);

// Dialogs: the default procedure behind every dialog procedure, and the controls.
LRESULT dialog_default_proc(HWND d, UINT msg, WPARAM wp, LPARAM lp);
GtkWidget* make_control(HWND c, const vapora::rc::ControlTemplate& t, int cx, int cy);
LRESULT CALLBACK control_proc(HWND c, UINT msg, WPARAM wp, LPARAM lp);
void style_dialogs();

// Resources read from the registered script.
const vapora::rc::Resources& resources();
const vapora::rc::DialogTemplate* find_dialog(LPCWSTR name);

}  // namespace vapora::user
