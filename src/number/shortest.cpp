// SPDX-License-Identifier: MIT
#include "number/shortest.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/c_number.hpp"

namespace gndfit {

namespace {

// The shortest text that reads back to the same value: the fewest
// significant digits, in printf's %g form or without the exponent where
// that is no longer.  Written with the C library's printf and strtod, so
// the same text on every platform.
template <typename T>
std::string shortest_text(T value, int max_digits) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  const auto v = static_cast<double>(value);
  char text[64];
  int digits = 1;
  for (;; ++digits) {  // max_digits always reads back
    std::snprintf(text, sizeof text, "%.*g", digits, v);
    if (digits == max_digits) break;
    const T back = sizeof(T) == sizeof(float) ? static_cast<T>(parse_c_float(text))
                                              : static_cast<T>(parse_c_double(text));
    if (back == value) break;
  }
  // The same digits without an exponent, where %g can show them so and
  // that is no longer (10 rather than 1e+01).
  std::string best = text;
  std::snprintf(text, sizeof text, "%.*e", digits - 1, v);
  const int exponent = std::atoi(std::strchr(text, 'e') + 1);
  if (exponent >= digits && exponent < 40) {  // beyond, the exponent form is shorter
    std::snprintf(text, sizeof text, "%.*g", exponent + 1, v);
    if (std::strlen(text) <= best.size()) best = text;
  }
  return best;
}

}  // namespace

std::string shortest(double value) { return shortest_text(value, 17); }
std::string shortest(float value) { return shortest_text(value, 9); }

}  // namespace gndfit
