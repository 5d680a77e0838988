// SPDX-License-Identifier: MIT
#pragma once
// The C++ library's floating-point std::to_chars and std::from_chars, where
// the library has them for float and double: GCC's libstdc++ (Linux and
// MinGW) does; the libc++ of Debian's Emscripten does not.  Each writer
// gives the end of the text written, or nullptr where the library lacks the
// conversion (the caller then takes the C library's printf instead); the
// reader false likewise.  MinGW's own strtod misreads some decimals next to
// a power of two (3.839223843572815e-239, just below 2^-792, as 2^-792), so
// the library's reader, correctly rounded everywhere, comes first.
#include <charconv>
#include <system_error>

namespace gndfit {

#if defined(__cpp_lib_to_chars)
// The shortest digits that read back to `value` (nearest of them, ties to
// even), in the exponent form d.ddde+XX.
template <typename T>
char* library_shortest_exponent_form(char* first, char* last, T value) {
  const auto r = std::to_chars(first, last, value, std::chars_format::scientific);
  return r.ec == std::errc{} ? r.ptr : nullptr;
}

// As printf's %.*e (exponent form) or %.*g (general form).
template <typename T>
char* library_exponent_form(char* first, char* last, T value, int precision) {
  const auto r = std::to_chars(first, last, value, std::chars_format::scientific, precision);
  return r.ec == std::errc{} ? r.ptr : nullptr;
}
template <typename T>
char* library_general_form(char* first, char* last, T value, int precision) {
  const auto r = std::to_chars(first, last, value, std::chars_format::general, precision);
  return r.ec == std::errc{} ? r.ptr : nullptr;
}

// The whole text read to the nearest value.
template <typename T>
bool library_read(const char* first, const char* last, T& value) {
  const auto r = std::from_chars(first, last, value);
  return r.ec == std::errc{} && r.ptr == last;
}
#else
template <typename T>
bool library_read(const char*, const char*, T&) {
  return false;
}
template <typename T>
char* library_shortest_exponent_form(char*, char*, T) {
  return nullptr;
}
template <typename T>
char* library_exponent_form(char*, char*, T, int) {
  return nullptr;
}
template <typename T>
char* library_general_form(char*, char*, T, int) {
  return nullptr;
}
#endif

}  // namespace gndfit
