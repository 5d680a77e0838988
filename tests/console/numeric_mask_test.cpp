// SPDX-License-Identifier: MIT
#include "console/numeric_mask.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "console/text_screen.hpp"
#include "support/memory_console.hpp"

namespace gndfit {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

// Formats values through a mask on a redirected screen and returns the bytes.
class MaskWriter {
 public:
  MaskWriter() : console_(MemoryConsole::redirected()), screen_(console_), mask_(screen_) {}
  std::string single(std::string_view mask, float v) {
    return write(mask, [&] { mask_.format_single(0, v, 0); });
  }
  std::string dbl(std::string_view mask, double v) {
    return write(mask, [&] { mask_.format_double(0, v, 0); });
  }
  template <typename Format>
  std::string write(std::string_view mask, Format format) {
    console_.raw_output.clear();
    mask_.begin_mask(mask);
    format();
    mask_.end_mask(0);
    return console_.raw_output;
  }
  MemoryConsole console_;
  TextScreen screen_;
  NumericMask mask_;
};

// The table of the six masks the program uses, read row by row.
TEST(NumericMask, ExamplesTable) {
  const char* masks[6] = {"   ##.#", " ###.##", ".###", "#.##", "##.#", "####"};
  struct Row {
    float value;
    const char* want[6];
  };
  const Row rows[] = {
      {0.0f, {"    0.0", "   0.00", ".000", "0.00", " 0.0", "   0"}},
      {0.05f, {"    0.1", "   0.05", ".050", "0.05", " 0.1", "   0"}},
      {0.0995f, {"    0.1", "   0.10", ".100", "0.10", " 0.1", "   0"}},
      {0.45f, {"    0.4", "   0.45", ".450", "0.45", " 0.4", "   0"}},
      {0.5f, {"    0.5", "   0.50", ".500", "0.50", " 0.5", "   1"}},  // ties away from zero
      {1.8f, {"    1.8", "   1.80", "%1.800", "1.80", " 1.8", "   2"}},
      {0.25f, {"    0.3", "   0.25", ".250", "0.25", " 0.3", "   0"}},
      {28.5f, {"   28.5", "  28.50", "%28.500", "%28.50", "28.5", "  29"}},
      {99.95f,
       {"   99.9", "  99.95", "%99.950", "%99.95", "99.9", " 100"}},  // the single is below 99.95
      {100.0f, {"   %100.0", " 100.00", "%100.000", "%100.00", "%100.0", " 100"}},
      {-1.0f, {"   -1.0", "  -1.00", "%-1.000", "%-1.00", "-1.0", "  -1"}},
      {-0.5f, {"   -0.5", "  -0.50", "%-.500", "-.50", "-0.5", "  -1"}},
      {-0.05f, {"   -0.1", "  -0.05", "%-.050", "-.05", "-0.1", "  -0"}},
      {kInf, {"   % 1.$", " %  1.$0", "%1.$00", "%1.$0", "% 1.$", "%   1"}},
  };
  MaskWriter w;
  for (const Row& r : rows) {
    for (int m = 0; m < 6; ++m) {
      EXPECT_EQ(w.single(masks[m], r.value), r.want[m]) << r.value << " in \"" << masks[m] << '"';
    }
  }
}

TEST(NumericMask, EdgeCases) {
  MaskWriter w;
  EXPECT_EQ(w.dbl("##.#", 0.35), " 0.4");  // cut to 16 digits, then rounded
  EXPECT_EQ(w.single("##.#", 0.35f), " 0.3");
  EXPECT_EQ(w.single("##.#", 9.96f), "10.0");
  EXPECT_EQ(w.single("##.#", -9.96f), "%-10.0");
  EXPECT_EQ(w.single("   ##.#", -0.04f), "   -0.0");
  EXPECT_EQ(w.single("##.#", -0.0f), "-0.0");
  EXPECT_EQ(w.single("####", -0.05f), "  -0");
  EXPECT_EQ(w.single("####", 1e7f), "% 100E+5");
  EXPECT_EQ(w.single("##.#", std::numeric_limits<float>::max()), "% 3.4E+%38");
  EXPECT_EQ(w.single("##.#", kInf), "% 1.$");
  EXPECT_EQ(w.single("##.#", -kInf), "%-1.$");
  EXPECT_EQ(w.single("##.#", -99.9f), "%-99.9");
  EXPECT_EQ(w.single("####", -999.0f), "-999");
}

TEST(NumericMask, NonFiniteValues) {
  MaskWriter w;
  EXPECT_EQ(w.single("#.####", kInf), "1.#INF");
  EXPECT_EQ(w.single("#.#####", kInf), "1.#INF0");
  EXPECT_EQ(w.single("#.####", -kInf), "%-1.#INF");
  EXPECT_EQ(w.dbl("##.####", std::nan("")), " 1.#NAN");
  double indefinite;
  const std::uint64_t bits = 0xFFF8000000000000u;
  std::memcpy(&indefinite, &bits, sizeof bits);
  EXPECT_EQ(w.dbl("##.####", indefinite), "-1.#IND");
  EXPECT_EQ(w.single("##.##^^^^", kInf), "% 1.$0E+00");
  EXPECT_EQ(w.single("####", std::nanf("")), "%   1");
}

TEST(NumericMask, SeveralValuesRestartAndLiterals) {
  MemoryConsole c = MemoryConsole::redirected();
  TextScreen screen(c);
  NumericMask mask(screen);
  mask.begin_mask("A## B##");
  mask.format_single(0, 1.0f, 0);
  mask.end_mask(0);
  EXPECT_EQ(c.raw_output, "A 1 B");

  c.raw_output.clear();
  mask.begin_mask("A## B##");
  for (float v : {1.0f, 2.0f, 3.0f}) mask.format_single(0, v, 0);
  mask.end_mask(0);
  EXPECT_EQ(c.raw_output, "A 1 B 2A 3 B");

  c.raw_output.clear();
  mask.begin_mask("abc");
  mask.format_single(0, 5.25f, 0);
  mask.format_single(0, 0.25f, 0);
  mask.end_mask(0);
  EXPECT_EQ(c.raw_output, "abc%5abc");

  c.raw_output.clear();
  mask.begin_mask("   ##.#");
  mask.end_mask(0);
  EXPECT_EQ(c.raw_output, "   ");

  c.raw_output.clear();
  mask.begin_mask("_#=##_");  // escaped literal; a final _ is itself
  mask.format_single(0, 7.0f, 0);
  mask.end_mask(0);
  EXPECT_EQ(c.raw_output, "#= 7_");

  c.raw_output.clear();
  mask.format_single(0, 12.0f, 0);  // no mask loaded: a field of no places
  EXPECT_EQ(c.raw_output, "%12");
}

TEST(NumericMask, FurtherFieldCharacters) {
  MaskWriter w;
  EXPECT_EQ(w.single("#,###.##", 1234.5f), "1,234.50");
  EXPECT_EQ(w.single("**##.#", 5.0f), "***5.0");
  EXPECT_EQ(w.single("$$##.#", 5.0f), "  $5.0");
  EXPECT_EQ(w.single("+##.#", 5.0f), " +5.0");  // the sign stands right before the digits
  EXPECT_EQ(w.single("+##.#", -5.0f), " -5.0");
  EXPECT_EQ(w.single("##.#-", -5.0f), " 5.0-");
  EXPECT_EQ(w.single("##.#-", 5.0f), " 5.0 ");
  EXPECT_EQ(w.single("##.#+", 5.0f), " 5.0+");
  EXPECT_EQ(w.single("##.##^^^^", 1234.5f), " 1.23E+03");
  EXPECT_EQ(w.single("##.#^", 5.0f), " 5.0^");
  EXPECT_EQ(w.single("-##", 5.0f), "- 5");  // a - in front is a literal
}

TEST(DecimalConversion, DigitsOfSinglesShowTheirExactValue) {
  const DecimalNumber tenth = to_decimal(static_cast<double>(0.1f), true);
  EXPECT_EQ(tenth.digits, 1000000014901161u);
  EXPECT_EQ(tenth.exponent, -16);
  const DecimalNumber zero = to_decimal(-0.0, false);
  EXPECT_EQ(zero.digits, 0u);
  EXPECT_TRUE(zero.negative);
  const DecimalNumber big = to_decimal(1e300, false);
  EXPECT_EQ(decimal_digit_count(big.digits), 16);
  EXPECT_EQ(big.exponent, 285);
  EXPECT_EQ(to_decimal(5e-324, false).kind, DecimalNumber::Kind::finite);
  EXPECT_NE(to_decimal(5e-324, false).digits, 0u);
}

// A row composed in one buffer must hold exactly what begin_mask,
// format_single and end_mask write one value at a time, masks with literals
// on both sides, several fields and overflow included.
TEST(NumericMask, AppendingToARowWritesWhatTheMaskWouldWrite) {
  const char* masks[] = {"   ##.#", " ###.##", "####", ".###", "A##B", "x_#y##", "#,###.##-", "%"};
  const float values[] = {0.0f, 1.8f, 23.84f, -7.25f, 0.0715f, 99.95f, 12345.6f, kInf, 1e20f};
  MaskWriter writer;
  MemoryConsole console = MemoryConsole::redirected();
  TextScreen screen(console);
  NumericMask row_mask(screen);
  for (const char* m : masks) {
    for (float v : values) {
      std::string row = "|";
      row_mask.append_single(row, m, v);
      std::string expected = "|";
      expected += writer.single(m, v);
      EXPECT_EQ(row, expected) << m << " " << v;
    }
  }
}

}  // namespace
}  // namespace gndfit
