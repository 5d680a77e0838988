// SPDX-License-Identifier: MIT
#include "model/simplex_fit.hpp"

#include <cmath>
#include <utility>

#include "model/extended.hpp"
#include "model/ground_model.hpp"

namespace gndfit {
namespace {

// Start factors: the three vertices are reached by successive multiplications
// from the start point, not by direct ones.
constexpr double kStartUp = 1.01;
constexpr double kStartDown = 0.99;
constexpr double kStartDownOverUp = 0.9801980198019802;
constexpr double kStartUpOverDown = 1.02020202020202;
constexpr double kShrinkFactor = 0.5;

// Reflection, expansion and contraction as (worst, pair) coefficients.
constexpr float kReflectA = -1.0f, kReflectB = 1.0f;
constexpr float kExpandA = 2.0f, kExpandB = -0.5f;
constexpr float kContractA = 0.5f, kContractB = 0.25f;

double scale(double factor, double value) {
  return store_double(extended{factor} * extended{value});
}

double evaluate_counted(FitState& state) {
  ++state.counters.evaluations;
  return evaluate_model(state);
}

void store_vertex(FitState& state, int slot) {
  state.simplex.vertices[slot] = state.point;
  state.simplex.values[slot] = evaluate_counted(state);
}

void start_vertices(FitState& state) {
  ModelParams& p = state.point;
  p.base_permittivity = scale(kStartUp, p.base_permittivity);
  store_vertex(state, 0);
  p.base_conductivity = scale(kStartDown, p.base_conductivity);
  p.base_permittivity = scale(kStartDownOverUp, p.base_permittivity);
  store_vertex(state, 1);
  p.base_conductivity = scale(kStartUpOverDown, p.base_conductivity);
  store_vertex(state, 2);
}

void shrink_toward_best(FitState& state) {
  SimplexState& s = state.simplex;
  const ModelParams best = s.vertices[s.best];
  for (int slot = 0; slot < 3; ++slot) {
    if (slot == s.best) continue;
    const ModelParams& v = s.vertices[slot];
    state.point.base_conductivity =
        store_double((extended{best.base_conductivity} + extended{v.base_conductivity}) *
                     extended{kShrinkFactor});
    state.point.base_permittivity =
        store_double((extended{best.base_permittivity} + extended{v.base_permittivity}) *
                     extended{kShrinkFactor});
    store_vertex(state, slot);
  }
}

double trial_coordinate(float a, float b, double best, double middle, double worst) {
  return pair_combination_stored_as_double(a, b, best, middle, worst);
}

}  // namespace

bool equal_or_unordered(double a, double b) { return a == b || std::isnan(a) || std::isnan(b); }

void order_slots(SimplexState& s) {
  const auto& v = s.values;
  if (!(v[s.middle] >= v[s.best])) std::swap(s.best, s.middle);
  if (!(v[s.worst] >= v[s.middle])) std::swap(s.middle, s.worst);
  if (!(v[s.middle] >= v[s.best])) std::swap(s.best, s.middle);
}

AfterReflection after_reflection(const SimplexState& s) {
  if (s.values[s.best] >= s.last_trial_value) return AfterReflection::expand;
  if (s.values[s.middle] > s.last_trial_value) return AfterReflection::keep;
  return AfterReflection::contract;
}

std::int32_t try_step(FitState& state, float a, float b) {
  SimplexState& s = state.simplex;
  const ModelParams& best = s.vertices[s.best];
  const ModelParams& middle = s.vertices[s.middle];
  const ModelParams& worst = s.vertices[s.worst];
  state.point.base_conductivity = trial_coordinate(
      a, b, best.base_conductivity, middle.base_conductivity, worst.base_conductivity);
  state.point.base_permittivity = trial_coordinate(
      a, b, best.base_permittivity, middle.base_permittivity, worst.base_permittivity);
  const double t = evaluate_counted(state);
  s.last_trial_value = t;
  if (s.values[s.worst] > t) {
    s.vertices[s.worst] = state.point;
    s.values[s.worst] = t;
    return kStepAccepted;
  }
  return kStepRejected;
}

void fit_model(FitState& state, std::int64_t pass_limit) {
  state.counters = FitCounters{};
  start_vertices(state);
  SimplexState& s = state.simplex;
  double prev_best_value = 0.0;
  double prev_worst_value = 0.0;
  for (;;) {
    order_slots(s);
    if (equal_or_unordered(s.values[s.worst], prev_worst_value) &&
        equal_or_unordered(s.values[s.best], prev_best_value)) {
      break;
    }
    if (state.counters.passes == pass_limit) {
      state.counters.hit_pass_limit = true;
      break;
    }
    prev_worst_value = s.values[s.worst];
    prev_best_value = s.values[s.best];
    ++state.counters.passes;

    try_step(state, kReflectA, kReflectB);
    switch (after_reflection(s)) {
      case AfterReflection::expand:
        ++state.counters.expansions;
        try_step(state, kExpandA, kExpandB);
        break;
      case AfterReflection::keep:  // the reflection was accepted
        break;
      case AfterReflection::contract:
        ++state.counters.contractions;
        if (try_step(state, kContractA, kContractB) == kStepRejected) {
          ++state.counters.shrinks;
          shrink_toward_best(state);
        }
        break;
    }
  }
  state.point = s.vertices[s.best];
}

}  // namespace gndfit
