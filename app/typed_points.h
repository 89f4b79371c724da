// The typed-point path: any key opens the data-input dialog; the typed points are
// guarded, solved, marked and joined, and shown in the results dialog, or refused with
// one message box.
#pragma once

#include "platform.h"

// Key-down handling of the main window, for any key and in either interaction state.
// Leaves awaiting_first_point and rubber_band_fresh as they were.
void on_key_down(HWND hwnd);

// Point 1 by point1_pair, then point 2 by point2_pair (or the turbine expansion, whose
// isentropic line is drawn in blue on hdc). Returns false after the message box on the
// first refusal; the records then keep what was written before it, p in bar.
bool evaluate_typed_points(HWND hwnd, HDC hdc);
