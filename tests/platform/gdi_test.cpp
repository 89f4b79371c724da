// The Win32 pixel rules the chart relies on, text placed by its cell, and the objects a
// drawing step must give back.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "memory_dc.h"

namespace {

constexpr COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), red = RGB(255, 0, 0);

// Drawn with a white pen and a red brush; read back as '.' black, 'o' white, '#' red,
// '?' anything else.
TEST(GdiPixels, LinesAreasAndTheInvertingPenCoverWhatWin32Covers) {
    // clang-format off
    const std::tuple<const char*, int, void (*)(HDC), std::vector<std::string>> cases[] = {
        {"LineTo leaves out its end pixel; halves round away from the start", PS_SOLID,
         [](HDC dc) { MoveToEx(dc, 0, 0, nullptr), LineTo(dc, 6, 2), LineTo(dc, 6, 5); },
         {"oo.....", "..ooo..", ".....oo", "......o", "......o", "......."}},
        {"a rectangle covers its left and top edges, not its right and bottom", PS_SOLID,
         [](HDC dc) { Rectangle(dc, 1, 1, 5, 4); },
         {".......", ".oooo..", ".o##o..", ".oooo..", ".......", "......."}},
        {"with the null pen one pixel less each way", PS_NULL,
         [](HDC dc) { Rectangle(dc, 1, 1, 5, 4); },
         {".......", ".###...", ".###...", ".......", ".......", "......."}},
        {"a polygon's fill keeps its left and top edges", PS_NULL,
         [](HDC dc) { const POINT p[3] = {{0, 0}, {6, 0}, {0, 4}}; Polygon(dc, p, 3); },
         {"######.", "#####..", "###....", "##.....", ".......", "......."}},
        {"an ellipse is inscribed in its box; the inverting pen flips every colour bit", PS_SOLID,
         [](HDC dc) { Ellipse(dc, 0, 0, 6, 6), SetROP2(dc, R2_NOT), MoveToEx(dc, 0, 5, nullptr),
                      LineTo(dc, 7, 0); },
         {".oooo..", "o####.o", "o###?o.", "o##?#o.", "o??##o.", "ooooo.."}}};
    // clang-format on
    for (const auto& [what, pen_style, draw, expected] : cases) {
        MemoryDC c(7, 6);
        const int before = vapora_gdi_object_count();
        HPEN pen = CreatePen(pen_style, 1, white);
        HBRUSH brush = CreateSolidBrush(red);
        HGDIOBJ old_pen = SelectObject(c.dc, pen), old_brush = SelectObject(c.dc, brush);
        draw(c.dc);
        EXPECT_FALSE(DeleteObject(pen)) << "still selected";
        SelectObject(c.dc, old_pen), SelectObject(c.dc, old_brush);
        EXPECT_EQ(vapora_gdi_object_count(), before + 2);
        EXPECT_TRUE(DeleteObject(pen) && DeleteObject(brush));
        std::vector<std::string> drawn(6, std::string(7, '?'));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x)
                for (auto [colour, mark] : {std::pair{black, '.'}, {white, 'o'}, {red, '#'}})
                    drawn[y][x] = c.at(x, y) == colour ? mark : drawn[y][x];
        EXPECT_EQ(drawn, expected) << what;
    }
}

// Text is placed by the top-left corner of its cell, as tall as the cell height; an
// escapement of 90 degrees turns it to run upward from that corner; an opaque background
// fills the cell; bold is heavier.
TEST(GdiText, PlacedByItsCellAndTurnedByTheEscapement) {
    for (auto [height, width, escapement, mode, family] :
         {std::tuple{14, 0, 0, TRANSPARENT, FF_ROMAN},
          {22, 0, 0, OPAQUE, FF_SWISS},
          {10, 0, 900, TRANSPARENT, 0},
          {12, 12, 0, TRANSPARENT, 0}}) {
        SCOPED_TRACE(testing::Message() << height << " " << width << " " << escapement);
        MemoryDC c(200, 200), thin(200, 200);
        for (MemoryDC* m : {&c, &thin})
            m->write({L"Hg\u00b0y", 100, 100, height, width, escapement,
                      m == &c ? FW_BOLD : FW_NORMAL, 0, DWORD(family), white,
                      mode == OPAQUE ? red : black});
        const auto ink = [](COLORREF p) { return GetGValue(p) > 128; };
        const auto other = [](COLORREF p) { return p != black; };
        const auto is_red = [](COLORREF p) { return p == red; };
        const int h = height, all = c.count(0, 0, 200, 200, other);
        EXPECT_GT(c.count(0, 0, 200, 200, ink), thin.count(0, 0, 200, 200, ink) + 5);
        EXPECT_EQ(escapement ? c.count(100, 0, 100 + h, 100, other)
                             : c.count(100, 100, 200, 100 + h, other),
                  all);
        EXPECT_TRUE(escapement || c.count(100, 100, 100 + h / 2, 100 + h, other) > h / 2);
        EXPECT_EQ(c.count(100, 100, 200, 101, is_red) > 10 &&
                      c.count(100, 99 + h, 200, 100 + h, is_red) > 10,
                  mode == OPAQUE);
    }
}

// A negative height is the em, as on Windows: Liberation Serif's 12-pixel em is the
// largest whose cell fits 14 pixels.
TEST(GdiText, NegativeHeightIsTheEm) {
    MemoryDC em(300, 40), cell(300, 40);
    em.write({L"Hg\u00b0y", 10, 10, -12, 0, 0, 0, 0, FF_ROMAN});
    cell.write({L"Hg\u00b0y", 10, 10, 14, 0, 0, 0, 0, FF_ROMAN});
    EXPECT_EQ(em.differing(cell), 0);
}

// The character width is the average width of the letters a to z; an escapement of 90
// degrees turns the text by a right angle: its ink's box is the flat text's box turned.
TEST(GdiText, WidthIsTheAverageLetterAndNinetyDegreesARightAngle) {
    const auto box = [](const MemoryDC& c) {  // the ink's width and height
        int x0 = c.width, y0 = c.height, x1 = 0, y1 = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                if (c.at(x, y) != black)
                    x0 = std::min(x0, x), x1 = std::max(x1, x + 1), y0 = std::min(y0, y),
                    y1 = y + 1;
        return std::pair{x1 - x0, y1 - y0};
    };
    MemoryDC letters(300, 50), flat(300, 300), turned(300, 300);
    letters.write({L"abcdefghijklmnopqrstuvwxyz", 10, 10, 12, 6});
    flat.write({L"Hg\u00b0y Hg\u00b0y Hg\u00b0y", 10, 100, 24});
    turned.write({L"Hg\u00b0y Hg\u00b0y Hg\u00b0y", 100, 290, 24, 0, 900});
    EXPECT_NEAR(box(letters).first, 26 * 6, 2);
    EXPECT_NEAR(box(turned).first, box(flat).second, 2);  // the flat text is hinted
    EXPECT_NEAR(box(turned).second, box(flat).first, 2);
}

}  // namespace
