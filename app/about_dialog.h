// The About box, reached by Alt with "?" or "/".
#pragma once

#include "platform.h"

// TRUE on initialisation (the dialog manager focuses OK); OK, Enter, Esc and the close
// button end the dialog with their identifier.
INT_PTR CALLBACK about_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
