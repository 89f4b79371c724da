// A memory device context over a 24-bit bitmap, for drawing and reading pixels back.
#pragma once

#include "platform.h"

struct Canvas {
    HDC hdc;
    HBITMAP bitmap;
    HGDIOBJ old_bitmap;
};

// A black canvas, as the chart's own first step leaves the client area.
inline Canvas open_canvas(int width, int height)
{
    Canvas c;
    c.hdc = CreateCompatibleDC(nullptr);
    c.bitmap = CreateCompatibleBitmap(c.hdc, width, height);
    c.old_bitmap = SelectObject(c.hdc, c.bitmap);
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    const RECT all = {0, 0, width, height};
    FillRect(c.hdc, &all, black);
    DeleteObject(black);
    return c;
}

inline void close_canvas(Canvas* c)
{
    SelectObject(c->hdc, c->old_bitmap);
    DeleteObject(c->bitmap);
    DeleteDC(c->hdc);
}

inline COLORREF pixel(const Canvas& c, int x, int y) { return GetPixel(c.hdc, x, y); }

// Pixels in the box [x0, x1) x [y0, y1) for which keep(colour) holds.
template <class Keep>
int count_if(const Canvas& c, int x0, int y0, int x1, int y1, Keep keep)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += keep(GetPixel(c.hdc, x, y)) ? 1 : 0;
    return n;
}

inline int count_colour(const Canvas& c, int x0, int y0, int x1, int y1, COLORREF colour)
{
    return count_if(c, x0, y0, x1, y1, [colour](COLORREF p) { return p == colour; });
}

// Pixels other than the background: text is drawn with smoothed edges, so its presence is
// told by what is not background rather than by its pure ink colour.
inline int count_other(const Canvas& c, int x0, int y0, int x1, int y1, COLORREF background)
{
    return count_if(c, x0, y0, x1, y1, [background](COLORREF p) { return p != background; });
}

inline bool colour_near(const Canvas& c, int x, int y, int radius, COLORREF colour)
{
    return count_colour(c, x - radius, y - radius, x + radius + 1, y + radius + 1, colour) > 0;
}
