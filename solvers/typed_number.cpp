// One scanner for both character types, so that the dialog and the tools cannot drift.
#include "solvers/typed_number.h"

#include <charconv>
#include <cmath>
#include <cwctype>
#include <string>
#include <system_error>

namespace {

bool is_digit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
bool is_space(wchar_t c) {
    return std::iswspace(static_cast<wint_t>(c)) != 0;
}

// Copies the longest number at the start of text (no white space skipped) into number,
// as narrow characters. Returns the character just after it, or text when there is none.
template <typename Char>
const Char* scan_number(const Char* text, std::string* number) {
    const Char* c = text;
    number->clear();
    if (*c == '+' || *c == '-') *number += static_cast<char>(*c++);
    int digits = 0;
    while (is_digit(*c)) {
        *number += static_cast<char>(*c++);
        ++digits;
    }
    if (*c == '.') {
        *number += '.';
        ++c;
        while (is_digit(*c)) {
            *number += static_cast<char>(*c++);
            ++digits;
        }
    }
    if (digits == 0) return text;
    // An exponent counts only with at least one digit after its sign.
    if (*c == 'e' || *c == 'E') {
        const Char* e = c + 1;
        std::string exponent = "e";
        if (*e == '+' || *e == '-') exponent += static_cast<char>(*e++);
        if (is_digit(*e)) {
            while (is_digit(*e)) exponent += static_cast<char>(*e++);
            *number += exponent;
            c = e;
        }
    }
    return c;
}

// The power of ten of the first significant digit of a scanned number (no sign), e.g. 2
// for "123.4" and -3 for "0.00123e0"; how an out-of-range number is told apart.
long long decimal_exponent(const char* digits) {
    long long position = 0;  // digits before the point, less the zeros leading them
    bool seen = false, after_point = false;
    const char* c = digits;
    for (; *c && *c != 'e'; ++c) {
        if (*c == '.') {
            after_point = true;
            continue;
        }
        if (!seen && *c != '0') seen = true;
        if (seen && !after_point) ++position;
        if (!seen && after_point) --position;
    }
    long long exponent = 0;
    if (*c == 'e') {
        const bool negative = c[1] == '-';
        for (const char* d = c + 1 + (c[1] == '-' || c[1] == '+'); *d; ++d)
            if (exponent < 1000000000LL) exponent = exponent * 10 + (*d - '0');
        if (negative) exponent = -exponent;
    }
    return position - 1 + exponent;
}

// Converts what scan_number found. Too large gives an infinity, too small 0, as the
// runtime's conversion does.
double convert(const std::string& number) {
    // from_chars takes no leading '+' and does not depend on the locale.
    const char* begin = number.c_str();
    const bool negative = number[0] == '-';
    if (number[0] == '+' || negative) ++begin;
    double value = 0.0;
    const auto result = std::from_chars(begin, number.c_str() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = decimal_exponent(begin) > 0 ? HUGE_VAL : 0.0;
    return negative ? -value : value;
}

}  // namespace

double typed_number(const wchar_t* text) {
    while (*text && is_space(*text)) ++text;
    std::string number;
    if (scan_number(text, &number) == text) return 0.0;
    return convert(number);
}

bool parse_number_field(const char* text, double* value) {
    if (text == nullptr) return false;
    while (*text && is_space(static_cast<unsigned char>(*text))) ++text;
    std::string number;
    const char* end = scan_number(text, &number);
    if (end == text) return false;
    while (*end && is_space(static_cast<unsigned char>(*end))) ++end;
    if (*end != '\0') return false;
    const double x = convert(number);
    if (!std::isfinite(x)) return false;
    *value = x + 0.0;  // -0 + 0 is +0
    return true;
}
