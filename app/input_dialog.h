// The data-input dialog: a pair of given properties for each point, or a turbine case,
// and four typed values. It checks nothing; it writes the pairs and the values, in
// solver units, into the program state, which the typed-point path then evaluates.
#pragma once

#include "platform.h"
#include "solvers/typed_number.h"  // typed_number: how a box's text becomes a value

INT_PTR CALLBACK input_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
