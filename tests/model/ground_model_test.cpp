// SPDX-License-Identifier: MIT
#include "model/ground_model.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "model/extended.hpp"
#include "support/fit_helpers.hpp"

namespace gndfit {
namespace {


// Exact values in this file come from tests/model/reference_fit.py, an
// implementation of the model written apart from this code, from its
// description (numpy's longdouble as the x87 extended type, every store
// rounded where the program rounds it).  Hex literals give the stored bits.

// The point the fit finds for 10 MHz, 15, 5 mS/m (simplex_fit_test.cpp).
constexpr ModelParams kTenMegahertzFit{0x1.6a9e23993f9e2p-10, 0x1.4af4f5b45821bp-34};

FitState at_ten_megahertz_fit() {
  FitState s;
  start_measurement(s, {10.0, 15.0f, 5.0f});
  s.point = kTenMegahertzFit;
  return s;
}

TEST(GroundModel, WorkedExampleAtTheMeasuredFrequencyReproducesItExactly) {
  FitState s = at_ten_megahertz_fit();
  EXPECT_EQ(evaluate_model(s), 0.0);
  EXPECT_EQ(s.model.permittivity, 15.0f);
  EXPECT_EQ(s.model.conductivity_ms, 5.0f);
  EXPECT_EQ(skin_depth_ft(s, 15.0f, 5.0f), 0x1.c14352p+3f);  // 14.0395 ft
}

TEST(GroundModel, WorkedExampleAtTheLowestBand) {
  FitState s = at_ten_megahertz_fit();
  set_eval_frequency_mhz(s, 1.8f);
  EXPECT_EQ(s.eval_frequency_hz, static_cast<double>(1.8f) * 1e6);
  const double objective = evaluate_model(s);
  EXPECT_EQ(s.model.permittivity, 0x1.7d2778p+4f);    // 23.8221
  EXPECT_EQ(s.model.conductivity_ms, 0x1.7577fp+1f);  // 2.91772
  EXPECT_EQ(objective, 0x1.48a9f1b0311p+6);           // 82.1659
  EXPECT_EQ(skin_depth_ft(s, s.model.permittivity, s.model.conductivity_ms),
            0x1.08bb1p+5f);  // 33.0913 ft
}

// The table's values for one fitted measurement, band by band: the model's
// permittivity and conductivity and the skin depth divided by the depth at
// the measured frequency, each stored as single as the table stores it.
struct BandRow {
  float permittivity, conductivity_ms, relative_depth;
};
constexpr float kBands[] = {1.8f, 3.7f, 5.3f, 7.1f, 10.1f, 14.2f, 18.1f, 21.2f, 24.9f, 28.5f};

void expect_band_rows(const Measurement& m, const BandRow (&want)[10]) {
  FitState s;
  fit_measurement(s, m);
  const float reference = skin_depth_ft(s, s.model.permittivity, s.model.conductivity_ms);
  for (int i = 0; i < 10; ++i) {
    set_eval_frequency_mhz(s, kBands[i]);
    evaluate_model(s);
    const float depth = skin_depth_ft(s, s.model.permittivity, s.model.conductivity_ms);
    EXPECT_EQ(s.model.permittivity, want[i].permittivity) << m.frequency_mhz << " " << kBands[i];
    EXPECT_EQ(s.model.conductivity_ms, want[i].conductivity_ms)
        << m.frequency_mhz << " " << kBands[i];
    EXPECT_EQ(store_single(extended{depth} / extended{reference}), want[i].relative_depth)
        << m.frequency_mhz << " " << kBands[i];
  }
}

// First fits of a run; the decimal comments are the table's rounded text.
TEST(BandTable, TenMegahertzWorkedExample) {
  const BandRow want[10] = {
      {0x1.7d2778p+4f, 0x1.7577fp+1f, 0x1.2db2e8p+1f},   // 23.8  2.9  2.36
      {0x1.32fc7cp+4f, 0x1.caa7bcp+1f, 0x1.a4dc84p+0f},  // 19.2  3.6  1.64
      {0x1.16dc8ep+4f, 0x1.010aeap+2f, 0x1.5fa49ap+0f},  // 17.4  4.0  1.37
      {0x1.036db8p+4f, 0x1.1b91eep+2f, 0x1.2fd0eap+0f},  // 16.2  4.4  1.19
      {0x1.def7b2p+3f, 0x1.41278cp+2f, 0x1.fd7584p-1f},  // 15.0  5.0  1.00
      {0x1.be8b4ap+3f, 0x1.6c5bcp+2f, 0x1.ada92cp-1f},   // 14.0  5.7  0.84
      {0x1.aa989ep+3f, 0x1.8ff0fp+2f, 0x1.7c9108p-1f},   // 13.3  6.2  0.74
      {0x1.9ed81p+3f, 0x1.a98e38p+2f, 0x1.5fa49cp-1f},   // 13.0  6.6  0.69
      {0x1.93cd42p+3f, 0x1.c5c89ep+2f, 0x1.44778p-1f},   // 12.6  7.1  0.63
      {0x1.8b31bap+3f, 0x1.df4beap+2f, 0x1.2f4858p-1f},  // 12.3  7.5  0.59
  };
  expect_band_rows({10.0, 15.0f, 5.0f}, want);
}

// Measured on the last band: its column is the measurement itself.
TEST(BandTable, OnTheLastBand) {
  const BandRow want[10] = {
      {0x1.b78dep+4f, 0x1.0eeffep+2f, 0x1.fd538cp+1f},   // 27.5  4.2  3.98
      {0x1.59fe1ap+4f, 0x1.44ab14p+2f, 0x1.633f76p+1f},  // 21.6  5.1  2.78
      {0x1.368384p+4f, 0x1.67a15ep+2f, 0x1.28d226p+1f},  // 19.4  5.6  2.32
      {0x1.1dffd6p+4f, 0x1.89182p+2f, 0x1.007348p+1f},   // 17.9  6.1  2.00
      {0x1.04d6dep+4f, 0x1.b881a2p+2f, 0x1.ae087p+0f},   // 16.3  6.9  1.68
      {0x1.e0c6e6p+3f, 0x1.ef01e6p+2f, 0x1.6aaceep+0f},  // 15.0  7.7  1.42
      {0x1.c79ceep+3f, 0x1.0df27ep+3f, 0x1.413c36p+0f},  // 14.2  8.4  1.25
      {0x1.b8c9aep+3f, 0x1.1e1a72p+3f, 0x1.28d226p+0f},  // 13.8  8.9  1.16
      {0x1.aadbb6p+3f, 0x1.2fe87p+3f, 0x1.11e1aap+0f},   // 13.3  9.5  1.07
      {13.0f, 10.0f, 1.0f},
  };
  expect_band_rows({28.5, 13.0f, 10.0f}, want);
}

// A wet ground: 125 at the lowest band needs the widest mask.
TEST(BandTable, WetGroundAtSevenMegahertz) {
  const BandRow want[10] = {
      {0x1.f2c182p+6f, 0x1.52ccd8p+4f, 0x1.f8d6bap+0f},  // 125   21.2  1.97
      {0x1.850c1ap+6f, 0x1.91cdcep+4f, 0x1.601e2ep+0f},  // 97.3  25.1  1.38
      {0x1.5b7208p+6f, 0x1.baccbep+4f, 0x1.2634a6p+0f},  // 86.9  27.7  1.15
      {0x1.3eb348p+6f, 0x1.e209f6p+4f, 0x1.fc61aep-1f},  // 79.7  30.1  0.99
      {0x1.2132bap+6f, 0x1.0cd116p+5f, 0x1.aa3e76p-1f},  // 72.3  33.6  0.83
      {0x1.0937c6p+6f, 0x1.2cc52cp+5f, 0x1.677ae4p-1f},  // 66.3  37.6  0.70
      {0x1.f4eddp+5f, 0x1.47164ap+5f, 0x1.3e67a2p-1f},   // 62.6  40.9  0.62
      {0x1.e38b94p+5f, 0x1.5a0808p+5f, 0x1.2634a6p-1f},  // 60.4  43.3  0.57
      {0x1.d3363p+5f, 0x1.6ee8a6p+5f, 0x1.0f77e6p-1f},   // 58.4  45.9  0.53
      {0x1.c67acp+5f, 0x1.81c72ap+5f, 0x1.fb7d26p-2f},   // 56.8  48.2  0.50
  };
  expect_band_rows({7.0, 80.0f, 30.0f}, want);
}

// The objective squares the differences of the stored singles: the exact
// model value at the fitted point is not 15, yet the objective is 0.
TEST(GroundModel, ObjectiveUsesTheOutputsRoundedToSingle) {
  FitState s;
  fit_measurement(s, Measurement{10.0, 15.0f, 5.0f});
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
