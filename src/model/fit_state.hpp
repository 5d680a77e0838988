// SPDX-License-Identifier: MIT
#pragma once
// The fit state shared by the ground model, the simplex fit and the result
// table.  The program keeps one instance for the whole run (Program::fit
// in app/program/program.hpp); tests make their own.
#include <array>
#include <cstdint>

namespace gndfit {

struct Measurement {
  double frequency_mhz = 0.0;    // MHz, as typed
  float permittivity = 0.0f;     // relative
  float conductivity_ms = 0.0f;  // mS/m
};

struct ModelParams {
  double base_conductivity = 0.0;  // S/m, the low-frequency limit
  double base_permittivity = 0.0;  // F/m (absolute), the high-frequency limit
};

struct GroundConstants {
  float permittivity = 0.0f;     // relative, at eval_frequency_hz
  float conductivity_ms = 0.0f;  // mS/m, at eval_frequency_hz
};

// Counts of what one fit did.  They only observe; nothing reads them back.
struct FitCounters {
  std::int64_t passes = 0;  // passes that made a reflection
  std::int64_t expansions = 0;
  std::int64_t contractions = 0;
  std::int64_t shrinks = 0;
  std::int64_t evaluations = 0;
  bool hit_pass_limit = false;
};

// The triangle of the downhill simplex.  Vertices never move between slots;
// the order lives in the three indexes, which persist from fit to fit.
struct SimplexState {
  std::array<ModelParams, 3> vertices{};
  std::array<double, 3> values{};
  std::int32_t best = 0;
  std::int32_t middle = 1;
  std::int32_t worst = 2;
  double last_trial_value = 0.0;
};

struct FitState {
  Measurement measured;
  double eval_frequency_hz = 0.0;
  ModelParams point;
  GroundConstants model;
  SimplexState simplex;
  FitCounters counters;
};

}  // namespace gndfit
