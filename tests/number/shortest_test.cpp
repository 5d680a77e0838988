// SPDX-License-Identifier: MIT
// Shortest round-trip text: exact texts for chosen values; for random bit
// patterns a text that reads back and is no longer than the C++ library's
// own shortest form; and byte for byte the text of the printf search it
// replaced, on every boundary class and on millions of seeded patterns.
#include "number/shortest.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "number/ieee_format.hpp"
#include "platform/c_number.hpp"
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
    ASSERT_LE(ds.size(), static_cast<std::size_t>(r.ptr - lib))
        << ds << " " << std::string(lib, r.ptr);
    r = std::to_chars(lib, lib + sizeof lib, f);
    ASSERT_LE(fs.size(), static_cast<std::size_t>(r.ptr - lib))
        << fs << " " << std::string(lib, r.ptr);
  }
}

// The text as it was first made, and as every stored output has it: printf
// with 1, 2, ... digits until the text reads back, then the same value
// without the exponent where %g can show it so and that is no longer.  Read
// back with the C++ library's reader: it was the C library's strtod, which
// is the same on Linux, but MinGW's misreads some decimals next to a power
// of two, where its old texts did not read back elsewhere.
// A text beyond the format's range (2e+308) gives no value: it does not
// read back.
template <typename T>
bool reads_back(const char* text, T value) {
  T back{};
  const auto r = std::from_chars(text, text + std::strlen(text), back);
  return r.ec == std::errc{} && back == value;
}

template <typename T>
std::string printf_search(T value, int max_digits) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  const auto v = static_cast<double>(value);
  char text[64];
  int digits = 1;
  for (;; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, v);
    if (digits == max_digits) break;
    if (reads_back(text, value)) break;
  }
  std::string best = text;
  std::snprintf(text, sizeof text, "%.*e", digits - 1, v);
  const int exponent = std::atoi(std::strchr(text, 'e') + 1);
  if (exponent >= digits && exponent < 40) {
    std::snprintf(text, sizeof text, "%.*g", exponent + 1, v);
    if (std::strlen(text) <= best.size()) best = text;
  }
  return best;
}

std::string printf_search(float value) { return printf_search(value, 9); }
std::string printf_search(double value) { return printf_search(value, 17); }

template <typename T>
T from_bits(std::uint64_t bits) {
  return bit_cast_of<T>(static_cast<typename IeeeFormat<T>::Bits>(bits));
}

// Each value and its negative; the first differences reported and counted.
template <typename T>
void expect_printf_bytes(const std::vector<T>& values, int& failures) {
  for (const T v : values) {
    for (const T w : {v, -v}) {
      const std::string expected = printf_search(w);
      const std::string got = shortest(w);
      if (got != expected && ++failures <= 20) {
        ADD_FAILURE() << "bits " << std::hex << bit_cast_of<typename IeeeFormat<T>::Bits>(w) << ": "
                      << got << " instead of " << expected;
      }
    }
  }
}

// The values either side of one, at its own precision.
template <typename T>
void add_with_neighbours(std::vector<T>& values, T v) {
  values.push_back(v);
  values.push_back(std::nextafter(v, T{0}));
  values.push_back(std::nextafter(v, std::numeric_limits<T>::infinity()));
}

// The classes where the shortest decimal is hard: powers of two (the
// neighbour below twice as close as the one above), subnormals, the
// extremes, integers and powers of ten (where the plain form competes with
// the exponent form), and decimals needing the most digits of each format.
template <typename T>
std::vector<T> boundary_values() {
  using Format = IeeeFormat<T>;
  std::vector<T> values;
  for (int biased = 0; biased < Format::kMaxBiased; ++biased) {
    add_with_neighbours(values, from_bits<T>(std::uint64_t(biased) << Format::kFractionBits));
  }
  for (std::uint64_t f = 1; f < 5000; ++f)
    values.push_back(from_bits<T>(f));  // smallest subnormals
  std::mt19937_64 rng(2026);
  const std::uint64_t fraction_mask = (std::uint64_t{1} << Format::kFractionBits) - 1;
  for (int i = 0; i < 20000; ++i)
    values.push_back(from_bits<T>(rng() & fraction_mask));  // any subnormal
  values.push_back(from_bits<T>(fraction_mask));            // the largest subnormal
  add_with_neighbours(values, std::numeric_limits<T>::max());
  values.push_back(std::numeric_limits<T>::infinity());
  values.push_back(std::numeric_limits<T>::quiet_NaN());
  values.push_back(T{0});
  for (int i = 1; i <= 100000; ++i) values.push_back(static_cast<T>(i));
  for (int e = -45; e <= 45; ++e) {
    char text[32];
    std::snprintf(text, sizeof text, "1e%d", e);
    add_with_neighbours(values, static_cast<T>(parse_c_double(text)));
  }
  // Random decimals of the format's full digits (9 for singles, 17 for
  // doubles), and of one digit fewer, at every decade.
  const int full = sizeof(T) == sizeof(float) ? 9 : 17;
  for (int i = 0; i < 20000; ++i) {
    const int digits = full - static_cast<int>(rng() % 2);
    char text[40];
    char* p = text;
    *p++ = static_cast<char>('1' + rng() % 9);
    *p++ = '.';
    for (int k = 1; k < digits; ++k) *p++ = static_cast<char>('0' + rng() % 10);
    const int limit = sizeof(T) == sizeof(float) ? 38 : 308;
    std::snprintf(p, static_cast<std::size_t>(text + sizeof text - p), "e%d",
                  static_cast<int>(rng() % (2 * limit + 1)) - limit);
    const T v = sizeof(T) == sizeof(float) ? static_cast<T>(parse_c_float(text))
                                           : static_cast<T>(parse_c_double(text));
    if (std::isfinite(v)) values.push_back(v);
  }
  return values;
}

TEST(ShortestAgainstPrintf, BoundaryClassesGiveTheSearchsBytes) {
  int failures = 0;
  expect_printf_bytes(boundary_values<float>(), failures);
  expect_printf_bytes(boundary_values<double>(), failures);
  EXPECT_EQ(failures, 0);
  std::string line = "7.1,";
  append_shortest(line, 1e21);
  append_shortest(line, 0.1f);
  EXPECT_EQ(line, "7.1,1e+210.1");
}

// Singles on a seeded sample of bit patterns (every exponent, sign and
// fraction equally likely), and doubles likewise: millions in an optimised
// native build, fewer under sanitizers and emulators (tests/CMakeLists.txt).
TEST(ShortestAgainstPrintf, SeededSampleOfBitPatternsGivesTheSearchsBytes) {
  std::mt19937_64 rng(30);
  std::vector<float> singles(GNDFIT_SHORTEST_SINGLES);
  for (float& f : singles) f = from_bits<float>(rng() & 0x7FFFFFFF);
  std::vector<double> doubles(GNDFIT_SHORTEST_DOUBLES);
  for (double& d : doubles) d = from_bits<double>(rng() & 0x7FFFFFFFFFFFFFFF);
  int failures = 0;
  expect_printf_bytes(singles, failures);
  expect_printf_bytes(doubles, failures);
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace gndfit
