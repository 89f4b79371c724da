// The insides of the drawing half, shared by its own gdi*.cpp files only.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "gdi.h"
#include "gdi_internal.h"

namespace vapora_gdi {

enum class Kind { pen, brush, font, bitmap };

// A logical font as CreateFontW was given it.
struct FontParams {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int weight = 0;
    bool italic = false;
    DWORD pitch_and_family = 0;
};

struct Object {
    Kind kind = Kind::pen;
    bool stock = false;  // a DC's initial object: never counted, never freed
    int selected = 0;    // how many DCs hold it
    bool null = false;   // the null pen
    COLORREF color = 0;
    FontParams font;
    cairo_surface_t* surface = nullptr;  // bitmap
};

struct DeviceContext {
    bool memory = false;                     // made by CreateCompatibleDC; counted
    cairo_surface_t* own_surface = nullptr;  // referenced; DCs over a given surface
    Object* pen = nullptr;
    Object* brush = nullptr;
    Object* font = nullptr;
    Object* bitmap = nullptr;  // memory DCs only
    COLORREF text_color = 0x000000;
    COLORREF bk_color = 0xFFFFFF;
    int bk_mode = OPAQUE;
    int rop2 = R2_COPYPEN;
    POINT position = {0, 0};
    vapora_damage_fn damage = nullptr;
    void* damage_data = nullptr;
    // On a vector surface, successive LineTo calls of one pen build one path, stroked
    // when anything else is drawn, so that a traced curve is one path and not thousands.
    cairo_t* polyline = nullptr;
    COLORREF polyline_colour = 0;
};

// nullptr for a handle that is not a live DC or object.
DeviceContext* find_dc(HDC h);
Object* find_object(HGDIOBJ h);
// The surface a DC draws into right now (nullptr if none).
cairo_surface_t* target_surface(const DeviceContext* dc);
// Whether the DC's surface takes the Win32 pixel rules (an unscaled image surface).
bool pixel_exact(cairo_surface_t* s);

// A cairo context over the DC's surface; strokes the pending polyline first.
cairo_t* open_cairo(DeviceContext* dc);
void stroke_polyline(DeviceContext* dc);
void set_source(cairo_t* cr, COLORREF c);
// Tells the DC's damage callback that the rectangle (in surface pixels) may have
// changed.
void report_damage(const DeviceContext* dc, RECT r);

}  // namespace vapora_gdi
