// SPDX-License-Identifier: MIT
// Prints everything a fit decides, bit for bit, for a seeded stream of
// random measurements fitted one after another as the program does (the
// simplex's order carries from one to the next).  Built once with each
// extended type, so that two runs with the same seed must print the same.
//   fit_trace SEED COUNT
// Or the measurements given on standard input, one a line as the bits of
// the frequency (double) and of the permittivity and conductivity
// (singles) in hexadecimal, for the reference script to compare with:
//   fit_trace --measurements
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "model/extended.hpp"
#include "model/fit_state.hpp"
#include "model/ground_model.hpp"
#include "model/measurement_start.hpp"
#include "model/simplex_fit.hpp"

namespace {

using namespace gndfit;

constexpr float kBands[] = {1.8f, 3.7f, 5.3f, 7.1f, 10.1f, 14.2f, 18.1f, 21.2f, 24.9f, 28.5f};

std::uint64_t bits_of(double d) {
  std::uint64_t b;
  std::memcpy(&b, &d, 8);
  return b;
}
std::uint32_t bits_of(float f) {
  std::uint32_t b;
  std::memcpy(&b, &f, 4);
  return b;
}

double log_uniform(std::mt19937_64& rng, double lo, double hi) {
  const double t = static_cast<double>(rng() >> 11) * 0x1p-53;
  return lo * std::pow(hi / lo, t);
}

// Mostly grounds as people measure them; one in eight far outside, where
// the fit meets huge loss tangents, overflow and NaN.
Measurement draw(std::mt19937_64& rng) {
  if (rng() % 8 != 0) {
    return {log_uniform(rng, 0.1, 100.0), static_cast<float>(log_uniform(rng, 1.0, 100.0)),
            static_cast<float>(log_uniform(rng, 0.01, 10000.0))};
  }
  return {log_uniform(rng, 1e-6, 1e9), static_cast<float>(log_uniform(rng, 1e-6, 1e12)),
          static_cast<float>(log_uniform(rng, 1e-9, 1e12))};
}

void print_fit(const FitState& s) {
  const FitCounters& c = s.counters;
  std::printf("%" PRId64 " %" PRId64 " %" PRId64 " %" PRId64 " %" PRId64 " %d %d%d%d %016" PRIx64
              " %016" PRIx64 " %08" PRIx32 " %08" PRIx32,
              c.passes, c.evaluations, c.expansions, c.contractions, c.shrinks,
              c.hit_pass_limit ? 1 : 0, s.simplex.best, s.simplex.middle, s.simplex.worst,
              bits_of(s.point.base_conductivity), bits_of(s.point.base_permittivity),
              bits_of(s.model.permittivity), bits_of(s.model.conductivity_ms));
}

// The band table's values, computed as the program's rows compute them.
void print_bands(FitState& s) {
  const float reference = skin_depth_ft(s, s.model.permittivity, s.model.conductivity_ms);
  for (const float band : kBands) {
    set_eval_frequency_mhz(s, band);
    const double objective = evaluate_model(s);
    const float depth = skin_depth_ft(s, s.model.permittivity, s.model.conductivity_ms);
    std::printf(" %08" PRIx32 "%08" PRIx32 "%016" PRIx64 "%08" PRIx32, bits_of(s.model.permittivity),
                bits_of(s.model.conductivity_ms), bits_of(objective),
                bits_of(store_single(extended{depth} / extended{reference})));
  }
}

void fit_and_print(FitState& state, const Measurement& m) {
  start_measurement(state, m);
  fit_model(state);
  evaluate_model(state);
  print_fit(state);
  print_bands(state);
  std::putchar('\n');
}

// One measurement of standard input as bit patterns; false at its end or
// on a line that is not three hexadecimal numbers.
bool read_measurement_bits(Measurement& m) {
  std::uint64_t frequency = 0;
  std::uint32_t permittivity = 0, conductivity = 0;
  if (std::scanf("%" SCNx64 " %" SCNx32 " %" SCNx32, &frequency, &permittivity, &conductivity) !=
      3) {
    return false;
  }
  std::memcpy(&m.frequency_mhz, &frequency, 8);
  std::memcpy(&m.permittivity, &permittivity, 4);
  std::memcpy(&m.conductivity_ms, &conductivity, 4);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  FitState state;
  if (argc == 2 && std::strcmp(argv[1], "--measurements") == 0) {
    Measurement m;
    while (read_measurement_bits(m)) fit_and_print(state, m);
    return std::fflush(stdout) == 0 && std::feof(stdin) ? 0 : 1;
  }
  if (argc != 3) {
    std::fputs("usage: fit_trace SEED COUNT | fit_trace --measurements\n", stderr);
    return 2;
  }
  std::mt19937_64 rng(std::strtoull(argv[1], nullptr, 10));
  const long count = std::strtol(argv[2], nullptr, 10);
  for (long i = 0; i < count; ++i) fit_and_print(state, draw(rng));
  return std::fflush(stdout) == 0 ? 0 : 1;
}
