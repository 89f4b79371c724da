// The results dialog: both states of a process side by side and the differences
// h1-h2 and s1-s2, in display units. Reads point1_state and point2_state (p in Pa)
// every time it paints.
#pragma once

#include "platform.h"

INT_PTR CALLBACK results_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Opens the results dialog modally over the main window and waits for it to close.
void show_results_dialog(HWND owner);
