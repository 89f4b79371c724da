// Reference values as they are printed: "0.00100022" means 0.00100022 to
// within half a unit of its last printed digit.
#pragma once

#include <string>

struct PrintedValue {
  double value;
  double half_unit;  // half a unit of the last printed digit
};

PrintedValue printed(const std::string& text);

// gtest assertion text for "result rounds to the printed value".
#define EXPECT_PRINTED(result, text)                                   \
  do {                                                                 \
    const PrintedValue pv_ = printed(text);                            \
    EXPECT_NEAR((result), pv_.value, pv_.half_unit) << "printed " << (text); \
  } while (0)
