#include "diagram/frame.h"

#include <cmath>
#include <cwchar>

namespace {

// Label i stands at 50 i C; there is none at 0 C.
const wchar_t* const temperature_labels[14] = {L" 50", L"100", L"150", L"200", L"250",
                                               L"300", L"350", L"400", L"450", L"500",
                                               L"550", L"600", L"650", L"700"};

// Label i stands at 0.5 i kJ/kg C; there is none at 10.
const wchar_t* const entropy_labels[20] = {L"0",   L"0.5", L"1.0", L"1.5", L"2.0", L"2.5", L"3.0",
                                           L"3.5", L"4.0", L"4.5", L"5.0", L"5.5", L"6.0", L"6.5",
                                           L"7.0", L"7.5", L"8.0", L"8.5", L"9.0", L"9.5"};

HFONT create_plain_font(int height) {
    return CreateFontW(height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
}

// Truncation toward zero, as the mapping asks. A value beyond a billion pixels (or not a
// number) is held there instead of overflowing the int: nothing drawn reaches that far.
int truncate_to_pixel(double v) {
    return static_cast<int>(std::fmax(-1e9, std::fmin(1e9, v)));
}

void text_out(HDC hdc, int x, int y, const wchar_t* text) {
    TextOutW(hdc, x, y, text, static_cast<int>(std::wcslen(text)));
}

}  // namespace

DiagramFrame frame_from_client(const RECT* client) {
    DiagramFrame frame;
    const int32_t width = client->right - client->left;
    const int32_t height = client->bottom - client->top;
    frame.origin_x = client->left + 20;
    frame.origin_y = height - 16;
    frame.plot_width = width - 22;
    frame.plot_height = height - 18;
    frame.t_step =
        frame.plot_height > 0 ? static_cast<float>(t_axis_end / frame.plot_height) : 0.0f;
    return frame;
}

int s_to_px(const DiagramFrame& frame, double s) {
    return truncate_to_pixel(s * frame.plot_width / s_axis_end + frame.origin_x);
}

int t_to_px(const DiagramFrame& frame, double t) {
    return truncate_to_pixel(frame.origin_y - frame.plot_height * t / t_axis_end);
}

double px_to_s(const DiagramFrame& frame, int x) {
    return (x - frame.origin_x) * static_cast<double>(s_axis_end) / frame.plot_width;
}

double px_to_t(const DiagramFrame& frame, int y) {
    return (2.0 + frame.plot_height - y) * static_cast<double>(t_axis_end) / frame.plot_height;
}

int grid_line_y(const DiagramFrame& frame, int i) {
    return frame.origin_y - (frame.plot_height * i * 50) / t_axis_end;
}

int grid_line_x(const DiagramFrame& frame, int i) {
    return frame.origin_x + (frame.plot_width * i * 500) / s_axis_end;
}

void draw_diagram_frame(HDC hdc, const DiagramFrame& frame) {
    const int left = frame.origin_x;
    const int right = frame.origin_x + frame.plot_width;
    const int bottom = frame.origin_y;
    const int top = frame.origin_y - frame.plot_height;

    // Grid: 14 horizontal lines (the last is the top border), 20 vertical lines
    // (the last is the right border).
    HPEN grid_pen = CreatePen(PS_SOLID, 1, grid_colour);
    HGDIOBJ old_pen = SelectObject(hdc, grid_pen);
    for (int i = 1; i <= 14; ++i) {
        const int y = grid_line_y(frame, i);
        MoveToEx(hdc, left, y, nullptr);
        LineTo(hdc, right, y);
    }
    for (int i = 1; i <= 20; ++i) {
        const int x = grid_line_x(frame, i);
        MoveToEx(hdc, x, bottom, nullptr);
        LineTo(hdc, x, top);
    }
    SelectObject(hdc, old_pen);
    DeleteObject(grid_pen);

    // Axes: one polyline down the left side and along the bottom.
    HPEN axis_pen = CreatePen(PS_SOLID, 1, axis_colour);
    old_pen = SelectObject(hdc, axis_pen);
    MoveToEx(hdc, left, top, nullptr);
    LineTo(hdc, left, bottom);
    LineTo(hdc, right, bottom);
    SelectObject(hdc, old_pen);
    DeleteObject(axis_pen);

    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));

    HFONT tick_font = create_plain_font(10);
    HGDIOBJ old_font = SelectObject(hdc, tick_font);
    for (int i = 1; i <= 14; ++i)
        text_out(hdc, 1, grid_line_y(frame, i), temperature_labels[i - 1]);
    for (int i = 0; i <= 19; ++i)
        text_out(hdc, grid_line_x(frame, i) - 10, bottom + 1, entropy_labels[i]);
    SelectObject(hdc, old_font);
    DeleteObject(tick_font);

    HFONT caption_font = create_plain_font(14);
    old_font = SelectObject(hdc, caption_font);
    text_out(hdc, left + 3, top + 2, L"T [\u00B0C]");
    text_out(hdc, right - 60, bottom - 15, L"S [kJ/kg\u00B0C]");
    SelectObject(hdc, old_font);
    DeleteObject(caption_font);
}
