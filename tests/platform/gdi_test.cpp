// The Win32 pixel rules the chart relies on, text placed by its cell, and the objects a
// drawing step must give back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_dc.h"

namespace {

constexpr COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), red = RGB(255, 0, 0);

// Drawn with a white pen and a red brush; read back as '.' black, 'o' white, '#' red,
// '?' anything else.
TEST(GdiPixels, LinesAreasAndTheInvertingPenCoverWhatWin32Covers)
{
    struct Case {
        const char* what;
        int pen;
        void (*draw)(HDC);
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"LineTo leaves out its end pixel; halves round away from the start", PS_SOLID,
         [](HDC dc) { MoveToEx(dc, 0, 0, nullptr); LineTo(dc, 6, 2); LineTo(dc, 6, 5); },
         {"oo.....", "..ooo..", ".....oo", "......o", "......o", "......."}},
        {"a rectangle covers its left and top edges, not its right and bottom", PS_SOLID,
         [](HDC dc) { Rectangle(dc, 1, 1, 5, 4); },
         {".......", ".oooo..", ".o##o..", ".oooo..", ".......", "......."}},
        {"with the null pen one pixel less each way", PS_NULL, [](HDC dc) { Rectangle(dc, 1, 1, 5, 4); },
         {".......", ".###...", ".###...", ".......", ".......", "......."}},
        {"a polygon's fill keeps its left and top edges", PS_NULL,
         [](HDC dc) { const POINT p[3] = {{0, 0}, {6, 0}, {0, 4}}; Polygon(dc, p, 3); },
         {"######.", "#####..", "###....", "##.....", ".......", "......."}},
        {"an ellipse is inscribed in its box; the inverting pen flips every colour bit", PS_SOLID,
         [](HDC dc) {
             Ellipse(dc, 0, 0, 6, 6);
             SetROP2(dc, R2_NOT);
             MoveToEx(dc, 0, 5, nullptr);
             LineTo(dc, 7, 0);
         },
         {".oooo..", "o####.o", "o###?o.", "o##?#o.", "o??##o.", "ooooo.."}},
    };
    for (const Case& k : cases) {
        MemoryDC c(7, 6);
        const int before = vapora_gdi_object_count();
        HPEN pen = CreatePen(k.pen, 1, white);
        HBRUSH brush = CreateSolidBrush(red);
        HGDIOBJ old_pen = SelectObject(c.dc, pen), old_brush = SelectObject(c.dc, brush);
        k.draw(c.dc);
        EXPECT_FALSE(DeleteObject(pen)) << "still selected";
        SelectObject(c.dc, old_pen);
        SelectObject(c.dc, old_brush);
        EXPECT_EQ(vapora_gdi_object_count(), before + 2);
        EXPECT_TRUE(DeleteObject(pen) && DeleteObject(brush));
        std::vector<std::string> drawn(6, std::string(7, '?'));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x)
                for (auto [colour, mark] : {std::pair{black, '.'}, {white, 'o'}, {red, '#'}})
                    drawn[y][x] = c.at(x, y) == colour ? mark : drawn[y][x];
        EXPECT_EQ(drawn, k.expected) << k.what;
    }
}

// Text is placed by the top-left corner of its cell, as tall as the cell height; an
// escapement of 90 degrees turns it to run upward from that corner; a character width
// stretches it; an opaque background fills the cell; bold is heavier.
TEST(GdiText, PlacedByItsCellTurnedByTheEscapementStretchedByTheWidth)
{
    struct Case {
        int height, width, escapement, mode;
        DWORD family;
    };
    for (const Case& k : {Case{14, 0, 0, TRANSPARENT, FF_ROMAN}, Case{22, 0, 0, OPAQUE, FF_SWISS},
                          Case{10, 0, 900, TRANSPARENT, 0}, Case{12, 12, 0, TRANSPARENT, 0}}) {
        SCOPED_TRACE(testing::Message() << k.height << " " << k.width << " " << k.escapement);
        MemoryDC c(200, 200), thin(200, 200);
        for (MemoryDC* m : {&c, &thin}) {
            HFONT font = CreateFontW(k.height, k.width, k.escapement, 0, m == &c ? FW_BOLD : FW_NORMAL, 0, 0, 0, 0, 0, 0, 0,
                                     k.family, nullptr);
            HGDIOBJ old_font = SelectObject(m->dc, font);
            SetBkMode(m->dc, k.mode);
            SetBkColor(m->dc, red);
            SetTextColor(m->dc, white);
            TextOutW(m->dc, 100, 100, L"Hg\u00b0y", 4);
            SelectObject(m->dc, old_font);
            DeleteObject(font);
        }
        const auto is_ink = [](COLORREF p) { return GetGValue(p) > 128; };
        const int ink = c.count(0, 0, 200, 200, is_ink);
        EXPECT_GT(ink, thin.count(0, 0, 200, 200, is_ink) + 5);
        const auto is_other = [](COLORREF p) { return p != black; };
        if (k.escapement) {
            EXPECT_EQ(c.count(100, 0, 100 + k.height, 100, is_other), c.count(0, 0, 200, 200, is_other));
        } else {
            EXPECT_EQ(c.count(100, 100, 200, 100 + k.height, is_other), c.count(0, 0, 200, 200, is_other));
            EXPECT_GT(c.count(100, 100, 100 + k.height / 2, 100 + k.height, is_other), k.height / 2);
            EXPECT_TRUE(k.width == 0 || c.count(100 + 3 * k.width, 100, 200, 100 + k.height, is_other) > 0);
            const auto is_red = [](COLORREF p) { return p == red; };
            EXPECT_EQ(c.count(100, 100, 200, 101, is_red) > 10 && c.count(100, 99 + k.height, 200, 100 + k.height, is_red) > 10,
                      k.mode == OPAQUE);
        }
    }
}

}  // namespace
