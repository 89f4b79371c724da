// Every text of the chart: text, font, colour and place, compared pixel by pixel with the
// same text written directly where the chart's layout puts it.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "diagram/diagram.h"
#include "memory_dc.h"

namespace {

constexpr COLORREF black = RGB(0, 0, 0);
const RECT client = {0, 0, 994, 671};  // the Linux main window's client area
const DiagramFrame f = frame_from_client(&client);

TEST(ChartTexts, IsobarAndIsenthalpLabelsAtTheEndsOfTheirCurves) {
    // With L the length of the text: x = trunc(X - 5 L c - 10), y = trunc(Y + 5 L n + 10),
    // c and n the cosine and sine of the label angle; the critical isobar's label
    // x = trunc(X - 10 L c - 10), y = trunc(Y + 10 (L - 5) n). Worked out by hand for the
    // 978 x 642 plot of a 1000 x 660 client (c = 0.29144, n = 0.95658, 73.1 degrees).
    // clang-format off
    const Text isobars[isobar_count] = {  // text and offset from the end of the curve
        {L"0.02 bar", -22, 48}, {L"0.05 bar", -22, 48}, {L"0.10 bar", -22, 48},
        {L"0.20 bar", -22, 48}, {L"0.50 bar", -22, 48}, {L"1 bar", -18, 33}, {L"2 bar", -18, 33},
        {L"5 bar", -18, 33},
        {L"10 bar", -19, 38}, {L"20 bar", -19, 38}, {L"50 bar", -19, 38}, {L"100 bar", -21, 43},
        {L"200 bar", -21, 43}, {L"P crit. = 221 bar", -60, 114}, {L"500 bar", -21, 43},
        {L"1000 bar", -22, 48}};
    // clang-format on
    const RECT other = {0, 0, 1000, 660};
    const DiagramFrame f = frame_from_client(&other);
    MemoryDC drawn(1000, 660), expected(1000, 660);
    CrossingGrid grid;
    POINT ends[isobar_count];
    draw_isobars(MemoryDC(1000, 660).dc, f, &grid, ends);
    draw_isolines(MemoryDC(1000, 660).dc, f);  // for the isenthalps' label anchors
    const int before = vapora_gdi_object_count();
    draw_isobar_labels(drawn.dc, f, ends);
    draw_isenthalp_labels(drawn.dc, label_anchor);
    EXPECT_EQ(vapora_gdi_object_count(), before);
    for (int i = 0; i < isobar_count; ++i)
        expected.write({isobars[i].text, ends[i].x + isobars[i].x, ends[i].y + isobars[i].y, 10, 5,
                        730, 0, 0, 0, RGB(0, 255, 0)});
    // Isenthalp labels, "2.6 MJ/kg" to "3.6 MJ/kg": nine characters with the top-left corner
    // at (X - (6 * 9 + 6), Y - 12).
    wchar_t level[10];
    for (int k = 0; k < isenthalp_count; ++k) {
        std::swprintf(level, 10, L"%d.%d MJ/kg", (26 + k) / 10, (26 + k) % 10);
        expected.write({level, label_anchor[k].x - 60, label_anchor[k].y - 12, 12, 6, 0, 0, 0, 0,
                        RGB(0, 255, 255)});
    }
    EXPECT_EQ(drawn.differing(expected), 0);
}

TEST(ChartTexts, PanelsHoldTheirTextsInTheirFontsColoursAndPlaces) {
    const int l = f.origin_x + 20, t = f.origin_y - f.plot_height / 2;
    const COLORREF navy = RGB(0, 0, 130), green = RGB(0, 130, 0);
    // The drawing, the panel's face, where its texts must stay, its grey and its texts.
    using Draw = void (*)(HDC, const DiagramFrame&);
    // clang-format off
    const std::tuple<Draw, RECT, RECT, COLORREF, std::vector<Text>> cases[] = {
        {[](HDC dc, const DiagramFrame&) {
             draw_title_box(dc, start_prompt_line1, start_prompt_line2); },
         {80, 20, 340, 110}, {75, 16, 345, 115}, RGB(192, 192, 192),
         {{L"Vapora 2.0", 162, 25, 22, 0, 0, FW_BOLD, 1, FF_SWISS, navy},
          {L"Water and steam, IFC-67", 83, 50, 17, 0, 0, FW_NORMAL, 1, FF_SWISS, black},
          {start_prompt_line1, 83, 75, 14, 0, 0, FW_NORMAL, 0, FF_ROMAN, black},
          {start_prompt_line2, 83, 89, 14, 0, 0, FW_NORMAL, 0, FF_ROMAN, black}}},
        {[](HDC dc, const DiagramFrame&) { draw_status_box(dc, status_drawing); },
         {80, 20, 340, 110}, {80, 20, 341, 111}, RGB(192, 192, 192),
         {{status_drawing, 83, 70, 19, 0, 0, FW_BOLD, 0, FF_SWISS, RGB(255, 0, 0)}}},
        // The widest values: 700 C, 1000 bar, 3900 kJ/kg, 10 kJ/kg C, and the 225 m3/kg of
        // steam at 0.02 bar and 700 C.
        {[](HDC dc, const DiagramFrame& f) {
             draw_readout_panel(dc, f, SteamState{700, 1000e5, 3900e3, 10e3, 225.5, 1}); },
         {l, t, l + 100, t + 125}, {l, t, l + 101, t + 126}, green,
         {{L"   Vapora", l + 15, t + 5, 14, 0, 0, FW_BOLD, 0, 0x22},
          {L"t = 700.0 C   ", l + 5, t + 30, 14, 0, 0, 0, 0, 0x22},
          {L"p = 1000.000 bar   ", l + 5, t + 45, 14, 0, 0, 0, 0, 0x22},
          {L"h = 3900 kJ/kg   ", l + 5, t + 60, 14, 0, 0, 0, 0, 0x22},
          {L"s = 10.000 kJ/kgC   ", l + 5, t + 75, 14, 0, 0, 0, 0, 0x22},
          {L"v = 225.500 m3/kg   ", l + 5, t + 90, 14, 0, 0, 0, 0, 0x22},
          {L"x = 1.00 kg/kg   ", l + 5, t + 105, 14, 0, 0, 0, 0, 0x22}}}};
    // clang-format on
    for (const auto& [draw, face, fit, grey, texts] : cases) {
        // On blue, so that a black prompt running out of its panel shows.
        MemoryDC drawn(994, 671, RGB(0, 0, 255)), bare(994, 671, RGB(0, 0, 255)),
            expected(994, 671, RGB(0, 0, 255));
        draw(drawn.dc, f);
        for (HDC dc : {bare.dc, expected.dc})
            draw_bevel_box(dc, face.left, face.top, face.right, face.bottom, GetRValue(grey),
                           GetGValue(grey), GetBValue(grey));
        for (const Text& text : texts) expected.write(text);
        EXPECT_EQ(drawn.differing(expected), 0) << texts[0].text;
        // Every text fits: the panel differs from a bare one only where its texts may be.
        EXPECT_EQ(drawn.differing(bare), drawn.differing(bare, fit)) << texts[0].text;
    }
}

// The tick labels and captions, white, in the plain font of cell height 10 or 14: in the
// margins, and between the grid lines and axes around the captions.
TEST(ChartTexts, TickLabelsAndCaptionsStandWhereTheGridPutsThem) {
    const int right = f.origin_x + f.plot_width, top = f.origin_y - f.plot_height;
    MemoryDC drawn(994, 671), expected(994, 671);
    draw_diagram_frame(drawn.dc, f);
    wchar_t label[8];
    for (int i = 1; i <= 14; ++i)  // " 50" to "700"
        std::swprintf(label, 8, L"%3d", 50 * i), expected.write({label, 1, grid_line_y(f, i)});
    for (int i = 0; i <= 19; ++i)  // "0", "0.5" to "9.5"
        std::swprintf(label, 8, i ? L"%.1f" : L"0", i / 2.0),
            expected.write({label, grid_line_x(f, i) - 10, f.origin_y + 1});
    expected.write({L"T [\u00b0C]", f.origin_x + 3, top + 2, 14});
    expected.write({L"S [kJ/kg\u00b0C]", right - 60, f.origin_y - 15, 14});
    const int x19 = grid_line_x(f, 19);
    for (const RECT& r : {RECT{0, 0, f.origin_x, 671}, RECT{0, f.origin_y + 1, 994, 671},
                          RECT{f.origin_x + 1, top + 1, grid_line_x(f, 1), grid_line_y(f, 13)},
                          RECT{grid_line_x(f, 18) + 1, grid_line_y(f, 1) + 1, x19, f.origin_y},
                          RECT{x19 + 1, grid_line_y(f, 1) + 1, right, f.origin_y}})
        EXPECT_EQ(drawn.differing(expected, r), 0) << r.left << " " << r.top;
}

}  // namespace
