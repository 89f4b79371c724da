// The controls of a dialog template as GTK widgets: push buttons, radio buttons whose
// check state only the program sets, group boxes, static texts, icons and edit boxes.
// A click reaches the dialog procedure as a posted WM_COMMAND with BN_CLICKED.
#include <algorithm>
#include <cstring>

#include "user_internal.h"

namespace vapora::user {
namespace {

// The bits of a button's and a static control's style that give its kind.
constexpr UINT kButtonKind = 0xF, kStaticKind = 0x1F;

// Puts the widget in the state the control holds, without reporting it as a click. Each
// radio button is a GTK group of its own with a hidden partner, so that any set of them
// can be checked or unchecked.
void show_check(HWND c) {
    c->guard = true;
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(c->check ? c->widget : c->partner), TRUE);
    c->guard = false;
}

// GTK has already toggled a clicked radio button; its state is the program's to set.
void on_clicked(GtkButton*, gpointer data) {
    HWND c = static_cast<HWND>(data);
    if (!is_live(c) || c->guard) return;
    if (c->ctl == CtlKind::RadioButton) show_check(c);
    post(c->parent, WM_COMMAND, MAKEWPARAM(c->id, BN_CLICKED), (LPARAM)c);
}

GtkWidget* make_button(HWND c, const vapora::rc::ControlTemplate& t) {
    UINT type = t.style & kButtonKind;
    std::string text = to_utf8(t.text);
    if (type == BS_GROUPBOX) {
        c->ctl = CtlKind::GroupBox;
        return gtk_frame_new(text.c_str());
    }
    GtkWidget* b;
    if (type == BS_RADIOBUTTON) {
        c->ctl = CtlKind::RadioButton;
        b = gtk_radio_button_new_with_label(nullptr, text.c_str());
        c->partner = gtk_radio_button_new_from_widget(GTK_RADIO_BUTTON(b));
        g_object_ref_sink(c->partner);
        show_check(c);
    } else {
        c->ctl = CtlKind::PushButton;
        b = gtk_button_new_with_label(text.c_str());
    }
    g_signal_connect(b, "clicked", G_CALLBACK(on_clicked), c);
    return b;
}

GtkWidget* make_icon(HWND c, const vapora::rc::ControlTemplate& t, int cx, int cy) {
    c->ctl = CtlKind::Icon;
    // The program's icon at the standard icon size, 32 pixels, within the control.
    HICON icon = LoadIconW(c->parent->instance, MAKEINTRESOURCEW(t.text_resource));
    if (!icon || !icon->pixbuf) return gtk_image_new();
    int side = std::max(1, std::min(32, std::min(cx, cy)));
    GdkPixbuf* scaled = gdk_pixbuf_scale_simple(icon->pixbuf, side, side, GDK_INTERP_BILINEAR);
    GtkWidget* image = gtk_image_new_from_pixbuf(scaled);
    g_object_unref(scaled);
    gtk_widget_set_halign(image, GTK_ALIGN_START);
    gtk_widget_set_valign(image, GTK_ALIGN_START);
    return image;
}

}  // namespace

// The selectors of the data-input dialog are 15 dialog units (30 pixels) wide for a
// three-character label such as "t,h": a compact indicator and a smaller font keep every
// label whole. The face is named, DejaVu Sans (the Linux package depends on it), since
// whatever fontconfig answers for "Sans" may be wider: with only the Liberation faces
// installed it is Liberation Mono, and "t,h" loses its h. GTK's minimum sizes stay below
// the template's rectangles, so every control gets exactly the size its template gives it.
void style_dialogs() {
    static bool done = false;
    if (done) return;
    done = true;
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(
        css,
        ".vapora-dialog label, .vapora-dialog entry { font: 11px \"DejaVu Sans\"; }"
        ".vapora-dialog entry { min-height: 0; padding: 0 3px; }"
        ".vapora-dialog button { min-height: 0; min-width: 0; padding: 0 4px; }"
        ".vapora-dialog radiobutton { padding: 0; min-height: 0; }"
        ".vapora-dialog radio { min-width: 9px; min-height: 9px; margin: 0 2px 0 0; padding: 0; }"
        ".vapora-dialog radiobutton label { margin: 0; padding: 0; }"
        ".vapora-dialog frame > border { border-radius: 0; }",
        -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
}

GtkWidget* make_control(HWND c, const vapora::rc::ControlTemplate& t, int cx, int cy) {
    const std::wstring& cls = t.class_name;
    if (!g_ascii_strcasecmp(to_utf8(cls).c_str(), "button")) return make_button(c, t);
    if (!g_ascii_strcasecmp(to_utf8(cls).c_str(), "edit")) {
        c->ctl = CtlKind::Edit;
        GtkWidget* e = gtk_entry_new();
        gtk_entry_set_width_chars(GTK_ENTRY(e), 1);
        return e;
    }
    if ((t.style & kStaticKind) == SS_ICON) return make_icon(c, t, cx, cy);
    c->ctl = CtlKind::Static;  // left-aligned text, wrapped at the control's width
    GtkWidget* l = gtk_label_new(to_utf8(t.text).c_str());
    gtk_label_set_xalign(GTK_LABEL(l), 0.0f);
    gtk_label_set_yalign(GTK_LABEL(l), 0.0f);
    gtk_label_set_line_wrap(GTK_LABEL(l), TRUE);
    return l;
}

// The messages the program sends a control: its check state and its text.
LRESULT CALLBACK control_proc(HWND c, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case BM_SETCHECK:
            if (c->ctl == CtlKind::RadioButton) {
                c->check = (int)wp;
                show_check(c);
            }
            return 0;
        case WM_SETTEXT: {
            c->text = lp ? (LPCWSTR)lp : L"";
            std::string u = to_utf8(c->text);
            if (c->ctl == CtlKind::Edit)
                gtk_entry_set_text(GTK_ENTRY(c->widget), u.c_str());
            else if (c->ctl == CtlKind::Static)
                gtk_label_set_text(GTK_LABEL(c->widget), u.c_str());
            return TRUE;
        }
        case WM_GETTEXT: {
            if (wp == 0 || !lp) return 0;
            std::wstring text = c->ctl == CtlKind::Edit
                                    ? from_utf8(gtk_entry_get_text(GTK_ENTRY(c->widget)))
                                    : c->text;
            size_t n = std::min(text.size(), (size_t)wp - 1);
            std::wmemcpy((LPWSTR)lp, text.c_str(), n);
            ((LPWSTR)lp)[n] = 0;
            return (LRESULT)n;
        }
        default:  // WM_SETFONT among others: the dialogs' control font already fits every label
            return 0;
    }
}

}  // namespace vapora::user
