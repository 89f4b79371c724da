// Shared insides of the windowing half (user_*.cpp): the window record behind an HWND,
// the message queue and the helpers the window, dialog and resource units share.
// Not part of the Win32 subset.
#pragma once

#include <gtk/gtk.h>

#include <deque>
#include <string>
#include <vector>

#include "gdi.h"
#include "gdi_internal.h"
#include "rc_parse.h"
#include "user.h"

enum class WndKind { TopLevel, Dialog, Control };
enum class CtlKind { NotAControl, PushButton, RadioButton, CheckBox, GroupBox, Edit, Static, Icon };

// The record behind an HWND. Top-level windows and dialogs own a GtkWindow whose
// client area is a GtkFixed: a drawing area showing `surface` at the bottom, the
// dialog's controls above it. Controls own one widget each.
struct HWND__ {
  WndKind kind = WndKind::TopLevel;
  std::wstring class_name;
  std::wstring text;
  WNDPROC proc = nullptr;
  DLGPROC dlgproc = nullptr;
  HBRUSH background = nullptr;
  HINSTANCE instance = nullptr;
  DWORD style = 0, ex_style = 0;
  int id = 0;
  HWND parent = nullptr;  // a control's dialog; a top-level window's owner
  LONG_PTR user_data = 0;
  LONG_PTR msg_result = 0;

  GtkWidget* window = nullptr;
  GtkWidget* fixed = nullptr;
  GtkWidget* area = nullptr;
  cairo_surface_t* surface = nullptr;
  int client_w = 0, client_h = 0;
  int frame_x = 0, frame_y = 0;  // outer size less client size

  // Invalid part of the client area, kept as one bounding rectangle.
  bool has_update = false;
  bool erase_pending = false;
  RECT update{};

  bool enabled = true;
  bool shown_once = false;
  bool mapped_once = false;
  bool skip_map_expose = false;  // the first map's exposes show what UpdateWindow drew
  bool destroyed = false;
  int busy = 0;  // window procedure calls on the stack

  // Controls.
  CtlKind ctl = CtlKind::NotAControl;
  GtkWidget* widget = nullptr;
  GtkWidget* partner = nullptr;  // hidden radio of the same GTK group: checked = "none"
  int check = BST_UNCHECKED;
  bool guard = false;  // set while the layer itself changes a widget's state

  // Dialogs.
  std::vector<HWND> children;
  bool dialog_ended = false;
  INT_PTR dialog_result = 0;
  int default_id = IDOK;
  HWND focus_on_init = nullptr;
};

struct HACCEL__ {
  std::vector<ACCEL> entries;
};

struct HICON__ {
  int id = 0;
  GdkPixbuf* pixbuf = nullptr;  // the largest image of the icon file; null for system icons
};

namespace vapora::user {

void ensure_gtk();
std::string to_utf8(const std::wstring& w);
std::wstring from_utf8(const char* s);

bool is_live(HWND w);
void register_window(HWND w);  // makes a new record a live HWND
LRESULT call_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
void post(HWND w, UINT msg, WPARAM wp, LPARAM lp);
void invalidate(HWND w, const RECT* r, bool erase);

// Builds a top-level GTK window with a client area of the given size showing a new
// backing surface filled with `fill`; the caller places and shows it.
void build_toplevel(HWND w, int client_w, int client_h, COLORREF fill);
// Screen position of the client area's top-left pixel.
POINT client_origin(HWND w);

// Runs the nested loop of a modal dialog or message box until *done or WM_QUIT.
void modal_loop(const bool* done);

// Resources read from the registered script.
const vapora::rc::Resources& resources();
const vapora::rc::DialogTemplate* find_dialog(LPCWSTR name);

// Appends a line to the file named by VAPORA_TRACE, when set: what the user would see or
// hear that leaves no pixels behind (beeps, message boxes, dialogs opening and closing).
void trace(const std::string& line);

}  // namespace vapora::user
