// The handler of the one main window and its small per-message handlers.
#pragma once

#include "platform.h"

// Handles WM_PAINT, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_KEYDOWN, WM_COMMAND and WM_DESTROY
// (returning 0) and passes everything else to the default handler.
LRESULT CALLBACK main_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

// The whole repaint: black, frame, status panel, isolines, dome, title panel.
void on_paint(HWND hwnd);
// Readout under the cursor and, once point 1 is fixed, the rubber band.
void on_mouse_move(HWND hwnd);
// First click fixes point 1, second click fixes point 2 and shows the results.
void on_left_button_down(HWND hwnd);
// 104 opens the About box, 105 ends the program. Returns false for other commands.
bool on_command(HWND hwnd, WPARAM wparam);

// The cursor position now, in client pixels (not the position carried by the message).
void read_cursor(HWND hwnd, POINT* px);
