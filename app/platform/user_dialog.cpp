// Modal dialogs from templates, their controls, and message boxes, over GTK 3.
//
// A dialog is a GtkWindow whose client area holds a drawing area (what the dialog
// procedure paints in WM_PAINT) under real GTK controls placed by dialog units. Clicks
// and keys reach the dialog procedure as posted WM_COMMAND messages, delivered by the
// dialog's nested loop, which also keeps the disabled owner repainting.
#include <algorithm>
#include <cstring>
#include <cwctype>

#include "test_hook.h"
#include "user_internal.h"

namespace vapora::user {
namespace {

// Windows' dialog face colour (COLOR_BTNFACE): the background the dialog erases to.
const COLORREF kDialogFace = RGB(240, 240, 240);

// Keeps GTK's minimum sizes below those of the controls' rectangles, so that every
// control gets exactly the size its template gives it.
void install_css() {
  static bool done = false;
  if (done) return;
  done = true;
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css,
      ".vapora-dialog entry { min-height: 0; padding: 0 3px; }"
      ".vapora-dialog button { min-height: 0; min-width: 0; padding: 0 4px; }"
      ".vapora-dialog radiobutton, .vapora-dialog checkbutton { padding: 0; min-height: 0; }"
      ".vapora-dialog radio, .vapora-dialog check { min-width: 12px; min-height: 12px;"
      "  margin: 0 3px 0 0; padding: 0; }"
      ".vapora-dialog radiobutton label, .vapora-dialog checkbutton label { margin: 0; padding: 0; }"
      ".vapora-dialog frame > border { border-radius: 0; }",
      -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);
}

// "&File" -> "_File", "&&" -> "&", "_" -> "__": Win32 prefixes as GTK mnemonics.
std::string mnemonic(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&') {
      if (i + 1 < text.size() && text[i + 1] == L'&') { out += L'&'; ++i; }
      else out += L'_';
    } else if (text[i] == L'_') {
      out += L"__";
    } else {
      out += text[i];
    }
  }
  return to_utf8(out);
}

HWND control_of(HWND dlg, int id) {
  if (!is_live(dlg)) return nullptr;
  for (HWND c : dlg->children)
    if (c->id == id && is_live(c)) return c;
  return nullptr;
}

UINT button_type(HWND c) { return c->style & BS_TYPEMASK; }
bool is_auto(HWND c) {
  UINT t = button_type(c);
  return t == BS_AUTORADIOBUTTON || t == BS_AUTOCHECKBOX || t == BS_AUTO3STATE;
}

// Puts the widget in the state the control holds, without reporting it as a click.
void show_check(HWND c) {
  c->guard = true;
  if (c->ctl == CtlKind::RadioButton)
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(c->check ? c->widget : c->partner), TRUE);
  else if (c->ctl == CtlKind::CheckBox)
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(c->widget), c->check == BST_CHECKED);
  c->guard = false;
}

void notify(HWND c, WORD code) {
  if (c->parent) post(c->parent, WM_COMMAND, MAKEWPARAM(c->id, code), (LPARAM)c);
}

// A click: GTK has already toggled the widget; the control's own state decides what is
// shown. Only automatic buttons change their state by a click, as on Windows.
void on_clicked(GtkButton*, gpointer data) {
  HWND c = static_cast<HWND>(data);
  if (!is_live(c) || c->guard) return;
  if (c->ctl == CtlKind::RadioButton || c->ctl == CtlKind::CheckBox) {
    if (is_auto(c)) {
      if (c->ctl == CtlKind::CheckBox) {
        c->check = c->check ? BST_UNCHECKED : BST_CHECKED;
      } else {
        // Uncheck the other automatic radio buttons of the group: from the last control
        // with WS_GROUP at or before this one up to the next control with WS_GROUP.
        auto& kids = c->parent->children;
        size_t me = std::find(kids.begin(), kids.end(), c) - kids.begin();
        size_t first = me;
        while (first > 0 && !(kids[first]->style & WS_GROUP)) --first;
        for (size_t i = first; i < kids.size(); ++i) {
          if (i > first && (kids[i]->style & WS_GROUP)) break;
          HWND o = kids[i];
          if (o != c && o->ctl == CtlKind::RadioButton && button_type(o) == BS_AUTORADIOBUTTON &&
              o->check) {
            o->check = BST_UNCHECKED;
            show_check(o);
          }
        }
        c->check = BST_CHECKED;
      }
    }
    show_check(c);
  }
  notify(c, BN_CLICKED);
}

void on_entry_changed(GtkEditable*, gpointer data) {
  HWND c = static_cast<HWND>(data);
  if (is_live(c) && !c->guard) notify(c, EN_CHANGE);
}

bool is_push_button(HWND c) {
  return c->ctl == CtlKind::PushButton;
}

// What IsDialogMessage does with Escape and Enter.
gboolean on_dialog_key(GtkWidget*, GdkEventKey* e, gpointer data) {
  HWND d = static_cast<HWND>(data);
  if (!is_live(d) || e->type != GDK_KEY_PRESS) return FALSE;
  if (e->keyval == GDK_KEY_Escape) {
    post(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)control_of(d, IDCANCEL));
    return TRUE;
  }
  if (e->keyval == GDK_KEY_Return || e->keyval == GDK_KEY_KP_Enter) {
    HWND focus = nullptr;
    GtkWidget* f = gtk_window_get_focus(GTK_WINDOW(d->window));
    for (HWND c : d->children)
      if (c->widget == f) focus = c;
    int id = focus && is_push_button(focus) ? focus->id : d->default_id;
    HWND ctl = control_of(d, id);
    if (ctl && !ctl->enabled) return TRUE;
    post(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)ctl);
    return TRUE;
  }
  return FALSE;
}

GtkWidget* make_widget(HWND c, const vapora::rc::ControlTemplate& t, int cx, int cy) {
  std::wstring cls = t.class_name;
  for (wchar_t& ch : cls) ch = (wchar_t)std::towlower(ch);
  if (cls == L"button") {
    UINT type = t.style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) {
      c->ctl = CtlKind::GroupBox;
      GtkWidget* f = gtk_frame_new(nullptr);
      GtkWidget* label = gtk_label_new_with_mnemonic(mnemonic(t.text).c_str());
      gtk_frame_set_label_widget(GTK_FRAME(f), label);
      return f;
    }
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
      c->ctl = CtlKind::RadioButton;
      GtkWidget* b = gtk_radio_button_new_with_mnemonic(nullptr, mnemonic(t.text).c_str());
      // Each radio button is its own GTK group with a hidden partner, so that it can be
      // unchecked by itself and any set of them can be checked: Windows leaves the check
      // state to the program (or, for automatic ones, to the layer).
      c->partner = gtk_radio_button_new_from_widget(GTK_RADIO_BUTTON(b));
      g_object_ref_sink(c->partner);
      show_check(c);
      g_signal_connect(b, "clicked", G_CALLBACK(on_clicked), c);
      return b;
    }
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) {
      c->ctl = CtlKind::CheckBox;
      GtkWidget* b = gtk_check_button_new_with_mnemonic(mnemonic(t.text).c_str());
      g_signal_connect(b, "clicked", G_CALLBACK(on_clicked), c);
      return b;
    }
    c->ctl = CtlKind::PushButton;
    GtkWidget* b = gtk_button_new_with_mnemonic(mnemonic(t.text).c_str());
    if (type == BS_DEFPUSHBUTTON) {
      gtk_widget_set_can_default(b, TRUE);
      gtk_style_context_add_class(gtk_widget_get_style_context(b), "default");
    }
    g_signal_connect(b, "clicked", G_CALLBACK(on_clicked), c);
    return b;
  }
  if (cls == L"edit") {
    c->ctl = CtlKind::Edit;
    GtkWidget* e = gtk_entry_new();
    gtk_entry_set_width_chars(GTK_ENTRY(e), 1);
    gtk_entry_set_has_frame(GTK_ENTRY(e), (t.style & WS_BORDER) || (t.ex_style & WS_EX_CLIENTEDGE));
    if (t.style & ES_RIGHT) gtk_entry_set_alignment(GTK_ENTRY(e), 1.0f);
    else if (t.style & ES_CENTER) gtk_entry_set_alignment(GTK_ENTRY(e), 0.5f);
    if (t.style & ES_PASSWORD) gtk_entry_set_visibility(GTK_ENTRY(e), FALSE);
    if (t.style & ES_READONLY) gtk_editable_set_editable(GTK_EDITABLE(e), FALSE);
    gtk_entry_set_text(GTK_ENTRY(e), to_utf8(t.text).c_str());
    g_signal_connect(e, "changed", G_CALLBACK(on_entry_changed), c);
    return e;
  }
  if (cls == L"static" && (t.style & SS_TYPEMASK) == SS_ICON) {
    c->ctl = CtlKind::Icon;
    // The program's icon at the standard icon size, 32 pixels, within the control.
    HICON icon = t.text_resource >= 0 ? LoadIconW(c->parent->instance, MAKEINTRESOURCEW(t.text_resource)) : nullptr;
    if (!icon || !icon->pixbuf) return gtk_image_new();
    int side = std::max(1, std::min(32, std::min(cx, cy)));
    GdkPixbuf* scaled = gdk_pixbuf_scale_simple(icon->pixbuf, side, side, GDK_INTERP_BILINEAR);
    GtkWidget* image = gtk_image_new_from_pixbuf(scaled);
    g_object_unref(scaled);
    gtk_widget_set_halign(image, GTK_ALIGN_START);
    gtk_widget_set_valign(image, GTK_ALIGN_START);
    return image;
  }
  // Static text, and any class the layer does not know, shown as its text.
  c->ctl = CtlKind::Static;
  GtkWidget* l = (t.style & SS_NOPREFIX) ? gtk_label_new(to_utf8(t.text).c_str())
                                         : gtk_label_new_with_mnemonic(mnemonic(t.text).c_str());
  UINT type = t.style & SS_TYPEMASK;
  gtk_label_set_xalign(GTK_LABEL(l), type == SS_RIGHT ? 1.0f : type == SS_CENTER ? 0.5f : 0.0f);
  gtk_label_set_yalign(GTK_LABEL(l), 0.0f);
  if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) gtk_label_set_line_wrap(GTK_LABEL(l), TRUE);
  return l;
}

// Control procedure of the layer's own controls: check state and text.
LRESULT CALLBACK control_proc(HWND c, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case BM_GETCHECK:
      return c->check;
    case BM_SETCHECK:
      if (c->ctl == CtlKind::RadioButton || c->ctl == CtlKind::CheckBox) {
        c->check = (int)wp;
        show_check(c);
      }
      return 0;
    case BM_CLICK:
      if (c->widget && GTK_IS_BUTTON(c->widget)) gtk_button_clicked(GTK_BUTTON(c->widget));
      return 0;
    case WM_SETTEXT: {
      c->text = lp ? (LPCWSTR)lp : L"";
      std::string u = to_utf8(c->text);
      c->guard = c->ctl != CtlKind::Edit;  // an edit box reports the change (EN_CHANGE)
      switch (c->ctl) {
        case CtlKind::Edit: gtk_entry_set_text(GTK_ENTRY(c->widget), u.c_str()); break;
        case CtlKind::Static:
          if (c->style & SS_NOPREFIX) gtk_label_set_text(GTK_LABEL(c->widget), u.c_str());
          else gtk_label_set_text_with_mnemonic(GTK_LABEL(c->widget), mnemonic(c->text).c_str());
          break;
        case CtlKind::GroupBox:
          gtk_label_set_text_with_mnemonic(GTK_LABEL(gtk_frame_get_label_widget(GTK_FRAME(c->widget))),
                                           mnemonic(c->text).c_str());
          break;
        case CtlKind::PushButton: case CtlKind::RadioButton: case CtlKind::CheckBox:
          gtk_button_set_label(GTK_BUTTON(c->widget), mnemonic(c->text).c_str());
          break;
        default: break;
      }
      c->guard = false;
      return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      std::wstring text = c->ctl == CtlKind::Edit ? from_utf8(gtk_entry_get_text(GTK_ENTRY(c->widget)))
                                                  : c->text;
      if (msg == WM_GETTEXTLENGTH) return (LRESULT)text.size();
      if (wp == 0 || !lp) return 0;
      size_t n = std::min(text.size(), (size_t)wp - 1);
      std::wmemcpy((LPWSTR)lp, text.c_str(), n);
      ((LPWSTR)lp)[n] = 0;
      return (LRESULT)n;
    }
    case EM_LIMITTEXT:
      if (c->ctl == CtlKind::Edit) gtk_entry_set_max_length(GTK_ENTRY(c->widget), (gint)wp);
      return 0;
    default:
      return 0;
  }
}

// Pixels per dialog unit: base units 8 x 16 for the system font; a template's own font
// scales from "MS Shell Dlg" 8 (base units 6 x 13).
void base_units(const vapora::rc::DialogTemplate& t, int& bx, int& by) {
  if (!t.has_font || t.point_size <= 0) { bx = 8; by = 16; return; }
  bx = std::max(1, MulDiv(t.point_size, 6, 8));
  by = std::max(1, MulDiv(t.point_size, 13, 8));
}

}  // namespace
}  // namespace vapora::user

using namespace vapora::user;

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR name, HWND owner, DLGPROC proc, LPARAM param) {
  const vapora::rc::DialogTemplate* t = find_dialog(name);
  if (!t) return -1;
  ensure_gtk();
  install_css();
  int bx, by;
  base_units(*t, bx, by);
  auto px = [&](int u) { return MulDiv(u, bx, 4); };
  auto py = [&](int u) { return MulDiv(u, by, 8); };

  HWND d = new HWND__;
  d->kind = WndKind::Dialog;
  d->class_name = L"#32770";
  d->text = t->caption;
  d->dlgproc = proc;
  d->instance = instance;
  d->style = t->style;
  d->ex_style = t->ex_style;
  d->parent = is_live(owner) ? owner : nullptr;
  build_toplevel(d, px(t->cx), py(t->cy), kDialogFace);
  GtkWindow* win = GTK_WINDOW(d->window);
  gtk_style_context_add_class(gtk_widget_get_style_context(d->window), "vapora-dialog");
  gtk_window_set_type_hint(win, GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_set_modal(win, TRUE);
  gtk_window_set_deletable(win, (t->style & WS_SYSMENU) != 0);
  gtk_window_set_decorated(win, (t->style & WS_CAPTION) != 0);
  if (d->parent && d->parent->window) gtk_window_set_transient_for(win, GTK_WINDOW(d->parent->window));
  g_signal_connect(d->window, "key-press-event", G_CALLBACK(on_dialog_key), d);

  // Placed from the owner's client origin, as a popup dialog is on Windows.
  POINT origin = d->parent ? client_origin(d->parent) : POINT{0, 0};
  int x = origin.x + px(t->x), y = origin.y + py(t->y);
  if ((t->style & DS_CENTER) && d->parent) {
    x = origin.x + (d->parent->client_w - d->client_w) / 2;
    y = origin.y + (d->parent->client_h - d->client_h) / 2;
  }
  gtk_window_move(win, x, y);

  GList* chain = nullptr;
  for (const auto& ct : t->controls) {
    HWND c = new HWND__;
    c->kind = WndKind::Control;
    c->class_name = ct.class_name;
    c->text = ct.text;
    c->proc = control_proc;
    c->style = ct.style;
    c->ex_style = ct.ex_style;
    c->id = ct.id;
    c->parent = d;
    c->widget = make_widget(c, ct, px(ct.cx), py(ct.cy));
    if ((c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && c->ctl == CtlKind::PushButton) d->default_id = c->id;
    gtk_widget_set_size_request(c->widget, std::max(1, px(ct.cx)), std::max(1, py(ct.cy)));
    gtk_fixed_put(GTK_FIXED(d->fixed), c->widget, px(ct.x), py(ct.y));
    if (ct.style & WS_DISABLED) {
      c->enabled = false;
      gtk_widget_set_sensitive(c->widget, FALSE);
    }
    if ((ct.style & WS_TABSTOP) && c->ctl != CtlKind::Static && c->ctl != CtlKind::GroupBox) {
      chain = g_list_append(chain, c->widget);
      if (!d->focus_on_init && c->enabled) d->focus_on_init = c;
    }
    d->children.push_back(c);
    register_window(c);
  }
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  if (chain) gtk_container_set_focus_chain(GTK_CONTAINER(d->fixed), chain);
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_list_free(chain);
  if (HWND def = control_of(d, d->default_id);
      def && def->ctl == CtlKind::PushButton && (def->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
    gtk_window_set_default(win, def->widget);

  bool owner_was_enabled = d->parent && d->parent->enabled;
  if (d->parent) d->parent->enabled = false;  // the owner takes no input meanwhile
  vapora::user::trace("dialog open " + to_utf8(d->text));

  if (call_proc(d, WM_INITDIALOG, (WPARAM)d->focus_on_init, param) && d->focus_on_init)
    gtk_widget_grab_focus(d->focus_on_init->widget);
  platform_test_hook("dialog", d, WM_INITDIALOG);
  if (!d->dialog_ended && is_live(d)) {
    ShowWindow(d, SW_SHOW);
    invalidate(d, nullptr, true);
    modal_loop(&d->dialog_ended);
  }
  INT_PTR result = d->dialog_result;
  vapora::user::trace("dialog close " + to_utf8(d->text) + " " + std::to_string((long long)result));
  HWND parent = d->parent;
  if (is_live(d)) DestroyWindow(d);
  if (is_live(parent)) {
    if (owner_was_enabled) parent->enabled = true;
    if (parent->window) gtk_window_present(GTK_WINDOW(parent->window));
  }
  return result;
}

BOOL EndDialog(HWND d, INT_PTR result) {
  if (!is_live(d) || d->kind != WndKind::Dialog) return FALSE;
  d->dialog_result = result;
  d->dialog_ended = true;
  if (d->window) gtk_widget_hide(d->window);  // gone at once; destroyed when the loop ends
  return TRUE;
}

LRESULT DefDlgProcW(HWND d, UINT msg, WPARAM wp, LPARAM lp) {
  INT_PTR handled = d->dlgproc ? d->dlgproc(d, msg, wp, lp) : FALSE;
  if (msg == WM_INITDIALOG) return handled;
  if (handled) return d->msg_result;
  switch (msg) {
    case WM_CLOSE:
      call_proc(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)control_of(d, IDCANCEL));
      return 0;
    case WM_ERASEBKGND: {
      RECT r{0, 0, d->client_w, d->client_h};
      FillRect((HDC)wp, &r, (HBRUSH)(UINT_PTR)(COLOR_BTNFACE + 1));
      return 1;
    }
    default:
      return DefWindowProcW(d, msg, wp, lp);
  }
}

HWND GetDlgItem(HWND d, int id) { return control_of(d, id); }

int GetDlgCtrlID(HWND c) { return is_live(c) ? c->id : 0; }

UINT GetDlgItemTextW(HWND d, int id, LPWSTR buf, int max) {
  HWND c = control_of(d, id);
  if (!c) {
    if (buf && max > 0) buf[0] = 0;
    return 0;
  }
  return (UINT)call_proc(c, WM_GETTEXT, (WPARAM)max, (LPARAM)buf);
}

BOOL SetDlgItemTextW(HWND d, int id, LPCWSTR text) {
  HWND c = control_of(d, id);
  return c ? (BOOL)call_proc(c, WM_SETTEXT, 0, (LPARAM)(text ? text : L"")) : FALSE;
}

LRESULT SendDlgItemMessageW(HWND d, int id, UINT msg, WPARAM wp, LPARAM lp) {
  HWND c = control_of(d, id);
  return c ? call_proc(c, msg, wp, lp) : 0;
}

BOOL CheckDlgButton(HWND d, int id, UINT check) {
  return control_of(d, id) ? (SendDlgItemMessageW(d, id, BM_SETCHECK, check, 0), TRUE) : FALSE;
}

UINT IsDlgButtonChecked(HWND d, int id) { return (UINT)SendDlgItemMessageW(d, id, BM_GETCHECK, 0, 0); }

// ---- Message boxes -------------------------------------------------------------------

namespace {
struct BoxState {
  bool done = false;
  int response = GTK_RESPONSE_NONE;
};

void on_box_response(GtkDialog*, gint response, gpointer data) {
  auto* s = static_cast<BoxState*>(data);
  s->response = response;
  s->done = true;
  post(nullptr, WM_NULL, 0, 0);  // wakes the nested loop, which waits for a message
}
}  // namespace

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  ensure_gtk();
  GtkMessageType kind;
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: kind = GTK_MESSAGE_ERROR; break;
    case MB_ICONQUESTION: kind = GTK_MESSAGE_QUESTION; break;
    case MB_ICONEXCLAMATION: kind = GTK_MESSAGE_WARNING; break;
    case MB_ICONASTERISK: kind = GTK_MESSAGE_INFO; break;
    default: kind = GTK_MESSAGE_OTHER; break;
  }
  GtkWindow* parent = is_live(owner) && owner->window ? GTK_WINDOW(owner->window) : nullptr;
  std::string body = to_utf8(text ? text : L"");
  GtkWidget* box = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, kind, GTK_BUTTONS_NONE, "%s",
                                          body.c_str());
  // GTK 3.24 no longer shows a message type's icon by itself; Windows always does.
  const char* icon = kind == GTK_MESSAGE_ERROR ? "dialog-error" : kind == GTK_MESSAGE_QUESTION ? "dialog-question"
                   : kind == GTK_MESSAGE_WARNING ? "dialog-warning" : kind == GTK_MESSAGE_INFO ? "dialog-information"
                   : nullptr;
  if (icon) {
    GtkWidget* image = gtk_image_new_from_icon_name(icon, GTK_ICON_SIZE_DIALOG);
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(box), image);
    G_GNUC_END_IGNORE_DEPRECATIONS
  }
  struct Button { const char* label; int id; };
  static const Button ok[] = {{"OK", IDOK}}, ok_cancel[] = {{"OK", IDOK}, {"Cancel", IDCANCEL}},
      abort_retry_ignore[] = {{"_Abort", IDABORT}, {"_Retry", IDRETRY}, {"_Ignore", IDIGNORE}},
      yes_no_cancel[] = {{"_Yes", IDYES}, {"_No", IDNO}, {"Cancel", IDCANCEL}},
      yes_no[] = {{"_Yes", IDYES}, {"_No", IDNO}}, retry_cancel[] = {{"_Retry", IDRETRY}, {"Cancel", IDCANCEL}};
  std::vector<Button> buttons;
  auto use = [&](const Button* b, size_t n) { buttons.insert(buttons.end(), b, b + n); };
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: use(ok_cancel, 2); break;
    case MB_ABORTRETRYIGNORE: use(abort_retry_ignore, 3); break;
    case MB_YESNOCANCEL: use(yes_no_cancel, 3); break;
    case MB_YESNO: use(yes_no, 2); break;
    case MB_RETRYCANCEL: use(retry_cancel, 2); break;
    default: use(ok, 1); break;
  }
  for (const Button& b : buttons) gtk_dialog_add_button(GTK_DIALOG(box), b.label, b.id);
  size_t def = (type & MB_DEFBUTTON2) && buttons.size() > 1 ? 1 : 0;
  gtk_dialog_set_default_response(GTK_DIALOG(box), buttons[def].id);
  // Windows shows "Error" for a null caption; an empty one stays empty.
  std::string title = caption ? to_utf8(caption) : std::string("Error");
  gtk_window_set_title(GTK_WINDOW(box), title.c_str());
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_window_set_wmclass(GTK_WINDOW(box), "#32770", "#32770");
  G_GNUC_END_IGNORE_DEPRECATIONS
  gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER_ON_PARENT);
  BoxState state;
  g_signal_connect(box, "response", G_CALLBACK(on_box_response), &state);
  bool owner_enabled = is_live(owner) && owner->enabled;
  if (owner_enabled) owner->enabled = false;
  trace("messagebox open " + body);
  platform_test_hook("message_box", owner, 0);
  gtk_widget_show_all(box);
  gtk_window_present(GTK_WINDOW(box));
  if (GtkWidget* b = gtk_dialog_get_widget_for_response(GTK_DIALOG(box), buttons[def].id))
    gtk_widget_grab_focus(b);
  modal_loop(&state.done);
  gtk_widget_destroy(box);
  if (owner_enabled && is_live(owner)) {
    owner->enabled = true;
    if (owner->window) gtk_window_present(GTK_WINDOW(owner->window));
  }
  int result;
  if (state.response >= 0) {
    result = state.response;
  } else {
    // Escape or the close button: Cancel where there is one, else the only answer.
    bool has_cancel = std::any_of(buttons.begin(), buttons.end(), [](const Button& b) { return b.id == IDCANCEL; });
    result = has_cancel ? IDCANCEL : buttons.size() == 1 ? buttons[0].id : IDNO;
  }
  trace("messagebox close " + std::to_string(result));
  return result;
}
