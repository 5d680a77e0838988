// SPDX-License-Identifier: MIT
// Shortest round-trip text: exact texts for chosen values, and for random
// bit patterns a text that reads back and is no longer than the C++
// library's own shortest form.
#include "number/shortest.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "support/read_back.hpp"

namespace gndfit {
namespace {

using test::read_back;

// Values at the formats' edges, where a text one digit too long or too
// short still reads back: the exact texts.
TEST(Shortest, EdgesOfTheFormatsGiveTheirExactTexts) {
  EXPECT_EQ(shortest(std::numeric_limits<float>::denorm_min()), "1e-45");
  EXPECT_EQ(shortest(std::numeric_limits<double>::denorm_min()), "5e-324");
  EXPECT_EQ(shortest(std::numeric_limits<float>::min()), "1.1754944e-38");
  EXPECT_EQ(shortest(std::numeric_limits<double>::min()), "2.2250738585072014e-308");
  EXPECT_EQ(shortest(std::numeric_limits<float>::max()), "3.4028235e+38");
  EXPECT_EQ(shortest(std::numeric_limits<double>::max()), "1.7976931348623157e+308");
  EXPECT_EQ(shortest(-std::numeric_limits<float>::infinity()), "-inf");
  EXPECT_EQ(shortest(-std::nan("")), "-nan");
  EXPECT_EQ(shortest(123456789.0f), "123456792");  // the nearest single, all its digits
  EXPECT_EQ(shortest(1e21), "1e+21");
  EXPECT_EQ(shortest(0.3), "0.3");
  EXPECT_EQ(shortest(5e-5), "5e-05");
}

TEST(Shortest, ReadsBackWithTheFewestDigitsTheLibraryNeeds) {
  EXPECT_EQ(shortest(10.0), "10");
  EXPECT_EQ(shortest(1e30), "1e+30");
  EXPECT_EQ(shortest(0.1f), "0.1");
  EXPECT_EQ(shortest(16777216.0f), "16777216");
  EXPECT_EQ(shortest(-0.0), "-0");
  EXPECT_EQ(shortest(std::nanf("")), "nan");
  std::mt19937_64 rng(99);
  for (int i = 0; i < 100000; ++i) {
    const std::uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, 8);
    float f;
    const auto bits32 = static_cast<std::uint32_t>(bits >> 32);
    std::memcpy(&f, &bits32, 4);
    if (!std::isfinite(d) || !std::isfinite(f)) continue;
    const std::string ds = shortest(d), fs = shortest(f);
    ASSERT_EQ(read_back<double>(ds), d) << ds;
    ASSERT_EQ(read_back<float>(fs), f) << fs;
    // No longer than the library's own shortest form.
    char lib[64];
    auto r = std::to_chars(lib, lib + sizeof lib, d);
    ASSERT_LE(ds.size(), static_cast<std::size_t>(r.ptr - lib)) << ds << " " << std::string(lib, r.ptr);
    r = std::to_chars(lib, lib + sizeof lib, f);
    ASSERT_LE(fs.size(), static_cast<std::size_t>(r.ptr - lib)) << fs << " " << std::string(lib, r.ptr);
  }
}

}  // namespace
}  // namespace gndfit
