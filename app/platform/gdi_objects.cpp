// GDI objects and device contexts: creation, selection, deletion, the DC's state and
// the live count.
#include <algorithm>
#include <unordered_set>

#include "gdi_private.h"

namespace vapora_gdi {
namespace {

// Every handle given out is a pointer to one of these, checked against the registry
// before use, so that a stale or foreign handle fails the call instead of crashing.
std::unordered_set<Object*> live_objects;
std::unordered_set<DeviceContext*> live_dcs;

Object* make_object(Kind kind, bool stock = false) {
    Object* o = new Object;
    o->kind = kind;
    o->stock = stock;
    live_objects.insert(o);
    return o;
}

// What a new DC holds, as on Windows: black pen, white brush, the bold 16-pixel system
// font and, in a memory DC, a 1 x 1 bitmap.
struct Defaults {
    Object* pen = make_object(Kind::pen, true);
    Object* brush = make_object(Kind::brush, true);
    Object* font = make_object(Kind::font, true);
    Object* bitmap = make_object(Kind::bitmap, true);
    Defaults() {
        brush->color = 0xFFFFFF;
        font->font.height = 16;
        font->font.weight = FW_BOLD;
        font->font.pitch_and_family = VARIABLE_PITCH | FF_SWISS;
        bitmap->surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    }
};
const Defaults& defaults() {
    static const Defaults d;
    return d;
}

void free_object(Object* o) {
    live_objects.erase(o);
    if (o->surface) cairo_surface_destroy(o->surface);
    delete o;
}

DeviceContext* make_dc(bool memory, cairo_surface_t* surface) {
    const Defaults& d = defaults();
    DeviceContext* dc = new DeviceContext;
    dc->memory = memory;
    dc->own_surface = surface ? cairo_surface_reference(surface) : nullptr;
    dc->pen = d.pen;
    dc->brush = d.brush;
    dc->font = d.font;
    dc->bitmap = memory ? d.bitmap : nullptr;
    for (Object* o : {dc->pen, dc->brush, dc->font, dc->bitmap})
        if (o) ++o->selected;
    live_dcs.insert(dc);
    return dc;
}

void free_dc(DeviceContext* dc) {
    stroke_polyline(dc);
    live_dcs.erase(dc);
    for (Object* o : {dc->pen, dc->brush, dc->font, dc->bitmap})
        if (o) --o->selected;
    if (dc->own_surface) cairo_surface_destroy(dc->own_surface);
    delete dc;
}

HDC handle_of(DeviceContext* dc) {
    return reinterpret_cast<HDC>(dc);
}

}  // namespace

Object* find_object(HGDIOBJ h) {
    auto it = live_objects.find(static_cast<Object*>(h));
    return it == live_objects.end() ? nullptr : *it;
}

DeviceContext* find_dc(HDC h) {
    auto it = live_dcs.find(reinterpret_cast<DeviceContext*>(h));
    return it == live_dcs.end() ? nullptr : *it;
}

cairo_surface_t* target_surface(const DeviceContext* dc) {
    if (dc->memory) return dc->bitmap->surface;
    return dc->own_surface;
}

bool pixel_exact(cairo_surface_t* s) {
    if (cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE) return false;
    double sx = 1, sy = 1;
    cairo_surface_get_device_scale(s, &sx, &sy);
    cairo_format_t f = cairo_image_surface_get_format(s);
    return sx == 1 && sy == 1 && (f == CAIRO_FORMAT_RGB24 || f == CAIRO_FORMAT_ARGB32);
}

void stroke_polyline(DeviceContext* dc) {
    if (!dc->polyline) return;
    set_source(dc->polyline, dc->polyline_colour);
    cairo_stroke(dc->polyline);
    cairo_destroy(dc->polyline);
    dc->polyline = nullptr;
}

cairo_t* open_cairo(DeviceContext* dc) {
    stroke_polyline(dc);
    return cairo_create(target_surface(dc));
}

void set_source(cairo_t* cr, COLORREF c) {
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

void report_damage(const DeviceContext* dc, RECT r) {
    if (dc->damage && r.left < r.right && r.top < r.bottom) dc->damage(dc->damage_data, &r);
}

}  // namespace vapora_gdi

using namespace vapora_gdi;

HPEN CreatePen(int iStyle, int, COLORREF color) {
    // Every pen is drawn as a one-pixel cosmetic pen.
    if (iStyle != PS_SOLID && iStyle != PS_NULL) return nullptr;
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

HFONT CreateFontW(int cHeight, int cWidth, int cEscapement, int, int cWeight, DWORD bItalic, DWORD,
                  DWORD, DWORD, DWORD, DWORD, DWORD, DWORD iPitchAndFamily, LPCWSTR) {
    Object* o = make_object(Kind::font);
    o->font = FontParams{cHeight,      cWidth < 0 ? -cWidth : cWidth,
                         cEscapement,  cWeight,
                         bItalic != 0, iPitchAndFamily};
    return reinterpret_cast<HFONT>(o);
}

HBITMAP CreateCompatibleBitmap(HDC, int cx, int cy) {
    if (cx <= 0 || cy <= 0 || cx > 32767 || cy > 32767) return nullptr;
    // A fresh image surface is all zero: black, as a new compatible bitmap usually is.
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, cx, cy);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    Object* o = make_object(Kind::bitmap);
    o->surface = s;
    return reinterpret_cast<HBITMAP>(o);
}

HDC CreateCompatibleDC(HDC) {
    return handle_of(make_dc(true, nullptr));
}

BOOL DeleteDC(HDC hdc) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc || !dc->memory) return FALSE;  // surface DCs go back through their owner
    free_dc(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    DeviceContext* dc = find_dc(hdc);
    Object* o = find_object(h);
    if (!dc || !o) return nullptr;
    stroke_polyline(dc);
    Object** slot = o->kind == Kind::pen     ? &dc->pen
                    : o->kind == Kind::brush ? &dc->brush
                    : o->kind == Kind::font  ? &dc->font
                                             : &dc->bitmap;
    // Only a memory DC takes a bitmap, and a bitmap sits in one DC at a time.
    if (o->kind == Kind::bitmap && (!dc->memory || (o->selected > 0 && !o->stock && o != *slot)))
        return nullptr;
    Object* previous = *slot;
    --previous->selected;
    ++o->selected;
    *slot = o;
    return previous;
}

BOOL DeleteObject(HGDIOBJ ho) {
    Object* o = find_object(ho);
    if (!o || o->selected > 0) return FALSE;
    if (!o->stock) free_object(o);
    return TRUE;
}

int SetBkMode(HDC hdc, int mode) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    std::swap(dc->bk_mode, mode);
    return mode;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc) return 0xFFFFFFFF;  // CLR_INVALID
    std::swap(dc->bk_color, color);
    return color;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc) return 0xFFFFFFFF;  // CLR_INVALID
    std::swap(dc->text_color, color);
    return color;
}

int SetROP2(HDC hdc, int rop2) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc || (rop2 != R2_NOT && rop2 != R2_COPYPEN)) return 0;
    std::swap(dc->rop2, rop2);
    return rop2;
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
    for (Object* o : live_objects) n += !o->stock;
    for (DeviceContext* dc : live_dcs) n += dc->memory;
    return n;
}

HDC vapora_dc_for_surface(cairo_surface_t* surface) {
    return surface ? handle_of(make_dc(false, surface)) : nullptr;
}

void vapora_release_surface_dc(HDC hdc) {
    DeviceContext* dc = find_dc(hdc);
    if (dc && !dc->memory) free_dc(dc);
}

cairo_surface_t* vapora_dc_surface(HDC hdc) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc) return nullptr;
    stroke_polyline(dc);
    cairo_surface_flush(target_surface(dc));
    return target_surface(dc);
}

void vapora_dc_set_damage_callback(HDC hdc, vapora_damage_fn fn, void* user_data) {
    DeviceContext* dc = find_dc(hdc);
    if (!dc) return;
    dc->damage = fn;
    dc->damage_data = user_data;
}
