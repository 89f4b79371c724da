// The whole repaint of the main window's client area. The window's paint handler and
// the headless exporter both call it, so both show the same pixels.
#pragma once

#include "diagram/frame.h"
#include "platform.h"

// Computes *frame from client (the frame every later mapping uses), then fills the
// client area black and draws, in this order: the frame, the status panel
// "Drawing in progress - please wait", the isobars with the isenthalps, the saturation
// dome, and the title panel with the start prompts. Everything is recomputed.
void draw_chart(HDC hdc, const RECT* client, DiagramFrame* frame);

// Step 2 of the repaint on its own: a black brush with the selected pen over
// (0, 0)..(client right, client bottom).
void fill_client_black(HDC hdc, const RECT* client);
