// The message box and the beep. The program asks for one kind of box: an exclamation
// icon and an OK button (MB_ICONEXCLAMATION | MB_OK). OK, Enter, Escape, the close
// button and Alt+F4 all answer IDOK, as on Windows.
#include "test_hook.h"
#include "user_internal.h"

namespace {

// GtkDialog answers the close button and Escape with GTK_RESPONSE_DELETE_EVENT and would
// then destroy itself; the box stays until MessageBoxW destroys it.
gboolean keep_on_delete(GtkWidget*, GdkEvent*, gpointer) {
    return TRUE;
}

// Without a window manager nobody turns Alt+F4 into a close request; the box does.
gboolean on_key(GtkWidget* box, GdkEventKey* e, gpointer) {
    if (e->keyval != GDK_KEY_F4 || !(e->state & GDK_MOD1_MASK)) return FALSE;
    gtk_window_close(GTK_WINDOW(box));
    return TRUE;
}

void on_response(GtkDialog*, gint, gpointer done) {
    *static_cast<bool*>(done) = true;
    vapora::user::post(nullptr, WM_NULL, 0, 0);  // wakes the nested loop, which waits for a message
}

}  // namespace

using namespace vapora::user;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT) {
    ensure_gtk();
    GtkWindow* parent = is_live(owner) ? GTK_WINDOW(owner->window) : nullptr;
    // Windows shows "Error" for a null caption.
    std::string title = caption ? to_utf8(caption) : std::string("Error");
    GtkWidget* box = gtk_dialog_new_with_buttons(title.c_str(), parent, GTK_DIALOG_MODAL, "OK",
                                                 GTK_RESPONSE_OK, nullptr);
    gtk_window_set_resizable(GTK_WINDOW(box), FALSE);
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER_ON_PARENT);
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    gtk_container_set_border_width(GTK_CONTAINER(row), 12);
    gtk_box_pack_start(GTK_BOX(row),
                       gtk_image_new_from_icon_name("dialog-warning", GTK_ICON_SIZE_DIALOG), FALSE,
                       FALSE, 0);
    gtk_box_pack_start(GTK_BOX(row), gtk_label_new(to_utf8(text ? text : L"").c_str()), FALSE,
                       FALSE, 0);
    gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(box))), row);
    gtk_dialog_set_default_response(GTK_DIALOG(box), GTK_RESPONSE_OK);

    bool done = false;
    g_signal_connect(box, "response", G_CALLBACK(on_response), &done);
    g_signal_connect(box, "delete-event", G_CALLBACK(keep_on_delete), nullptr);
    g_signal_connect(box, "key-press-event", G_CALLBACK(on_key), nullptr);
    bool owner_enabled = is_live(owner) && owner->enabled;
    if (owner_enabled) owner->enabled = false;
    platform_test_hook("message_box", owner, 0);
    gtk_widget_show_all(box);
    gtk_widget_grab_focus(gtk_dialog_get_widget_for_response(GTK_DIALOG(box), GTK_RESPONSE_OK));
    modal_loop(&done);
    gtk_widget_destroy(box);
    if (owner_enabled && is_live(owner)) {
        owner->enabled = true;
        gtk_window_present(GTK_WINDOW(owner->window));
    }
    return IDOK;
}

BOOL MessageBeep(UINT) {
    ensure_gtk();
    gdk_display_beep(gdk_display_get_default());
    platform_test_hook("beep", nullptr, 0);
    return TRUE;
}
