// The tests' one memory device context: a fresh black bitmap selected into a memory DC,
// its pixels read back from the surface behind it.
#pragma once

#include <cstdint>

#include "gdi_internal.h"
#include "platform.h"

struct MemoryDC {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap;
    HGDIOBJ old_bitmap;
    int width, height;

    MemoryDC(int w, int h) : bitmap(CreateCompatibleBitmap(dc, w, h)), width(w), height(h)
    {
        old_bitmap = SelectObject(dc, bitmap);
    }
    ~MemoryDC()
    {
        SelectObject(dc, old_bitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    COLORREF at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 0xFFFFFFFF;
        cairo_surface_t* s = vapora_dc_surface(dc);
        cairo_surface_flush(s);
        const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    void set(int x, int y, COLORREF c)
    {
        cairo_surface_t* s = vapora_dc_surface(dc);
        cairo_surface_flush(s);
        unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        reinterpret_cast<uint32_t*>(row)[x] = 0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
        cairo_surface_mark_dirty(s);
    }
    int differing(const MemoryDC& other) const
    {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                n += at(x, y) != other.at(x, y);
        return n;
    }
    // Pixels in [x0, x1) x [y0, y1) for which keep(colour) holds.
    template <class Keep>
    int count(int x0, int y0, int x1, int y1, Keep keep) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += keep(at(x, y)) ? 1 : 0;
        return n;
    }
    int count_colour(int x0, int y0, int x1, int y1, COLORREF c) const
    {
        return count(x0, y0, x1, y1, [c](COLORREF p) { return p == c; });
    }
    // Text has smoothed edges: its presence shows as pixels other than the background.
    int count_other(int x0, int y0, int x1, int y1, COLORREF background) const
    {
        return count(x0, y0, x1, y1, [background](COLORREF p) { return p != background && p != 0xFFFFFFFF; });
    }
};
