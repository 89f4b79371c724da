// Fonts and text: a logical font becomes a fontconfig face through cairo, sized so that
// its cell (ascent + descent) is the requested height; text is placed by the top-left
// corner of its cell and rotated about that corner by the escapement.
#include <algorithm>
#include <cmath>
#include <string>

#include "gdi_private.h"

namespace vapora_gdi {
namespace {

constexpr double measure_size = 100.0;  // metrics are taken at this size and scaled
constexpr double pi = 3.14159265358979323846;

// Swiss is sans, Roman serif, Modern monospace, anything else sans. Each asks first for
// the Liberation face, which has the metrics of the face Windows picks for that family,
// so that texts placed at fixed pixel positions fit as they do there; fontconfig falls
// back to a face of like metrics or to the generic family when it is not installed.
const char* family_for(const FontParams& f) {
  if (!f.face_name.empty()) return f.face_name.c_str();
  switch (f.pitch_and_family & 0xF0) {
    case FF_ROMAN: return "Liberation Serif";
    case FF_MODERN: return "Liberation Mono";
    case FF_SWISS: return "Liberation Sans";
    default:
      return (f.pitch_and_family & 0x03) == FIXED_PITCH ? "Liberation Mono"
                                                        : "Liberation Sans";
  }
}

cairo_scaled_font_t* scaled_font(cairo_font_face_t* face, double sx, double sy,
                                 const cairo_font_options_t* options) {
  cairo_matrix_t font_matrix, ctm;
  cairo_matrix_init_scale(&font_matrix, sx, sy);
  cairo_matrix_init_identity(&ctm);
  return cairo_scaled_font_create(face, &font_matrix, &ctm, options);
}

void append_utf8(std::string& out, uint32_t c) {
  if (c == 0) c = ' ';  // cairo's text calls stop at a NUL
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

std::string to_utf8(LPCWSTR text, int count) {
  std::string out;
  out.reserve(size_t(count));
  for (int i = 0; i < count; ++i) append_utf8(out, uint32_t(text[i]));
  return out;
}

// The advance of the text along its baseline, in whole pixels: the width of its cell.
int text_width(const ResolvedFont& rf, const std::string& utf8) {
  cairo_text_extents_t e;
  cairo_scaled_font_text_extents(rf.scaled, utf8.c_str(), &e);
  return int(std::lround(e.x_advance));
}

}  // namespace

void free_resolved_font(ResolvedFont& r) {
  if (r.scaled) cairo_scaled_font_destroy(r.scaled);
  if (r.face) cairo_font_face_destroy(r.face);
  if (r.options) cairo_font_options_destroy(r.options);
  r = ResolvedFont{};
}

const ResolvedFont* resolve_font(Object* font) {
  if (!font || font->kind != Kind::font) return nullptr;
  ResolvedFont& r = font->resolved;
  if (r.scaled) return &r;
  const FontParams& f = font->font;
  r.face = cairo_toy_font_face_create(
      family_for(f), f.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
      f.weight >= FW_SEMIBOLD ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  r.options = cairo_font_options_create();
  // Unhinted metrics: advances scale linearly, so a text's width does not depend on
  // where it is drawn or at what angle.
  cairo_font_options_set_hint_metrics(r.options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(r.options, f.quality == NONANTIALIASED_QUALITY
                                                  ? CAIRO_ANTIALIAS_NONE
                                                  : CAIRO_ANTIALIAS_GRAY);
  cairo_scaled_font_t* probe = scaled_font(r.face, measure_size, measure_size, r.options);
  if (cairo_scaled_font_status(probe) != CAIRO_STATUS_SUCCESS) {
    cairo_scaled_font_destroy(probe);
    free_resolved_font(r);
    return nullptr;
  }
  cairo_font_extents_t fe;
  cairo_scaled_font_extents(probe, &fe);
  double cell_per_em = (fe.ascent + fe.descent) / measure_size;
  if (cell_per_em <= 0) cell_per_em = 1.0;
  // Positive heights are cell heights, negative ones character (em) heights; zero is a
  // default size.
  int h = f.height == 0 ? 16 : f.height;
  if (h > 0) {
    r.cell_height = h;
    r.em = h / cell_per_em;
  } else {
    r.em = -double(h);
    r.cell_height = int(std::lround(r.em * cell_per_em));
  }
  r.ascent = int(std::lround(r.em * fe.ascent / measure_size));
  // A width stretches the face so that its average character, taken as the mean of the
  // lowercase letters, is that many pixels wide.
  r.x_scale = 1.0;
  if (f.width > 0) {
    cairo_text_extents_t te;
    cairo_scaled_font_text_extents(probe, "abcdefghijklmnopqrstuvwxyz", &te);
    double average = te.x_advance / 26.0 / measure_size * r.em;
    if (average > 0) r.x_scale = f.width / average;
  }
  cairo_scaled_font_destroy(probe);
  r.scaled = scaled_font(r.face, r.em * r.x_scale, r.em, r.options);
  return &r;
}

}  // namespace vapora_gdi

using namespace vapora_gdi;

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, SIZE* psizl) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc || !psizl || c < 0 || (c > 0 && !lpString)) return FALSE;
  const ResolvedFont* rf = resolve_font(dc->font);
  if (!rf) return FALSE;
  psizl->cx = c == 0 ? 0 : text_width(*rf, to_utf8(lpString, c));
  psizl->cy = rf->cell_height;
  return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc || c < 0 || (c > 0 && !lpString)) return FALSE;
  if (c == 0) return TRUE;
  const ResolvedFont* rf = resolve_font(dc->font);
  if (!rf) return FALSE;
  Canvas canvas;
  if (!open_canvas(dc, canvas)) return FALSE;
  std::string utf8 = to_utf8(lpString, c);
  int width = text_width(*rf, utf8);
  int height = rf->cell_height;

  // The cell's corners: along the baseline direction (cos a, -sin a) on a y-down screen
  // for a counterclockwise angle a, and down the cell at right angles to it.
  double a = dc->font->font.escapement / 10.0 * pi / 180.0;
  double ca = std::cos(a), sa = std::sin(a);
  if (dc->font->font.escapement % 900 == 0) {  // exact quarter turns stay exact
    ca = std::lround(ca);
    sa = std::lround(sa);
  }
  auto corner = [&](double u, double v) {
    return POINT{LONG(std::lround(x + u * ca + v * sa)), LONG(std::lround(y - u * sa + v * ca))};
  };
  POINT cell[4] = {corner(0, 0), corner(width, 0), corner(width, height), corner(0, height)};
  RECT bounds = {cell[0].x, cell[0].y, cell[0].x, cell[0].y};
  for (const POINT& p : cell) {
    bounds.left = std::min(bounds.left, p.x);
    bounds.top = std::min(bounds.top, p.y);
    bounds.right = std::max(bounds.right, p.x);
    bounds.bottom = std::max(bounds.bottom, p.y);
  }
  if (dc->bk_mode == OPAQUE) fill_polygon(canvas, cell, 4, native_colour(dc->bk_color), R2_COPYPEN);
  cairo_surface_mark_dirty(canvas.surface);

  cairo_t* cr = cairo_create(canvas.surface);
  const RECT& clip = canvas.clip;
  cairo_rectangle(cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
  cairo_clip(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, -a);
  cairo_set_font_face(cr, rf->face);
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, rf->em * rf->x_scale, rf->em);
  cairo_set_font_matrix(cr, &m);
  cairo_set_font_options(cr, rf->options);
  COLORREF tc = dc->text_color;
  cairo_set_source_rgb(cr, GetRValue(tc) / 255.0, GetGValue(tc) / 255.0, GetBValue(tc) / 255.0);
  // A first glyph that reaches left of its origin (a negative left bearing) is moved
  // in by that fraction of a pixel, so that the ink starts at the text's corner.
  cairo_text_extents_t ink;
  cairo_scaled_font_text_extents(rf->scaled, utf8.c_str(), &ink);
  double lead = ink.width > 0 && ink.x_bearing < 0 ? std::ceil(-ink.x_bearing) : 0.0;
  cairo_move_to(cr, lead, rf->ascent);
  cairo_show_text(cr, utf8.c_str());
  // Underline and strike-out: bars across the cell, a fraction of the em thick.
  double bar = std::max(1.0, std::round(rf->em / 14.0));
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  if (dc->font->font.underline) {
    cairo_rectangle(cr, 0, rf->ascent + std::max(1.0, std::round(rf->em / 10.0)), width, bar);
    cairo_fill(cr);
  }
  if (dc->font->font.strike_out) {
    cairo_rectangle(cr, 0, rf->ascent - std::round(rf->em * 0.3), width, bar);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  cairo_surface_flush(canvas.surface);
  // Glyphs may overhang their cell a little (italics); widen the shown area for them.
  int slack = int(std::ceil(rf->em / 4)) + 1;
  note_touched(canvas, RECT{bounds.left - slack, bounds.top - slack, bounds.right + slack,
                            bounds.bottom + slack});
  close_canvas(canvas);
  return TRUE;
}
