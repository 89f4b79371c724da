// The one number grammar of the program: what the data-input dialog reads from an edit
// box and what the command-line tools read from an argument or a CSV field. A number is
// an optional sign, digits with a point as decimal separator (at least one digit) and an
// optional exponent (e or E, an optional sign, at least one digit). Independent of the
// locale; a tiny value such as 1e-320 is a number, and a range guard decides about it.
#pragma once

// As the runtime's _wtof reads a typed text: leading white space skipped, then the
// longest prefix that is a number is converted; no such prefix gives 0. A value beyond
// a double gives an infinity, one below the smallest denormal 0.
double typed_number(const wchar_t* text);

// The tools' reading of one argument or field: true, with the value in *value, only when
// the whole text (white space around it allowed) is one number and the value is finite.
// A negative zero reads as 0, so that no tool prints "-0" for what the user wrote as 0.
// false leaves *value untouched.
bool parse_number_field(const char* text, double* value);
