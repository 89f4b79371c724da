#include "diagram/text_buffer.h"

#include <cwchar>

wchar_t text_buffer[text_buffer_length];

void format_text(wchar_t* buffer, const wchar_t* format, double value) {
    // A result that would not fit leaves an empty string rather than a torn one.
    if (std::swprintf(buffer, text_buffer_length, format, value) < 0) buffer[0] = L'\0';
}
