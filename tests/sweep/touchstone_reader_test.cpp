// SPDX-License-Identifier: MIT
// The Touchstone reader on hand-written files: every unit, parameter and
// format, comments, keywords and line ends, and each way a file is refused.
// Expected admittances are worked out by hand from the file's numbers.
#include "sweep/touchstone_reader.hpp"

#include <gtest/gtest.h>

#include <complex>
#include <string>

#include "support/refused_sweep.hpp"

namespace gndfit {
namespace {

using Complex = std::complex<double>;

void expect_admittance(const SweepPoint& p, Complex expected) {
  EXPECT_NEAR(p.admittance.real(), expected.real(), 1e-12 * std::abs(expected)) << p.line;
  EXPECT_NEAR(p.admittance.imag(), expected.imag(), 1e-12 * std::abs(expected)) << p.line;
}

// The one point of a file that must be read.
SweepPoint only_point(const std::string& text) {
  const SweepRead read = read_touchstone(text);
  EXPECT_FALSE(read.failed()) << read.failure().where.line << ": " << read.failure().reason;
  EXPECT_EQ(read.value().size(), 1u);
  return read.value().empty() ? SweepPoint{} : read.value()[0];
}

TEST(TouchstoneReader, UnitsScaleTheFrequencyToMegahertz) {
  EXPECT_EQ(only_point("# Hz S RI\n1800000 0 0\n").frequency_mhz, 1.8);
  EXPECT_EQ(only_point("# kHz S RI\n7100 0 0\n").frequency_mhz, 7.1);
  EXPECT_EQ(only_point("# MHz S RI\n14.2 0 0\n").frequency_mhz, 14.2);
  EXPECT_EQ(only_point("# GHz S RI\n0.0285 0 0\n").frequency_mhz, 28.5);
  EXPECT_EQ(only_point("# S RI\n0.0285 0 0\n").frequency_mhz, 28.5);  // GHz when left out
}

TEST(TouchstoneReader, FormatsAndParametersGiveTheAdmittance) {
  // S = 0.6 against 50 ohms: Y = (1 - S) / (50 (1 + S)) = 0.005 S.
  expect_admittance(only_point("# MHz S RI R 50\n7 0.6 0\n"), 0.005);
  expect_admittance(only_point("# MHz S MA R 50\n7 0.6 0\n"), 0.005);
  // S = -0.6 (angle 180 degrees): Y = 1.6 / (50 * 0.4) = 0.08 S.
  expect_admittance(only_point("# MHz S MA R 50\n7 0.6 180\n"), 0.08);
  // -6.0206 dB is |S| = 0.5; at 90 degrees S = 0.5j:
  // Y = (1 - 0.5j) / (50 (1 + 0.5j)) = (0.6 - 0.8j) / 50.
  expect_admittance(only_point("# MHz S DB R 50\n7 -6.020599913279624 90\n"),
                    Complex(0.012, -0.016));
  // S against R 75: S = 0 is 1/75 S.
  expect_admittance(only_point("# MHz S RI R 75\n7 0 0\n"), 1.0 / 75.0);
  // Version 1 normalises Z (z/R) and Y (y R): z = 1 - 2j is 50 - 100j ohms,
  // whose admittance is (50 + 100j) / 12500.
  expect_admittance(only_point("# MHz Z RI R 50\n7 1 -2\n"), Complex(0.004, 0.008));
  expect_admittance(only_point("# MHz Y RI R 50\n7 2 1\n"), Complex(0.04, 0.02));
  // Z in MA: 2 at -90 degrees is -2j, times R 50: -100j ohms, Y = 0.01j.
  expect_admittance(only_point("# MHz Z MA R 50\n7 2 -90\n"), Complex(0.0, 0.01));
}

TEST(TouchstoneReader, OptionLineInAnyOrderAndCaseWithDefaults) {
  const Complex y(0.004, 0.008);
  expect_admittance(only_point("# r 50 ri z mhz\n7 1 -2\n"), y);
  expect_admittance(only_point("#RI Z MHZ\n7 1 -2\n"), y);  // R 50 when left out
  // "#" alone: GHz, S, MA, R 50.  |S| = 0.6 at 0 degrees is 0.005 S.
  const SweepPoint p = only_point("#\n0.007 0.6 0\n");
  EXPECT_EQ(p.frequency_mhz, 7.0);
  expect_admittance(p, 0.005);
  // A second option line is ignored, as version 1 has it.
  expect_admittance(only_point("# MHz S RI\n# MHz Z RI\n7 0.6 0\n"), 0.005);
}

TEST(TouchstoneReader, CommentsAnywhereAndEveryLineEnd) {
  const std::string files[] = {
      "! header\n!\n# MHz S RI R 50 ! the options\n\n7 0.6 0 ! a point\n  ! indented\n8 0 0\n",
      "! header\r\n# MHz S RI R 50\r\n7 0.6 0\r\n8 0 0\r\n",
      "! header\r# MHz S RI R 50\r7 0.6 0\r8 0 0",  // lone CR, no end on the last
      "# MHz S RI R 50\n7\t0.6   0\n\t8 +0 0e0\n",
  };
  for (const std::string& text : files) {
    const SweepRead read = read_touchstone(text);
    ASSERT_FALSE(read.failed()) << read.failure().reason;
    ASSERT_EQ(read.value().size(), 2u) << text;
    expect_admittance(read.value()[0], 0.005);
    expect_admittance(read.value()[1], 0.02);
    EXPECT_EQ(read.value()[1].frequency_mhz, 8.0);
  }
  const SweepRead read = read_touchstone(files[0]);
  EXPECT_EQ(read.value()[0].line, 5);
  EXPECT_EQ(read.value()[1].line, 7);
}

TEST(TouchstoneReader, VersionTwoKeywordsAndUnnormalisedParameters) {
  const std::string head = "! v2\n[Version] 2.0\n# MHz ";
  const std::string ports = "[Number of Ports] 1\n[Number of Frequencies] 1\n";
  // Z and Y in ohms and siemens.
  expect_admittance(only_point(head + "Z RI R 50\n" + ports + "[Network Data]\n7 50 -100\n[End]\n"),
                    Complex(0.004, 0.008));
  expect_admittance(only_point(head + "Y RI R 50\n" + ports + "[Network Data]\n7 2 1\n[End]\n"),
                    Complex(2.0, 1.0));
  // S against [Reference], given on its line or the next, over R.
  expect_admittance(
      only_point(head + "S RI R 50\n" + ports + "[Reference] 75\n[Network Data]\n7 0 0\n[End]\n"),
      1.0 / 75.0);
  expect_admittance(
      only_point(head + "S RI R 50\n" + ports + "[Reference]\n75\n[Network Data]\n7 0 0\n[End]"),
      1.0 / 75.0);
  // Keywords in any case, [Matrix Format] and the information block read
  // past, anything after [End] left alone.
  expect_admittance(only_point("[version] 2.0\r\n# mhz s ri\r\n[NUMBER OF PORTS] 1\r\n"
                               "[Number of Frequencies] 1\r\n[Matrix Format] Full\r\n"
                               "[Begin Information]\r\nanything [Here]\r\n[End Information]\r\n"
                               "[Network Data]\r\n7 0.6 0 ! S\r\n[End]\r\nnot read\r\n"),
                    0.005);
}

TEST(TouchstoneReader, RefusesWithTheLineAndReason) {
  const test::RefusedSweep cases[] = {
      {"# MHz S RI\n7 0 0 0.1 0 0.1 0 0 0\n", 2,
       "9 numbers on a row: a two-port file; gndfit reads one-port sweeps"},
      {"# MHz S RI\n7 0 0\n8 0 0 1 2\n", 3,
       "expected 3 numbers (frequency and one parameter), got 5"},
      {"# MHz S RI\n7 0\n", 2, "expected 3 numbers (frequency and one parameter), got 2"},
      {"# MHz S RI\n7 0 zero\n", 2, "'zero' is not a number"},
      {"# MHz S RI\n7 0 nan\n", 2, "'nan' is not a number"},
      {"! c\n# MHz S XY\n7 0 0\n", 2, "option line: unknown word 'XY'"},
      {"# MHz S RI R\n7 0 0\n", 1, "option line: R needs a positive resistance in ohms"},
      {"# MHz S RI R 0\n7 0 0\n", 1, "option line: R needs a positive resistance in ohms"},
      {"# MHz S RI GHz\n7 0 0\n", 1, "option line: 'GHz' repeats a setting"},
      {"# MHz H RI\n7 0 0\n", 1,
       "option line: H parameters describe a two-port; gndfit reads one-port sweeps"},
      {"# MHz S RI\n! nothing\n\n", 3, "the file holds no data"},
      {"", 1, "the file holds no option line and no data"},
      {"7 0 0\n", 1, "expected the option line ('# MHz S MA R 50' or the like)"},
      {"# MHz S RI\n[Network Data]\n7 0 0\n", 2,
       "keyword [Network Data] in a file without [Version] 2.0"},
      {"# MHz S RI\n7 -1 0\n", 2, "S = -1 is a short circuit: no probe reads so"},
      {"[Version] 3.0\n# MHz S RI\n", 1, "[Version] 3.0: gndfit reads Touchstone 1 and 2.0"},
      {"[Version] 2.0\n# MHz S RI\n[Number of Ports] 2\n", 3,
       "[Number of Ports] 2: gndfit reads one-port sweeps"},
      {"[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n[Two-Port Data Order] 12_21\n", 4,
       "[Two-Port Data Order] belongs to a file of more than one port"},
      {"[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n[Network Data]\n7 0 0\n[End]\n", 4,
       "the file has no [Number of Frequencies]"},
      {"[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n[Number of Frequencies] 2\n"
       "[Network Data]\n7 0 0\n[End]\n",
       7, "[Number of Frequencies] is 2 but 1 rows were read"},
      {"[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n[Number of Frequencies] 1\n"
       "[Network Data]\n7 0 0\n",
       6, "the file ends without [End]"},
      {"[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n[Number of Frequencies] 1\n"
       "[Network Data]\n[End]\n",
       5, "[Network Data] holds no data"},
      {"[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n[Frobnicate] 1\n", 4,
       "unknown keyword or line '[Frobnicate] 1' before [Network Data]"},
      {"[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n[Number of Frequencies] 1\n"
       "[Reference] 50 75\n",
       5, "[Reference] needs one positive resistance for the one port"},
  };
  test::expect_refused(read_touchstone, cases);
}

}  // namespace
}  // namespace gndfit
