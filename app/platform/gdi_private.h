// The insides of the drawing half, shared by its own gdi*.cpp files only.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "gdi.h"
#include "gdi_internal.h"

namespace vapora_gdi {

enum class Kind { pen, brush, font, bitmap };

// A logical font as CreateFontW was given it, plus what it resolves to in cairo
// (worked out on first use, kept for the life of the font).
struct FontParams {
  int height = 0;
  int width = 0;
  int escapement = 0;
  int weight = 0;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  DWORD quality = 0;
  DWORD pitch_and_family = 0;
  std::string face_name;  // UTF-8; empty when none was given
};

struct ResolvedFont {
  cairo_font_face_t* face = nullptr;
  cairo_scaled_font_t* scaled = nullptr;  // upright, for measuring
  cairo_font_options_t* options = nullptr;
  double em = 0;         // font size in pixels (the em square)
  double x_scale = 1;    // horizontal stretch for a requested average width
  int cell_height = 0;   // ascent + descent, in pixels
  int ascent = 0;        // baseline below the cell's top, in pixels
};

struct Object {
  Kind kind = Kind::pen;
  bool stock = false;
  bool delete_pending = false;  // DeleteObject came while it was still selected
  int selected = 0;             // how many DCs hold it
  // pen and brush
  bool null = false;
  COLORREF color = 0;
  // font
  FontParams font;
  ResolvedFont resolved;
  // bitmap
  cairo_surface_t* surface = nullptr;
};

struct DeviceContext {
  bool memory = false;               // made by CreateCompatibleDC; counted, DeleteDC frees it
  cairo_surface_t* window_surface = nullptr;  // referenced; only for window DCs
  Object* pen = nullptr;
  Object* brush = nullptr;
  Object* font = nullptr;
  Object* bitmap = nullptr;          // memory DCs only
  COLORREF text_color = 0x000000;
  COLORREF bk_color = 0xFFFFFF;
  int bk_mode = OPAQUE;
  int rop2 = R2_COPYPEN;
  POINT position = {0, 0};
  bool has_clip = false;
  RECT clip = {0, 0, 0, 0};
  vapora_damage_fn damage = nullptr;
  void* damage_data = nullptr;
};

// Registry lookups: nullptr for a handle that is not a live object of that kind.
Object* find_object(HGDIOBJ h);
DeviceContext* find_dc(HDC h);
Object* stock_object(int index);

// The surface a DC draws into right now (nullptr if none).
cairo_surface_t* target_surface(DeviceContext* dc);

// The pixels of a DC's surface for direct rasterisation, with the clip rectangle
// already intersected with the surface. Opening flushes cairo; closing marks the
// touched area dirty and tells the DC's damage callback.
struct Canvas {
  DeviceContext* dc = nullptr;
  cairo_surface_t* surface = nullptr;
  uint32_t* pixels = nullptr;
  int stride = 0;  // in pixels
  RECT clip = {0, 0, 0, 0};
  RECT touched = {0, 0, 0, 0};
  bool any = false;
};
bool open_canvas(DeviceContext* dc, Canvas& canvas);
void close_canvas(Canvas& canvas);
void note_touched(Canvas& canvas, const RECT& r);
uint32_t native_colour(COLORREF c);
COLORREF colorref_of(uint32_t native);

// Fills a polygon by the even-odd rule with pixel centres on integer coordinates,
// left and top edges in, right and bottom out; each pixel touched once.
void fill_polygon(Canvas& canvas, const POINT* pts, int count, uint32_t colour, int rop2);

// Resolves a font to a cairo face and pixel metrics on first use; nullptr if the face
// cannot be had. free_resolved_font() gives back what resolving took.
const ResolvedFont* resolve_font(Object* font);
void free_resolved_font(ResolvedFont& r);

}  // namespace vapora_gdi
