// Lines and areas. On an unscaled image surface they are rasterised here rather than by
// cairo, so that the Win32 pixel rules hold exactly: which pixels a line or a rectangle
// covers, and that each is touched once (an inverting line drawn twice must give the
// screen back). On any other surface they are cairo paths through the pixel centres.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gdi_private.h"

namespace vapora_gdi {
namespace {

// Coordinates beyond this many pixels from the origin are not drawn: the exact line
// arithmetic below stays inside 64 bits, and nothing the program draws comes near.
constexpr int64_t coordinate_limit = int64_t(1) << 29;

bool drawable(std::initializer_list<int64_t> coordinates) {
    for (int64_t c : coordinates)
        if (c < -coordinate_limit || c > coordinate_limit) return false;
    return true;
}

// The pixels of an image surface, open for direct writes.
// Opening flushes cairo; closing marks the touched rows dirty and reports them.
class Pixels {
public:
    explicit Pixels(const DeviceContext* dc) : dc_(dc), s_(target_surface(dc)) {
        cairo_surface_flush(s_);
        data_ = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s_));
        stride_ = cairo_image_surface_get_stride(s_) / 4;
        clip_ = {0, 0, cairo_image_surface_get_width(s_), cairo_image_surface_get_height(s_)};
    }
    ~Pixels() {
        if (touched_.left >= touched_.right) return;
        cairo_surface_mark_dirty_rectangle(s_, touched_.left, touched_.top,
                                           touched_.right - touched_.left,
                                           touched_.bottom - touched_.top);
        report_damage(dc_, touched_);
    }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;

    const RECT& clip() const { return clip_; }

    // A horizontal run [x0, x1) on row y: the colour, or the inverse of what is there.
    void span(int64_t y, int64_t x0, int64_t x1, COLORREF colour, int rop2) {
        if (y < clip_.top || y >= clip_.bottom) return;
        int a = int(std::max<int64_t>(x0, clip_.left));
        int b = int(std::min<int64_t>(x1, clip_.right));
        if (a >= b) return;
        uint32_t* row = data_ + std::ptrdiff_t(y) * stride_;
        uint32_t native = 0xFF000000u | (uint32_t(GetRValue(colour)) << 16) |
                          (uint32_t(GetGValue(colour)) << 8) | GetBValue(colour);
        for (int x = a; x < b; ++x) row[x] = rop2 == R2_NOT ? row[x] ^ 0x00FFFFFFu : native;
        RECT r = {a, LONG(y), b, LONG(y + 1)};
        if (touched_.left >= touched_.right) {
            touched_ = r;
        } else {
            touched_ = {std::min(touched_.left, r.left), std::min(touched_.top, r.top),
                        std::max(touched_.right, r.right), std::max(touched_.bottom, r.bottom)};
        }
    }

private:
    const DeviceContext* dc_;
    cairo_surface_t* s_;
    uint32_t* data_ = nullptr;
    int stride_ = 0;
    RECT clip_ = {};
    RECT touched_ = {0, 0, 0, 0};
};

// A one-pixel line from (x0, y0) towards (x1, y1), the end pixel left out. Step i along
// the major axis gives the minor coordinate rounded to nearest (halves away from the
// start), in closed form so that only the steps inside the clip are walked.
void raster_line(Pixels& p, int x0, int y0, int x1, int y1, COLORREF colour, int rop2) {
    if (!drawable({x0, y0, x1, y1})) return;
    int64_t dx = int64_t(x1) - x0, dy = int64_t(y1) - y0;
    bool x_major = std::llabs(dx) >= std::llabs(dy);
    int64_t n = x_major ? std::llabs(dx) : std::llabs(dy);
    int64_t minor_d = x_major ? std::llabs(dy) : std::llabs(dx);
    int64_t major_step = (x_major ? dx : dy) < 0 ? -1 : 1;
    int64_t minor_step = (x_major ? dy : dx) < 0 ? -1 : 1;
    int64_t major0 = x_major ? x0 : y0, minor0 = x_major ? y0 : x0;
    const RECT& c = p.clip();
    int64_t lo = x_major ? c.left : c.top, hi = (x_major ? c.right : c.bottom) - 1;
    int64_t first = std::max<int64_t>(0, major_step > 0 ? lo - major0 : major0 - hi);
    int64_t last = std::min<int64_t>(n - 1, major_step > 0 ? hi - major0 : major0 - lo);
    for (int64_t i = first; i <= last; ++i) {
        int64_t major = major0 + major_step * i;
        int64_t minor = minor0 + minor_step * ((2 * i * minor_d + n) / (2 * n));
        if (x_major) {
            p.span(minor, major, major + 1, colour, rop2);
        } else {
            p.span(major, minor, minor + 1, colour, rop2);
        }
    }
}

// Fills a polygon by the even-odd rule with pixel centres on integer coordinates, left
// and top edges in, right and bottom out.
void raster_polygon(Pixels& p, const POINT* pts, int count, COLORREF colour) {
    int64_t ymin = pts[0].y, ymax = pts[0].y;
    for (int i = 1; i < count; ++i) {
        ymin = std::min<int64_t>(ymin, pts[i].y);
        ymax = std::max<int64_t>(ymax, pts[i].y);
    }
    std::vector<int64_t> xs;
    for (int64_t y = std::max<int64_t>(ymin, p.clip().top);
         y < std::min<int64_t>(ymax, p.clip().bottom); ++y) {
        xs.clear();
        for (int i = 0; i < count; ++i) {
            const POINT& a = pts[i];
            const POINT& b = pts[(i + 1) % count];
            const POINT& top = a.y < b.y ? a : b;
            const POINT& bottom = a.y < b.y ? b : a;
            // An edge owns the rows from its upper end up to, not including, its lower end.
            if (y < top.y || y >= bottom.y) continue;
            // The first pixel centre at or right of the crossing: the ceiling of the exact x.
            int64_t den = int64_t(bottom.y) - top.y;
            int64_t num = int64_t(top.x) * den + (y - top.y) * (int64_t(bottom.x) - top.x);
            int64_t x = num / den;
            xs.push_back(x * den < num ? x + 1 : x);
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2)
            p.span(y, xs[k], xs[k + 1], colour, R2_COPYPEN);
    }
}

// The pixel spans of the ellipse inscribed in [l, r) x [t, b): a pixel is in when its
// centre is inside the continuous ellipse through the box's edges.
void ellipse_span(int l, int t, int r, int b, int y, int* from, int* to) {
    double cx = (double(l) + r) / 2, cy = (double(t) + b) / 2;
    double dy = (y + 0.5 - cy) / ((double(b) - t) / 2);
    double q = 1 - dy * dy;
    *from = *to = l;
    if (y < t || y >= b || q < 0) return;
    double half = (double(r) - l) / 2 * std::sqrt(q) + 1e-9;
    *from = std::max(l, int(std::ceil(cx - half - 0.5)));
    *to = std::max(*from, std::min(r, int(std::floor(cx + half - 0.5)) + 1));
}

void raster_ellipse(Pixels& p, int l, int t, int r, int b, const Object* pen, COLORREF fill) {
    for (int y = std::max<int>(t, p.clip().top); y < std::min<int>(b, p.clip().bottom); ++y) {
        int a, e, above_a, above_e, below_a, below_e;
        ellipse_span(l, t, r, b, y, &a, &e);
        ellipse_span(l, t, r, b, y - 1, &above_a, &above_e);
        ellipse_span(l, t, r, b, y + 1, &below_a, &below_e);
        if (!pen) {
            p.span(y, a, e, fill, R2_COPYPEN);
            continue;
        }
        // A pixel is on the outline when one of its four neighbours is outside.
        for (int x = a; x < e; ++x) {
            bool edge =
                x == a || x == e - 1 || x < above_a || x >= above_e || x < below_a || x >= below_e;
            p.span(y, x, x + 1, edge ? pen->color : fill, R2_COPYPEN);
        }
    }
}

// Every brush fills (the program makes only solid ones); the null pen draws nothing.
const Object* usable_pen(const DeviceContext* dc) {
    return dc->pen->null ? nullptr : dc->pen;
}

// The same shapes as cairo paths, in a coordinate space where pixel (x, y) is the unit
// square at (x, y): outlines run through the pixel centres.
void fill_and_stroke(const DeviceContext* dc, cairo_t* cr, bool fill) {
    if (fill) {
        set_source(cr, dc->brush->color);
        usable_pen(dc) ? cairo_fill_preserve(cr) : cairo_fill(cr);
    }
    if (usable_pen(dc)) {
        set_source(cr, usable_pen(dc)->color);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
}

}  // namespace
}  // namespace vapora_gdi

using namespace vapora_gdi;

BOOL LineTo(HDC hdc, int x, int y) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc || !target_surface(dc)) return FALSE;
    POINT from = dc->position;
    dc->position = POINT{x, y};
    if (!usable_pen(dc)) return TRUE;
    if (pixel_exact(target_surface(dc))) {
        Pixels p(dc);
        raster_line(p, from.x, from.y, x, y, dc->pen->color, dc->rop2);
        return TRUE;
    }
    if (!dc->polyline || dc->polyline_colour != dc->pen->color ||
        !cairo_has_current_point(dc->polyline)) {
        cairo_t* cr = open_cairo(dc);
        cairo_set_line_width(cr, 1);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_move_to(cr, from.x + 0.5, from.y + 0.5);
        dc->polyline = cr;
        dc->polyline_colour = dc->pen->color;
    }
    double px, py;
    cairo_get_current_point(dc->polyline, &px, &py);
    if (px != from.x + 0.5 || py != from.y + 0.5)
        cairo_move_to(dc->polyline, from.x + 0.5, from.y + 0.5);
    cairo_line_to(dc->polyline, x + 0.5, y + 0.5);
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* apt, int cpt) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc || !target_surface(dc) || !apt || cpt < 2) return FALSE;
    for (int i = 0; i < cpt; ++i)
        if (!drawable({apt[i].x, apt[i].y})) return TRUE;
    if (pixel_exact(target_surface(dc))) {
        Pixels p(dc);
        raster_polygon(p, apt, cpt, dc->brush->color);
        for (int i = 0; usable_pen(dc) && i < cpt; ++i) {
            const POINT& a = apt[i];
            const POINT& b = apt[(i + 1) % cpt];
            raster_line(p, a.x, a.y, b.x, b.y, dc->pen->color, dc->rop2);
        }
        return TRUE;
    }
    cairo_t* cr = open_cairo(dc);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    // Vertices on pixel corners: the area covers the same pixel squares as the raster
    // fill, and meets a rectangle drawn next to it without a seam.
    for (int i = 0; i < cpt; ++i) cairo_line_to(cr, apt[i].x, apt[i].y);
    cairo_close_path(cr);
    fill_and_stroke(dc, cr, true);
    cairo_destroy(cr);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc || !target_surface(dc)) return FALSE;
    int64_t l = std::min(left, right), r = std::max(left, right);
    int64_t t = std::min(top, bottom), b = std::max(top, bottom);
    // Without an outline Windows fills one pixel less to the right and below.
    if (!usable_pen(dc)) {
        --r;
        --b;
    }
    if (r <= l || b <= t) return TRUE;
    if (pixel_exact(target_surface(dc))) {
        Pixels p(dc);
        int64_t y0 = std::max<int64_t>(t, p.clip().top), y1 = std::min<int64_t>(b, p.clip().bottom);
        for (int64_t y = y0; y < y1; ++y) {
            bool border = usable_pen(dc) && (y == t || y == b - 1);
            if (border) {
                p.span(y, l, r, dc->pen->color, dc->rop2);
                continue;
            }
            if (usable_pen(dc)) {
                p.span(y, l, l + 1, dc->pen->color, dc->rop2);
                p.span(y, r - 1, r, dc->pen->color, dc->rop2);
            }
            int64_t inset = usable_pen(dc) ? 1 : 0;
            p.span(y, l + inset, r - inset, dc->brush->color, dc->rop2);
        }
        return TRUE;
    }
    cairo_t* cr = open_cairo(dc);
    cairo_rectangle(cr, l, t, r - l, b - t);
    set_source(cr, dc->brush->color);
    cairo_fill(cr);
    if (usable_pen(dc)) {
        cairo_rectangle(cr, l + 0.5, t + 0.5, r - l - 1, b - t - 1);
        fill_and_stroke(dc, cr, false);
    }
    cairo_destroy(cr);
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc || !target_surface(dc)) return FALSE;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    // As with Rectangle, a null pen leaves one pixel less each way. Boxes beyond 32768
    // pixels are not drawn: nothing the program draws comes near that size.
    int64_t w = int64_t(right) - left - (usable_pen(dc) ? 0 : 1);
    int64_t h = int64_t(bottom) - top - (usable_pen(dc) ? 0 : 1);
    if (w < 1 || h < 1 || w > 32768 || h > 32768 || !drawable({left, top})) return TRUE;
    if (pixel_exact(target_surface(dc))) {
        Pixels p(dc);
        raster_ellipse(p, left, top, int(left + w), int(top + h), usable_pen(dc), dc->brush->color);
        return TRUE;
    }
    cairo_t* cr = open_cairo(dc);
    double inset = usable_pen(dc) ? 0.5 : 0;
    cairo_save(cr);
    cairo_translate(cr, left + w / 2.0, top + h / 2.0);
    cairo_scale(cr, w / 2.0 - inset, h / 2.0 - inset);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    fill_and_stroke(dc, cr, true);
    cairo_destroy(cr);
    return TRUE;
}
