// SPDX-License-Identifier: MIT
// A sweep file told apart by its content, and the frequency order every
// form must keep.
#include "sweep/sweep_file.hpp"

#include <gtest/gtest.h>

#include "support/refused_sweep.hpp"

namespace gndfit {
namespace {

TEST(SweepFile, FormFromTheContent) {
  EXPECT_EQ(sweep_form("! comment\n\n# MHz S RI\n7 0 0\n"), SweepForm::touchstone);
  EXPECT_EQ(sweep_form("  #\n"), SweepForm::touchstone);
  EXPECT_EQ(sweep_form("! c\n[VERSION] 2.0\n"), SweepForm::touchstone);
  EXPECT_EQ(sweep_form("Freq,R,X\n7,50,1\n"), SweepForm::rx_csv);
  EXPECT_EQ(sweep_form("\n7;50;1\n"), SweepForm::rx_csv);
  // Both readers behind the one entry.
  EXPECT_EQ(read_sweep("# MHz Z RI R 1\n7 50 1\n").value().size(), 1u);
  EXPECT_EQ(read_sweep("7,50,1\n8,50,1\n").value().size(), 2u);
}

TEST(SweepFile, FrequenciesMustBePositiveAndIncrease) {
  const test::RefusedSweep cases[] = {
      {"# MHz S RI\n7 0 0\n7 0 0\n", 3,
       "the frequency does not increase: 7 MHz after 7 MHz on line 2"},
      {"f,r,x\n7,50,1\n8,50,1\n\n7.5,50,1\n", 5,
       "the frequency does not increase: 7.5 MHz after 8 MHz on line 3"},
      {"0,50,1\n1,50,1\n", 1, "the frequency 0 MHz is not positive"},
      {"# kHz Z RI\n-100 1 1\n", 2, "the frequency -0.1 MHz is not positive"},
  };
  test::expect_refused(read_sweep, cases);
}

}  // namespace
}  // namespace gndfit
