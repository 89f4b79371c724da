// Painting of the results dialog. Each line is formatted into the shared text buffer
// just before it is drawn; the differences are taken in stored units, then divided.
#include "results_dialog.h"

#include <cwchar>

#include "program_state.h"
#include "resource.h"

namespace {

constexpr int results_line_count = 14;

struct ResultsLine {
    const wchar_t* format;
    int x;
    int y;
};

// The degree sign is U+00B0.
const ResultsLine results_lines[results_line_count] = {
    {L"t1 = %.1f \u00B0C", 40, 60},       {L"t2 = %.1f \u00B0C", 240, 60},
    {L"p1 = %.3f bar", 40, 85},           {L"p2 = %.3f bar", 240, 85},
    {L"h1 = %.1f kJ/kg", 40, 110},        {L"h2 = %.1f kJ/kg", 240, 110},
    {L"s1 = %.3f kJ/kg\u00B0C", 40, 135}, {L"s2 = %.3f kJ/kg\u00B0C", 240, 135},
    {L"v1 = %.3f m3/kg", 40, 160},        {L"v2 = %.3f m3/kg", 240, 160},
    {L"x1 = %.2f kg/kg", 40, 185},        {L"x2 = %.2f kg/kg", 240, 185},
    {L"h1-h2 = %.1f kJ/kg", 120, 235},    {L"s1-s2 = %.3f kJ/kg\u00B0C", 120, 260},
};

void results_values(double values[results_line_count]) {
    const SteamState& a = point1_state;
    const SteamState& b = point2_state;
    const double shown[results_line_count] = {
        a.t,
        b.t,
        a.p / pascals_per_bar,
        b.p / pascals_per_bar,
        a.h / 1000.0,
        b.h / 1000.0,
        a.s / 1000.0,
        b.s / 1000.0,
        a.v,
        b.v,
        a.x,
        b.x,
        (a.h - b.h) / 1000.0,
        (a.s - b.s) / 1000.0,
    };
    for (int i = 0; i < results_line_count; ++i) values[i] = shown[i];
}

HFONT create_plain_font(int height, int weight) {
    return CreateFontW(height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
}

void paint_results(HWND dialog) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(dialog, &ps);

    HFONT heading = create_plain_font(22, 700);
    HGDIOBJ old_font = SelectObject(hdc, heading);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(130, 0, 0));
    const wchar_t* title = L"Results";
    TextOutW(hdc, 160, 20, title, static_cast<int>(wcslen(title)));
    SelectObject(hdc, old_font);
    DeleteObject(heading);

    HFONT body = create_plain_font(17, 0);
    old_font = SelectObject(hdc, body);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(0, 0, 0));
    double values[results_line_count];
    results_values(values);
    for (int i = 0; i < results_line_count; ++i) {
        format_text(text_buffer, results_lines[i].format, values[i]);
        TextOutW(hdc, results_lines[i].x, results_lines[i].y, text_buffer,
                 static_cast<int>(wcslen(text_buffer)));
    }
    SelectObject(hdc, old_font);
    DeleteObject(body);

    EndPaint(dialog, &ps);
}

}  // namespace

void show_results_dialog(HWND owner) {
    DialogBoxParamW(app_instance, MAKEINTRESOURCEW(IDD_RESULTS), owner, results_dialog_proc, 0);
}

INT_PTR CALLBACK results_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_PAINT:
            paint_results(dialog);
            return TRUE;
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            // Only the "Close" button ends the dialog: Esc (IDCANCEL) and Enter (IDOK) do not.
            if (wparam == IDC_RESULTS_CLOSE) {
                EndDialog(dialog, 0);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}
