// The one shared scratch buffer for wide text, and the formatter that fills it.
// The data-input dialog reads edit boxes into text_buffer; every formatted line
// (readout, isobar and isenthalp labels, results) is formatted into it just before
// it is drawn.
#pragma once

#include <cstddef>

constexpr std::size_t text_buffer_length = 100;

extern wchar_t text_buffer[text_buffer_length];

// Formats one double by a printf-style wide format (%.Nf conversions) and writes the
// terminator. Every caller passes text_buffer and a format whose result fits in it;
// a result that would not fit leaves the buffer empty rather than torn.
void format_text(wchar_t* buffer, const wchar_t* format, double value);
