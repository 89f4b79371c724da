// What the windowing half needs from the drawing half on the non-Windows build: device
// contexts over a window's backing surface. Not part of the Win32 subset; diagram/ and
// app/ never include this.
#pragma once

#include <cairo.h>

#include "win32_types.h"

// A DC that draws into the given image surface (CAIRO_FORMAT_RGB24 or ARGB32), with the
// Win32 defaults: black pen, white brush, system font, opaque white background, black
// text, R2_COPYPEN, current position (0, 0). Holds a reference on the surface until it
// is released. Such DCs are not GDI objects of the program: vapora_gdi_object_count()
// ignores them and DeleteDC refuses them. Returns NULL for a null or non-image surface.
HDC vapora_dc_for_surface(cairo_surface_t* surface);

// Selects the stock objects back (so that the program's own pens, brushes and fonts can
// be deleted) and frees the DC. A NULL or unknown handle is ignored.
void vapora_release_surface_dc(HDC hdc);

// The image surface a DC draws into: the window surface, or a memory DC's selected
// bitmap. Borrowed, not referenced; NULL for an unknown handle.
cairo_surface_t* vapora_dc_surface(HDC hdc);

// Limits every drawing call on the DC to the rectangle (BeginPaint's update area), or
// lifts the limit with NULL. The rectangle is clipped to the surface.
void vapora_dc_set_clip(HDC hdc, const RECT* clip);

// Called after each drawing call on the DC with the rectangle of pixels it may have
// changed (already clipped), so that the window can ask for that area to be shown.
// NULL removes the callback.
typedef void (*vapora_damage_fn)(void* user_data, const RECT* changed);
void vapora_dc_set_damage_callback(HDC hdc, vapora_damage_fn fn, void* user_data);
