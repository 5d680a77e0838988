// SPDX-License-Identifier: MIT
#include "number/decimal_text.hpp"

#include <cmath>
#include <string>

#include "platform/c_number.hpp"

namespace gndfit {

namespace {

template <typename T, typename Parse>
bool read_whole_decimal(std::string_view text, T& value, Parse parse) {
  if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string_view::npos) {
    return false;
  }
  const std::string copy(text);
  char* end = nullptr;
  value = parse(copy.c_str(), &end);
  return end == copy.c_str() + copy.size() && std::isfinite(value);
}

}  // namespace

bool read_decimal(std::string_view text, double& value) {
  return read_whole_decimal(text, value, parse_c_double);
}

bool read_decimal(std::string_view text, float& value) {
  return read_whole_decimal(text, value, parse_c_float);
}

}  // namespace gndfit
