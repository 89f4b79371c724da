// Text through Pango. A logical font becomes a Pango font description whose cell (the
// hinted ascent plus descent) is at most the requested height; text is placed by the
// top-left corner of its cell and rotated about that corner by the escapement.
#include <glib.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "gdi_private.h"

namespace vapora_gdi {
namespace {

// The faces: Liberation Serif for Roman (the metrics of the serif face Windows picks);
// Liberation Sans Narrow for Swiss, so that the panel texts, set at fixed places in
// fixed panels, fit there; Liberation Sans for the rest (tick and curve labels).
// fontconfig stands in a face of like metrics where one is not installed.
const char* family_for(DWORD pitch_and_family) {
    switch (pitch_and_family & 0xF0) {
        case FF_ROMAN:
            return "Liberation Serif";
        case FF_SWISS:
            return "Liberation Sans Narrow";
        default:
            return "Liberation Sans";
    }
}

// Upright text of its natural width gets full hinting with hinted metrics: glyphs snap
// to whole pixels at these small sizes, which keeps them crisp and each text as narrow
// as its face allows. The same options on every surface keep a text equally wide in
// the window, a PNG, an SVG and a PDF. Rotated or stretched text is left unhinted,
// since snapping along a slanted or stretched baseline breaks its spacing.
const cairo_font_options_t* font_options(bool hinted = true) {
    static cairo_font_options_t* options[2] = {};
    cairo_font_options_t*& o = options[hinted];
    if (!o) {
        o = cairo_font_options_create();
        cairo_font_options_set_hint_style(o,
                                          hinted ? CAIRO_HINT_STYLE_FULL : CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(
            o, hinted ? CAIRO_HINT_METRICS_ON : CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    }
    return o;
}

PangoContext* measuring_context() {
    static PangoContext* context = [] {
        PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
        pango_cairo_context_set_font_options(c, font_options());
        return c;
    }();
    return context;
}

int layout_width(PangoContext* context, const PangoFontDescription* desc, const char* utf8) {
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, desc);
    pango_layout_set_text(layout, utf8, -1);
    int width = 0;
    pango_layout_get_pixel_size(layout, &width, nullptr);
    g_object_unref(layout);
    return width;
}

// A font ready to draw: its description, its cell height in pixels and the horizontal
// stretch that gives a requested character width. Worked out once per set of parameters.
struct Resolved {
    PangoFontDescription* desc = nullptr;
    int cell = 16;
    double x_scale = 1;
};

// The hinted ascent plus descent of a described font, in Pango units.
int cell_of(const PangoFontDescription* desc) {
    PangoFontMetrics* m = pango_context_get_metrics(measuring_context(), desc, nullptr);
    int cell = pango_font_metrics_get_ascent(m) + pango_font_metrics_get_descent(m);
    pango_font_metrics_unref(m);
    return cell;
}

const Resolved& resolve(const FontParams& f) {
    static std::map<std::tuple<int, int, int, bool, DWORD>, Resolved> cache;
    int height = f.height == 0 ? 16 : std::abs(f.height);
    auto key = std::make_tuple(f.height, f.width, f.weight, f.italic, f.pitch_and_family & 0xF0);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    Resolved r;
    r.desc = pango_font_description_new();
    pango_font_description_set_family(r.desc, family_for(f.pitch_and_family));
    pango_font_description_set_weight(r.desc,
                                      f.weight >= 600 ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(r.desc, f.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    // A negative height is the character height (the em) itself, as on Windows; a
    // positive one the cell: the largest whole-pixel size whose hinted cell fits it, as
    // a hinted face is sized for a cell height. The loop ends at 1 pixel at the latest.
    if (f.height < 0) {
        pango_font_description_set_absolute_size(r.desc, height * PANGO_SCALE);
        r.cell = PANGO_PIXELS_CEIL(cell_of(r.desc));
    } else {
        r.cell = height;
        for (int em = height; em >= 1; --em) {
            pango_font_description_set_absolute_size(r.desc, em * PANGO_SCALE);
            if (cell_of(r.desc) <= height * PANGO_SCALE) break;
        }
    }
    // A character width stretches the face so that its average lowercase letter is that
    // many pixels wide.
    if (f.width > 0) {
        int alphabet = layout_width(measuring_context(), r.desc, "abcdefghijklmnopqrstuvwxyz");
        if (alphabet > 0) r.x_scale = f.width * 26.0 / alphabet;
    }
    return cache.emplace(key, r).first->second;
}

}  // namespace
}  // namespace vapora_gdi

using namespace vapora_gdi;

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc || !target_surface(dc) || c < 0 || (c > 0 && !lpString)) return FALSE;
    if (c == 0) return TRUE;
    static_assert(sizeof(wchar_t) == sizeof(gunichar), "wide text is UCS-4 here");
    gchar* utf8 =
        g_ucs4_to_utf8(reinterpret_cast<const gunichar*>(lpString), c, nullptr, nullptr, nullptr);
    if (!utf8) return FALSE;  // not text: a surrogate or a value beyond Unicode
    const FontParams& f = dc->font->font;
    const Resolved& font = resolve(f);
    const int height = font.cell;
    double angle = f.escapement / 10.0 * G_PI / 180.0;

    // The layout is made upright and unstretched, and then drawn through the rotation and
    // the stretch: Pango lays glyphs out in a stretched space with the wrong advances.
    cairo_t* cr = open_cairo(dc);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout),
                                         font_options(f.escapement % 3600 == 0 && f.width == 0));
    pango_layout_context_changed(layout);
    pango_layout_set_font_description(layout, font.desc);
    pango_layout_set_text(layout, utf8, -1);
    g_free(utf8);
    int width = 0;
    pango_layout_get_pixel_size(layout, &width, nullptr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -angle);  // counterclockwise on a y-down screen
    cairo_scale(cr, font.x_scale, 1);
    if (dc->bk_mode == OPAQUE) {
        cairo_save(cr);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_rectangle(cr, 0, 0, width, height);
        set_source(cr, dc->bk_color);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    set_source(cr, dc->text_color);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
    cairo_destroy(cr);

    // The cell's corners, widened for glyphs that overhang it (italics).
    double w = width * font.x_scale, ca = std::cos(angle), sa = std::sin(angle);
    double xs[4] = {0, w * ca, w * ca + height * sa, height * sa};
    double ys[4] = {0, -w * sa, -w * sa + height * ca, height * ca};
    int slack = height / 4 + 2;
    report_damage(dc, RECT{LONG(x + *std::min_element(xs, xs + 4)) - slack,
                           LONG(y + *std::min_element(ys, ys + 4)) - slack,
                           LONG(x + *std::max_element(xs, xs + 4)) + slack,
                           LONG(y + *std::max_element(ys, ys + 4)) + slack});
    return TRUE;
}
