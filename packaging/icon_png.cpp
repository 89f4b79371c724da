// Build-time helper: one square PNG of the program's icon at a given size, for the icon
// theme of the Linux desktop. The icon is drawn once, as app/vapora.ico; every size the
// desktop asks for is made from it here, with GdkPixbuf, which reads Windows icons.
//
//   icon_png IN.ico SIZE OUT.png
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int size = argc == 4 ? std::atoi(argv[2]) : 0;
    if (size < 1 || size > 1024) {
        std::fprintf(stderr, "usage: icon_png IN.ico SIZE OUT.png\n");
        return 2;
    }
    GError* error = nullptr;
    GdkPixbuf* icon = gdk_pixbuf_new_from_file(argv[1], &error);
    GdkPixbuf* scaled =
        icon ? gdk_pixbuf_scale_simple(icon, size, size, GDK_INTERP_HYPER) : nullptr;
    // No text chunks (dates and the like), so that a package built twice is the same.
    const bool saved = scaled && gdk_pixbuf_save(scaled, argv[3], "png", &error, nullptr);
    if (!saved)
        std::fprintf(stderr, "icon_png: %s\n", error ? error->message : "cannot scale the icon");
    if (error) g_error_free(error);
    if (scaled) g_object_unref(scaled);
    if (icon) g_object_unref(icon);
    return saved ? 0 : 1;
}
