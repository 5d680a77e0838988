// SPDX-License-Identifier: MIT
// The alipio-visacro and power-law models and their fits against a
// reference written apart from them: each model's complex conductivity
// s* = s0 + a (f / f1)^g (1 + j tan(pi g / 2)) in long double, from which
// sigma = Re s* and eps_r = Im s* / (omega eps0); Jacobians by central
// differences of that; the comparison's AICc and weights from their
// definitions worked by hand.
#include "model/ground_models.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "model/alipio_visacro_ground.hpp"
#include "model/messier_ground.hpp"
#include "model/model_comparison.hpp"
#include "model/power_law_ground.hpp"
#include "model/small_least_squares.hpp"

namespace gndfit {
namespace {

using complex = std::complex<long double>;
constexpr long double kEps0 = 8.8541878128e-12L;
constexpr long double kPiL = 3.141592653589793238462643383279L;

// (eps_r, sigma mS/m) of the power law's complex conductivity.
GroundValues reference_power_law(long double s0, long double a, long double g, long double e_inf,
                                 long double mhz) {
  const long double omega_eps0_ms = 2 * kPiL * mhz * 1e6L * kEps0 * 1000;
  const complex s = s0 + a * std::pow(mhz, g) * complex(1, std::tan(kPiL * g / 2)) +
                    complex(0, omega_eps0_ms * e_inf);
  return {static_cast<double>(s.imag() / omega_eps0_ms), static_cast<double>(s.real())};
}

GroundValues reference_alipio_visacro(long double s0, long double mhz) {
  const long double h = 1.26L * std::pow(s0, -0.73L);
  return reference_power_law(s0, s0 * h, 0.54L, 12, mhz);
}

double relative(double a, double b) { return std::fabs(a - b) / std::fabs(b); }

TEST(GroundModels, ValuesAgreeWithTheComplexForm) {
  const PowerLawGround power_law;
  const AlipioVisacroGround alipio;
  for (const double mhz : {0.3, 1.8, 14.2, 30.0, 200.0}) {
    for (const double s0 : {0.05, 2.0, 50.0, 900.0}) {
      const GroundValues av = alipio.values_at(std::vector<double>{s0}, mhz);
      const GroundValues ref = reference_alipio_visacro(s0, mhz);
      EXPECT_LT(relative(av.permittivity, ref.permittivity), 1e-13) << s0 << ' ' << mhz;
      EXPECT_LT(relative(av.conductivity_ms, ref.conductivity_ms), 1e-13) << s0 << ' ' << mhz;
      for (const double g : {0.05, 0.37, 0.5, 0.93}) {
        const std::vector<double> p{s0, 3.0 * s0, g, 7.5};
        const GroundValues pl = power_law.values_at(p, mhz);
        const GroundValues pref = reference_power_law(s0, 3.0 * s0, g, 7.5, mhz);
        EXPECT_LT(relative(pl.permittivity, pref.permittivity), 1e-13) << g;
        EXPECT_LT(relative(pl.conductivity_ms, pref.conductivity_ms), 1e-13) << g;
      }
    }
  }
}

// The messier model is the power law with g = 1/2, s0 = 1000 x,
// a = 1000 sqrt(4 pi f1 eps0 e x) and e_inf = e.
TEST(GroundModels, MessierIsThePowerLawOfExponentOneHalf) {
  for (const double x : {1e-4, 0.005, 0.2}) {
    for (const double e : {0.5, 13.0, 80.0}) {
      const double a = 1000.0 * std::sqrt(4.0 * kPi * 1e6 * kVacuumPermittivity * e * x);
      for (const double mhz : {0.5, 7.1, 28.5}) {
        const GroundValues m = messier_values({x, e}, mhz);
        const GroundValues p = power_law_values({1000.0 * x, a, 0.5, e}, mhz);
        EXPECT_LT(relative(p.permittivity, m.permittivity), 1e-13) << x << ' ' << e << ' ' << mhz;
        EXPECT_LT(relative(p.conductivity_ms, m.conductivity_ms), 1e-13);
      }
    }
  }
}

TEST(GroundModels, JacobiansAgreeWithCentralDifferences) {
  const PowerLawGround power_law;
  const AlipioVisacroGround alipio;
  const std::vector<double> p{4.0, 2.5, 0.61, 9.0};
  for (const double mhz : {1.0, 3.7, 28.5}) {
    std::vector<GroundJacobianRow> rows(4);
    power_law.jacobian_at(p, mhz, rows);
    for (std::size_t i = 0; i < 4; ++i) {
      const long double h = 1e-5L * p[i];
      long double up[4] = {p[0], p[1], p[2], p[3]};
      long double down[4] = {p[0], p[1], p[2], p[3]};
      up[i] += h;
      down[i] -= h;
      const GroundValues u = reference_power_law(up[0], up[1], up[2], up[3], mhz);
      const GroundValues d = reference_power_law(down[0], down[1], down[2], down[3], mhz);
      const double de = static_cast<double>((u.permittivity - d.permittivity) / (2 * h));
      const double ds = static_cast<double>((u.conductivity_ms - d.conductivity_ms) / (2 * h));
      EXPECT_NEAR(rows[i].permittivity, de, 1e-6 * (std::fabs(de) + 1e-3)) << i << ' ' << mhz;
      EXPECT_NEAR(rows[i].conductivity_ms, ds, 1e-6 * (std::fabs(ds) + 1e-3)) << i << ' ' << mhz;
    }
    std::vector<GroundJacobianRow> row(1);
    const double s0 = 7.0;
    alipio.jacobian_at(std::vector<double>{s0}, mhz, row);
    const long double h = 1e-5L * s0;
    const GroundValues u = reference_alipio_visacro(s0 + h, mhz);
    const GroundValues d = reference_alipio_visacro(s0 - h, mhz);
    const double de = static_cast<double>((u.permittivity - d.permittivity) / (2 * h));
    const double ds = static_cast<double>((u.conductivity_ms - d.conductivity_ms) / (2 * h));
    EXPECT_NEAR(row[0].permittivity, de, 1e-6 * std::fabs(de));
    EXPECT_NEAR(row[0].conductivity_ms, ds, 1e-6 * std::fabs(ds));
  }
}

std::vector<LocatedMeasurement> exact_sweep(auto values, int n) {
  std::vector<LocatedMeasurement> sweep;
  for (int i = 0; i < n; ++i) {
    const double mhz = 1.0 + 29.0 * i / (n - 1);
    const GroundValues v = values(mhz);
    sweep.push_back(
        {mhz, v.permittivity, v.conductivity_ms, 0.01 * v.permittivity, 0.01 * v.conductivity_ms});
  }
  return sweep;
}

// Noise-free sweeps: every fit finds its model's parameters exactly, from
// no start of the caller's.
TEST(GroundModels, FitsRecoverTheModelOfExactSweeps) {
  for (const double s0 : {0.3, 4.0, 60.0}) {
    const auto sweep =
        exact_sweep([s0](double mhz) { return reference_alipio_visacro(s0, mhz); }, 12);
    const ModelFit fit = fit_model(ModelName::alipio_visacro, sweep, true);
    ASSERT_EQ(fit.status, ModelFitStatus::fitted);
    EXPECT_LT(relative(fit.parameters[0], s0), 1e-9) << s0;
    EXPECT_EQ(fit.degrees_of_freedom, 23);
  }
  for (const double g : {0.2, 0.5, 0.8}) {
    const auto sweep =
        exact_sweep([g](double mhz) { return reference_power_law(3.0, 6.0, g, 14.0, mhz); }, 15);
    const ModelFit fit = fit_model(ModelName::power_law, sweep, true);
    ASSERT_EQ(fit.status, ModelFitStatus::fitted);
    const double truth[] = {3.0, 6.0, g, 14.0};
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_LT(relative(fit.parameters[i], truth[i]), 1e-7) << g << ' ' << i;
      EXPECT_TRUE(fit.has_sd(i));
    }
    EXPECT_EQ(fit.degrees_of_freedom, 26);
  }
}

// A minimum on the edge of the power law's domain is given at its bound
// without an sd, the model keeping its four parameters; one without any
// dispersion leaves the exponent undetermined.
TEST(GroundModels, PowerLawAtItsBounds) {
  const auto pure =
      exact_sweep([](double mhz) { return reference_power_law(0, 6.0, 0.4, 9.0, mhz); }, 10);
  const ModelFit at_zero = fit_model(ModelName::power_law, pure, true);
  ASSERT_EQ(at_zero.status, ModelFitStatus::fitted);
  EXPECT_EQ(at_zero.states[0], ParameterState::at_bound);
  EXPECT_EQ(at_zero.parameters[0], 0.0);
  EXPECT_FALSE(at_zero.has_sd(0));
  EXPECT_TRUE(at_zero.has_sd(2));
  EXPECT_LT(relative(at_zero.parameters[2], 0.4), 1e-7);
  EXPECT_EQ(at_zero.degrees_of_freedom, 16);

  const auto flat = exact_sweep([](double) { return GroundValues{15.0, 7.0}; }, 10);
  const ModelFit constant = fit_model(ModelName::power_law, flat, true);
  ASSERT_EQ(constant.status, ModelFitStatus::fitted);
  EXPECT_EQ(constant.states[1], ParameterState::at_bound);
  EXPECT_EQ(constant.states[2], ParameterState::undetermined);
  EXPECT_LT(relative(constant.parameters[0], 7.0), 1e-12);
  EXPECT_LT(relative(constant.parameters[3], 15.0), 1e-12);
  EXPECT_TRUE(constant.has_sd(0) && constant.has_sd(3));
  EXPECT_FALSE(constant.has_sd(1) || constant.has_sd(2));

  const std::vector<LocatedMeasurement> two(pure.begin(), pure.begin() + 2);
  const ModelFit few = fit_model(ModelName::power_law, two, true);
  EXPECT_EQ(few.status, ModelFitStatus::too_few_measurements);
  EXPECT_EQ(few.minimum_measurements, 3u);
}

// Conductivity falling to nothing at the permittivity of 12 the model
// tends to as s0 -> 0: no fit with a positive s0.
TEST(GroundModels, AlipioVisacroEdge) {
  const auto vanishing = exact_sweep([](double) { return GroundValues{12.0, 1e-12}; }, 6);
  const ModelFit fit = fit_model(ModelName::alipio_visacro, vanishing, false);
  EXPECT_EQ(fit.status, ModelFitStatus::at_edge);
  EXPECT_FALSE(fit.edge_above);
  const auto huge = exact_sweep([](double) { return GroundValues{1e9, 1e9}; }, 6);
  const ModelFit above = fit_model(ModelName::alipio_visacro, huge, false);
  EXPECT_EQ(above.status, ModelFitStatus::at_edge);
  EXPECT_TRUE(above.edge_above);
}

ModelFit fitted(ModelName name, double chi_square) {
  ModelFit fit;
  fit.model = &ground_model(name);
  fit.status = ModelFitStatus::fitted;
  fit.chi_square = chi_square;
  return fit;
}

// AICc = chi^2 + 2k + 2k(k + 1) / (n - k - 1), worked by hand for n = 10.
TEST(ModelComparison, AiccWeightsAndChoice) {
  const ModelComparison c =
      compare_models({fitted(ModelName::messier, 12.0), fitted(ModelName::alipio_visacro, 20.0),
                      fitted(ModelName::power_law, 3.0)},
                     5);
  ASSERT_EQ(c.models.size(), 3u);
  EXPECT_DOUBLE_EQ(*c.models[0].aicc, 12.0 + 4.0 + 12.0 / 7.0);
  EXPECT_DOUBLE_EQ(*c.models[1].aicc, 20.0 + 2.0 + 4.0 / 8.0);
  EXPECT_DOUBLE_EQ(*c.models[2].aicc, 3.0 + 8.0 + 40.0 / 5.0);
  ASSERT_TRUE(c.chosen);
  EXPECT_EQ(*c.chosen, 0u);
  const double a[] = {17.0 + 5.0 / 7.0, 22.5, 19.0};
  double total = 0.0;
  for (const double v : a) total += std::exp(-v / 2.0);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(*c.models[i].akaike_weight, std::exp(-a[i] / 2.0) / total, 1e-15);
  }
  // One measurement, two values: n - k - 1 <= 0 for both, no AICc, no choice.
  const ModelComparison one =
      compare_models({fitted(ModelName::messier, 0.0), fitted(ModelName::alipio_visacro, 50.0)}, 1);
  EXPECT_FALSE(one.models[0].aicc);
  EXPECT_FALSE(one.models[1].aicc);
  EXPECT_FALSE(one.chosen);
  // Two measurements: the power law's four parameters have none (n - k -
  // 1 < 0) however low its chi-square.
  const ModelComparison two = compare_models(
      {fitted(ModelName::power_law, 0.0), fitted(ModelName::alipio_visacro, 50.0)}, 2);
  EXPECT_FALSE(two.models[0].aicc);
  ASSERT_TRUE(two.chosen);
  EXPECT_EQ(*two.chosen, 1u);
  EXPECT_EQ(*two.models[1].akaike_weight, 1.0);
}

// A tie within 1e-9 goes to the model with fewer parameters, whichever
// comes first; a difference beyond it does not.
TEST(ModelComparison, TieGoesToFewerParameters) {
  // n = 20: messier's penalty 4 + 12/17, alipio-visacro's 2 + 4/18.
  const double penalty_messier = 4.0 + 12.0 / 17.0;
  const double penalty_alipio = 2.0 + 4.0 / 18.0;
  const double chi = 10.0;
  const double alipio_chi = chi + penalty_messier - penalty_alipio;
  for (const double nudge : {0.0, 5e-10, -5e-10}) {
    const ModelComparison c = compare_models(
        {fitted(ModelName::messier, chi), fitted(ModelName::alipio_visacro, alipio_chi + nudge)},
        10);
    EXPECT_EQ(*c.chosen, 1u) << nudge;
  }
  const ModelComparison beyond = compare_models(
      {fitted(ModelName::messier, chi), fitted(ModelName::alipio_visacro, alipio_chi + 1e-6)}, 10);
  EXPECT_EQ(*beyond.chosen, 0u);
  ModelFit failed = fitted(ModelName::messier, 0.0);
  failed.status = ModelFitStatus::at_edge;
  const ModelComparison without = compare_models({failed, fitted(ModelName::power_law, 30.0)}, 10);
  EXPECT_FALSE(without.models[0].aicc);
  EXPECT_EQ(*without.chosen, 1u);
}

TEST(SmallLeastSquares, DependentColumnsAreRefused) {
  SmallLeastSquares dependent(2);
  for (const double t : {1.0, 2.0, 3.0}) dependent.add_row(std::vector<double>{t, 2.0 * t}, t);
  EXPECT_FALSE(dependent.solve().solved);
  SmallMatrix inverse{};
  EXPECT_FALSE(dependent.normal_inverse(inverse));
}

}  // namespace
}  // namespace gndfit
