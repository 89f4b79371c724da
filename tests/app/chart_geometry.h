// The main window's fixed geometry as the tests see it: a 994 x 671 client area, so the
// plot starts 20 pixels from the left and its bottom axis lies 16 pixels above the
// client's bottom; and the dialog-unit scale of templates without a font of their own.
#pragma once

namespace geometry {

constexpr int client_width = 994;
constexpr int client_height = 671;
constexpr int origin_x = 20;
constexpr int origin_y = client_height - 16;
constexpr int plot_width = client_width - 22;
constexpr int plot_height = client_height - 18;

// A diagram point of the client area, from s in kJ/kg C and t in C.
constexpr int x_of(double s_kj) { return static_cast<int>(s_kj * 1000 * plot_width / 10000 + origin_x); }
constexpr int y_of(double t) { return static_cast<int>(origin_y - plot_height * t / 700); }
// The inverse, as the window maps the cursor: s in kJ/kg C, t in C.
constexpr double s_of(int x) { return (x - origin_x) * 10000.0 / plot_width / 1000.0; }
constexpr double t_of(int y) { return (2.0 + plot_height - y) * 700.0 / plot_height; }

// The readout panel's face.
constexpr int readout_left = origin_x + 20;
constexpr int readout_top = origin_y - plot_height / 2;

// Templates without a font use the system dialog font: one unit is 2 pixels each way.
constexpr int du(int units) { return units * 2; }

}  // namespace geometry
