// The one place a test build looks into the running program. The shipped program links
// an empty definition (test_hook_none.cpp); a test build links its own, which may record
// what it is told (program state, beeps, message boxes, window snapshots).
#pragma once

#include "win32_types.h"

// The Linux layer calls this after a window or dialog procedure has handled a message
// (event "message"), when it beeps ("beep"), just before it shows a message box
// ("message_box"), and once a dialog's controls exist and WM_INITDIALOG has run ("dialog").
void platform_test_hook(const char* event, HWND hwnd, UINT message);
