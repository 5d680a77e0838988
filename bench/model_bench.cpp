// SPDX-License-Identifier: MIT
// Micro-benchmarks of the numerical core.
#include <benchmark/benchmark.h>

#include "model/fit_state.hpp"
#include "model/ground_model.hpp"
#include "model/measurement_start.hpp"
#include "model/simplex_fit.hpp"

namespace {

using namespace gndfit;

constexpr float kBands[10] = {1.8f, 3.7f, 5.3f, 7.1f, 10.1f, 14.2f, 18.1f, 21.2f, 24.9f, 28.5f};

void BM_evaluate_model(benchmark::State& bench) {
  FitState s;
  start_measurement(s, {10.0, 15.0f, 5.0f});
  for (auto _ : bench) {
    benchmark::DoNotOptimize(s.point);
    benchmark::DoNotOptimize(evaluate_model(s));
  }
}
BENCHMARK(BM_evaluate_model);

// One realistic measurement as the program handles it: the fit, one
// evaluation at the measured frequency, and two per band for the table.
void BM_whole_measurement(benchmark::State& bench) {
  FitState s;
  float sink = 0.0f;
  for (auto _ : bench) {
    start_measurement(s, {7.0, 15.0f, 5.0f});
    fit_model(s);
    evaluate_model(s);
    const float reference = skin_depth_ft(s, s.model.permittivity, s.model.conductivity_ms);
    for (int row = 0; row < 2; ++row) {
      for (float band : kBands) {
        set_eval_frequency_mhz(s, band);
        evaluate_model(s);
        sink += row == 0
                    ? s.model.permittivity
                    : skin_depth_ft(s, s.model.permittivity, s.model.conductivity_ms) / reference;
      }
    }
    benchmark::DoNotOptimize(sink);
  }
}
BENCHMARK(BM_whole_measurement);

}  // namespace

BENCHMARK_MAIN();
