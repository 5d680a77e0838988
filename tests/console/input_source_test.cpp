// SPDX-License-Identifier: MIT
#include "console/input_source.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/memory_console.hpp"

namespace gndfit {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct Values {
  double frequency;
  float permittivity;
  float conductivity;
};

// One prompt's worth of reads from a typed line, as the main loop makes them.
Values read_three(InputSource& source) {
  Values v{};
  source.read_double(v.frequency);
  source.read_single(v.permittivity);
  source.read_single(v.conductivity);
  return v;
}

Values read_line(const std::string& line) {
  MemoryConsole console;
  InputSource source(console);
  source.use_line(line);
  return read_three(source);
}

void expect_same(double got, double want, const std::string& line) {
  if (std::isnan(want))
    EXPECT_TRUE(std::isnan(got)) << line;
  else
    EXPECT_EQ(got, want) << line;
}

// The typed lines and the three values that the reads then hold.
TEST(FieldReader, TypedLinesTable) {
  struct Row {
    const char* line;
    double frequency;
    float permittivity, conductivity;
  };
  const float nanf = std::numeric_limits<float>::quiet_NaN();
  const float inff = std::numeric_limits<float>::infinity();
  const Row rows[] = {
      {"1.5 2 3", 1.5, 2, 3},
      {"14.2, 15 ,5", 14.2, 15, 5},
      {"1,5", 1, 5, 0},
      {"7,,3", 7, 0, 3},
      {",5,6", 0, 5, 6},
      {"", 0, 0, 0},
      {"   \t ", 0, 0, 0},
      {"1 2 3 4", 1, 2, 3},
      {"12abc abc -5", 12, 0, -5},
      {"+5 --5", 5, 0, 0},
      {"2.5d2 2.5D2 1e", 250, 250, 1},
      {"1e400 1e39", kInf, inff, 0},
      {"&H1E &17 &B101", 30, 15, 5},
      {"&O17 & &HFFFFFFFFFFFFFFFF", 15, 0, -1},
      {"inf. nan. inf", kInf, nanf, 0},
      {"\"1,5\" 2 3", 1, 2, 3},
      {"0x1p-2 0x1.8p1 1E-50", 0, 3, 0},  // hex is real only with a point
      {"14.2", 14.2, 0, 0},
  };
  for (const Row& r : rows) {
    const Values v = read_line(r.line);
    expect_same(v.frequency, r.frequency, r.line);
    expect_same(v.permittivity, r.permittivity, r.line);
    expect_same(v.conductivity, r.conductivity, r.line);
  }
}

TEST(FieldReader, SingleFromARealIsRoundedTwice) {
  // 1.00000005960464477539062500001 lies just above the midpoint between two
  // singles, but its nearest double is the midpoint itself, which rounds to
  // even: the double rounding gives 1, a single rounding would give the next.
  const Values v = read_line("0 1.00000005960464477539062500001");
  EXPECT_EQ(v.permittivity, 1.0f);
  // An integer field goes to single in one rounding.
  EXPECT_EQ(read_line("0 16777217").permittivity, 16777216.0f);
  EXPECT_EQ(read_line("0 16777219").permittivity, 16777220.0f);
}

TEST(FieldReader, SeventyDigitsMakeTwoFields) {
  const std::string digits(67, '1');
  const Values v = read_line(digits + "234 5");
  EXPECT_EQ(v.frequency, std::strtod(digits.c_str(), nullptr));
  EXPECT_EQ(v.permittivity, 234.0f);
  EXPECT_EQ(v.conductivity, 5.0f);
}

TEST(FieldReader, ByteFFIsAnOrdinaryByte) {
  MemoryConsole console;
  InputSource source(console);
  source.use_line("1\xff 2");
  char buffer[68];
  bool is_real = false;
  EXPECT_EQ(source.next_field(buffer, 67, is_real), 2);
  EXPECT_EQ(static_cast<unsigned char>(buffer[1]), 0xFF);
  EXPECT_EQ(source.next_field(buffer, 67, is_real), 1);
  EXPECT_EQ(buffer[0], '2');
}

TEST(FieldReader, RedirectedLinesRunTogetherThenReadZeroAtTheEnd) {
  MemoryConsole console = MemoryConsole::redirected("1\r\n2\n3");
  InputSource source(console);
  source.use_stream();
  Values v = read_three(source);
  EXPECT_EQ(v.frequency, 1);
  EXPECT_EQ(v.permittivity, 2);
  EXPECT_EQ(v.conductivity, 3);
  EXPECT_TRUE(source.stream_exhausted());
  v = read_three(source);
  EXPECT_EQ(v.frequency, 0);
  EXPECT_EQ(v.conductivity, 0);
}

TEST(FieldReader, ABlankLineInTheStreamIsAnEmptyField) {
  MemoryConsole console = MemoryConsole::redirected("10 15 5\n\n7 80 30\n");
  InputSource source(console);
  source.use_stream();
  read_three(source);
  Values v = read_three(source);  // the empty line shifts the values
  EXPECT_EQ(v.frequency, 0);
  EXPECT_EQ(v.permittivity, 7);
  EXPECT_EQ(v.conductivity, 80);
}

TEST(FieldReader, NewLineReplacesUnreadFields) {
  MemoryConsole console;
  InputSource source(console);
  source.use_line("1 2 3 4");
  read_three(source);
  source.use_line("9");
  double d = 0;
  source.read_double(d);
  EXPECT_EQ(d, 9);
}

TEST(Conversions, IntegerForms) {
  EXPECT_EQ(convert_int32("  -42", 5), -42);
  EXPECT_EQ(convert_int32("&HFFFFFFFF", 10), -1);
  EXPECT_EQ(convert_int32("&H1G", 4), 1);
  EXPECT_EQ(convert_int32("", 0), 0);
  EXPECT_EQ(convert_int64("999999999999999999", 18), 999999999999999999);
  EXPECT_EQ(convert_int64("&H8000000000000000", 18), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(convert_int64("&H1FFFFFFFFFFFFFFFF", 19), -1);  // only the low 64 bits
  EXPECT_EQ(convert_real("  -1.5e3xyz"), -1500.0);
  EXPECT_EQ(convert_real("abc"), 0.0);
  EXPECT_TRUE(std::isnan(convert_real("NaN(123)")));
  EXPECT_EQ(convert_real("-INFINITY"), -kInf);
  EXPECT_EQ(convert_real("4.9e-324"), 4.9e-324);
}

}  // namespace
}  // namespace gndfit
