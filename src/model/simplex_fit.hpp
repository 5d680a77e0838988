// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

#include "model/fit_state.hpp"

namespace gndfit {

// The fit ends at the best vertex after this many passes, whatever the stop
// test says.  No real input comes near it (the slowest known ones take a few
// hundred thousand passes); it only guarantees that no input hangs the program.
inline constexpr std::int64_t kFitPassLimit = 50'000'000;

// Moves the worst vertex to b * (middle + best) + a * worst if that point
// scores lower.  Returns 0 when accepted, -1 when rejected (state.point then
// keeps the rejected trial point).
std::int32_t try_step(FitState& state, float a, float b);
// try_step's results.
inline constexpr std::int32_t kStepAccepted = 0;
inline constexpr std::int32_t kStepRejected = -1;

// What follows a reflection, decided from the best and middle values and
// the reflection's value (last_trial_value).
enum class AfterReflection { expand, keep, contract };
AfterReflection after_reflection(const SimplexState& s);

// Orders the slots by three compare-and-swap steps: ties keep the order the
// indexes already had, and a NaN on either side of a comparison swaps.
void order_slots(SimplexState& s);

// The stop test's equality: exact on the doubles, and a NaN on either side
// counts as equal (as the x87 compare reports an unordered result).
bool equal_or_unordered(double a, double b);

// Fits the model to state.measured at state.eval_frequency_hz, starting from
// state.point; leaves the best vertex in state.point.
// pass_limit exists for tests of the limit itself; the program uses the default.
void fit_model(FitState& state, std::int64_t pass_limit = kFitPassLimit);

}  // namespace gndfit
