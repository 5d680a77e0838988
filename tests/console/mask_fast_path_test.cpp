// SPDX-License-Identifier: MIT
// Fixed fields are written straight from the binary value when the rounding
// is certain; they must read exactly as the decimal conversion would have
// them, for every kind of field and value, near halves above all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "console/numeric_mask.hpp"

namespace gndfit {
namespace {

// Fewer rounds in the sanitizer builds, which run the slow path many times
// slower.
#ifdef NDEBUG
constexpr int kRounds = 40000;
#else
constexpr int kRounds = 2000;
#endif

std::vector<MaskField> fields() {
  std::vector<MaskField> out;
  for (int places = 1; places <= 7; places += 2) {
    for (int decimals = -1; decimals <= 6; ++decimals) {
      MaskField f;
      f.int_places = places;
      f.dec_places = decimals;
      out.push_back(f);
      MaskField signed_lead = f;
      signed_lead.sign_lead = signed_lead.plus = true;
      out.push_back(signed_lead);
      MaskField trail = f;
      trail.sign_trail = true;
      trail.carets = decimals == 2 ? 2 : 0;
      out.push_back(trail);
      MaskField money = f;
      money.fill = '*';
      money.dollar = true;
      money.separators = true;
      out.push_back(money);
    }
  }
  return out;
}

void expect_same(const std::vector<MaskField>& all, double v, bool is_single) {
  MaskWork fast_work, slow_work;
  for (const MaskField& f : all) {
    std::string fast;
    append_value(f, v, is_single, fast_work, fast);
    const std::string slow(format_field(f, to_decimal(v, is_single), slow_work));
    ASSERT_EQ(fast, slow) << "value " << v << " places " << f.int_places << " decimals "
                          << f.dec_places;
  }
}

TEST(MaskFastPath, SinglesOfEveryMagnitudeReadAsTheDecimalConversionHasThem) {
  const auto all = fields();
  std::mt19937 rng(21);
  std::uniform_real_distribution<double> exponent(-12, 16);
  for (int i = 0; i < kRounds; ++i) {
    const float v = static_cast<float>(std::pow(10.0, exponent(rng)) * (rng() % 2 ? 1 : -1));
    expect_same(all, static_cast<double>(v), true);
  }
}

TEST(MaskFastPath, DoublesAndDecimalHalvesReadAsTheDecimalConversionHasThem) {
  const auto all = fields();
  std::mt19937_64 rng(22);
  char text[64];
  for (int i = 0; i < kRounds; ++i) {
    // k.ddd5 and its neighbours: as binary values they lie just off a half.
    const int decimals = static_cast<int>(rng() % 6);
    std::snprintf(text, sizeof text, "%llu.%0*llu5",
                  static_cast<unsigned long long>(rng() % 100000), decimals,
                  static_cast<unsigned long long>(rng() % 1000000) %
                      static_cast<unsigned long long>(std::pow(10, decimals) + 0.5));
    const double d = std::strtod(text, nullptr);
    expect_same(all, d, false);
    expect_same(all, std::nextafter(d, 0.0), false);
    expect_same(all, std::nextafter(d, 1e300), false);
    expect_same(all, static_cast<double>(static_cast<float>(d)), true);
  }
}

TEST(MaskFastPath, ExactHalvesZerosAndTheEdgesOfTheRange) {
  const auto all = fields();
  for (double v : {0.0,
                   -0.0,
                   0.5,
                   1.5,
                   2.5,
                   0.125,
                   0.375,
                   1e-300,
                   5e-324,
                   999999999999999.0,
                   1e15,
                   1e15 - 0.5,
                   4503599627370496.5,
                   9.5,
                   99.95,
                   0.0995,
                   0.995,
                   1e16,
                   123456789.125,
                   -0.05,
                   -2.5}) {
    expect_same(all, v, false);
  }
}

}  // namespace
}  // namespace gndfit
