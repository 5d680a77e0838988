// SPDX-License-Identifier: MIT
// The six masks against a plain renderer written independently here: the
// exact decimal expansion of the single (from the C library's printf, which
// prints doubles exactly), rounded half up, right-aligned with the sign place
// and the % overflow rule.  The exponent form is left out of the comparison.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>

#include "console/numeric_mask.hpp"
#include "console/text_screen.hpp"
#include "support/memory_console.hpp"

namespace gndfit {
namespace {

struct PlainMask {
  const char* text;
  std::string literals;
  int int_places;
  int decimals;  // -1: no point
};

// Renders |v| exactly, rounds half up to `decimals`, lays out the field.
// Returns nothing where the mask would fall back to exponent form.
std::optional<std::string> render(const PlainMask& m, float v) {
  char exact[512];
  std::snprintf(exact, sizeof exact, "%.160f", std::fabs(static_cast<double>(v)));
  std::string s(exact);
  const std::size_t point = s.find('.');
  std::string integer = s.substr(0, point);
  std::string fraction = s.substr(point + 1);
  const int keep = std::max(0, m.decimals);
  std::string kept = integer + fraction.substr(0, static_cast<std::size_t>(keep));
  if (fraction[static_cast<std::size_t>(keep)] >= '5') {
    int i = static_cast<int>(kept.size()) - 1;
    while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9')
      kept[static_cast<std::size_t>(i--)] = '0';
    if (i < 0)
      kept = "1" + kept;
    else
      ++kept[static_cast<std::size_t>(i)];
  }
  integer = kept.substr(0, kept.size() - static_cast<std::size_t>(keep));
  const std::string decimals = kept.substr(kept.size() - static_cast<std::size_t>(keep));
  integer.erase(0, integer.find_first_not_of('0'));
  if (integer.find_first_not_of('0') == std::string::npos) integer.clear();

  const bool negative = std::signbit(v);
  const int places = negative ? m.int_places - 1 : m.int_places;
  const int width = static_cast<int>(integer.size());
  if (width > places + 3) return std::nullopt;
  const int field = std::max(width, places);
  const std::string digits = integer.empty() && field >= 1 ? std::string(1, '0') : integer;
  std::string out = m.literals;
  if (width > places) out += '%';
  out += std::string(static_cast<std::size_t>(field - static_cast<int>(digits.size())), ' ');
  if (negative) out += '-';
  out += digits;
  if (m.decimals >= 0) {
    out += '.';
    out += decimals;
  }
  return out;
}

float random_single(std::mt19937& rng) {
  for (;;) {
    float v;
    if (rng() & 1) {
      const std::uint32_t bits = static_cast<std::uint32_t>(rng());
      std::memcpy(&v, &bits, sizeof v);
    } else {  // magnitudes where the fields have something to show
      const double t = std::uniform_real_distribution<double>(-5.0, 5.0)(rng);
      v = static_cast<float>(std::pow(10.0, t) * ((rng() & 1) ? 1 : -1));
    }
    if (std::isfinite(v)) return v;
  }
}

TEST(MaskProperty, SixMasksMatchAPlainRenderer) {
  const PlainMask masks[] = {{"   ##.#", "   ", 2, 1}, {" ###.##", " ", 3, 2}, {".###", "", 0, 3},
                             {"#.##", "", 1, 2},       {"##.#", "", 2, 1},     {"####", "", 4, -1}};
#ifdef NDEBUG
  const int count = 1'000'000;
#else
  const int count = 100'000;  // the sanitizer build is many times slower
#endif
  MemoryConsole console = MemoryConsole::redirected();
  TextScreen screen(console);
  NumericMask mask(screen);
  std::mt19937 rng(3141);
  int compared = 0;
  for (int i = 0; i < count; ++i) {
    const float v = random_single(rng);
    for (const PlainMask& m : masks) {
      const std::optional<std::string> want = render(m, v);
      if (!want) continue;
      console.raw_output.clear();
      mask.begin_mask(m.text);
      mask.format_single(0, v, 0);
      mask.end_mask(0);
      ASSERT_EQ(console.raw_output, *want) << std::hexfloat << v << " in \"" << m.text << '"';
      ++compared;
    }
  }
  EXPECT_GT(compared, count);  // most values are compared in several masks
}

}  // namespace
}  // namespace gndfit
