// SPDX-License-Identifier: MIT
// The 125-measurement grid fitted one after another in one run, as a user
// stepping through typical grounds would.
#include <gtest/gtest.h>

#include "support/fit_helpers.hpp"

namespace gndfit {
namespace {

TEST(FitGrid, EveryMeasurementConvergesOntoItself) {
  const double frequencies[] = {1.8, 5, 10, 21, 28.5};
  const float permittivities[] = {2, 5, 15, 40, 80};
  const float conductivities[] = {0.1f, 1, 5, 30, 300};
  FitState s;
  int fits = 0;
  for (double mhz : frequencies) {
    for (float er : permittivities) {
      for (float ms : conductivities) {
        fit_measurement(s, Measurement{mhz, er, ms});
        ++fits;
        SCOPED_TRACE(testing::Message() << mhz << " MHz, " << er << ", " << ms << " mS/m");
        EXPECT_GE(s.counters.passes, 51);
        EXPECT_LE(s.counters.passes, 110);
        EXPECT_LE(test::ulp_distance(s.model.permittivity, er), 3);
        EXPECT_LE(test::ulp_distance(s.model.conductivity_ms, ms), 3);
      }
    }
  }
  EXPECT_EQ(fits, 125);
}

}  // namespace
}  // namespace gndfit
