// Overlays drawn over the chart: the raised title panel with the program's name, a
// credit line and two lines of prompts; the same panel with one red status line; the
// green readout panel showing the state under the cursor; and the point markers.
#pragma once

#include "diagram/frame.h"
#include "platform.h"
#include "solvers/solvers.h"

// Prompt lines of the title panel, first and second line.
inline constexpr const wchar_t* start_prompt_line1 =
    L"Press a KEY to introduce data from keyboard or point";
inline constexpr const wchar_t* start_prompt_line2 =
    L"the screen and press the LEFT BUTTON of the mouse";
inline constexpr const wchar_t* second_point_prompt_line1 =
    L"Point the screen and press the LEFT BUTTON of";
inline constexpr const wchar_t* second_point_prompt_line2 =
    L"the mouse to calculate values of the second point";
inline constexpr const wchar_t* outside_prompt_line1 =
    L"The point selected is outside the valid space";
inline constexpr const wchar_t* outside_prompt_line2 = L"Please re-insert the point by the mouse";
inline constexpr const wchar_t* blank_prompt = L"";

// Status lines.
inline constexpr const wchar_t* status_drawing = L"Drawing in progress - please wait";
inline constexpr const wchar_t* status_thinking = L"Thinking ...";

// The title panel's own texts.
inline constexpr const wchar_t* program_name = L"Vapora 2.0";
inline constexpr const wchar_t* title_credit = L"Water and steam, IFC-67";

// Colours of the marks and lines the main window draws over the chart.
constexpr COLORREF marker_red = RGB(255, 0, 0);
constexpr COLORREF turbine_blue = RGB(0, 0, 255);
constexpr COLORREF rubber_band_white = RGB(255, 255, 255);

// Title panel geometry (the face; the bevel lies 5 pixels outside left and right and
// 4 above and below).
constexpr int title_left = 80;
constexpr int title_top = 20;
constexpr int title_right = 340;
constexpr int title_bottom = 110;
constexpr int panel_grey = 192;

// Readout panel colour and size.
constexpr int readout_green = 130;
constexpr int readout_width = 100;
constexpr int readout_height = 125;

// Position of the readout panel, written by draw_readout_panel.
extern int readout_left;
extern int readout_top;

// A raised panel: face (r, g, b) covering left..right and top..bottom inclusive, a light
// bevel (+32) on the top and left, a dark one (-32) on the right and bottom. Components
// are clamped into 0..255 first.
void draw_bevel_box(HDC hdc, int left, int top, int right, int bottom, int r, int g, int b);

// The title panel with the name, the credit line and two prompt lines (an empty line
// draws nothing).
void draw_title_box(HDC hdc, const wchar_t* line1, const wchar_t* line2);

// The title panel with one red status line instead.
void draw_status_box(HDC hdc, const wchar_t* text);

// The green readout panel inside the plot with the six values of state (p in Pa).
// Leaves the background mode opaque and the background colour green.
void draw_readout_panel(HDC hdc, const DiagramFrame& frame, const SteamState& state);

// A filled circle of radius 3 in colour.
void draw_point_marker(HDC hdc, int x, int y, COLORREF colour);

// A solid 1-pixel line in colour from (x1, y1) to (x2, y2), as the process lines are
// drawn.
void draw_process_line(HDC hdc, int x1, int y1, int x2, int y2, COLORREF colour);
