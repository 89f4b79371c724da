// The results dialog: both states of a process side by side and the differences
// h1-h2 and s1-s2, in display units. Reads point1_state and point2_state (p in Pa)
// every time it paints.
#pragma once

#include "platform.h"

INT_PTR CALLBACK results_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The fourteen lines of the latest painting, as drawn: kept for the state dump.
constexpr int results_line_count = 14;
extern wchar_t painted_results[results_line_count][100];
