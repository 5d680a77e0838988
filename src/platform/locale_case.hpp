// SPDX-License-Identifier: MIT
#pragma once
// A character byte with its letter case swapped under the character-type
// locale the program set at start-up.
#include <cctype>

namespace gndfit {

inline int swap_case_in_locale(int ch) {
  if (ch < 0 || ch > 255) return ch;
  if (std::islower(ch)) return std::toupper(ch);
  if (std::isupper(ch)) return std::tolower(ch);
  return ch;
}

}  // namespace gndfit
