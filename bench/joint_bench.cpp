// SPDX-License-Identifier: MIT
// The joint fit: N measurements of a sweep, 1 to 30 MHz, with 3% noise.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/joint/joint_input.hpp"
#include "app/joint/joint_solution.hpp"
#include "model/ground_models.hpp"
#include "model/joint_fit.hpp"

namespace {

using namespace gndfit;

std::vector<LocatedMeasurement> noisy_sweep(int n, bool weighted) {
  std::mt19937_64 rng(42);
  std::normal_distribution<double> noise(0.0, 0.03);
  std::vector<LocatedMeasurement> sweep;
  for (int i = 0; i < n; ++i) {
    const double mhz = std::pow(30.0, (i + 0.5) / n);
    const GroundValues v = messier_values({0.005, 12.0}, mhz);
    LocatedMeasurement m{mhz, v.permittivity * (1 + noise(rng)),
                         v.conductivity_ms * (1 + noise(rng))};
    if (weighted) {
      m.permittivity_u = 0.03 * v.permittivity;
      m.conductivity_u = 0.03 * v.conductivity_ms;
    }
    sweep.push_back(m);
  }
  return sweep;
}

// The fit alone: parameters, chi-square and covariance.
void BM_joint_fit(benchmark::State& bench) {
  const std::vector<LocatedMeasurement> sweep = noisy_sweep(static_cast<int>(bench.range(0)), true);
  for (auto _ : bench) benchmark::DoNotOptimize(fit_joint(sweep, true));
}
BENCHMARK(BM_joint_fit)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

// All that --joint computes after reading: the fit, the model at each
// measurement and at the ten bands with +-1 sd and skin depth, the
// warnings (with the chi-square quantile).
void BM_joint_solution(benchmark::State& bench) {
  JointInput input;
  for (const LocatedMeasurement& m : noisy_sweep(static_cast<int>(bench.range(0)), true)) {
    char line[160];
    std::snprintf(line, sizeof line, "%.17g %.17g %.17g %.17g %.17g", m.frequency_mhz,
                  m.permittivity, m.conductivity_ms, m.permittivity_u, m.conductivity_u);
    input.take_line(line);
  }
  const std::vector<double> bands = {1.8, 3.7, 5.3, 7.1, 10.1, 14.2, 18.1, 21.2, 24.9, 28.5};
  for (auto _ : bench) benchmark::DoNotOptimize(solve_joint(input, bands));
}
BENCHMARK(BM_joint_solution)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Each model's fit alone, and all that --model compare computes after
// reading: the three fits, their AICc and bands, the chosen model's
// values and warnings.
void BM_model_fit(benchmark::State& bench) {
  const std::vector<LocatedMeasurement> sweep = noisy_sweep(100, true);
  const ModelName name = kEveryModel[bench.range(0)];
  bench.SetLabel(std::string(ground_model(name).name()));
  for (auto _ : bench) benchmark::DoNotOptimize(fit_model(name, sweep, true));
}
BENCHMARK(BM_model_fit)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_compare_models(benchmark::State& bench) {
  JointInput input;
  for (const LocatedMeasurement& m : noisy_sweep(static_cast<int>(bench.range(0)), true)) {
    input.add(m, true);
  }
  const std::vector<double> bands = {1.8, 3.7, 5.3, 7.1, 10.1, 14.2, 18.1, 21.2, 24.9, 28.5};
  for (auto _ : bench) benchmark::DoNotOptimize(solve_joint(input, bands, {true}));
}
BENCHMARK(BM_compare_models)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
