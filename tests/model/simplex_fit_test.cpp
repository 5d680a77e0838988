// SPDX-License-Identifier: MIT
#include "model/simplex_fit.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/fit_helpers.hpp"

namespace gndfit {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Counts {
  std::int64_t passes, expansions, contractions, shrinks, evaluations;
};

void expect_counts(const FitCounters& c, Counts want) {
  EXPECT_EQ(c.passes, want.passes);
  EXPECT_EQ(c.expansions, want.expansions);
  EXPECT_EQ(c.contractions, want.contractions);
  EXPECT_EQ(c.shrinks, want.shrinks);
  EXPECT_EQ(c.evaluations, want.evaluations);
  EXPECT_FALSE(c.hit_pass_limit);
}

void expect_indexes(const SimplexState& s, int best, int middle, int worst) {
  EXPECT_EQ(s.best, best);
  EXPECT_EQ(s.middle, middle);
  EXPECT_EQ(s.worst, worst);
}

void expect_point(const ModelParams& p, const ModelParams& want) {
  EXPECT_EQ(p.base_conductivity, want.base_conductivity);
  EXPECT_EQ(p.base_permittivity, want.base_permittivity);
}

// The exact start points, fitted points, counts and indexes below come from
// tests/model/reference_fit.py, an implementation of the fit written apart
// from this code, from its description (numpy's longdouble as the x87
// extended type, every store rounded where the program rounds it).

TEST(SimplexFit, FirstFitOfTenMegahertzFollowsItsKnownPath) {
  FitState s;
  start_measurement(s, {10.0, 15.0f, 5.0f});
  EXPECT_EQ(s.eval_frequency_hz, 1e7);
  expect_point(s.point, {0x1.0624dd2f1a9fcp-10, 0x1.240ef820e60b1p-34});  // 1.00e-3, 6.64e-11
  fit_model(s);
  expect_counts(s.counters, {56, 9, 40, 0, 108});
  expect_indexes(s.simplex, 2, 1, 0);
  const ModelParams fitted{0x1.6a9e23993f9e2p-10, 0x1.4af4f5b45821bp-34};  // 1.38e-3, 7.53e-11
  expect_point(s.point, fitted);
  EXPECT_EQ(evaluate_model(s), 0.0);
  EXPECT_EQ(s.model.permittivity, 15.0f);
  EXPECT_EQ(s.model.conductivity_ms, 5.0f);

  // The same measurement again, from the permutation 2, 1, 0 that the
  // first fit left: the same path and point, and the counters start anew.
  start_measurement(s, {10.0, 15.0f, 5.0f});
  fit_model(s);
  expect_counts(s.counters, {56, 9, 40, 0, 108});
  expect_indexes(s.simplex, 2, 1, 0);
  expect_point(s.point, fitted);
}

TEST(SimplexFit, FirstFitOnTheLastBandNeedsTwoShrinks) {
  FitState s;
  start_measurement(s, {28.5, 13.0f, 10.0f});
  expect_point(s.point, {0x1.0624dd2f1a9fcp-9, 0x1.fa3c147d4a799p-35});
  fit_model(s);
  expect_counts(s.counters, {50, 9, 40, 2, 106});
  expect_indexes(s.simplex, 2, 1, 0);
  expect_point(s.point, {0x1.2d2aaf853891ap-9, 0x1.3d105262d8fe6p-34});
  EXPECT_EQ(evaluate_model(s), 0.0);
  EXPECT_EQ(s.model.permittivity, 13.0f);
  EXPECT_EQ(s.model.conductivity_ms, 10.0f);
}

TEST(SimplexFit, FirstFitOfAWetGroundEndsWithAnotherPermutation) {
  FitState s;
  start_measurement(s, {7.0, 80.0f, 30.0f});
  expect_point(s.point, {0x1.89374bc6a7efap-8, 0x1.85694ad6880ecp-32});
  fit_model(s);
  expect_counts(s.counters, {60, 12, 42, 1, 119});
  expect_indexes(s.simplex, 1, 0, 2);
  expect_point(s.point, {0x1.8c5d06f5d279cp-7, 0x1.4b3e133160792p-32});
  EXPECT_EQ(evaluate_model(s), 0.0);
  EXPECT_EQ(s.model.permittivity, 80.0f);
  EXPECT_EQ(s.model.conductivity_ms, 30.0f);
}

TEST(SimplexFit, FitLeavesMeasurementAndFrequencyAlone) {
  FitState s;
  start_measurement(s, {7.0, 80.0f, 30.0f});
  const double hz = s.eval_frequency_hz;
  fit_model(s);
  EXPECT_EQ(s.eval_frequency_hz, hz);
  EXPECT_EQ(s.measured.frequency_mhz, 7.0);
  EXPECT_EQ(s.measured.permittivity, 80.0f);
  EXPECT_EQ(s.measured.conductivity_ms, 30.0f);
}

// A start point with coordinates of opposite signs makes every vertex NaN:
// the ordering swaps at each step and the stop test (NaN counts as equal to
// the initial 0.0) ends the fit before any trial.  Where the result lands
// depends on the permutation the previous fit left behind.
TEST(SimplexFit, AllNaNVerticesStopAtOnceAndHonourThePersistentIndexes) {
  FitState s;
  start_measurement(s, {10.0, 15.0f, 5.0f});
  s.point = {-1e-3, 1e-11};
  fit_model(s);
  EXPECT_EQ(s.counters.passes, 0);
  EXPECT_EQ(s.counters.evaluations, 3);
  EXPECT_EQ(s.simplex.best, 2);  // 0,1,2 -> 1,0,2 -> 1,2,0 -> 2,1,0
  EXPECT_EQ(s.point.base_conductivity, s.simplex.vertices[2].base_conductivity);

  s.point = {-1e-3, 1e-11};
  fit_model(s);  // starts from 2,1,0 this time
  EXPECT_EQ(s.simplex.best, 0);
  EXPECT_EQ(s.simplex.middle, 1);
  EXPECT_EQ(s.simplex.worst, 2);
  EXPECT_EQ(s.point.base_permittivity, s.simplex.vertices[0].base_permittivity);
}

// The ordering table: each row is values by slot and the permutation before
// and after.  Ties keep the order; a NaN on either side swaps.
TEST(SimplexOrdering, CompareAndSwapTable) {
  struct Row {
    double v0, v1, v2;
    int best, middle, worst;
    int want_best, want_middle, want_worst;
  };
  const Row rows[] = {
      {1, 2, 3, 0, 1, 2, 0, 1, 2},    {3, 2, 1, 0, 1, 2, 2, 1, 0},
      {2, 2, 2, 0, 1, 2, 0, 1, 2},    {2, 2, 2, 2, 1, 0, 2, 1, 0},
      {1, 1, 0, 0, 1, 2, 2, 0, 1},    {kNaN, kNaN, kNaN, 0, 1, 2, 2, 1, 0},
      {kNaN, 1, 2, 0, 1, 2, 1, 2, 0}, {1, 2, kNaN, 0, 1, 2, 2, 0, 1},
  };
  for (const Row& r : rows) {
    SimplexState s;
    s.values = {r.v0, r.v1, r.v2};
    s.best = r.best;
    s.middle = r.middle;
    s.worst = r.worst;
    order_slots(s);
    EXPECT_EQ(s.best, r.want_best) << r.v0 << " " << r.v1 << " " << r.v2;
    EXPECT_EQ(s.middle, r.want_middle) << r.v0 << " " << r.v1 << " " << r.v2;
    EXPECT_EQ(s.worst, r.want_worst) << r.v0 << " " << r.v1 << " " << r.v2;
  }
}

TEST(SimplexOrdering, StopTestEqualityCountsNaNAsEqual) {
  EXPECT_TRUE(equal_or_unordered(0.0, 0.0));
  EXPECT_TRUE(equal_or_unordered(0.0, -0.0));
  EXPECT_FALSE(equal_or_unordered(1.0, std::nextafter(1.0, 2.0)));
  EXPECT_TRUE(equal_or_unordered(kNaN, 0.0));
  EXPECT_TRUE(equal_or_unordered(0.0, kNaN));
  EXPECT_TRUE(equal_or_unordered(kNaN, kNaN));
}

TEST(SimplexDecisions, AfterReflectionTiesAndNaN) {
  struct Row {
    double best, middle, trial;
    AfterReflection want;
  };
  const Row rows[] = {
      {1.0, 2.0, 0.5, AfterReflection::expand},
      {1.0, 2.0, 1.0, AfterReflection::expand},  // >= on the best value
      {1.0, 2.0, 1.5, AfterReflection::keep},
      {1.0, 2.0, 2.0, AfterReflection::contract},  // > on the middle value
      {1.0, 2.0, 3.0, AfterReflection::contract},
      {1.0, 2.0, kNaN, AfterReflection::contract},
      {kNaN, 2.0, 0.5, AfterReflection::keep},
      {kNaN, kNaN, 0.5, AfterReflection::contract},
  };
  for (const Row& r : rows) {
    SimplexState s;
    s.values = {r.best, r.middle, 9.0};
    s.last_trial_value = r.trial;
    EXPECT_EQ(after_reflection(s), r.want) << r.best << " " << r.middle << " " << r.trial;
  }
}

// Three identical vertices: the reflection lands on the same point, scores
// the same value and is rejected (acceptance is strict).
TEST(SimplexDecisions, TrialEqualToWorstIsRejected) {
  FitState s;
  start_measurement(s, {10.0, 15.0f, 5.0f});
  const ModelParams p = s.point;
  const double v = evaluate_model(s);
  s.simplex.vertices = {p, p, p};
  s.simplex.values = {v, v, v};
  EXPECT_EQ(try_step(s, -1.0f, 1.0f), -1);
  EXPECT_EQ(s.simplex.last_trial_value, v);
  EXPECT_EQ(s.point.base_conductivity, p.base_conductivity);
  EXPECT_EQ(after_reflection(s.simplex), AfterReflection::expand);
}

TEST(SimplexDecisions, TrialWithNaNIsNeverAccepted) {
  FitState s;
  start_measurement(s, {10.0, 15.0f, 5.0f});
  s.simplex.vertices = {ModelParams{1e-3, 1e-10}, ModelParams{1e-3, 1e-10},
                        ModelParams{3e-3, 1e-10}};
  s.simplex.values = {1.0, 1.0, std::numeric_limits<double>::infinity()};
  // Reflection: 2 * 1e-3 - 3e-3 < 0 with a positive permittivity: NaN.
  EXPECT_EQ(try_step(s, -1.0f, 1.0f), -1);
  EXPECT_TRUE(std::isnan(s.simplex.last_trial_value));
  EXPECT_EQ(s.simplex.vertices[2].base_conductivity, 3e-3);
  EXPECT_LT(s.point.base_conductivity, 0.0);  // keeps the rejected trial
}

TEST(SimplexFit, PassLimitEndsTheFitAtTheBestVertex) {
  FitState s;
  start_measurement(s, {10.0, 15.0f, 5.0f});
  fit_model(s, 10);
  EXPECT_TRUE(s.counters.hit_pass_limit);
  EXPECT_EQ(s.counters.passes, 10);
  const ModelParams best = s.simplex.vertices[s.simplex.best];
  EXPECT_EQ(s.point.base_conductivity, best.base_conductivity);
  EXPECT_EQ(s.point.base_permittivity, best.base_permittivity);
}

TEST(SimplexFit, ExtremeInputTakesHundredsOfThousandsOfPassesAndEnds) {
  FitState s;
  start_measurement(s, {0.238, 152.0f, 1.27e-06f});
  fit_model(s);
  EXPECT_FALSE(s.counters.hit_pass_limit);
  EXPECT_GT(s.counters.passes, 200'000);
  EXPECT_LT(s.counters.passes, 300'000);
}

}  // namespace
}  // namespace gndfit
