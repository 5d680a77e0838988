// SPDX-License-Identifier: MIT
#include "model/ground_model.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "support/fit_helpers.hpp"

namespace gndfit {
namespace {

using test::fit_measurement;
using test::significant;

TEST(GroundModel, WorkedExampleAtTheMeasuredFrequencyReproducesItExactly) {
  FitState s;
  fit_measurement(s, 10.0, 15.0f, 5.0f);
  EXPECT_EQ(significant(s.point.base_conductivity, 3), 1.38e-3);
  EXPECT_EQ(significant(s.point.base_permittivity, 3), 7.53e-11);
  EXPECT_EQ(evaluate_model(s), 0.0);
  EXPECT_EQ(s.model.permittivity, 15.0f);
  EXPECT_EQ(s.model.conductivity_ms, 5.0f);
  EXPECT_EQ(significant(skin_depth_ft(s, 15.0f, 5.0f), 3), 14.0);
}

TEST(GroundModel, WorkedExampleAtTheLowestBand) {
  FitState s;
  fit_measurement(s, 10.0, 15.0f, 5.0f);
  set_eval_frequency_mhz(s, 1.8f);
  EXPECT_EQ(s.eval_frequency_hz, static_cast<double>(1.8f) * 1e6);
  const double objective = evaluate_model(s);
  EXPECT_EQ(significant(s.model.permittivity, 3), 23.8);
  EXPECT_EQ(significant(s.model.conductivity_ms, 3), 2.92);
  EXPECT_EQ(significant(objective, 3), 82.2);
  EXPECT_EQ(significant(skin_depth_ft(s, s.model.permittivity, s.model.conductivity_ms), 3), 33.1);
}

// The objective squares the differences of the stored singles: the exact
// model value at the fitted point is not 15, yet the objective is 0.
TEST(GroundModel, ObjectiveUsesTheOutputsRoundedToSingle) {
  FitState s;
  fit_measurement(s, 10.0, 15.0f, 5.0f);
  const long double x = s.point.base_conductivity;
  const long double y = s.point.base_permittivity;
  const long double f = s.eval_frequency_hz;
  const long double exact_permittivity =
      y / 8.854187812800387e-12L * (1.0L + std::sqrt(x / (y * f * 3.14159265358979L)));
  EXPECT_NE(exact_permittivity, 15.0L);
  EXPECT_EQ(evaluate_model(s), 0.0);
}

TEST(GroundModel, OppositeSignsGiveNaNEverywhere) {
  FitState s;
  s.measured = {10.0, 15.0f, 5.0f};
  s.eval_frequency_hz = 1e7;
  s.point = {-0.001, 1e-11};
  EXPECT_TRUE(std::isnan(evaluate_model(s)));
  EXPECT_TRUE(std::isnan(s.model.permittivity));
  EXPECT_TRUE(std::isnan(s.model.conductivity_ms));
}

TEST(GroundModel, ZeroBaseConductivityGivesNaNConductivityAndObjective) {
  FitState s;
  s.measured = {10.0, 15.0f, 5.0f};
  s.eval_frequency_hz = 1e7;
  s.point = {0.0, 1e-10};
  EXPECT_TRUE(std::isnan(evaluate_model(s)));
  EXPECT_TRUE(std::isnan(s.model.conductivity_ms));
}

TEST(GroundModel, BothCoordinatesNegativeGiveFiniteNegativeOutputs) {
  FitState s;
  s.measured = {10.0, 15.0f, 5.0f};
  s.eval_frequency_hz = 1e7;
  s.point = {-0.001, -1e-10};
  EXPECT_TRUE(std::isfinite(evaluate_model(s)));
  EXPECT_LT(s.model.permittivity, 0.0f);
  EXPECT_LT(s.model.conductivity_ms, 0.0f);
}

TEST(GroundModel, OutputsMoveTowardTheirLimitsAsFrequencyRises) {
  FitState s;
  s.point = {2e-3, 1e-10};
  const double permittivity_limit = s.point.base_permittivity / 8.854187812800387e-12;
  const double conductivity_limit = s.point.base_conductivity * 1000.0;
  float previous_permittivity = std::numeric_limits<float>::infinity();
  float previous_conductivity = 0.0f;
  for (double hz = 1e5; hz <= 1e9; hz *= 1.5) {
    s.eval_frequency_hz = hz;
    evaluate_model(s);
    EXPECT_LE(s.model.permittivity, previous_permittivity) << hz;
    EXPECT_GE(s.model.conductivity_ms, previous_conductivity) << hz;
    EXPECT_GE(s.model.permittivity, static_cast<float>(permittivity_limit)) << hz;
    EXPECT_GE(s.model.conductivity_ms, static_cast<float>(conductivity_limit)) << hz;
    previous_permittivity = s.model.permittivity;
    previous_conductivity = s.model.conductivity_ms;
  }
}

TEST(SkinDepth, ZeroConductivityIsInfinitelyDeep) {
  FitState s;
  s.eval_frequency_hz = 1e7;
  EXPECT_EQ(skin_depth_ft(s, 15.0f, 0.0f), std::numeric_limits<float>::infinity());
}

TEST(SkinDepth, AgreesWithTheClosedForm) {
  FitState s;
  for (double hz : {1.8e6, 7e6, 28.5e6}) {
    for (float er : {2.0f, 15.0f, 80.0f}) {
      for (float ms : {0.1f, 5.0f, 300.0f}) {
        s.eval_frequency_hz = hz;
        const double w = 2 * std::numbers::pi * hz;
        const double sigma = ms * 1e-3;
        const double eps0 = 8.854187812800387e-12, mu0 = 4e-7 * std::numbers::pi;
        const double loss = sigma / (w * eps0 * er);
        const double metres =
            1.0 / (w * std::sqrt(mu0 * eps0 * er / 2 * (std::sqrt(1 + loss * loss) - 1)));
        EXPECT_NEAR(skin_depth_ft(s, er, ms), metres / 0.3048, metres / 0.3048 * 1e-5)
            << hz << " " << er << " " << ms;
      }
    }
  }
}

}  // namespace
}  // namespace gndfit
