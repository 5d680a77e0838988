#pragma once
// Text to double as the C library reads it: '.' as the decimal point, the
// nearest double, hexadecimal floats, INF and NAN forms.  MinGW's own
// reader is used on Windows, because the system library's strtod neither
// rounds correctly nor knows the hexadecimal and NAN forms.
#include <cstdlib>

namespace gndfit {

inline double parse_c_double(const char* text) {
#ifdef __MINGW32__
  return __mingw_strtod(text, nullptr);
#else
  return std::strtod(text, nullptr);
#endif
}

}  // namespace gndfit
