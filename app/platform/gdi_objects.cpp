// GDI objects and device contexts: creation, selection, deletion and the live count.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <unordered_set>

#include "gdi_private.h"

namespace vapora_gdi {
namespace {

// Every handle given out is a pointer to one of these, checked against the registry
// before use, so that a stale or foreign handle fails the call instead of crashing.
std::unordered_set<Object*>& live_objects() {
  static std::unordered_set<Object*> set;
  return set;
}
std::unordered_set<DeviceContext*>& live_dcs() {
  static std::unordered_set<DeviceContext*> set;
  return set;
}

constexpr int stock_count = 18;

// Stock objects live for the whole run and are never counted or freed.
std::array<Object*, stock_count>& stock_table() {
  static std::array<Object*, stock_count> table = [] {
    std::array<Object*, stock_count> t{};
    auto make = [](Kind kind, bool null, COLORREF c) {
      Object* o = new Object;
      o->kind = kind;
      o->stock = true;
      o->null = null;
      o->color = c;
      live_objects().insert(o);
      return o;
    };
    auto make_font = [&](int height, int weight, DWORD pitch_family) {
      Object* o = make(Kind::font, false, 0);
      o->font.height = height;
      o->font.weight = weight;
      o->font.pitch_and_family = pitch_family;
      return o;
    };
    t[WHITE_BRUSH] = make(Kind::brush, false, 0xFFFFFF);
    t[LTGRAY_BRUSH] = make(Kind::brush, false, 0xC0C0C0);
    t[GRAY_BRUSH] = make(Kind::brush, false, 0x808080);
    t[DKGRAY_BRUSH] = make(Kind::brush, false, 0x404040);
    t[BLACK_BRUSH] = make(Kind::brush, false, 0x000000);
    t[NULL_BRUSH] = make(Kind::brush, true, 0);
    t[WHITE_PEN] = make(Kind::pen, false, 0xFFFFFF);
    t[BLACK_PEN] = make(Kind::pen, false, 0x000000);
    t[NULL_PEN] = make(Kind::pen, true, 0);
    // The system font is a bold 16-pixel cell; the GUI font an 8-point dialog face.
    t[OEM_FIXED_FONT] = make_font(12, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    t[ANSI_FIXED_FONT] = make_font(12, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    t[ANSI_VAR_FONT] = make_font(13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
    t[SYSTEM_FONT] = make_font(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
    t[DEVICE_DEFAULT_FONT] = make_font(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
    t[SYSTEM_FIXED_FONT] = make_font(16, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    t[DEFAULT_GUI_FONT] = make_font(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
    // A memory DC starts with a 1x1 bitmap selected.
    Object* one = make(Kind::bitmap, false, 0);
    one->surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    t[9] = one;  // index 9 is unused by Windows' stock numbering
    return t;
  }();
  return table;
}

Object* default_bitmap() { return stock_table()[9]; }

void hold(Object* o) {
  if (o) ++o->selected;
}

void free_object(Object* o) {
  live_objects().erase(o);
  if (o->surface) cairo_surface_destroy(o->surface);
  free_resolved_font(o->resolved);
  delete o;
}

// Drops a DC's hold on an object; an object whose deletion was asked for while it was
// selected goes away when the last DC lets go of it.
void release(Object* o) {
  if (!o) return;
  --o->selected;
  if (o->selected <= 0 && o->delete_pending) free_object(o);
}

Object* make_object(Kind kind) {
  Object* o = new Object;
  o->kind = kind;
  live_objects().insert(o);
  return o;
}

DeviceContext* make_dc(bool memory, cairo_surface_t* surface) {
  DeviceContext* dc = new DeviceContext;
  dc->memory = memory;
  dc->window_surface = surface;
  if (surface) cairo_surface_reference(surface);
  dc->pen = stock_object(BLACK_PEN);
  dc->brush = stock_object(WHITE_BRUSH);
  dc->font = stock_object(SYSTEM_FONT);
  hold(dc->pen);
  hold(dc->brush);
  hold(dc->font);
  if (memory) {
    dc->bitmap = default_bitmap();
    hold(dc->bitmap);
  }
  live_dcs().insert(dc);
  return dc;
}

void free_dc(DeviceContext* dc) {
  live_dcs().erase(dc);
  release(dc->pen);
  release(dc->brush);
  release(dc->font);
  release(dc->bitmap);
  if (dc->window_surface) cairo_surface_destroy(dc->window_surface);
  delete dc;
}

HDC handle_of(DeviceContext* dc) { return reinterpret_cast<HDC>(dc); }

}  // namespace

Object* find_object(HGDIOBJ h) {
  stock_table();  // the stock objects are in the registry from the first call on
  Object* o = static_cast<Object*>(h);
  return live_objects().count(o) ? o : nullptr;
}

DeviceContext* find_dc(HDC h) {
  DeviceContext* dc = reinterpret_cast<DeviceContext*>(h);
  return live_dcs().count(dc) ? dc : nullptr;
}

Object* stock_object(int index) {
  if (index < 0 || index >= stock_count || index == 9) return nullptr;
  return stock_table()[index];
}

cairo_surface_t* target_surface(DeviceContext* dc) {
  if (dc->memory) return dc->bitmap ? dc->bitmap->surface : nullptr;
  return dc->window_surface;
}

}  // namespace vapora_gdi

using namespace vapora_gdi;

HPEN CreatePen(int iStyle, int cWidth, COLORREF color) {
  (void)cWidth;  // every pen is drawn as a one-pixel cosmetic pen
  if (iStyle < PS_SOLID || iStyle > PS_INSIDEFRAME) return nullptr;
  Object* o = make_object(Kind::pen);
  o->null = iStyle == PS_NULL;
  o->color = color & 0xFFFFFF;
  return reinterpret_cast<HPEN>(o);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  Object* o = make_object(Kind::brush);
  o->color = color & 0xFFFFFF;
  return reinterpret_cast<HBRUSH>(o);
}

HGDIOBJ GetStockObject(int i) { return stock_object(i); }

HFONT CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                  DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                  DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
                  DWORD iPitchAndFamily, LPCWSTR pszFaceName) {
  // The orientation follows the escapement (Windows' compatible graphics mode);
  // character set and precisions do not change which face fontconfig picks.
  (void)cOrientation;
  (void)iCharSet;
  (void)iOutPrecision;
  (void)iClipPrecision;
  Object* o = make_object(Kind::font);
  FontParams& f = o->font;
  f.height = cHeight;
  f.width = cWidth < 0 ? -cWidth : cWidth;
  f.escapement = cEscapement;
  f.weight = cWeight;
  f.italic = bItalic != 0;
  f.underline = bUnderline != 0;
  f.strike_out = bStrikeOut != 0;
  f.quality = iQuality;
  f.pitch_and_family = iPitchAndFamily;
  // A face name is at most 32 characters, the terminator included.
  for (int i = 0; pszFaceName && i < 31 && pszFaceName[i]; ++i) {
    uint32_t c = static_cast<uint32_t>(pszFaceName[i]);
    if (c < 0x80) {
      f.face_name += static_cast<char>(c);
    } else if (c < 0x800) {
      f.face_name += static_cast<char>(0xC0 | (c >> 6));
      f.face_name += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      f.face_name += static_cast<char>(0xE0 | (c >> 12));
      f.face_name += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      f.face_name += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return reinterpret_cast<HFONT>(o);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  (void)hdc;
  if (cx <= 0 || cy <= 0 || cx > 32767 || cy > 32767) return nullptr;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, cx, cy);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  // A new bitmap is black, as a fresh compatible bitmap usually is on Windows; cairo
  // leaves the unused top byte of RGB24 zero, which our pixel writes keep as 0xFF.
  cairo_surface_flush(s);
  uint32_t* px = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
  int stride = cairo_image_surface_get_stride(s) / 4;
  for (int y = 0; y < cy; ++y) std::fill(px + y * stride, px + y * stride + cx, 0xFF000000u);
  cairo_surface_mark_dirty(s);
  Object* o = make_object(Kind::bitmap);
  o->surface = s;
  return reinterpret_cast<HBITMAP>(o);
}

HDC CreateCompatibleDC(HDC hdc) {
  (void)hdc;
  return handle_of(make_dc(true, nullptr));
}

BOOL DeleteDC(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc || !dc->memory) return FALSE;  // window DCs go back through the window half
  free_dc(dc);
  return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  DeviceContext* dc = find_dc(hdc);
  Object* o = find_object(h);
  if (!dc || !o || o->delete_pending) return nullptr;
  Object** slot = nullptr;
  switch (o->kind) {
    case Kind::pen: slot = &dc->pen; break;
    case Kind::brush: slot = &dc->brush; break;
    case Kind::font: slot = &dc->font; break;
    case Kind::bitmap:
      // Only a memory DC takes a bitmap, and a bitmap sits in one DC at a time.
      if (!dc->memory) return nullptr;
      if (o != dc->bitmap && o->selected > 0 && o != default_bitmap()) return nullptr;
      slot = &dc->bitmap;
      break;
  }
  Object* previous = *slot;
  if (previous == o) return previous;
  hold(o);
  *slot = o;
  // The caller gets the previous object back to select it again, so it must outlive
  // this call even if its deletion is pending; release() frees it only when unheld.
  release(previous);
  return previous;
}

BOOL DeleteObject(HGDIOBJ ho) {
  Object* o = find_object(ho);
  if (!o) return FALSE;
  if (o->stock) return TRUE;
  if (o->selected > 0) {
    o->delete_pending = true;
    return TRUE;
  }
  free_object(o);
  return TRUE;
}

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int old = dc->bk_mode;
  dc->bk_mode = mode;
  return old;
}

int GetBkMode(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  return dc ? dc->bk_mode : 0;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->bk_color;
  dc->bk_color = color & 0xFFFFFF;
  return old;
}

COLORREF GetBkColor(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  return dc ? dc->bk_color : CLR_INVALID;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->text_color;
  dc->text_color = color & 0xFFFFFF;
  return old;
}

COLORREF GetTextColor(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  return dc ? dc->text_color : CLR_INVALID;
}

int SetROP2(HDC hdc, int rop2) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc || rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  int old = dc->rop2;
  dc->rop2 = rop2;
  return old;
}

int GetROP2(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  return dc ? dc->rop2 : 0;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->position;
  dc->position = POINT{x, y};
  return TRUE;
}

int vapora_gdi_object_count(void) {
  int n = 0;
  for (Object* o : live_objects())
    if (!o->stock) ++n;
  for (DeviceContext* dc : live_dcs())
    if (dc->memory) ++n;
  return n;
}

int vapora_save_png(HDC hdc, const char* path) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc || !path) return 0;
  cairo_surface_t* s = target_surface(dc);
  if (!s) return 0;
  cairo_surface_flush(s);
  return cairo_surface_write_to_png(s, path) == CAIRO_STATUS_SUCCESS ? 1 : 0;
}

HDC vapora_dc_for_surface(cairo_surface_t* surface) {
  if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
  cairo_format_t format = cairo_image_surface_get_format(surface);
  if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) return nullptr;
  return handle_of(make_dc(false, surface));
}

void vapora_release_surface_dc(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  if (dc && !dc->memory) free_dc(dc);
}

cairo_surface_t* vapora_dc_surface(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  return dc ? target_surface(dc) : nullptr;
}

void vapora_dc_set_clip(HDC hdc, const RECT* clip) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return;
  dc->has_clip = clip != nullptr;
  if (clip) dc->clip = *clip;
}

void vapora_dc_set_damage_callback(HDC hdc, vapora_damage_fn fn, void* user_data) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return;
  dc->damage = fn;
  dc->damage_data = user_data;
}
