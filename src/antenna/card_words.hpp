// SPDX-License-Identifier: MIT
#pragma once
// The words of a line of NEC-2 text (a deck's card, a line nec2c printed):
// the runs of characters between any of `separators`.
#include <algorithm>
#include <string_view>
#include <vector>

namespace gndfit {

inline std::vector<std::string_view> card_words(std::string_view line,
                                                std::string_view separators) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    i = line.find_first_not_of(separators, i);
    if (i == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(separators, i), line.size());
    words.push_back(line.substr(i, end - i));
    i = end;
  }
  return words;
}

}  // namespace gndfit
