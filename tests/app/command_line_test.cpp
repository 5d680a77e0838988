// SPDX-License-Identifier: MIT
// The command line read as a table: arguments in, what gndfit does out.
#include "app/common/command_line.hpp"

#include <gtest/gtest.h>

namespace gndfit {
namespace {

struct Case {
  std::vector<std::string_view> arguments;
  RunMode mode;
  std::string error;  // for RunMode::error
  std::size_t files = 0;
  std::size_t frequencies = 0;
};

TEST(CommandLine, ArgumentsGiveTheirMode) {
  const Case cases[] = {
      {{}, RunMode::interactive, ""},
      {{"-h"}, RunMode::help, ""},
      {{"--csv", "--help"}, RunMode::help, ""},
      {{"--version"}, RunMode::version, ""},
      {{"--csv"}, RunMode::csv, ""},
      {{"--csv", "a", "-", "b"}, RunMode::csv, "", 3},
      {{"--csv", "--", "-h"}, RunMode::csv, "", 1},
      {{"--csv", "--freq", "7,14"}, RunMode::csv, "", 0, 2},
      {{"--csv", "--freq=1.8"}, RunMode::csv, "", 0, 1},
      {{"--nec", "7.1,14.2", "-"}, RunMode::nec, "", 1, 2},
      {{"--csv", "--nec", "7"}, RunMode::error, "options '--csv' and '--nec' exclude each other"},
      {{"--nec", "7", "--freq", "7"}, RunMode::error,
       "option '--nec' takes its own list; '--freq' is for '--csv'"},
      {{"--nec"}, RunMode::error, "option '--nec' needs a list of frequencies"},
      {{"--bogus"}, RunMode::error, "unknown option '--bogus'"},
      {{"-x", "--help"}, RunMode::error, "unknown option '-x'"},
      {{"--csv", "--freq"}, RunMode::error, "option '--freq' needs a list of frequencies"},
      {{"--freq", "7"}, RunMode::error, "option '--freq' needs '--csv'"},
      {{"a", "-"}, RunMode::files, "", 2},
      {{"--probe", "short,c0=5", "a.s1p", "-"}, RunMode::probe, "", 2},
      {{"--probe=line,length=1,z0=300"}, RunMode::probe, ""},
      {{"--probe"}, RunMode::error, "option '--probe' needs the probe, e.g. 'short,c0=5'"},
      {{"--probe", "short,c0=0"}, RunMode::error,
       "probe setting 'c0=0': expected a positive number of picofarads (or 'air=FILE')"},
      {{"--csv", "--probe", "short,c0=5"}, RunMode::error,
       "option '--probe' writes its own CSV; '--csv', '--freq', '--nec' and '--json' go with "
       "'--probe' and '--joint' together"},
      {{"--probe", "short,c0=5", "--joint", "--csv", "--freq", "7", "a"}, RunMode::probe, "", 1, 1},
      {{"--joint", "--probe", "short,c0=5", "--nec", "7,14"}, RunMode::probe, "", 0, 2},
  };
  for (const Case& c : cases) {
    const CommandLine line = parse_command_line(c.arguments);
    EXPECT_EQ(line.mode, c.mode) << c.arguments.size();
    EXPECT_EQ(line.error, c.error);
    EXPECT_EQ(line.files.size(), c.files);
    EXPECT_EQ(line.frequencies.size(), c.frequencies);
  }
}

TEST(CommandLine, FrequencyListsAreReadAsSinglesOrRefused) {
  std::vector<float> f;
  ASSERT_TRUE(parse_frequency_list("1.8,28.5", f));
  EXPECT_EQ(f, (std::vector<float>{1.8f, 28.5f}));  // one rounding, as the table's constants
  // Just above the midpoint of 1 and the next single: read through a
  // double it would round to the midpoint and then, to even, down to 1.
  ASSERT_TRUE(parse_frequency_list("1.0000000596046447755", f));
  EXPECT_EQ(f, (std::vector<float>{0x1.000002p0f}));
  for (const char* bad : {"", "1.8,", ",1.8", "1.8,,3", "abc", "-1", "0", "inf", "nan", "1e39",
                          "7 ", "0x10"}) {
    EXPECT_FALSE(parse_frequency_list(bad, f)) << bad;
  }
}

}  // namespace
}  // namespace gndfit
