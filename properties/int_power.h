// Integer powers by repeated multiplication (square and multiply on the bits
// of the exponent), used throughout the library instead of a general power
// function; negative exponents are the reciprocal of the positive power.
#pragma once

namespace props_detail {

constexpr double ipow(double x, int n) {
    const bool negative = n < 0;
    unsigned e = negative ? static_cast<unsigned>(-n) : static_cast<unsigned>(n);
    double result = 1.0;
    double base = x;
    while (e != 0) {  // at most 32 rounds: one per bit of the exponent
        if (e & 1u) result *= base;
        base *= base;
        e >>= 1;
    }
    return negative ? 1.0 / result : result;
}

}  // namespace props_detail
