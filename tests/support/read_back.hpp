// SPDX-License-Identifier: MIT
#pragma once
// A machine-readable field back to its value, with the C++ library's own
// reader (infinities, NaNs with their sign and subnormals included, which
// std::stof refuses): the whole text must be one number.
#include <gtest/gtest.h>

#include <charconv>
#include <string>

namespace gndfit::test {

template <typename T>
T read_back(const std::string& text) {
  T value{};
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(result.ec == std::errc{} && result.ptr == text.data() + text.size()) << text;
  return value;
}

}  // namespace gndfit::test
