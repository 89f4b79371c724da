#include "diagram/overlays.h"

#include <cwchar>

#include "diagram/text_buffer.h"

int readout_left;
int readout_top;

namespace {

int clamp_component(int c) {
    return c < 0 ? 0 : (c > 255 ? 255 : c);
}

// Logical fonts of the panels: no face name, every parameter not given is zero.
HFONT create_panel_font(int height, int weight, int italic, int pitch_and_family) {
    return CreateFontW(height, 0, 0, 0, weight, italic, 0, 0, 0, 0, 0, PROOF_QUALITY,
                       pitch_and_family, nullptr);
}

void draw_text(HDC hdc, int x, int y, const wchar_t* text, HFONT font) {
    HGDIOBJ old_font = SelectObject(hdc, font);
    TextOutW(hdc, x, y, text, static_cast<int>(std::wcslen(text)));
    SelectObject(hdc, old_font);
    DeleteObject(font);
}

void draw_filled_polygon(HDC hdc, const POINT* points, int count, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ old_brush = SelectObject(hdc, brush);
    Polygon(hdc, points, count);
    SelectObject(hdc, old_brush);
    DeleteObject(brush);
}

void draw_title_panel_face(HDC hdc) {
    draw_bevel_box(hdc, title_left, title_top, title_right, title_bottom, panel_grey, panel_grey,
                   panel_grey);
}

}  // namespace

void draw_bevel_box(HDC hdc, int left, int top, int right, int bottom, int r, int g, int b) {
    r = clamp_component(r);
    g = clamp_component(g);
    b = clamp_component(b);
    const COLORREF face = RGB(r, g, b);
    const COLORREF light =
        RGB(r + 32 > 255 ? 255 : r + 32, g + 32 > 255 ? 255 : g + 32, b + 32 > 255 ? 255 : b + 32);
    const COLORREF dark =
        RGB(r - 32 < 0 ? 0 : r - 32, g - 32 < 0 ? 0 : g - 32, b - 32 < 0 ? 0 : b - 32);

    HPEN null_pen = CreatePen(PS_NULL, 1, 0);
    HGDIOBJ old_pen = SelectObject(hdc, null_pen);

    const POINT light_bevel[6] = {{left - 5, top - 4}, {right + 5, top - 4},
                                  {right, top},        {left, top},
                                  {left, bottom},      {left - 5, bottom + 4}};
    draw_filled_polygon(hdc, light_bevel, 6, light);

    const POINT dark_bevel[6] = {{right, bottom},        {right, top},
                                 {right + 5, top - 4},   {right + 5, bottom + 4},
                                 {left - 5, bottom + 4}, {left, bottom}};
    draw_filled_polygon(hdc, dark_bevel, 6, dark);

    // With the null pen the rectangle fills one pixel less each way, so the +1 makes
    // the face cover right and bottom too.
    HBRUSH brush = CreateSolidBrush(face);
    HGDIOBJ old_brush = SelectObject(hdc, brush);
    Rectangle(hdc, left, top, right + 1, bottom + 1);
    SelectObject(hdc, old_brush);
    DeleteObject(brush);

    SelectObject(hdc, old_pen);
    DeleteObject(null_pen);
}

void draw_title_box(HDC hdc, const wchar_t* line1, const wchar_t* line2) {
    draw_title_panel_face(hdc);
    SetBkMode(hdc, TRANSPARENT);

    SetTextColor(hdc, RGB(0, 0, 130));
    draw_text(hdc, 162, 25, program_name, create_panel_font(22, FW_BOLD, 1, FF_SWISS));

    SetTextColor(hdc, RGB(0, 0, 0));
    draw_text(hdc, 83, 50, title_credit, create_panel_font(17, FW_NORMAL, 1, FF_SWISS));

    // An empty line draws nothing.
    if (line1 && line1[0])
        draw_text(hdc, 83, 75, line1, create_panel_font(14, FW_NORMAL, 0, FF_ROMAN));
    if (line2 && line2[0])
        draw_text(hdc, 83, 89, line2, create_panel_font(14, FW_NORMAL, 0, FF_ROMAN));
}

void draw_status_box(HDC hdc, const wchar_t* text) {
    // The whole panel, bevels included, is repainted first: no prompt line survives.
    draw_title_panel_face(hdc);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 0, 0));
    draw_text(hdc, 83, 70, text, create_panel_font(19, FW_BOLD, 0, FF_SWISS));
}

void draw_readout_panel(HDC hdc, const DiagramFrame& frame, const SteamState& state) {
    readout_left = frame.origin_x + 20;
    readout_top = frame.origin_y - frame.plot_height / 2;
    const int left = readout_left;
    const int top = readout_top;
    draw_bevel_box(hdc, left, top, left + readout_width, top + readout_height, 0, readout_green, 0);

    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));
    draw_text(hdc, left + 15, top + 5, L"   Vapora",
              create_panel_font(14, FW_BOLD, 0, VARIABLE_PITCH | FF_SWISS));

    struct Line {
        const wchar_t* format;
        double value;
    };
    // The trailing spaces, painted on the opaque green background, wipe out the end of
    // a longer value drawn there before.
    const Line lines[6] = {
        {L"t = %.1f C   ", state.t},
        {L"p = %.3f bar   ", state.p / pascals_per_bar},
        {L"h = %.0f kJ/kg   ", state.h / 1000},
        {L"s = %.3f kJ/kgC   ", state.s / 1000},
        {L"v = %.3f m3/kg   ", state.v},
        {L"x = %.2f kg/kg   ", state.x},
    };
    SetBkMode(hdc, OPAQUE);
    SetBkColor(hdc, RGB(0, readout_green, 0));
    HFONT font = create_panel_font(14, 0, 0, VARIABLE_PITCH | FF_SWISS);
    HGDIOBJ old_font = SelectObject(hdc, font);
    for (int i = 0; i < 6; ++i) {
        format_text(text_buffer, lines[i].format, lines[i].value);
        TextOutW(hdc, left + 5, top + 30 + 15 * i, text_buffer,
                 static_cast<int>(std::wcslen(text_buffer)));
    }
    SelectObject(hdc, old_font);
    DeleteObject(font);
}

void draw_point_marker(HDC hdc, int x, int y, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ old_pen = SelectObject(hdc, pen);
    HGDIOBJ old_brush = SelectObject(hdc, brush);
    Ellipse(hdc, x - 3, y - 3, x + 3, y + 3);
    SelectObject(hdc, old_brush);
    SelectObject(hdc, old_pen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void draw_process_line(HDC hdc, int x1, int y1, int x2, int y2, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old_pen = SelectObject(hdc, pen);
    MoveToEx(hdc, x1, y1, nullptr);
    LineTo(hdc, x2, y2);
    SelectObject(hdc, old_pen);
    DeleteObject(pen);
}
