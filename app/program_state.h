// The running program's state: one set of module-level variables, created at start and
// kept until the program ends. The main window's handler owns them; the data-input
// dialog fills the typed points and pairs, the results dialog reads the two points.
//
// Units in the three records: t in C, p in Pa, h in J/kg, s in J/(kg K), v in m3/kg,
// x in kg/kg. The solvers give p in bar; the main window multiplies it by 100000 right
// after a record has been solved. Between the data-input dialog and that step the two
// point records hold the typed values in solver units (p in bar).
#pragma once

#include "diagram/diagram.h"
#include "platform.h"
#include "solvers/solvers.h"

// The module instance, stored before the window is created; the dialogs open with it.
extern HINSTANCE app_instance;

constexpr int title_buffer_length = 100;
extern wchar_t window_title[title_buffer_length];       // string 103
extern wchar_t window_class_name[title_buffer_length];  // string 109

extern SteamState cursor_state;    // the state under the mouse, shown by the readout panel
extern SteamState point1_state;    // start point of a process
extern SteamState point2_state;    // end point of a process
extern double turbine_efficiency;  // percent, typed for the turbine case

extern InputPair point1_pair;  // what is given for point 1 in the data-input dialog
extern InputPair point2_pair;  // ... and for point 2 (turbine: outlet pressure, efficiency)

extern POINT cursor_px;           // latest cursor position, client pixels
extern POINT previous_cursor_px;  // the one before the latest mouse move
extern POINT point1_px;           // where point 1 is marked
extern POINT point2_px;           // where point 2 is marked

extern RECT client_rect;            // client area, taken at every repaint
extern DiagramFrame diagram_frame;  // computed from client_rect at every repaint

// true: the next click fixes point 1; false: point 1 is fixed, the next click fixes
// point 2. Initially true; every repaint sets it again.
extern bool awaiting_first_point;
// true: no rubber-band segment is on screen, so the next update has nothing to erase.
extern bool rubber_band_fresh;
// Data-input dialog only: a turbine case is the latest choice.
extern bool turbine_selected;

// Fixed texts of the main window and its dialogs.
inline constexpr const wchar_t* out_of_range_message = L"Data out of range, please retry";
