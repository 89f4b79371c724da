// The Win32 pixel rules the chart relies on, text placed by its cell, and the objects a
// drawing step must give back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_dc.h"

namespace {

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF red = RGB(255, 0, 0);

// The canvas as rows of '#' (anything not black) and '.', over [0, w) x [0, h).
std::vector<std::string> picture(const MemoryDC& c, int w, int h)
{
    std::vector<std::string> rows(h, std::string(w, '.'));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows[y][x] = c.at(x, y) == black ? '.' : '#';
    return rows;
}

TEST(GdiPixels, LinesRectanglesPolygonsAndEllipsesCoverWhatWin32Covers)
{
    struct Case {
        const char* what;
        bool null_pen;
        void (*draw)(HDC);
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"LineTo leaves out its end pixel; halves round away from the start", false,
         [](HDC dc) { MoveToEx(dc, 0, 0, nullptr); LineTo(dc, 6, 2); LineTo(dc, 6, 5); },
         {"##....", "..###.", ".....##", "......#", "......#", "......."}},
        {"a rectangle covers its left and top edges, not its right and bottom", false,
         [](HDC dc) { Rectangle(dc, 1, 1, 5, 4); },
         {".......", ".####..", ".####..", ".####..", ".......", "......."}},
        {"with the null pen one pixel less each way", true,
         [](HDC dc) { Rectangle(dc, 1, 1, 5, 4); },
         {".......", ".###...", ".###...", ".......", ".......", "......."}},
        {"a polygon's fill keeps its left and top edges", true,
         [](HDC dc) { const POINT p[3] = {{0, 0}, {6, 0}, {0, 4}}; Polygon(dc, p, 3); },
         {"######.", "#####..", "###....", "##.....", ".......", "......."}},
        {"an ellipse is inscribed in its box", false, [](HDC dc) { Ellipse(dc, 0, 0, 6, 6); },
         {".####..", "######.", "######.", "######.", "######.", ".####.."}},
    };
    for (const Case& k : cases) {
        MemoryDC c(7, 6);
        HPEN pen = CreatePen(k.null_pen ? PS_NULL : PS_SOLID, 1, white);
        HBRUSH brush = CreateSolidBrush(red);
        HGDIOBJ old_pen = SelectObject(c.dc, pen), old_brush = SelectObject(c.dc, brush);
        k.draw(c.dc);
        SelectObject(c.dc, old_pen);
        SelectObject(c.dc, old_brush);
        EXPECT_FALSE(DeleteObject(c.bitmap)) << "still selected";
        EXPECT_TRUE(DeleteObject(pen) && DeleteObject(brush));
        std::vector<std::string> expected = k.expected;
        for (std::string& row : expected)
            row.resize(7, '.');
        EXPECT_EQ(picture(c, 7, 6), expected) << k.what;
    }
}

TEST(GdiPixels, AnInvertingLineDrawnTwiceGivesTheScreenBack)
{
    MemoryDC c(40, 30);
    HBRUSH brush = CreateSolidBrush(RGB(10, 200, 90));
    HGDIOBJ old_brush = SelectObject(c.dc, brush);
    Ellipse(c.dc, 5, 5, 35, 25);
    SelectObject(c.dc, old_brush);
    DeleteObject(brush);
    const std::vector<std::string> before = picture(c, 40, 30);
    const COLORREF inside = c.at(20, 15);
    SetROP2(c.dc, R2_NOT);
    for (int pass = 1; pass <= 2; ++pass) {
        MoveToEx(c.dc, 0, 15, nullptr);
        LineTo(c.dc, 39, 15);  // a white pen: R2_NOT ignores its colour
        EXPECT_EQ(c.at(20, 15), pass == 1 ? (~inside & 0xFFFFFF) : inside);
        EXPECT_EQ(c.at(2, 15), pass == 1 ? white : black);
    }
    EXPECT_EQ(picture(c, 40, 30), before);
}

// Text is placed by the top-left corner of its cell, as tall as the cell height, and
// an escapement of 90 degrees turns it to run upward from that corner.
TEST(GdiText, PlacedByItsCellAndTurnedByTheEscapement)
{
    struct Case {
        int height, width, escapement, mode;
        DWORD family;
    };
    for (const Case& k : {Case{14, 0, 0, TRANSPARENT, FF_ROMAN}, Case{22, 0, 0, TRANSPARENT, FF_SWISS},
                          Case{14, 0, 0, OPAQUE, FF_SWISS}, Case{10, 0, 900, TRANSPARENT, 0},
                          Case{12, 12, 0, TRANSPARENT, 0}}) {
        SCOPED_TRACE(testing::Message() << k.height << " " << k.escapement << " " << k.mode);
        MemoryDC c(200, 200);
        const int before = vapora_gdi_object_count();
        HFONT font = CreateFontW(k.height, k.width, k.escapement, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, k.family, nullptr);
        EXPECT_EQ(vapora_gdi_object_count(), before + 1);
        HGDIOBJ old_font = SelectObject(c.dc, font);
        SetBkMode(c.dc, k.mode);
        SetBkColor(c.dc, red);
        SetTextColor(c.dc, white);
        TextOutW(c.dc, 100, 100, L"Hg\u00b0y", 4);
        SelectObject(c.dc, old_font);
        DeleteObject(font);
        EXPECT_EQ(vapora_gdi_object_count(), before);
        const int ink = c.count_other(0, 0, 200, 200, black);
        if (k.escapement == 0) {
            EXPECT_EQ(c.count_other(100, 100, 200, 100 + k.height, black), ink);
            EXPECT_GT(c.count_other(100, 100, 100 + k.height / 2, 100 + k.height, black), k.height / 2);
            // A character width stretches the four letters to about four times it.
            if (k.width) {
                EXPECT_GT(c.count_other(100 + 3 * k.width, 100, 200, 100 + k.height, black), 0);
            }
        } else {
            EXPECT_EQ(c.count_other(100, 0, 100 + k.height, 100, black), ink);
        }
        // The opaque background fills the whole cell, top row and bottom row included.
        EXPECT_EQ(c.count_colour(100, 100, 200, 101, red) > 10, k.mode == OPAQUE);
        EXPECT_EQ(c.count_colour(100, 99 + k.height, 200, 100 + k.height, red) > 10, k.mode == OPAQUE);
    }
}

// A DC over a window's surface: drawing stays inside the paint area, and each call
// reports the pixels it may have changed.
TEST(GdiSurfaceDC, ClipsToThePaintAreaAndReportsWhatChanged)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 50, 40);
    HDC dc = vapora_dc_for_surface(s);
    RECT changed = {0, 0, 0, 0};
    vapora_dc_set_damage_callback(dc, [](void* data, const RECT* r) { *static_cast<RECT*>(data) = *r; }, &changed);
    const RECT clip = {10, 5, 20, 30};
    vapora_dc_set_clip(dc, &clip);
    SetROP2(dc, R2_NOT);  // the default black pen shows on black only inverted
    MoveToEx(dc, 0, 10, nullptr);
    LineTo(dc, 50, 10);
    vapora_release_surface_dc(dc);
    EXPECT_TRUE(changed.left == 10 && changed.top == 10 && changed.right == 20 && changed.bottom == 11);
    const uint32_t* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) + 10 * cairo_image_surface_get_stride(s));
    for (int x = 0; x < 50; ++x)
        EXPECT_EQ(row[x] & 0xFFFFFF, x >= 10 && x < 20 ? 0xFFFFFFu : 0u) << x;
    cairo_surface_destroy(s);
}

}  // namespace
