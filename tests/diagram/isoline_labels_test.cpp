// The isobar and isenthalp labels: text, font, colour and place, each compared pixel by
// pixel with the same text written directly where the chart's layout puts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

#include "memory_dc.h"
#include "diagram/diagram.h"

namespace {

constexpr int W = 700;
constexpr int H = 450;
constexpr POINT anchor = {400, 250};
constexpr POINT far_away = {-5000, -5000};

constexpr COLORREF black = RGB(0, 0, 0);

// The 1000 x 660 client: a plot of 978 x 642 pixels, on which the isobar labels run at
// about 73.1 degrees (escapement 730).
DiagramFrame frame_1000_660()
{
    const RECT client = {0, 0, 1000, 660};
    return frame_from_client(&client);
}

// The text written straight onto a fresh canvas with the given font and colour.
void write_reference(HDC hdc, const wchar_t* text, int x, int y, int height, int width,
                     int escapement, COLORREF colour)
{
    HFONT font = CreateFontW(height, width, escapement, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    HGDIOBJ old = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, colour);
    TextOutW(hdc, x, y, text, static_cast<int>(std::wcslen(text)));
    SelectObject(hdc, old);
    DeleteObject(font);
}

// Draws with draw(hdc) on a fresh canvas, which must leave no GDI object behind and
// give exactly the pixels of the reference text.
template <class Draw>
void expect_reference_text(Draw draw, const wchar_t* text, int x, int y, int height,
                           int width, int escapement, COLORREF colour)
{
    MemoryDC drawn(W, H);
    const int before = vapora_gdi_object_count();
    draw(drawn.dc);
    EXPECT_EQ(vapora_gdi_object_count(), before);
    MemoryDC expected(W, H);
    write_reference(expected.dc, text, x, y, height, width, escapement, colour);
    EXPECT_GT(drawn.count_other(0, 0, W, H, black), 20);
    EXPECT_EQ(drawn.differing(expected), 0);
}

TEST(IsobarLabels, ReadThePressureAndStandBelowLeftOfTheEnd)
{
    // With L the length of the text: x = trunc(X - 5 L c - 10), y = trunc(Y + 5 L n + 10),
    // c and n the cosine and sine of the label angle; the critical isobar's label
    // x = trunc(X - 10 L c - 10), y = trunc(Y + 10 (L - 5) n). Offsets worked out by hand
    // for the 978 x 642 plot (c = 0.29144, n = 0.95658).
    struct Case {
        const wchar_t* text;
        int dx, dy;
    };
    const Case cases[isobar_count] = {
        {L"0.02 bar", -22, 48}, {L"0.05 bar", -22, 48}, {L"0.10 bar", -22, 48},
        {L"0.20 bar", -22, 48}, {L"0.50 bar", -22, 48}, {L"1 bar", -18, 33},
        {L"2 bar", -18, 33},    {L"5 bar", -18, 33},    {L"10 bar", -19, 38},
        {L"20 bar", -19, 38},   {L"50 bar", -19, 38},   {L"100 bar", -21, 43},
        {L"200 bar", -21, 43},  {L"P crit. = 221 bar", -60, 114},
        {L"500 bar", -21, 43},  {L"1000 bar", -22, 48},
    };
    const DiagramFrame f = frame_1000_660();
    ASSERT_EQ(f.plot_width, 978);
    ASSERT_EQ(f.plot_height, 642);
    for (int i = 0; i < isobar_count; ++i) {
        SCOPED_TRACE(testing::Message() << "isobar " << i);
        POINT anchors[isobar_count];
        std::fill(anchors, anchors + isobar_count, far_away);
        anchors[i] = anchor;
        // Cell height 10, character width 5, bright green also for the critical isobar.
        expect_reference_text([&](HDC hdc) { draw_isobar_labels(hdc, f, anchors); },
                              cases[i].text, anchor.x + cases[i].dx, anchor.y + cases[i].dy,
                              10, 5, 730, RGB(0, 255, 0));
    }
}

TEST(IsenthalpLabels, ReadTheLevelWithOneDecimalAndEndSixPixelsLeftOfTheAnchor)
{
    const wchar_t* const texts[isenthalp_count] = {
        L"2.6 MJ/kg", L"2.7 MJ/kg", L"2.8 MJ/kg", L"2.9 MJ/kg", L"3.0 MJ/kg", L"3.1 MJ/kg",
        L"3.2 MJ/kg", L"3.3 MJ/kg", L"3.4 MJ/kg", L"3.5 MJ/kg", L"3.6 MJ/kg"};
    for (int k = 0; k < isenthalp_count; ++k) {
        SCOPED_TRACE(testing::Message() << "isenthalp " << k);
        POINT anchors[isobar_count];
        std::fill(anchors, anchors + isobar_count, far_away);
        anchors[k] = anchor;
        // Nine characters: the top-left corner at (X - (6 * 9 + 6), Y - 12), upright text
        // of cell height 12 and character width 6, in cyan.
        expect_reference_text([&](HDC hdc) { draw_isenthalp_labels(hdc, anchors); }, texts[k],
                              anchor.x - 60, anchor.y - 12, 12, 6, 0, RGB(0, 255, 255));
    }
}

}  // namespace
