// Lines, areas and pixels, rasterised here rather than by cairo so that the Win32 pixel
// rules hold exactly: which pixels a line or a rectangle covers, and that each is
// touched once (an inverting line drawn twice must give the screen back).
#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdint>
#include <vector>

#include "gdi_private.h"

namespace vapora_gdi {

uint32_t native_colour(COLORREF c) {
  // cairo's RGB24/ARGB32 pixel: 0xAARRGGBB in native byte order, always opaque here.
  return 0xFF000000u | (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) |
         uint32_t(GetBValue(c));
}

COLORREF colorref_of(uint32_t p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool open_canvas(DeviceContext* dc, Canvas& canvas) {
  cairo_surface_t* s = target_surface(dc);
  if (!s) return false;
  cairo_surface_flush(s);
  canvas.dc = dc;
  canvas.surface = s;
  canvas.pixels = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
  canvas.stride = cairo_image_surface_get_stride(s) / 4;
  RECT r = {0, 0, cairo_image_surface_get_width(s), cairo_image_surface_get_height(s)};
  if (dc->has_clip) {
    r.left = std::max(r.left, dc->clip.left);
    r.top = std::max(r.top, dc->clip.top);
    r.right = std::min(r.right, dc->clip.right);
    r.bottom = std::min(r.bottom, dc->clip.bottom);
  }
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  canvas.clip = r;
  canvas.any = false;
  return canvas.pixels != nullptr;
}

void note_touched(Canvas& c, const RECT& r0) {
  RECT r = {std::max(r0.left, c.clip.left), std::max(r0.top, c.clip.top),
            std::min(r0.right, c.clip.right), std::min(r0.bottom, c.clip.bottom)};
  if (r.left >= r.right || r.top >= r.bottom) return;
  if (!c.any) {
    c.touched = r;
    c.any = true;
    return;
  }
  c.touched.left = std::min(c.touched.left, r.left);
  c.touched.top = std::min(c.touched.top, r.top);
  c.touched.right = std::max(c.touched.right, r.right);
  c.touched.bottom = std::max(c.touched.bottom, r.bottom);
}

void close_canvas(Canvas& c) {
  if (!c.surface || !c.any) return;
  const RECT& t = c.touched;
  cairo_surface_mark_dirty_rectangle(c.surface, t.left, t.top, t.right - t.left,
                                     t.bottom - t.top);
  if (c.dc->damage) c.dc->damage(c.dc->damage_data, &t);
}

namespace {

// One pixel through a binary raster operation; bit (2P + D) of (code - 1) is the result
// for pen bit P and screen bit D. The alpha byte stays opaque.
inline uint32_t apply_rop(uint32_t dst, uint32_t pen, int rop2) {
  uint32_t t = uint32_t(rop2 - 1);
  uint32_t r = 0;
  if (t & 1) r |= ~pen & ~dst;
  if (t & 2) r |= ~pen & dst;
  if (t & 4) r |= pen & ~dst;
  if (t & 8) r |= pen & dst;
  return 0xFF000000u | (r & 0x00FFFFFFu);
}

inline void plot(Canvas& c, int x, int y, uint32_t colour, int rop2) {
  if (x < c.clip.left || x >= c.clip.right || y < c.clip.top || y >= c.clip.bottom) return;
  uint32_t& p = c.pixels[std::ptrdiff_t(y) * c.stride + x];
  p = rop2 == R2_COPYPEN ? colour : apply_rop(p, colour, rop2);
}

// A horizontal run [x0, x1) on row y, clipped.
void span(Canvas& c, int y, int64_t x0, int64_t x1, uint32_t colour, int rop2) {
  if (y < c.clip.top || y >= c.clip.bottom) return;
  int a = int(std::max<int64_t>(x0, c.clip.left));
  int b = int(std::min<int64_t>(x1, c.clip.right));
  if (a >= b) return;
  uint32_t* row = c.pixels + std::ptrdiff_t(y) * c.stride;
  if (rop2 == R2_COPYPEN) {
    std::fill(row + a, row + b, colour);
  } else {
    for (int x = a; x < b; ++x) row[x] = apply_rop(row[x], colour, rop2);
  }
  note_touched(c, RECT{a, y, b, y + 1});
}

// The pixels of a one-pixel line from (x0, y0) towards (x1, y1), the end pixel left
// out. Step i along the major axis gives the minor coordinate rounded to nearest
// (halves away from the start), in closed form so that a line far outside the clip
// costs no more than its visible part and is the same pixels however it is clipped.
void line(Canvas& c, int x0, int y0, int x1, int y1, uint32_t colour, int rop2) {
  int64_t dx = int64_t(x1) - x0, dy = int64_t(y1) - y0;
  int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  bool x_major = adx >= ady;
  int64_t n = x_major ? adx : ady;  // pixels drawn: 0 .. n-1
  if (n == 0) return;
  int64_t major_step = x_major ? (dx < 0 ? -1 : 1) : (dy < 0 ? -1 : 1);
  int64_t minor_step = x_major ? (dy < 0 ? -1 : 1) : (dx < 0 ? -1 : 1);
  int64_t minor_d = x_major ? ady : adx;
  int64_t major0 = x_major ? x0 : y0, minor0 = x_major ? y0 : x0;
  // 128-bit product: coordinates anywhere in the 32-bit range must not overflow.
  auto minor_at = [&](int64_t i) {
    __int128 q = (__int128(2) * i * minor_d + n) / (__int128(2) * n);
    return minor0 + minor_step * int64_t(q);
  };
  // Clip the step range by the major axis, then (the minor coordinate being monotone)
  // by the minor axis with two binary searches.
  int64_t lo_major = x_major ? c.clip.left : c.clip.top;
  int64_t hi_major = (x_major ? c.clip.right : c.clip.bottom) - 1;
  int64_t lo_minor = x_major ? c.clip.top : c.clip.left;
  int64_t hi_minor = (x_major ? c.clip.bottom : c.clip.right) - 1;
  if (hi_major < lo_major || hi_minor < lo_minor) return;
  int64_t ia, ib;  // inclusive step range
  if (major_step > 0) {
    ia = lo_major - major0;
    ib = hi_major - major0;
  } else {
    ia = major0 - hi_major;
    ib = major0 - lo_major;
  }
  ia = std::max<int64_t>(ia, 0);
  ib = std::min<int64_t>(ib, n - 1);
  if (ia > ib) return;
  auto inside = [&](int64_t i) {
    int64_t m = minor_at(i);
    return m >= lo_minor && m <= hi_minor;
  };
  // Steps before the minor coordinate enters the clip: first i with it not "before".
  auto before = [&](int64_t i) {
    int64_t m = minor_at(i);
    return minor_step > 0 ? m < lo_minor : m > hi_minor;
  };
  auto after = [&](int64_t i) {
    int64_t m = minor_at(i);
    return minor_step > 0 ? m > hi_minor : m < lo_minor;
  };
  int64_t a = ia, b = ib;
  for (int guard = 0; guard < 64 && a < b; ++guard) {  // first step not before the clip
    int64_t mid = a + (b - a) / 2;
    if (before(mid)) a = mid + 1; else b = mid;
  }
  int64_t first = a;
  a = first;
  b = ib;
  for (int guard = 0; guard < 64 && a < b; ++guard) {  // last step not after the clip
    int64_t mid = a + (b - a + 1) / 2;
    if (after(mid)) b = mid - 1; else a = mid;
  }
  int64_t last = a;
  if (first > last || !inside(first)) return;
  int64_t min_x = INT64_MAX, min_y = INT64_MAX, max_x = INT64_MIN, max_y = INT64_MIN;
  for (int64_t i = first; i <= last; ++i) {  // at most the clip's extent
    int64_t ma = major0 + major_step * i, mi = minor_at(i);
    int x = int(x_major ? ma : mi), y = int(x_major ? mi : ma);
    plot(c, x, y, colour, rop2);
    min_x = std::min<int64_t>(min_x, x);
    max_x = std::max<int64_t>(max_x, x);
    min_y = std::min<int64_t>(min_y, y);
    max_y = std::max<int64_t>(max_y, y);
  }
  note_touched(c, RECT{LONG(min_x), LONG(min_y), LONG(max_x + 1), LONG(max_y + 1)});
}

bool usable_pen(const DeviceContext* dc) { return dc->pen && !dc->pen->null; }
bool usable_brush(const DeviceContext* dc) { return dc->brush && !dc->brush->null; }

// Row spans of the ellipse inscribed in [l, r) x [t, b): a pixel is in when its centre
// is inside the continuous ellipse through the box's edges.
struct EllipseRows {
  int top = 0;
  std::vector<int> left, right;  // [left, right) per row; empty when left >= right
  bool in(int x, int y) const {
    int i = y - top;
    if (i < 0 || i >= int(left.size())) return false;
    return x >= left[i] && x < right[i];
  }
};

EllipseRows ellipse_rows(int l, int t, int r, int b) {
  EllipseRows rows;
  rows.top = t;
  double cx = (double(l) + r) / 2, cy = (double(t) + b) / 2;
  double ax = (double(r) - l) / 2, ay = (double(b) - t) / 2;
  for (int y = t; y < b; ++y) {
    double dy = (y + 0.5 - cy) / ay;
    double q = 1 - dy * dy;
    int a = 0, e = 0;
    if (q >= 0) {
      double half = ax * std::sqrt(q) + 1e-9;
      a = int(std::ceil(cx - half - 0.5));
      e = int(std::floor(cx + half - 0.5)) + 1;
      a = std::max(a, l);
      e = std::min(e, r);
    }
    rows.left.push_back(a);
    rows.right.push_back(std::max(a, e));
  }
  return rows;
}

}  // namespace

void fill_polygon(Canvas& c, const POINT* pts, int count, uint32_t colour, int rop2) {
  if (count < 3) return;
  int64_t ymin = pts[0].y, ymax = pts[0].y;
  for (int i = 1; i < count; ++i) {
    ymin = std::min<int64_t>(ymin, pts[i].y);
    ymax = std::max<int64_t>(ymax, pts[i].y);
  }
  int y_first = int(std::max<int64_t>(ymin, c.clip.top));
  int y_end = int(std::min<int64_t>(ymax, c.clip.bottom));
  std::vector<int64_t> xs;
  for (int y = y_first; y < y_end; ++y) {
    xs.clear();
    for (int i = 0; i < count; ++i) {
      const POINT& p = pts[i];
      const POINT& q = pts[(i + 1) % count];
      if (p.y == q.y) continue;
      const POINT& lo = p.y < q.y ? p : q;
      const POINT& hi = p.y < q.y ? q : p;
      // An edge owns the rows from its upper end up to, not including, its lower end.
      if (y < lo.y || y >= hi.y) continue;
      // The first pixel centre at or right of the crossing: ceil of the exact x.
      // 128-bit: the product of two 32-bit spans does not fit in 64 bits.
      __int128 den = int64_t(hi.y) - lo.y;
      __int128 num = __int128(lo.x) * den + __int128(int64_t(y) - lo.y) * (int64_t(hi.x) - lo.x);
      __int128 cx = num / den;  // truncates toward zero; make it the ceiling
      if (cx * den < num) ++cx;
      xs.push_back(int64_t(std::max<__int128>(std::min<__int128>(cx, INT64_MAX / 4), INT64_MIN / 4)));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t k = 0; k + 1 < xs.size(); k += 2) span(c, y, xs[k], xs[k + 1], colour, rop2);
  }
}

}  // namespace vapora_gdi

using namespace vapora_gdi;

BOOL LineTo(HDC hdc, int x, int y) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return FALSE;
  Canvas c;
  if (usable_pen(dc) && open_canvas(dc, c)) {
    line(c, dc->position.x, dc->position.y, x, y, native_colour(dc->pen->color), dc->rop2);
    close_canvas(c);
  }
  dc->position = POINT{x, y};
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* apt, int cpt) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc || !apt || cpt < 2) return FALSE;
  Canvas c;
  if (usable_pen(dc) && open_canvas(dc, c)) {
    uint32_t colour = native_colour(dc->pen->color);
    for (int i = 0; i + 1 < cpt; ++i)
      line(c, apt[i].x, apt[i].y, apt[i + 1].x, apt[i + 1].y, colour, dc->rop2);
    close_canvas(c);
  }
  return TRUE;  // Polyline neither uses nor moves the current position
}

BOOL Polygon(HDC hdc, const POINT* apt, int cpt) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc || !apt || cpt < 2) return FALSE;
  Canvas c;
  if (!open_canvas(dc, c)) return TRUE;
  if (usable_brush(dc)) fill_polygon(c, apt, cpt, native_colour(dc->brush->color), dc->rop2);
  if (usable_pen(dc)) {
    uint32_t colour = native_colour(dc->pen->color);
    for (int i = 0; i < cpt; ++i) {
      const POINT& p = apt[i];
      const POINT& q = apt[(i + 1) % cpt];
      line(c, p.x, p.y, q.x, q.y, colour, dc->rop2);
    }
  }
  close_canvas(c);
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return FALSE;
  // 64-bit from here on: edges anywhere in the 32-bit range must not overflow.
  int64_t l = std::min(left, right), r = std::max(left, right);
  int64_t t = std::min(top, bottom), b = std::max(top, bottom);
  Canvas c;
  if (!open_canvas(dc, c)) return TRUE;
  int rop = dc->rop2;
  // Only rows inside the clip are visited, however far the rectangle reaches.
  auto rows = [&](int64_t from, int64_t to, auto&& each) {
    for (int64_t y = std::max<int64_t>(from, c.clip.top); y < std::min<int64_t>(to, c.clip.bottom); ++y)
      each(int(y));
  };
  if (!usable_pen(dc)) {
    // Without an outline Windows fills one pixel less to the right and below.
    if (usable_brush(dc)) {
      uint32_t fill = native_colour(dc->brush->color);
      rows(t, b - 1, [&](int y) { span(c, y, l, r - 1, fill, rop); });
    }
    close_canvas(c);
    return TRUE;
  }
  if (r - l < 1 || b - t < 1) {
    close_canvas(c);
    return TRUE;
  }
  uint32_t pen = native_colour(dc->pen->color);
  if (usable_brush(dc)) {
    uint32_t fill = native_colour(dc->brush->color);
    rows(t + 1, b - 1, [&](int y) { span(c, y, l + 1, r - 1, fill, rop); });
  }
  // The outline: the box's border pixels, each once even when the box is one wide.
  rows(t, t + 1, [&](int y) { span(c, y, l, r, pen, rop); });
  if (b - 1 > t) rows(b - 1, b, [&](int y) { span(c, y, l, r, pen, rop); });
  rows(t + 1, b - 1, [&](int y) {
    span(c, y, l, l + 1, pen, rop);
    if (r - 1 > l) span(c, y, r - 1, r, pen, rop);
  });
  close_canvas(c);
  return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return FALSE;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  bool outline = usable_pen(dc);
  int64_t w = int64_t(right) - left - (outline ? 0 : 1);
  int64_t h = int64_t(bottom) - top - (outline ? 0 : 1);
  // Boxes beyond 32768 pixels are not drawn: their rows would be walked in full, and
  // nothing the program draws comes near that size.
  if (w < 1 || h < 1 || w > 32768 || h > 32768) return TRUE;
  // As with Rectangle, a null pen leaves one pixel less each way.
  right = int(left + w);
  bottom = int(top + h);
  Canvas c;
  if (!open_canvas(dc, c)) return TRUE;
  EllipseRows rows = ellipse_rows(left, top, right, bottom);
  uint32_t pen = outline ? native_colour(dc->pen->color) : 0;
  bool fill = usable_brush(dc);
  uint32_t brush = fill ? native_colour(dc->brush->color) : 0;
  for (int y = top; y < bottom; ++y) {
    int i = y - top;
    int a = rows.left[i], e = rows.right[i];
    if (!outline) {
      if (fill) span(c, y, a, e, brush, dc->rop2);
      continue;
    }
    // A pixel is on the outline when one of its four neighbours is outside.
    for (int x = a; x < e; ++x) {
      bool edge = !rows.in(x - 1, y) || !rows.in(x + 1, y) || !rows.in(x, y - 1) ||
                  !rows.in(x, y + 1);
      if (edge) {
        plot(c, x, y, pen, dc->rop2);
      } else if (fill) {
        plot(c, x, y, brush, dc->rop2);
      }
    }
    note_touched(c, RECT{a, y, e, y + 1});
  }
  close_canvas(c);
  return TRUE;
}

namespace {
// The classic system colours, for FillRect with a (COLOR_xxx + 1) brush value.
COLORREF system_colour(int index) {
  static const COLORREF table[31] = {
      RGB(192, 192, 192), RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 128, 128),
      RGB(192, 192, 192), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
      RGB(0, 0, 0),       RGB(255, 255, 255), RGB(192, 192, 192), RGB(192, 192, 192),
      RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255), RGB(192, 192, 192),
      RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
      RGB(255, 255, 255), RGB(0, 0, 0),       RGB(223, 223, 223), RGB(0, 0, 0),
      RGB(255, 255, 225), RGB(192, 192, 192), RGB(0, 0, 255),     RGB(16, 132, 208),
      RGB(181, 181, 181), RGB(0, 0, 128),     RGB(192, 192, 192)};
  return index >= 0 && index < 31 ? table[index] : RGB(192, 192, 192);
}
}  // namespace

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  DeviceContext* dc = find_dc(hDC);
  if (!dc || !lprc || !hbr) return 0;
  COLORREF colour;
  uintptr_t value = reinterpret_cast<uintptr_t>(hbr);
  if (value <= 31) {
    colour = system_colour(int(value) - 1);
  } else {
    Object* b = find_object(hbr);
    if (!b || b->kind != Kind::brush) return 0;
    if (b->null) return 1;
    colour = b->color;
  }
  Canvas c;
  if (!open_canvas(dc, c)) return 0;
  uint32_t fill = native_colour(colour);
  int64_t y0 = std::max<int64_t>(lprc->top, c.clip.top);
  int64_t y1 = std::min<int64_t>(lprc->bottom, c.clip.bottom);
  for (int64_t y = y0; y < y1; ++y) span(c, int(y), lprc->left, lprc->right, fill, R2_COPYPEN);
  close_canvas(c);
  return 1;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DeviceContext* dc = find_dc(hdc);
  Canvas c;
  if (!dc || !open_canvas(dc, c)) return CLR_INVALID;
  if (x < c.clip.left || x >= c.clip.right || y < c.clip.top || y >= c.clip.bottom)
    return CLR_INVALID;
  plot(c, x, y, native_colour(color), R2_COPYPEN);
  note_touched(c, RECT{x, y, x + 1, y + 1});
  close_canvas(c);
  return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DeviceContext* dc = find_dc(hdc);
  Canvas c;
  if (!dc || !open_canvas(dc, c)) return CLR_INVALID;
  if (x < c.clip.left || x >= c.clip.right || y < c.clip.top || y >= c.clip.bottom)
    return CLR_INVALID;
  return colorref_of(c.pixels[std::ptrdiff_t(y) * c.stride + x]);
}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  DeviceContext* dc = find_dc(hdc);
  Canvas d;
  if (!dc || !open_canvas(dc, d)) return FALSE;
  if (rop == BLACKNESS || rop == WHITENESS || rop == DSTINVERT) {
    int op = rop == BLACKNESS ? R2_BLACK : rop == WHITENESS ? R2_WHITE : R2_NOT;
    for (int row = 0; row < cy; ++row) span(d, y + row, x, int64_t(x) + cx, 0, op);
    close_canvas(d);
    return TRUE;
  }
  if (rop != SRCCOPY) return FALSE;
  DeviceContext* sdc = find_dc(hdcSrc);
  Canvas s;
  if (!sdc || !open_canvas(sdc, s)) return FALSE;
  // Rows are copied through a buffer, so source and destination may be one surface.
  std::vector<uint32_t> buffer;
  for (int row = 0; row < cy; ++row) {
    int sy = y1 + row, dy = y + row;
    if (sy < s.clip.top || sy >= s.clip.bottom || dy < d.clip.top || dy >= d.clip.bottom)
      continue;
    int64_t a = std::max<int64_t>({0, int64_t(s.clip.left) - x1, int64_t(d.clip.left) - x});
    int64_t b = std::min<int64_t>({int64_t(cx), int64_t(s.clip.right) - x1,
                                   int64_t(d.clip.right) - x});
    if (a >= b) continue;
    const uint32_t* src = s.pixels + std::ptrdiff_t(sy) * s.stride + x1;
    buffer.assign(src + a, src + b);
    uint32_t* dst = d.pixels + std::ptrdiff_t(dy) * d.stride + x;
    for (int64_t k = a; k < b; ++k) dst[k] = 0xFF000000u | buffer[size_t(k - a)];
    note_touched(d, RECT{LONG(x + a), dy, LONG(x + b), dy + 1});
  }
  close_canvas(d);
  return TRUE;
}
