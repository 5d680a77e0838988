// SPDX-License-Identifier: MIT
// The R/X CSV reader: each separator, with a header or not, decimal
// commas, and its refusals.  Y = 1 / (R + jX), worked out by hand.
#include "sweep/rx_csv_reader.hpp"

#include <gtest/gtest.h>

#include <complex>
#include <string>

#include "support/refused_sweep.hpp"

namespace gndfit {
namespace {

TEST(RxCsvReader, EverySeparatorWithOrWithoutHeader) {
  const std::string files[] = {
      "Freq (MHz),R (ohm),X (ohm)\n7.1,50,-100\n14.2,80,60\n",
      "7.1, 50, -100\n14.2, 80, 60\n",
      "freq;r;x\r\n7,1;50;-100\r\n14,2;80;60\r\n",  // decimal commas
      "7.1\t50\t-100\n\n14.2\t80\t60",
      "\"Freq\",\"R\",\"X\"\n\"7.1\",\"50\",\"-100\"\n\"14.2\", \"80\" ,\"60\"\n",
  };
  for (const std::string& text : files) {
    const SweepRead read = read_rx_csv(text);
    ASSERT_FALSE(read.failed()) << read.failure().reason;
    ASSERT_EQ(read.value().size(), 2u) << text;
    EXPECT_EQ(read.value()[0].frequency_mhz, 7.1);
    EXPECT_EQ(read.value()[1].frequency_mhz, 14.2);
    // 1 / (50 - 100j) = (50 + 100j) / 12500; 1 / (80 + 60j) = (80 - 60j) / 10000.
    EXPECT_NEAR(read.value()[0].admittance.real(), 0.004, 1e-15);
    EXPECT_NEAR(read.value()[0].admittance.imag(), 0.008, 1e-15);
    EXPECT_NEAR(read.value()[1].admittance.real(), 0.008, 1e-15);
    EXPECT_NEAR(read.value()[1].admittance.imag(), -0.006, 1e-15);
  }
  EXPECT_EQ(read_rx_csv(files[0]).value()[1].line, 3);
  EXPECT_EQ(read_rx_csv(files[3]).value()[1].line, 3);
}

TEST(RxCsvReader, RefusesWithTheLineAndReason) {
  const test::RefusedSweep cases[] = {
      {"f,r,x\n7,50\n", 2, "expected 3 numbers (frequency in MHz, R and X in ohms), got 2"},
      {"7,50,1,2\n", 1, "expected 3 numbers (frequency in MHz, R and X in ohms), got 4"},
      {"f,r,x\n7,50,1\n8,fifty,1\n", 3, "'fifty' is not a number"},
      {"f,r,x\nf,r,x\n", 2, "'f' is not a number"},  // one header line only
      {"7,50,1\n8 50 1\n", 2, "'8 50 1' is not a number"},
      {"f,r,x\n\n", 2, "the file holds no data"},
      {"7,0,0\n", 1, "R = X = 0 is a short circuit: no probe reads so"},
  };
  test::expect_refused(read_rx_csv, cases);
}

}  // namespace
}  // namespace gndfit
