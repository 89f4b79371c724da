// What the windowing half and the command-line chart need from the drawing half on
// the non-Windows build: device contexts over cairo surfaces. Not part of the Win32
// subset; diagram/ and app/ never include this.
#pragma once

#include <cairo.h>

#include "win32_types.h"

// A DC that draws into the given surface, with the Win32 defaults: black pen, white
// brush, system font, opaque white background, black text, R2_COPYPEN, current
// position (0, 0). An RGB24 or ARGB32 image surface of device scale 1 gets the Win32
// pixel rules; any other surface (SVG, PDF, a scaled image) gets cairo paths. Holds a
// reference on the surface until released. Such DCs are not counted as GDI objects and
// DeleteDC refuses them. NULL for a null surface.
HDC vapora_dc_for_surface(cairo_surface_t* surface);

// Selects the defaults back (so that the program's own objects can be deleted) and
// frees the DC. A NULL or unknown handle is ignored.
void vapora_release_surface_dc(HDC hdc);

// The surface a DC draws into, everything drawn so far in it and flushed for direct
// access: its own, or a memory DC's selected bitmap. Borrowed; NULL for an unknown handle.
cairo_surface_t* vapora_dc_surface(HDC hdc);

// Called after each drawing call on the DC with the rectangle of pixels it may have
// changed, so that the window can ask for that area to be shown.
// NULL removes the callback.
typedef void (*vapora_damage_fn)(void* user_data, const RECT* changed);
void vapora_dc_set_damage_callback(HDC hdc, vapora_damage_fn fn, void* user_data);
