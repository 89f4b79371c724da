// A memory device context over a 24-bit bitmap, for drawing and reading pixels back.
#pragma once

#include <cstdlib>

#include "platform.h"

struct Canvas {
    HDC hdc;
    HBITMAP bitmap;
    HGDIOBJ old_bitmap;
    int width, height;
};

inline Canvas open_canvas(int width, int height)
{
    Canvas c;
    c.hdc = CreateCompatibleDC(nullptr);
    c.bitmap = CreateCompatibleBitmap(c.hdc, width, height);
    c.old_bitmap = SelectObject(c.hdc, c.bitmap);
    c.width = width;
    c.height = height;
    // Start from black, like the chart's own first step.
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    RECT all = {0, 0, width, height};
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

inline COLORREF pixel(const Canvas& c, int x, int y)
{
    return GetPixel(c.hdc, x, y);
}

// Pixels of the given colour in the box [x0, x1) x [y0, y1).
inline int count_colour(const Canvas& c, int x0, int y0, int x1, int y1, COLORREF colour)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (GetPixel(c.hdc, x, y) == colour)
                ++n;
    return n;
}

// Pixels different from the given colour in the box.
inline int count_other(const Canvas& c, int x0, int y0, int x1, int y1, COLORREF colour)
{
    return (x1 - x0) * (y1 - y0) - count_colour(c, x0, y0, x1, y1, colour);
}

// Whether the colour is found within +-radius pixels of (x, y).
inline bool colour_near(const Canvas& c, int x, int y, int radius, COLORREF colour)
{
    return count_colour(c, x - radius, y - radius, x + radius + 1, y + radius + 1, colour) > 0;
}

// Pixels in the box that are a blend of background and ink (text is drawn with
// smoothed edges, so few of its pixels are the pure ink colour): each channel lies the
// same fraction (at least a quarter) of the way from background to ink, within 3 levels.
inline int count_ink(const Canvas& c, int x0, int y0, int x1, int y1, COLORREF ink,
                     COLORREF background)
{
    const int ink_c[3] = {GetRValue(ink), GetGValue(ink), GetBValue(ink)};
    const int bg_c[3] = {GetRValue(background), GetGValue(background), GetBValue(background)};
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const COLORREF p = GetPixel(c.hdc, x, y);
            if (p == background)
                continue;
            const int px[3] = {GetRValue(p), GetGValue(p), GetBValue(p)};
            // The fraction from the channel with the widest span.
            int widest = 0;
            for (int k = 1; k < 3; ++k)
                if (std::abs(ink_c[k] - bg_c[k]) > std::abs(ink_c[widest] - bg_c[widest]))
                    widest = k;
            const double span = ink_c[widest] - bg_c[widest];
            if (span == 0)
                continue;
            const double a = (px[widest] - bg_c[widest]) / span;
            if (a < 0.25 || a > 1.0001)  // a faint fringe says nothing about the ink
                continue;
            bool on_blend = true;
            for (int k = 0; k < 3; ++k)
                if (std::abs(px[k] - (bg_c[k] + a * (ink_c[k] - bg_c[k]))) > 3)
                    on_blend = false;
            n += on_blend;
        }
    return n;
}
