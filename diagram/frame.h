// The plot rectangle inside the main window's client area, the mapping between
// (s, t) and client pixels in both directions, and the static frame of the chart
// (grid, axes, tick labels, axis captions).
//
// Units on the drawing side: s in J/(kg K) (the horizontal axis spans 0 to 10000),
// t in degrees Celsius (0 to 700 upward). Pixel y grows downward.
#pragma once

#include <cstdint>

#include "platform.h"
#include "solvers/steam_state.h"

// The axes end where the program's range does: s = 10000 J/(kg K) on the right,
// t = 700 C at the top. Integers, as the grid's integer arithmetic needs them.
constexpr int s_axis_end = static_cast<int>(valid_s_max);
constexpr int t_axis_end = static_cast<int>(valid_t_max);

struct DiagramFrame {
    int32_t origin_x;     // pixel x of s = 0 (the left axis)
    int32_t origin_y;     // pixel y of t = 0 (the bottom axis)
    int32_t plot_width;   // pixels from s = 0 to s = 10000 J/(kg K)
    int32_t plot_height;  // pixels from t = 0 to t = 700 C
    float t_step;         // temperature step of the curve tracers, C
};

// 20 pixels on the left for the temperature labels, 2 above, 2 on the right and 16
// below for the entropy labels. t_step is 700 / plot_height in integer division,
// so 1.0 for every client height from 369 to 718.
DiagramFrame frame_from_client(const RECT* client);

// Forward mapping, truncated toward zero.
int s_to_px(const DiagramFrame& frame, double s);
int t_to_px(const DiagramFrame& frame, double t);
// Inverse mapping (no rounding): s in J/(kg K), t in C.
double px_to_s(const DiagramFrame& frame, int x);
double px_to_t(const DiagramFrame& frame, int y);

// Integer grid positions shared by the grid lines and the tick labels:
// horizontal line i (1..14) stands at 50 i C, vertical line i (0..20) at 0.5 i kJ/kg C.
int grid_line_y(const DiagramFrame& frame, int i);
int grid_line_x(const DiagramFrame& frame, int i);

constexpr COLORREF grid_colour = RGB(192, 192, 192);
constexpr COLORREF axis_colour = RGB(255, 255, 255);

// Grid, axes, tick labels and the two axis captions.
void draw_diagram_frame(HDC hdc, const DiagramFrame& frame);
