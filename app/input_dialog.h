// The data-input dialog: a pair of given properties for each point, or a turbine case,
// and four typed values. It checks nothing; it writes the pairs and the values, in
// solver units, into the program state, which the typed-point path then evaluates.
#pragma once

#include "platform.h"

INT_PTR CALLBACK input_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// A typed number as the runtime's _wtof reads it: leading white space skipped, then the
// longest prefix of an optional sign, digits with a point as decimal separator and an
// optional exponent; no such prefix gives 0. Independent of the locale.
double typed_number(const wchar_t* text);
