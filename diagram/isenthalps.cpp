#include "diagram/isenthalps.h"

#include <cmath>
#include <cwchar>

#include "diagram/text_buffer.h"
#include "properties/properties.h"
#include "solvers/bisection.h"

const float isenthalp_levels[isenthalp_count] = {2.6e6f, 2.7e6f, 2.8e6f, 2.9e6f, 3.0e6f, 3.1e6f,
                                                 3.2e6f, 3.3e6f, 3.4e6f, 3.5e6f, 3.6e6f};

const float crossing_tolerance = 9090.9091796875f;  // 100000 / 11 in single precision

namespace {

// A bisection halves its bracket at every step, so the few dozen steps that reach a
// 250 J/kg (or 0.25 J/(kg K)) window are far below this cap. A target outside the
// starting bracket would make the bracket collapse onto one end and never stop, so the
// cap ends the search; the caller then leaves that end point out.
constexpr int max_bisection_steps = 200;

constexpr double top_t = t_axis_end;  // C, the top edge
constexpr double top_T = top_t + celsius_zero;
constexpr double edge_s = s_axis_end;  // J/(kg K), the right edge

bool slot_filled(const CrossingGrid& grid, int k, int i) {
    return grid.x[k][i] != -1;
}

}  // namespace

void clear_crossings(CrossingGrid* grid) {
    for (int k = 0; k < isenthalp_count; ++k)
        for (int i = 0; i < isobar_count; ++i) {
            grid->x[k][i] = -1;
            grid->y[k][i] = -1;
        }
}

void note_crossing(CrossingGrid* grid, int isobar, double* reference_h, double h, int x, int y) {
    for (int k = 0; k < isenthalp_count; ++k) {
        const double hk = isenthalp_levels[k];
        if (std::fabs(h - hk) < std::fabs(*reference_h - hk)) {
            *reference_h = h;
            if (std::fabs(h - hk) < crossing_tolerance) {
                grid->x[k][isobar] = x;
                grid->y[k][isobar] = y;
            }
        }
    }
}

EdgeSearch top_edge_pressure(double h_target) {
    // Steam enthalpy at 700 C falls with rising pressure.
    double lo = isobar_pa(0);
    double hi = isobar_pa(isobar_count - 1);
    double p = (lo + hi) * 0.5;
    for (int n = 0; n < max_bisection_steps; ++n) {
        const double h = sub2_enthalpy(top_T, p);
        if (h < h_target - enthalpy_tolerance)
            hi = p;
        else if (h <= h_target + enthalpy_tolerance)
            return EdgeSearch{1, p};
        else
            lo = p;
        p = (lo + hi) * 0.5;
    }
    return EdgeSearch{0, p};
}

namespace {

// Pressure at which the steam entropy at T is within 0.25 J/(kg K) of the right edge.
// At the cap the last probe is used: the outer search then judges it by its enthalpy.
double edge_pressure(double T, double high_pa) {
    double plo = 0.0;
    double phi = high_pa;
    double p = phi / 2;
    for (int n = 0; n < max_bisection_steps; ++n) {
        const double s = sub2_entropy(T, p);
        if (s < edge_s - entropy_tolerance)
            phi = p;
        else if (s <= edge_s + entropy_tolerance)
            break;
        else
            plo = p;
        p = (plo + phi) * 0.5;
    }
    return p;
}

}  // namespace

EdgeSearch right_edge_temperature(double h_target, double low_pressure_pa) {
    double tlo = 0.0;
    double thi = top_t;
    double t = thi / 2;
    for (int n = 0; n < max_bisection_steps; ++n) {
        const double T = t + celsius_zero;
        const double h = sub2_enthalpy(T, edge_pressure(T, low_pressure_pa));
        if (h >= h_target - enthalpy_tolerance && h <= h_target + enthalpy_tolerance)
            return EdgeSearch{1, t};
        if (h < h_target - enthalpy_tolerance)
            tlo = t;
        else
            thi = t;
        t = (tlo + thi) * 0.5;
    }
    return EdgeSearch{0, t};
}

void add_isenthalp_end_points(const DiagramFrame& frame, CrossingGrid* grid,
                              POINT anchors[isobar_count]) {
    // Top edge: an isenthalp that never reaches the 1000 bar isobar inside the plot ends
    // on the 700 C line, in the slot after its last crossing.
    for (int k = 0; k < isenthalp_count; ++k) {
        if (slot_filled(*grid, k, isobar_count - 1)) continue;
        int j = -1;
        for (int i = isobar_count - 2; i >= 0; --i)
            if (slot_filled(*grid, k, i)) {
                j = i;
                break;
            }
        const EdgeSearch found = top_edge_pressure(isenthalp_levels[k]);
        if (!found.found) continue;  // no end on the top edge: the line stops at its last crossing
        const double s = sub2_entropy(top_T, found.value);
        grid->x[k][j + 1] =
            static_cast<int32_t>(s * frame.plot_width / s_axis_end + frame.origin_x);
        grid->y[k][j + 1] = frame.origin_y - frame.plot_height;
    }

    // The lowest isobar that is still inside the plot at 700 C bounds the pressure
    // search along the right edge.
    int i0 = -1;
    for (int i = 0; i < isobar_count; ++i)
        if (sub2_entropy(top_T, isobar_pa(i)) < edge_s) {
            i0 = i;
            break;
        }

    for (int k = 0; k < isenthalp_count; ++k) {
        if (slot_filled(*grid, k, 0)) {
            anchors[k].x = grid->x[k][0];
            anchors[k].y = grid->y[k][0];
            continue;
        }
        int j = isobar_count;
        for (int i = 1; i < isobar_count; ++i)
            if (slot_filled(*grid, k, i)) {
                j = i;
                break;
            }
        const EdgeSearch found = i0 >= 0
                                     ? right_edge_temperature(isenthalp_levels[k], isobar_pa(i0))
                                     : EdgeSearch{0, 0.0};
        if (found.found) {
            const int x = frame.origin_x + frame.plot_width;
            const int y =
                static_cast<int>(frame.origin_y - frame.plot_height * found.value / t_axis_end);
            grid->x[k][j - 1] = x;
            grid->y[k][j - 1] = y;
            anchors[k].x = x;
            anchors[k].y = y;
        } else if (j < isobar_count) {
            // No right-edge end: the line starts at its first crossing, and so does its label.
            anchors[k].x = grid->x[k][j];
            anchors[k].y = grid->y[k][j];
        } else {
            anchors[k].x = -1;  // nothing of this isenthalp is on the chart: no label
            anchors[k].y = -1;
        }
    }
}

void draw_isenthalps(HDC hdc, const CrossingGrid& grid) {
    HPEN pen = CreatePen(PS_SOLID, 1, isenthalp_colour);
    HGDIOBJ old_pen = SelectObject(hdc, pen);
    for (int k = 0; k < isenthalp_count; ++k) {
        bool pen_up = true;
        if (slot_filled(grid, k, 0)) {
            MoveToEx(hdc, grid.x[k][0], grid.y[k][0], nullptr);
            pen_up = false;
        }
        for (int i = 1; i < isobar_count; ++i) {
            if (!slot_filled(grid, k, i)) {
                pen_up = true;  // a missed crossing leaves a gap
            } else if (pen_up) {
                MoveToEx(hdc, grid.x[k][i], grid.y[k][i], nullptr);
                pen_up = false;
            } else {
                LineTo(hdc, grid.x[k][i], grid.y[k][i]);
            }
        }
    }
    SelectObject(hdc, old_pen);
    DeleteObject(pen);
}

void draw_isenthalp_labels(HDC hdc, const POINT anchors[isobar_count]) {
    HFONT font = CreateFontW(12, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    HGDIOBJ old_font = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, isenthalp_colour);
    for (int k = 0; k < isenthalp_count; ++k) {
        if (anchors[k].x < 0) continue;
        format_text(text_buffer, L"%.1f MJ/kg", isenthalp_levels[k] / 1e6);
        const int L = static_cast<int>(std::wcslen(text_buffer));
        TextOutW(hdc, anchors[k].x - (6 * L + 6), anchors[k].y - 12, text_buffer, L);
    }
    SelectObject(hdc, old_font);
    DeleteObject(font);
}
