// The main window: repaint of the whole chart, the live readout, the two-click process
// with its rubber band, and the commands. Overlays are drawn straight onto the window
// outside the repaint; only a repaint redraws the chart beneath them.
#include "main_window.h"

#include "about_dialog.h"
#include "program_state.h"
#include "resource.h"
#include "results_dialog.h"
#include "typed_points.h"

namespace {

// MessageBeep's simple beep.
constexpr UINT simple_beep = 0xFFFFFFFF;

// t and s of a pixel into the record; inside the valid space the rest of the state too,
// with p converted to Pa. Outside, h, p, v and x keep what the caller cleared them to.
bool solve_diagram_point(POINT px, SteamState* state) {
    state->s = px_to_s(diagram_frame, px.x);
    state->t = px_to_t(diagram_frame, px.y);
    if (!state_at_diagram_point(state->t, state->s, state)) return false;
    state->p *= pascals_per_bar;
    return true;
}

// A line in the inverting raster mode with a white pen: drawn twice, it leaves the
// screen as it was.
void draw_inverted_line(HDC hdc, POINT from, POINT to) {
    HPEN pen = CreatePen(PS_SOLID, 1, rubber_band_white);
    HGDIOBJ old_pen = SelectObject(hdc, pen);
    int old_mode = SetROP2(hdc, R2_NOT);
    MoveToEx(hdc, from.x, from.y, nullptr);
    LineTo(hdc, to.x, to.y);
    SetROP2(hdc, old_mode);
    SelectObject(hdc, old_pen);
    DeleteObject(pen);
}

}  // namespace

void read_cursor(HWND hwnd, POINT* px) {
    GetCursorPos(px);
    ScreenToClient(hwnd, px);
}

void on_paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    GetClientRect(hwnd, &client_rect);
    // Any repaint, also one of a part of the window, cancels a point 1 fixed by a click.
    awaiting_first_point = true;
    draw_chart(hdc, &client_rect, &diagram_frame);
    EndPaint(hwnd, &ps);
}

void on_mouse_move(HWND hwnd) {
    // Before the first repaint there is no frame to map the cursor with.
    if (diagram_frame.plot_width <= 0 || diagram_frame.plot_height <= 0) return;
    HDC hdc = GetDC(hwnd);
    cursor_state = SteamState{};
    previous_cursor_px = cursor_px;
    read_cursor(hwnd, &cursor_px);
    solve_diagram_point(cursor_px, &cursor_state);
    // Outside the valid space the panel shows the cursor's t and s and zeros.
    draw_readout_panel(hdc, diagram_frame, cursor_state);
    if (awaiting_first_point) {
        rubber_band_fresh = true;
    } else {
        if (rubber_band_fresh) {
            rubber_band_fresh = false;
        } else {
            draw_inverted_line(hdc, point1_px, previous_cursor_px);
        }
        draw_inverted_line(hdc, point1_px, cursor_px);
    }
    ReleaseDC(hwnd, hdc);
}

void on_left_button_down(HWND hwnd) {
    if (diagram_frame.plot_width <= 0 || diagram_frame.plot_height <= 0) return;
    HDC hdc = GetDC(hwnd);
    if (awaiting_first_point) {
        point1_state = SteamState{};
        point2_state = SteamState{};
        read_cursor(hwnd, &point1_px);
        point1_state.s = px_to_s(diagram_frame, point1_px.x);
        point1_state.t = px_to_t(diagram_frame, point1_px.y);
        if (in_valid_space_t_s(point1_state.t, point1_state.s)) {
            awaiting_first_point = false;
            draw_point_marker(hdc, point1_px.x, point1_px.y, marker_red);
            solve_diagram_point(point1_px, &point1_state);
            draw_title_box(hdc, second_point_prompt_line1, second_point_prompt_line2);
        } else {
            MessageBeep(simple_beep);
            draw_title_box(hdc, outside_prompt_line1, outside_prompt_line2);
        }
    } else {
        read_cursor(hwnd, &point2_px);
        point2_state.s = px_to_s(diagram_frame, point2_px.x);
        point2_state.t = px_to_t(diagram_frame, point2_px.y);
        if (in_valid_space_t_s(point2_state.t, point2_state.s)) {
            awaiting_first_point = true;
            // Only a segment that is on screen is erased; afterwards none is.
            if (!rubber_band_fresh) draw_inverted_line(hdc, point1_px, cursor_px);
            rubber_band_fresh = true;
            solve_diagram_point(point2_px, &point2_state);
            draw_point_marker(hdc, point2_px.x, point2_px.y, marker_red);
            draw_process_line(hdc, point1_px.x, point1_px.y, point2_px.x, point2_px.y, marker_red);
            draw_title_box(hdc, blank_prompt, blank_prompt);
            show_results_dialog(hwnd);
            draw_title_box(hdc, start_prompt_line1, start_prompt_line2);
        } else {
            // Point 1 and the rubber band stay; the next valid click still completes.
            MessageBeep(simple_beep);
            draw_title_box(hdc, outside_prompt_line1, outside_prompt_line2);
        }
    }
    ReleaseDC(hwnd, hdc);
}

bool on_command(HWND hwnd, WPARAM wparam) {
    switch (LOWORD(wparam)) {
        case IDM_ABOUT:
            DialogBoxParamW(app_instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), hwnd, about_dialog_proc,
                            0);
            return true;
        case IDM_EXIT:
            DestroyWindow(hwnd);
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK main_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            on_paint(hwnd);
            return 0;
        case WM_MOUSEMOVE:
            on_mouse_move(hwnd);
            return 0;
        case WM_LBUTTONDOWN:
            on_left_button_down(hwnd);
            return 0;
        case WM_KEYDOWN:
            on_key_down(hwnd);
            return 0;
        case WM_COMMAND:
            if (!on_command(hwnd, wparam)) break;
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}
