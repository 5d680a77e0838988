// SPDX-License-Identifier: MIT
// nec2c's output read back: the feed, the pattern (rows whose polarisation
// sense is blank too), the average gain, and what a cut or failed run
// leaves.  The excerpts are nec2c's own lines for a 40 m dipole 10 m over
// a ground of 13 and 5 mS/m at 7.1 MHz.
#include "antenna/nec_output.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace gndfit {
namespace {

constexpr const char* kFeed =
    "                        --------- ANTENNA INPUT PARAMETERS ---------\n"
    "  TAG   SEG       VOLTAGE (VOLTS)         CURRENT (AMPS)         IMPEDANCE (OHMS)        "
    "ADMITTANCE (MHOS)     POWER\n"
    "  No:   No:     REAL      IMAGINARY     REAL      IMAGINARY     REAL      IMAGINARY    REAL  "
    "     IMAGINARY   (WATTS)\n"
    "    1    11  1.0000E+00  0.0000E+00  1.2299E-02  2.9500E-03  7.6884E+01 -1.8441E+01  "
    "1.2299E-02  2.9500E-03  6.1495E-03\n\n";

constexpr const char* kPattern =
    "                             ---------- RADIATION PATTERNS -----------\n"
    "\n"
    " ---- ANGLES -----     ----- POWER GAINS -----       ---- POLARIZATION ----   ---- E(THETA) "
    "----    ----- E(PHI) ------\n"
    "  THETA      PHI       VERTC    HORIZ    TOTAL       AXIAL      TILT  SENSE   MAGNITUDE    "
    "PHASE    MAGNITUDE     PHASE\n"
    " DEGREES   DEGREES        DB       DB       DB       RATIO   DEGREES            VOLTS/M   "
    "DEGREES     VOLTS/M   DEGREES\n"
    "    0.00      0.00   -999.99     5.94     5.94      0.0000     90.00 LINEAR  0.0000E+00      "
    "0.00  1.2038E+00      6.51\n"
    "   89.00    360.00   -999.99   -23.49   -23.49      0.0000     90.00 LINEAR  4.8697E-13    "
    "-76.75  4.0651E-02      3.68\n"
    "   90.00    360.00   -999.99  -999.99  -999.99      0.0000      0.00         1.5247E-22    "
    "101.69  1.1934E-11   -176.22\n"
    "\n\n";

constexpr const char* kAverage =
    "  AVERAGE POWER GAIN:  1.5277E+00 - SOLID ANGLE USED IN AVERAGING: (+2.0000)*PI STERADIANS\n";

TEST(NecOutput, ReadsTheFeedThePatternAndTheAverage) {
  const std::string text = std::string(kFeed) + kPattern + kAverage + "\n  TOTAL RUN TIME: 40 msec";
  NecResult r;
  std::string error;
  ASSERT_TRUE(read_nec_output(text, r, error)) << error;
  EXPECT_EQ(r.feed_r_ohms, 76.884);
  EXPECT_EQ(r.feed_x_ohms, -18.441);
  EXPECT_EQ(r.input_power_w, 6.1495e-3);
  ASSERT_EQ(r.pattern.size(), 3u);
  EXPECT_EQ(r.pattern[1].theta_deg, 89.0);
  EXPECT_EQ(r.pattern[1].phi_deg, 360.0);
  EXPECT_EQ(r.pattern[1].total_db, -23.49);
  // The row without a polarisation sense keeps its fields.
  EXPECT_EQ(r.pattern[2].total_db, -999.99);
  EXPECT_EQ(r.pattern[2].field_squared, 1.5247e-22 * 1.5247e-22 + 1.1934e-11 * 1.1934e-11);
  EXPECT_EQ(r.average_gain, 1.5277);
  // The gain from the fields agrees with the TOTAL nec2c printed for the
  // same rows, to its 0.01 dB and the fields' five digits.
  for (std::size_t row : {0u, 1u}) {
    const double gain_db =
        10.0 * std::log10(power_gain_from_fields(r.pattern[row], r.input_power_w));
    EXPECT_NEAR(gain_db, r.pattern[row].total_db, 0.006) << row;
  }
}

TEST(NecOutput, NamesTheMissingPartAndFindsNec2csOwnMessage) {
  NecResult r;
  std::string error;
  EXPECT_FALSE(read_nec_output(std::string(kPattern) + kAverage, r, error));
  EXPECT_EQ(error, "its output has no antenna input parameters");
  EXPECT_FALSE(read_nec_output(std::string(kFeed) + kAverage, r, error));
  EXPECT_EQ(error, "its output has no radiation pattern");
  EXPECT_FALSE(read_nec_output(std::string(kFeed) + kPattern, r, error));
  EXPECT_EQ(error, "its output has no average power gain");
  // A run that stopped: the pattern's header with no rows after it.
  EXPECT_FALSE(read_nec_output(
      std::string(kFeed) + "  ---------- RADIATION PATTERNS -----------\n\n", r, error));
  EXPECT_EQ(nec_stop_message("  DATA CARD No:   1 EX   0\n\n  NO SEGMENT HAS AN ITAG OF 1"),
            "NO SEGMENT HAS AN ITAG OF 1");
  EXPECT_EQ(nec_stop_message("\n  \n"), "");
}

}  // namespace
}  // namespace gndfit
