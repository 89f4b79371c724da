// Evaluation of what was typed in the data-input dialog. The guards and the solve per
// pair are the solvers' one typed-point evaluation; this file decides what is drawn and
// when the user is told.
#include "typed_points.h"

#include "input_dialog.h"
#include "program_state.h"
#include "resource.h"
#include "results_dialog.h"

namespace {

// The two typed values of a point, in the order of its pair's name.
void typed_values(int pair, const SteamState& state, double* first, double* second) {
    switch (pair) {
        case t_p:
            *first = state.t;
            *second = state.p;
            break;
        case t_h:
            *first = state.t;
            *second = state.h;
            break;
        case p_h:
            *first = state.p;
            *second = state.h;
            break;
        case t_s:
            *first = state.t;
            *second = state.s;
            break;
        case p_s:
            *first = state.p;
            *second = state.s;
            break;
        case t_x:
            *first = state.t;
            *second = state.x;
            break;
        case p_x:
            *first = state.p;
            *second = state.x;
            break;
        default:
            *first = 0.0;
            *second = 0.0;
            break;
    }
}

bool solve_point(int pair, SteamState* state) {
    double first = 0.0;
    double second = 0.0;
    typed_values(pair, *state, &first, &second);
    SteamState solved;
    if (!solve_typed_point(pair, first, second, &solved)) return false;
    *state = solved;
    return true;
}

POINT diagram_px(double s, double t) {
    return POINT{s_to_px(diagram_frame, s), t_to_px(diagram_frame, t)};
}

bool refuse(HWND hwnd) {
    MessageBoxW(hwnd, out_of_range_message, L"", MB_ICONEXCLAMATION);
    return false;
}

// The end point as a turbine outlet: the isentropic expansion is drawn in blue as soon
// as it is known, and stays on screen even when the real outlet is refused.
bool solve_turbine_outlet(HDC hdc) {
    SteamState isentropic;
    if (!turbine_isentropic_end(&point1_state, point2_state.p, turbine_efficiency, &isentropic))
        return false;
    point2_state = isentropic;
    point1_px = diagram_px(point1_state.s, point1_state.t);
    point2_px = diagram_px(point1_state.s, isentropic.t);
    draw_point_marker(hdc, point1_px.x, point1_px.y, turbine_blue);
    draw_point_marker(hdc, point2_px.x, point2_px.y, turbine_blue);
    draw_process_line(hdc, point1_px.x, point1_px.y, point2_px.x, point2_px.y, turbine_blue);
    SteamState outlet;
    if (!turbine_real_outlet(&point1_state, &isentropic, turbine_efficiency, &outlet)) return false;
    point2_state = outlet;
    return true;
}

}  // namespace

bool evaluate_typed_points(HWND hwnd, HDC hdc) {
    if (!solve_point(point1_pair, &point1_state)) return refuse(hwnd);
    bool solved = point2_pair == turbine ? solve_turbine_outlet(hdc)
                                         : solve_point(point2_pair, &point2_state);
    if (!solved) return refuse(hwnd);
    return true;
}

void on_key_down(HWND hwnd) {
    point1_state = SteamState{};
    point2_state = SteamState{};
    HDC hdc = GetDC(hwnd);
    draw_title_box(hdc, blank_prompt, blank_prompt);
    DialogBoxParamW(app_instance, MAKEINTRESOURCEW(IDD_INPUT), hwnd, input_dialog_proc, 0);
    draw_status_box(hdc, status_thinking);
    if (evaluate_typed_points(hwnd, hdc)) {
        point1_state.p *= pascals_per_bar;
        point2_state.p *= pascals_per_bar;
        point1_px = diagram_px(point1_state.s, point1_state.t);
        point2_px = diagram_px(point2_state.s, point2_state.t);
        draw_point_marker(hdc, point1_px.x, point1_px.y, marker_red);
        draw_point_marker(hdc, point2_px.x, point2_px.y, marker_red);
        draw_process_line(hdc, point1_px.x, point1_px.y, point2_px.x, point2_px.y, marker_red);
        draw_title_box(hdc, blank_prompt, blank_prompt);
        show_results_dialog(hwnd);
    }
    draw_title_box(hdc, start_prompt_line1, start_prompt_line2);
    ReleaseDC(hwnd, hdc);
}
