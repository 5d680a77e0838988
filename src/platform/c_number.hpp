// SPDX-License-Identifier: MIT
#pragma once
// Text to double as the C library reads it: '.' as the decimal point, the
// nearest double, hexadecimal floats, INF and NAN forms.  MinGW's own
// reader is used on Windows, because the system library's strtod neither
// rounds correctly nor knows the hexadecimal and NAN forms.
#include <cstdlib>

namespace gndfit {

inline double parse_c_double(const char* text, char** end = nullptr) {
#ifdef __MINGW32__
  return __mingw_strtod(text, end);
#else
  return std::strtod(text, end);
#endif
}

// The nearest single, in one rounding.
inline float parse_c_float(const char* text, char** end = nullptr) {
#ifdef __MINGW32__
  return __mingw_strtof(text, end);
#else
  return std::strtof(text, end);
#endif
}

}  // namespace gndfit
