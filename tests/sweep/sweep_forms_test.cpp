// SPDX-License-Identifier: MIT
// The files real analysers and spreadsheets write: each hand-written file
// of tests/sweep/files holds the same two points (1.5 MHz, 50 - 100j ohms;
// 2.25 MHz, 40.5 - 80.25j ohms) in one form.  And what a file's text may
// look like in a message: never raw.
#include <gtest/gtest.h>

#include <complex>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sweep/sweep_file.hpp"
#include "sweep/sweep_text.hpp"

namespace gndfit {
namespace {

std::string file_text(const std::string& name) {
  std::ifstream in(std::filesystem::path(GNDFIT_SWEEP_FILES_DIR) / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SweepForms, EveryFormGivesTheSamePoints) {
  const char* names[] = {
      "bom-no-header.csv",
      "bom-header.csv",
      "bom.s1p",
      "bom-comment.s1p",
      "bom-v2.ts",
      "sep-line.csv",
      "sep-line-quoted.csv",
      "quoted-decimal-comma.csv",
      "leftovers.csv",
      "ctrl-z.s1p",
      "unit-hz.csv",
      "unit-khz.csv",
      "unit-ghz.csv",
      "hash-header-semicolon.csv",
      "named-columns.csv",
      "named-columns-greek.csv",
  };
  const double mhz[] = {1.5, 2.25};
  const std::complex<double> ohms[] = {{50, -100}, {40.5, -80.25}};
  for (const char* name : names) {
    const std::string text = file_text(name);
    ASSERT_FALSE(text.empty()) << name;
    const SweepRead read = read_sweep(text);
    ASSERT_FALSE(read.failed()) << name << ": line " << read.failure().where.line << ": "
                                << read.failure().reason;
    ASSERT_EQ(read.value().size(), 2u) << name;
    for (std::size_t i = 0; i < 2; ++i) {
      const SweepPoint& p = read.value()[i];
      EXPECT_NEAR(p.frequency_mhz, mhz[i], 1e-12 * mhz[i]) << name;
      const std::complex<double> z = 1.0 / p.admittance;
      EXPECT_NEAR(std::abs(z - ohms[i]), 0.0, 1e-12 * std::abs(ohms[i])) << name;
    }
  }
}

TEST(SweepForms, RefusalsSayWhatToDo) {
  struct Refused {
    const char* text;
    long line;
    const char* reason;
  } cases[] = {
      {"1500000,50,-100\n", 1,
       "the frequency 1.5e+06 is above 1000 MHz: the file looks like kHz or Hz; a CSV without a "
       "unit is read in MHz, so name the unit with a header line such as 'Frequency (Hz),R,X'"},
      {"Frequency,Return Loss,Phase,SWR\n1,2,3,4\n", 1,
       "a header of 4 columns names no R (Rs, R, Resistance) and X (Xs, X, Reactance) columns"},
      {"Frequency,R,X,|Z|\n1,50,-100\n", 2, "expected 4 numbers, as the header has columns, got 3"},
      // Still wrong after the leftovers are taken away: the error of old.
      {"1,50,-100\n2,,-100\n", 2, "'' is not a number"},
  };
  for (const Refused& c : cases) {
    const SweepRead read = read_sweep(c.text);
    ASSERT_TRUE(read.failed()) << c.text;
    EXPECT_EQ(read.failure().where.line, c.line) << c.text;
    EXPECT_EQ(read.failure().reason, c.reason);
  }
}

TEST(SweepForms, AFilesTextNeverReachesTheTerminalRaw) {
  // Escape sequences and a bell, cut after 40 characters.
  const SweepRead escape = read_sweep("1,50,-100\n2,50,\x1b]0;owned\x07\x1b[2J\n");
  ASSERT_TRUE(escape.failed());
  EXPECT_EQ(escape.failure().reason, "'\\x1B]0;owned\\x07\\x1B[2J' is not a number");
  EXPECT_EQ(shown_text(std::string(45, 'a')), std::string(40, 'a') + "...");
  // Forty characters are counted before escaping, a UTF-8 sequence as one.
  EXPECT_EQ(shown_text(std::string(39, 'a') + "\xCE\xA9\x01"),
            std::string(39, 'a') + "\xCE\xA9...");
  // Bytes that are not UTF-8 (a stray continuation, a cut sequence, an
  // overlong form, a surrogate) and C1 controls, as \xNN.
  EXPECT_EQ(shown_text("\x80z\xE2\x82"), "\\x80z\\xE2\\x82");
  EXPECT_EQ(shown_text("\xC0\xAF\xED\xA0\x80"), "\\xC0\\xAF\\xED\\xA0\\x80");
  EXPECT_EQ(shown_text("\xC2\x9B"
                       "31m\x7f"),
            "\\xC2\\x9B31m\\x7F");
  const SweepRead option = read_sweep("# MHz S \x1b[31mRI\n1 0 0\n");
  ASSERT_TRUE(option.failed());
  EXPECT_EQ(option.failure().reason, "option line: unknown word '\\x1B[31mRI'");
}

}  // namespace
}  // namespace gndfit
