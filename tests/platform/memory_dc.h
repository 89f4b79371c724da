// The tests' one memory device context: a fresh bitmap selected into a memory DC, its
// pixels read and written through the surface behind it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <string>

#include "gdi_internal.h"
#include "platform.h"

// A text in a logical font: place, cell height, character width, escapement, weight,
// italic, pitch and family, colour, and an opaque background colour (black: transparent).
struct Text {
    const wchar_t* text;
    int x, y, height = 10, width = 0, escapement = 0, weight = 0, italic = 0;
    DWORD family = 0;
    COLORREF colour = RGB(255, 255, 255), background = RGB(0, 0, 0);
};

struct MemoryDC {
    HDC dc = CreateCompatibleDC(nullptr);
    int width, height;
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);

    MemoryDC(int w, int h, COLORREF background = 0) : width(w), height(h) {
        cairo_t* cr = cairo_create(vapora_dc_surface(dc));
        cairo_set_source_rgb(cr, GetRValue(background) / 255.0, GetGValue(background) / 255.0,
                             GetBValue(background) / 255.0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    ~MemoryDC() { SelectObject(dc, old_bitmap), DeleteObject(bitmap), DeleteDC(dc); }
    uint32_t& pixel(int x, int y) const {
        cairo_surface_t* s = vapora_dc_surface(dc);
        return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) +
                                           y * cairo_image_surface_get_stride(s))[x];
    }
    // Outside the bitmap: CLR_INVALID, as GetPixel gives.
    COLORREF at(int x, int y) const {
        const bool inside = x >= 0 && y >= 0 && x < width && y < height;
        return inside ? RGB(pixel(x, y) >> 16 & 0xFF, pixel(x, y) >> 8 & 0xFF, pixel(x, y) & 0xFF)
                      : 0xFFFFFFFF;
    }
    void set(int x, int y, COLORREF c) {
        pixel(x, y) = 0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
        cairo_surface_mark_dirty(vapora_dc_surface(dc));
    }
    void write(const Text& t) const {
        HGDIOBJ old = SelectObject(dc, CreateFontW(t.height, t.width, t.escapement, 0, t.weight,
                                                   t.italic, 0, 0, 0, 0, 0, 0, t.family, nullptr));
        SetBkMode(dc, t.background ? OPAQUE : TRANSPARENT);
        SetBkColor(dc, t.background);
        SetTextColor(dc, t.colour);
        TextOutW(dc, t.x, t.y, t.text, static_cast<int>(std::wcslen(t.text)));
        DeleteObject(SelectObject(dc, old));
    }
    // Pixels in [x0, x1) x [y0, y1) for which keep(colour) holds.
    template <class Keep>
    int count(int x0, int y0, int x1, int y1, Keep keep) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += keep(at(x, y));
        return n;
    }
    // Pixels that differ from other's, in r or (r empty) everywhere; all of them when the
    // two differ in size.
    int differing(const MemoryDC& other, RECT r = {0, 0, 0, 0}) const {
        if (other.width != width || other.height != height) return width * height + 1;
        int n = 0;
        for (int y = r.top; y < (r.bottom ? r.bottom : height); ++y)
            for (int x = r.left; x < (r.right ? r.right : width); ++x)
                n += at(x, y) != other.at(x, y);
        return n;
    }
};

// A PNG file in a memory DC of its size (1 x 1 and black when it cannot be read).
inline std::shared_ptr<MemoryDC> read_png(const std::string& path) {
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    auto m = std::make_shared<MemoryDC>(std::max(1, cairo_image_surface_get_width(png)),
                                        std::max(1, cairo_image_surface_get_height(png)));
    cairo_t* cr = cairo_create(vapora_dc_surface(m->dc));
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(png);
    return m;
}
