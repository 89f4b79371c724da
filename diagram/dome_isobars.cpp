#include "diagram/dome_isobars.h"

#include <cmath>
#include <cwchar>

#include "diagram/text_buffer.h"
#include "properties/properties.h"
#include "solvers/solvers.h"

namespace {

// Every tracer starts at the saturated liquid at 10 C and stops after this many steps
// at the latest; with a step of 1 C the longest trace (an isobar to 699 C) takes 689.
constexpr int max_tracer_steps = 100000;

// Every curve begins at the lowest temperature of the program's range, 10 C.
constexpr double start_t = valid_t_min;
constexpr double start_T = valid_T_min;
// The critical point, where the dome closes: 374.15 C.
constexpr double critical_t = critical_temperature - celsius_zero;

// The pixel of the saturated liquid at 10 C, where the dome's liquid branch and all
// sixteen isobars begin.
POINT start_pixel(const DiagramFrame& frame, double s0) {
    POINT p;
    p.x = frame.origin_x + static_cast<int>(s0 * frame.plot_width / s_axis_end);
    p.y = frame.origin_y - static_cast<int>(frame.plot_height * start_t / t_axis_end);
    return p;
}

int critical_y(const DiagramFrame& frame) {
    return static_cast<int>(frame.origin_y - critical_t * frame.plot_height / t_axis_end);
}

}  // namespace

double tracer_step(const DiagramFrame& frame) {
    return frame.t_step > 0.0f ? static_cast<double>(frame.t_step) : 1.0;
}

void draw_saturation_dome(HDC hdc, const DiagramFrame& frame) {
    const double step = tracer_step(frame);
    const double p10 = sat_pressure(start_T);
    const int top_y = critical_y(frame);

    HPEN pen = CreatePen(PS_SOLID, 1, dome_colour);
    HGDIOBJ old_pen = SelectObject(hdc, pen);

    // Liquid branch; it ends one pixel right of the critical point.
    POINT start = start_pixel(frame, sub1_entropy(start_T, p10));
    MoveToEx(hdc, start.x, start.y, nullptr);
    double t = start_t + step;
    for (int n = 0; n < max_tracer_steps && t <= critical_t; ++n, t += step) {
        const double T = t + celsius_zero;
        LineTo(hdc, s_to_px(frame, sat_liquid_entropy(T, sat_pressure(T))), t_to_px(frame, t));
    }
    LineTo(
        hdc,
        static_cast<int>(frame.plot_width * critical_entropy / s_axis_end + frame.origin_x + 1.0),
        top_y);

    // Vapour branch, each point one pixel left of the mapping; it ends at the
    // critical point itself, so the two branches close without overlapping.
    start = start_pixel(frame, sub2_entropy(start_T, p10));
    MoveToEx(hdc, start.x, start.y, nullptr);
    t = start_t + step;
    for (int n = 0; n < max_tracer_steps && t <= critical_t; ++n, t += step) {
        const double T = t + celsius_zero;
        const double s = sat_vapour_entropy(T, sat_pressure(T));
        LineTo(hdc, static_cast<int>(s * frame.plot_width / s_axis_end + frame.origin_x - 1.0),
               t_to_px(frame, t));
    }
    LineTo(hdc, static_cast<int>(frame.plot_width * critical_entropy / s_axis_end + frame.origin_x),
           top_y);

    SelectObject(hdc, old_pen);
    DeleteObject(pen);
}

void draw_isobars(HDC hdc, const DiagramFrame& frame, CrossingGrid* grid,
                  POINT anchors[isobar_count]) {
    const double step = tracer_step(frame);
    const double p10 = sat_pressure(start_T);
    const double h0 = sub1_enthalpy(start_T, p10);
    const POINT start = start_pixel(frame, sub1_entropy(start_T, p10));

    clear_crossings(grid);
    for (int i = 0; i < isobar_count; ++i) {
        const double p = isobar_pa(i);
        HPEN pen =
            CreatePen(PS_SOLID, 1, i == critical_isobar ? critical_isobar_colour : isobar_colour);
        HGDIOBJ old_pen = SelectObject(hdc, pen);

        MoveToEx(hdc, start.x, start.y, nullptr);
        double reference_h = h0;
        double t = start_t + step;
        for (int n = 0; n < max_tracer_steps && t < t_axis_end; ++n, t += step) {
            double h, s;  // the trace has no use for v
            props_from_TP(t + celsius_zero, p, nullptr, &h, &s);
            if (s > s_axis_end)
                break;  // the isobar leaves through the right edge; this point is not drawn
            const int x = s_to_px(frame, s);
            const int y = t_to_px(frame, t);
            LineTo(hdc, x, y);
            anchors[i].x = x;
            anchors[i].y = y;
            note_crossing(grid, i, &reference_h, h, x, y);
        }

        SelectObject(hdc, old_pen);
        DeleteObject(pen);
    }
}

void draw_isobar_labels(HDC hdc, const DiagramFrame& frame, const POINT anchors[isobar_count]) {
    // The labels run at the angle of a line rising 5 plot heights over one plot width.
    const double rise = 5.0 * frame.plot_height;
    const double angle = std::atan(rise / frame.plot_width);
    const int escapement = static_cast<int>(angle * 1800 / 3.14159);
    const double hyp =
        std::sqrt(static_cast<double>(frame.plot_width) * frame.plot_width + rise * rise);
    const double c = frame.plot_width / hyp;
    const double n = rise / hyp;

    HFONT font = CreateFontW(10, 5, escapement, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    HGDIOBJ old_font = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, isobar_colour);

    for (int i = 0; i < isobar_count; ++i) {
        const double P = isobar_pressures[i];
        const double X = anchors[i].x;
        const double Y = anchors[i].y;
        int x, y;
        if (i == critical_isobar) {
            format_text(text_buffer, L"P crit. = %.0f bar", P);
            const int L = static_cast<int>(std::wcslen(text_buffer));
            x = static_cast<int>(X - 10.0 * L * c - 10);
            y = static_cast<int>(Y + 10.0 * (L - 5) * n);
        } else {
            format_text(text_buffer, P >= 1 ? L"%.0f bar" : L"%.2f bar", P);
            const int L = static_cast<int>(std::wcslen(text_buffer));
            x = static_cast<int>(X - 5.0 * L * c - 10);
            y = static_cast<int>(Y + 5.0 * L * n + 10);
        }
        TextOutW(hdc, x, y, text_buffer, static_cast<int>(std::wcslen(text_buffer)));
    }

    SelectObject(hdc, old_font);
    DeleteObject(font);
}
