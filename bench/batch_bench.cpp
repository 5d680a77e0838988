// SPDX-License-Identifier: MIT
// Batch use: realistic measurements through the whole program (field
// reading, fit, table, masks, text screen, raw output), against the bare
// computation of the same measurements.  The program's time should stay
// within 1.5 times the bare computation's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/program/band_table.hpp"
#include "app/program/program.hpp"
#include "model/ground_model.hpp"
#include "model/measurement_start.hpp"
#include "model/simplex_fit.hpp"
#include "support/memory_console.hpp"

namespace {

using namespace gndfit;

constexpr int kMeasurements = 2000;

// A fixed spread of grounds over the HF range: frequency 0.4 to 34 MHz,
// permittivity 3 to 40, conductivity 0.5 to 50 mS/m, as typed lines.
std::string measurement_lines() {
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  auto uniform = [&](double lo, double hi) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return lo + (hi - lo) * static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  const double centres[] = {0.5, 1.8, 3.5, 7, 10, 14, 21, 28.5};
  std::string text;
  char line[64];
  for (int i = 0; i < kMeasurements; ++i) {
    const double f = centres[i % 8] * uniform(0.8, 1.2);
    std::snprintf(line, sizeof line, "%.3f %.2f %.3f\n", f, uniform(3, 40), uniform(0.5, 50));
    text += line;
  }
  return text;
}

// Redirected output that is counted and dropped, as a file would take it.
class SinkConsole : public MemoryConsole {
 public:
  SinkConsole() : MemoryConsole(MemoryConsole::redirected()) {}
  bool write_raw(const char*, std::size_t count, std::size_t& written) override {
    bytes += count;
    written = count;
    return true;
  }
  std::size_t bytes = 0;
};

void BM_batch_program(benchmark::State& bench) {
  const std::string input = measurement_lines();
  for (auto _ : bench) {
    SinkConsole console;
    console.stdin_bytes = input;
    Program program(console, "/dev/null/gndfit.ini");  // no position file
    program.enter();
    while (program.run_pass()) {
    }
    benchmark::DoNotOptimize(console.bytes);
  }
  bench.SetItemsProcessed(bench.iterations() * kMeasurements);
}
BENCHMARK(BM_batch_program)->Unit(benchmark::kMillisecond);

// The same measurements, computed as the program computes them, with
// nothing read or written.
void BM_batch_bare(benchmark::State& bench) {
  std::vector<Measurement> measurements;
  const std::string input = measurement_lines();
  for (std::size_t at = 0; at < input.size();) {
    Measurement m{};
    int used = 0;
    std::sscanf(input.c_str() + at, "%lf %f %f\n%n", &m.frequency_mhz, &m.permittivity,
                &m.conductivity_ms, &used);
    measurements.push_back(m);
    at += static_cast<std::size_t>(used);
  }
  FitState s;
  float sink = 0.0f;
  for (auto _ : bench) {
    for (const Measurement& m : measurements) {
      start_measurement(s, m);
      fit_model(s);
      evaluate_model(s);
      const float reference = skin_depth_ft(s, s.model.permittivity, s.model.conductivity_ms);
      for (float band : kBandTable) {
        set_eval_frequency_mhz(s, band);
        evaluate_model(s);
        sink += s.model.permittivity + s.model.conductivity_ms;
      }
      for (float band : kBandTable) {
        set_eval_frequency_mhz(s, band);
        evaluate_model(s);
        sink += skin_depth_ft(s, s.model.permittivity, s.model.conductivity_ms) / reference;
      }
    }
    benchmark::DoNotOptimize(sink);
  }
  bench.SetItemsProcessed(bench.iterations() * kMeasurements);
}
BENCHMARK(BM_batch_bare)->Unit(benchmark::kMillisecond);

}  // namespace
