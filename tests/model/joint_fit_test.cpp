// SPDX-License-Identifier: MIT
// The joint fit against references written apart from it: the model in its
// complex form s* = (sqrt(x) + sqrt(j omega eps0 e))^2, in long double;
// Jacobians by central differences of that; the skin depth from the
// propagation constant; quantiles from SciPy's chi2.ppf.
#include "model/joint_fit.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "model/chi_square.hpp"
#include "model/ground_models.hpp"
#include "model/real_roots.hpp"

namespace gndfit {
namespace {

using complex = std::complex<long double>;
constexpr long double kEps0 = 8.8541878128e-12L;
constexpr long double kPi = 3.141592653589793238462643383279L;

// The measurement a ground model gives at f MHz: relative permittivity and
// mS/m from the complex conductivity.
LocatedMeasurement measure(double x, double e, double mhz) {
  const long double omega = 2 * kPi * mhz * 1e6L;
  const complex root = std::sqrt(complex(x)) + std::sqrt(complex(0, omega * kEps0 * e));
  const complex s = root * root;
  return {mhz, static_cast<double>(s.imag() / (omega * kEps0)),
          static_cast<double>(s.real() * 1000)};
}

double relative(double a, double b) { return std::fabs(a - b) / std::fabs(b); }

TEST(MessierGround, ValuesAgreeWithTheComplexForm) {
  for (const double x : {1e-5, 0.003, 0.5}) {
    for (const double e : {0.3, 4.0, 80.0}) {
      for (const double mhz : {0.1, 1.8, 28.5, 400.0}) {
        const LocatedMeasurement m = measure(x, e, mhz);
        const GroundValues v = messier_values({x, e}, mhz);
        EXPECT_LT(relative(v.permittivity, m.permittivity), 1e-14) << x << ' ' << e << ' ' << mhz;
        EXPECT_LT(relative(v.conductivity_ms, m.conductivity_ms), 1e-14)
            << x << ' ' << e << ' ' << mhz;
      }
    }
  }
}

// One measurement fixes the model: the exact pair, over grounds where one
// current dominates the other by a million times either way.
TEST(MessierGround, ExactModelOfOneMeasurement) {
  for (const double x : {1e-7, 1e-4, 0.01, 1.0, 30.0}) {
    for (const double e : {0.01, 1.0, 15.0, 1000.0}) {
      for (const double mhz : {0.5, 7.1, 100.0}) {
        const LocatedMeasurement m = measure(x, e, mhz);
        const MessierParameters model =
            messier_exact(m.frequency_mhz, m.permittivity, m.conductivity_ms);
        EXPECT_LT(relative(model.base_conductivity, x), 1e-9) << x << ' ' << e << ' ' << mhz;
        EXPECT_LT(relative(model.base_permittivity, e), 1e-9) << x << ' ' << e << ' ' << mhz;
      }
    }
  }
  // 1.8 MHz, permittivity 5, 10 mS/m: a base permittivity of 0.125.
  const JointFit fit = fit_joint(std::vector<LocatedMeasurement>{{1.8, 5.0, 10.0}}, false);
  EXPECT_EQ(fit.outcome, JointOutcome::fitted);
  EXPECT_LT(relative(fit.model.base_permittivity, 0.1250947793476067), 1e-13);
  EXPECT_LT(relative(fit.model.base_conductivity, 0.00951183427923442), 1e-13);
  EXPECT_EQ(fit.chi_square, 0.0);
  EXPECT_EQ(fit.degrees_of_freedom, 0);
  EXPECT_FALSE(fit.covariance.present);
}

// Exact sweeps of grounds from lossless-looking to conductor-like: the
// global minimum is the model itself, found to nearly full precision
// wherever it lies in (x, e).
TEST(JointFit, RecoversTheModelOfExactSweeps) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < 300; ++i) {
    const double x = std::pow(10.0, -6 + 6.5 * unit(rng));
    const double e = std::pow(10.0, -1 + 4 * unit(rng));
    const int n = 2 + static_cast<int>(20 * unit(rng));
    std::vector<LocatedMeasurement> sweep;
    for (int k = 0; k < n; ++k) sweep.push_back(measure(x, e, std::pow(10.0, 2.5 * unit(rng))));
    const JointFit fit = fit_joint(sweep, false);
    ASSERT_EQ(fit.outcome, JointOutcome::fitted) << x << ' ' << e;
    EXPECT_LT(relative(fit.model.base_conductivity, x), 1e-8) << x << ' ' << e << ' ' << n;
    EXPECT_LT(relative(fit.model.base_permittivity, e), 1e-8) << x << ' ' << e << ' ' << n;
    EXPECT_EQ(fit.degrees_of_freedom, 2 * n - 2);
  }
}

// The model behind the interface every ground model gives: its
// parameters by name, its values, and a Jacobian that agrees with central
// differences of the complex form.
TEST(MessierGround, InterfaceGivesValuesAndJacobian) {
  const MessierGround model;
  ASSERT_EQ(model.parameters().size(), 2u);
  EXPECT_EQ(model.parameters()[0].name, "base_conductivity_s_per_m");
  EXPECT_EQ(model.parameters()[1].name, "base_permittivity");
  for (const double mhz : {1.8, 28.5}) {
    const double parameters[2] = {0.004, 12.0};
    const LocatedMeasurement m = measure(parameters[0], parameters[1], mhz);
    const GroundValues v = model.values_at(parameters, mhz);
    EXPECT_LT(relative(v.permittivity, m.permittivity), 1e-14);
    EXPECT_LT(relative(v.conductivity_ms, m.conductivity_ms), 1e-14);
    GroundJacobianRow rows[2];
    model.jacobian_at(parameters, mhz, rows);
    for (int k = 0; k < 2; ++k) {
      const double step = parameters[k] * 1e-5;
      const double dx = k == 0 ? step : 0.0;
      const double de = k == 1 ? step : 0.0;
      const LocatedMeasurement up = measure(parameters[0] + dx, parameters[1] + de, mhz);
      const LocatedMeasurement down = measure(parameters[0] - dx, parameters[1] - de, mhz);
      EXPECT_LT(relative(rows[k].permittivity, (up.permittivity - down.permittivity) / (2 * step)),
                1e-7)
          << k << ' ' << mhz;
      EXPECT_LT(relative(rows[k].conductivity_ms,
                         (up.conductivity_ms - down.conductivity_ms) / (2 * step)),
                1e-7)
          << k << ' ' << mhz;
    }
  }
}

// Two measurements with uncertainties, fitted exactly: J is square, so
// C = J^-1 J^-T, here from central differences of the complex form.
TEST(JointFit, CovarianceOfTwoExactMeasurements) {
  const double x = 0.004;
  const double e = 12.0;
  std::vector<LocatedMeasurement> pair = {measure(x, e, 1.8), measure(x, e, 14.2)};
  pair[0].permittivity_u = 0.5;
  pair[0].conductivity_u = 0.2;
  pair[1].permittivity_u = 0.3;
  pair[1].conductivity_u = 0.4;
  const JointFit fit = fit_joint(pair, true);
  ASSERT_EQ(fit.outcome, JointOutcome::fitted);
  ASSERT_TRUE(fit.covariance.present);
  // J rows: the residuals of measurement 0 then 1, columns d/dx and d/de.
  double j[4][2];
  const double steps[2] = {x * 1e-5, e * 1e-5};
  for (int column = 0; column < 2; ++column) {
    const double dx = column == 0 ? steps[0] : 0.0;
    const double de = column == 1 ? steps[1] : 0.0;
    for (int k = 0; k < 2; ++k) {
      const LocatedMeasurement up = measure(x + dx, e + de, pair[k].frequency_mhz);
      const LocatedMeasurement down = measure(x - dx, e - de, pair[k].frequency_mhz);
      const double h = 2 * steps[column];
      j[2 * k][column] = (up.permittivity - down.permittivity) / h / pair[k].permittivity_u;
      j[2 * k + 1][column] =
          (up.conductivity_ms - down.conductivity_ms) / h / pair[k].conductivity_u;
    }
  }
  double a = 0, b = 0, d = 0;  // J^T J = [a b; b d]
  for (const auto& row : j) {
    a += row[0] * row[0];
    b += row[0] * row[1];
    d += row[1] * row[1];
  }
  const double det = a * d - b * b;
  EXPECT_LT(relative(fit.covariance.xx, d / det), 1e-6);
  EXPECT_LT(relative(fit.covariance.xe, -b / det), 1e-6);
  EXPECT_LT(relative(fit.covariance.ee, a / det), 1e-6);
  // A band value's variance: g^T C g with g by differences as well.
  const double mhz = 7.1;
  const double gx =
      (measure(x + steps[0], e, mhz).permittivity - measure(x - steps[0], e, mhz).permittivity) /
      (2 * steps[0]);
  const double ge =
      (measure(x, e + steps[1], mhz).permittivity - measure(x, e - steps[1], mhz).permittivity) /
      (2 * steps[1]);
  const double variance = (gx * gx * d - 2 * gx * ge * b + ge * ge * a) / det;
  const ModelFit generic = fit_model(ModelName::messier, pair, true);
  EXPECT_LT(relative(estimate_at(generic, mhz).permittivity_sd, std::sqrt(variance)), 1e-6);
}

// Without uncertainties the covariance is that of u = 1 scaled by
// chi^2 / (2N - 2).
TEST(JointFit, UnweightedCovarianceIsScaledByChiSquarePerDegree) {
  std::vector<LocatedMeasurement> noisy;
  const double wobble[] = {1.03, 0.98, 1.01, 0.97, 1.02};
  for (int k = 0; k < 5; ++k) {
    LocatedMeasurement m = measure(0.002, 9.0, 2.0 + 5.0 * k);
    m.permittivity *= wobble[k];
    m.conductivity_ms *= wobble[4 - k];
    noisy.push_back(m);
  }
  const JointFit plain = fit_joint(noisy, false);
  const JointFit unit = fit_joint(noisy, true);
  ASSERT_EQ(plain.outcome, JointOutcome::fitted);
  EXPECT_EQ(plain.model.base_conductivity, unit.model.base_conductivity);
  EXPECT_GT(plain.chi_square, 0.0);
  const double scale = plain.chi_square / 8.0;
  EXPECT_LT(relative(plain.covariance.xx, unit.covariance.xx * scale), 1e-14);
  EXPECT_LT(relative(plain.covariance.ee, unit.covariance.ee * scale), 1e-14);
}

// Where chi^2 keeps falling towards an edge there is no fit: permittivity
// rising with frequency and no conductivity to speak of (x -> 0), or no
// permittivity and the conductivity falling (e -> 0); the model does
// neither.
TEST(JointFit, NoMinimumInsideIsAnEdge) {
  const std::vector<LocatedMeasurement> rising = {{1.8, 5, 1e-9}, {7, 10, 1e-9}, {28, 20, 1e-9}};
  EXPECT_EQ(fit_joint(rising, false).outcome, JointOutcome::towards_zero_conductivity);
  const std::vector<LocatedMeasurement> falling = {{1.8, 1e-9, 10}, {7, 1e-9, 9}, {28, 1e-9, 5}};
  EXPECT_EQ(fit_joint(falling, false).outcome, JointOutcome::towards_zero_permittivity);
  EXPECT_EQ(fit_joint({}, false).outcome, JointOutcome::no_measurements);
}

// The skin depth from the propagation constant gamma = sqrt(j omega mu0
// (sigma + j omega eps0 er)): depth = 1 / Re(gamma).
TEST(MessierGround, SkinDepthFromThePropagationConstant) {
  const long double mu0 = 1 / (kEps0 * 299792458.0L * 299792458.0L);
  for (const double mhz : {0.5, 7.1, 28.5}) {
    for (const GroundValues g :
         {GroundValues{15, 5}, GroundValues{3, 0.01}, GroundValues{80, 4000}}) {
      const long double omega = 2 * kPi * mhz * 1e6L;
      const complex gamma =
          std::sqrt(complex(0, omega * mu0) *
                    complex(g.conductivity_ms / 1000.0L, omega * kEps0 * g.permittivity));
      const double depth = static_cast<double>(1 / gamma.real());
      EXPECT_LT(relative(skin_depth_m(mhz, g), depth), 1e-12) << mhz << ' ' << g.permittivity;
    }
  }
}

// 99th percentiles from scipy.stats.chi2.ppf(0.99, k); k = 2 is also
// -2 ln(0.01) in closed form.
TEST(ChiSquare, QuantilesAgreeWithScipy) {
  const struct {
    int degrees;
    double quantile;
  } cases[] = {{1, 6.6348966010212145},   {2, 9.21034037197618},     {3, 11.344866730144373},
               {6, 16.811893829770927},   {10, 23.209251158954356},  {50, 76.1538912490127},
               {100, 135.80672317102676}, {998, 1104.8648946005746}, {1998, 2147.99207668093}};
  for (const auto& c : cases) {
    EXPECT_LT(relative(chi_square_quantile(0.99, c.degrees), c.quantile), 1e-12) << c.degrees;
  }
  EXPECT_LT(relative(chi_square_quantile(0.99, 2), -2 * std::log(0.01)), 1e-14);
}

// Roots of polynomials built from their roots, close ones included.
TEST(RealRoots, FindsEveryRootOnTheInterval) {
  auto from_roots = [](std::vector<double> roots) {
    Quartic p{1, 0, 0, 0, 0};
    for (const double r : roots) {  // p *= (t - r)
      for (std::size_t k = 4; k > 0; --k) p[k] = p[k - 1] - r * p[k];
      p[0] = -r * p[0];
    }
    return p;
  };
  const std::vector<std::vector<double>> cases = {
      {0.25, 0.5, 0.75, 1.5}, {0.3, 0.300001, 1.9}, {1e-9, 0.7}, {-1.0, 0.6, 3.0}};
  const std::vector<std::vector<double>> expected = {
      {0.25, 0.5, 0.75, 1.5}, {0.3, 0.300001, 1.9}, {1e-9, 0.7}, {0.6}};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const SignChanges found = real_roots(from_roots(cases[i]), 0.0, 2.0);
    ASSERT_EQ(found.count, expected[i].size()) << i;
    for (std::size_t k = 0; k < found.count; ++k) {
      EXPECT_LT(relative(found.items[k].low, expected[i][k]), 1e-9) << i << ' ' << k;
    }
  }
}

}  // namespace
}  // namespace gndfit
