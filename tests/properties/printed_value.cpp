#include "printed_value.h"

#include <cmath>
#include <cstdlib>

PrintedValue printed(const std::string& text) {
  const std::string::size_type mantissa_end = text.find_first_of("eE");
  const std::string mantissa = text.substr(0, mantissa_end);
  const std::string::size_type dot = mantissa.find('.');
  const int decimals =
      dot == std::string::npos ? 0 : static_cast<int>(mantissa.size() - dot - 1);
  const int exponent =
      mantissa_end == std::string::npos ? 0 : std::atoi(text.c_str() + mantissa_end + 1);
  return {std::strtod(text.c_str(), nullptr), 0.5 * std::pow(10.0, exponent - decimals)};
}
