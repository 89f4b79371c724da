// The dialog manager: modal dialogs from templates, their keyboard (Escape, Enter, Tab,
// Alt+F4 as on Windows) and the calls that reach a dialog's controls.
//
// A dialog is a GtkWindow whose client area holds a drawing area (what the dialog
// procedure paints in WM_PAINT) under real GTK controls placed by dialog units. Its
// nested loop delivers the posted WM_COMMAND messages and keeps the owner repainted.
#include <algorithm>

#include "test_hook.h"
#include "user_internal.h"

namespace vapora::user {
namespace {

// Windows' dialog face colour: what a dialog's client area is erased to.
constexpr COLORREF kDialogFace = RGB(240, 240, 240);

HWND control_of(HWND d, int id) {
    if (!is_live(d)) return nullptr;
    for (HWND c : d->children)
        if (c->id == id) return c;
    return nullptr;
}

HWND focused_control(HWND d) {
    GtkWidget* f = gtk_window_get_focus(GTK_WINDOW(d->window));
    for (HWND c : d->children)
        if (c->widget == f) return c;
    return nullptr;
}

// Tab and Shift+Tab go through the tab stops in template order, as on Windows.
void move_focus(HWND d, bool back) {
    std::vector<HWND> stops;
    for (HWND c : d->children)
        if (c->style & WS_TABSTOP) stops.push_back(c);
    if (stops.empty()) return;
    auto at = std::find(stops.begin(), stops.end(), focused_control(d));
    size_t i = at == stops.end() ? 0 : (size_t)(at - stops.begin());
    size_t n = stops.size();
    gtk_widget_grab_focus(stops[at == stops.end() ? 0
                                : back            ? (i + n - 1) % n
                                                  : (i + 1) % n]
                              ->widget);
}

void command(HWND d, int id) {
    post(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)control_of(d, id));
}

gboolean on_dialog_key(GtkWidget*, GdkEventKey* e, gpointer data) {
    HWND d = static_cast<HWND>(data);
    if (!is_live(d)) return FALSE;
    switch (e->keyval) {
        case GDK_KEY_Escape:
            command(d, IDCANCEL);
            return TRUE;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter: {
            // The focused push button, else the default button: IDOK.
            HWND f = focused_control(d);
            command(d, f && f->ctl == CtlKind::PushButton ? f->id : IDOK);
            return TRUE;
        }
        case GDK_KEY_Tab:
        case GDK_KEY_ISO_Left_Tab:
            move_focus(d, e->keyval == GDK_KEY_ISO_Left_Tab || (e->state & GDK_SHIFT_MASK));
            return TRUE;
        case GDK_KEY_F4:
            if (!(e->state & GDK_MOD1_MASK)) return FALSE;
            post(d, WM_CLOSE, 0, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

// Pixels per dialog unit: base units 8 x 16 for the system font; a template's own font
// scales from "MS Shell Dlg" 8 (base units 6 x 13).
void base_units(const vapora::rc::DialogTemplate& t, int& bx, int& by) {
    bool own_font = t.has_font && t.point_size > 0;
    bx = own_font ? std::max(1, t.point_size * 6 / 8) : 8;
    by = own_font ? std::max(1, t.point_size * 13 / 8) : 16;
}

HWND create_dialog(const vapora::rc::DialogTemplate& t, HINSTANCE instance, HWND owner,
                   DLGPROC proc) {
    int bx, by;
    base_units(t, bx, by);
    auto px = [&](int u) { return (u * bx + 2) / 4; };  // rounded, as Windows' MulDiv
    auto py = [&](int u) { return (u * by + 4) / 8; };
    HWND d = new HWND__;
    d->kind = WndKind::Dialog;
    d->text = t.caption;
    d->dlgproc = proc;
    d->instance = instance;
    d->style = t.style;
    d->parent = is_live(owner) ? owner : nullptr;
    d->face = kDialogFace;
    d->erases = true;
    build_toplevel(d, px(t.cx), py(t.cy));
    GtkWindow* win = GTK_WINDOW(d->window);
    gtk_style_context_add_class(gtk_widget_get_style_context(d->window), "vapora-dialog");
    gtk_window_set_type_hint(win, GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_modal(win, TRUE);
    g_signal_connect(d->window, "key-press-event", G_CALLBACK(on_dialog_key), d);
    // Placed from the owner's client origin, as a popup dialog is on Windows.
    POINT origin = d->parent ? client_origin(d->parent) : POINT{0, 0};
    if (d->parent) gtk_window_set_transient_for(win, GTK_WINDOW(d->parent->window));
    gtk_window_move(win, origin.x + px(t.x), origin.y + py(t.y));

    for (const auto& ct : t.controls) {
        HWND c = new HWND__;
        c->kind = WndKind::Control;
        c->text = ct.text;
        c->proc = control_proc;
        c->style = ct.style;
        c->id = ct.id;
        c->parent = d;
        c->widget = make_control(c, ct, px(ct.cx), py(ct.cy));
        gtk_widget_set_size_request(c->widget, std::max(1, px(ct.cx)), std::max(1, py(ct.cy)));
        gtk_fixed_put(GTK_FIXED(d->fixed), c->widget, px(ct.x), py(ct.y));
        if ((ct.style & WS_TABSTOP) && !d->first_tab_stop) d->first_tab_stop = c;
        d->children.push_back(c);
        register_window(c);
    }
    return d;
}

}  // namespace

LRESULT dialog_default_proc(HWND d, UINT msg, WPARAM wp, LPARAM lp) {
    INT_PTR handled = d->dlgproc ? d->dlgproc(d, msg, wp, lp) : FALSE;
    if (msg == WM_INITDIALOG || handled) return handled;
    if (msg == WM_CLOSE) {  // the close button or Alt+F4: Cancel, which a dialog may ignore
        command(d, IDCANCEL);
        return 0;
    }
    return DefWindowProcW(d, msg, wp, lp);
}

}  // namespace vapora::user

using namespace vapora::user;

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    const vapora::rc::DialogTemplate* t = find_dialog(name);
    if (!t) return -1;
    ensure_gtk();
    style_dialogs();
    HWND d = create_dialog(*t, instance, owner, proc);
    HWND parent = d->parent;
    bool owner_was_enabled = parent && parent->enabled;
    if (parent) parent->enabled = false;  // the owner takes no input meanwhile

    if (call_proc(d, WM_INITDIALOG, (WPARAM)d->first_tab_stop, param) && d->first_tab_stop)
        gtk_widget_grab_focus(d->first_tab_stop->widget);
    platform_test_hook("dialog", d, WM_INITDIALOG);
    if (!d->dialog_ended && is_live(d)) {
        invalidate(d);
        ShowWindow(d, SW_SHOW);
        modal_loop(&d->dialog_ended);
    }
    INT_PTR result = d->dialog_result;
    destroy_window(d);
    if (is_live(parent)) {
        parent->enabled = owner_was_enabled;
        gtk_window_present(GTK_WINDOW(parent->window));
    }
    return result;
}

BOOL EndDialog(HWND d, INT_PTR result) {
    if (!is_live(d) || d->kind != WndKind::Dialog) return FALSE;
    d->dialog_result = result;
    d->dialog_ended = true;
    gtk_widget_hide(d->window);  // gone at once; destroyed when its loop ends
    return TRUE;
}

UINT GetDlgItemTextW(HWND d, int id, LPWSTR buf, int max) {
    HWND c = control_of(d, id);
    if (!c && buf && max > 0) buf[0] = 0;
    return c ? (UINT)call_proc(c, WM_GETTEXT, (WPARAM)max, (LPARAM)buf) : 0;
}

BOOL SetDlgItemTextW(HWND d, int id, LPCWSTR text) {
    HWND c = control_of(d, id);
    return c ? (BOOL)call_proc(c, WM_SETTEXT, 0, (LPARAM)(text ? text : L"")) : FALSE;
}

LRESULT SendDlgItemMessageW(HWND d, int id, UINT msg, WPARAM wp, LPARAM lp) {
    HWND c = control_of(d, id);
    return c ? call_proc(c, msg, wp, lp) : 0;
}
