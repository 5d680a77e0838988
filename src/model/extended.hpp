// SPDX-License-Identifier: MIT
#pragma once
// The one arithmetic type for every intermediate of the model and the fit.
//
// Results are reproduced bit for bit only when every operation between two
// stored values is carried with a 64-bit significand and rounded to single or
// double exactly where a value is stored.  On x86 with GCC, Clang or MinGW the
// x87 long double is that format; everywhere else (and wherever the build asks
// for it with GNDFIT_SOFT_EXTENDED) SoftExtended computes the same bits with
// integer arithmetic.  The build defines GNDFIT_SOFT_EXTENDED to 0 or 1.
#include <cfloat>
#include <cmath>

#include "model/positive_extended.hpp"
#include "model/soft_extended.hpp"

#ifndef GNDFIT_SOFT_EXTENDED
#error "the build must define GNDFIT_SOFT_EXTENDED (0: x87 long double, 1: software)"
#endif

namespace gndfit {

#if GNDFIT_SOFT_EXTENDED
using extended = SoftExtended;
inline extended square_root(extended v) { return sqrt(v); }
#else
static_assert(LDBL_MANT_DIG == 64, "long double is not the x87 80-bit extended format here");
using extended = long double;
inline extended square_root(extended v) { return std::sqrt(v); }
#endif

// The type for chains whose every operand and result is a positive normal
// value, which the caller vouches for (positive normal doubles through a
// few products, quotients, roots and sums): the software type with its
// fields kept unpacked and no checks, or the x87's own type.
#if GNDFIT_SOFT_EXTENDED
using positive_extended = PositiveExtended;
#else
using positive_extended = long double;
#endif
inline bool positive_normal(double v) { return PositiveExtended::holds(v); }

// Rounds an extended intermediate to the width at which it is stored.
inline double store_double(extended v) { return static_cast<double>(v); }
inline float store_single(extended v) { return static_cast<float>(v); }

// a + b and a - b formed in extended precision and stored as a double, for
// two stored values (singles or doubles); the software type has a shorter
// way to the same bits.
template <typename T>
double sum_stored_as_double(T a, T b) {
#if GNDFIT_SOFT_EXTENDED
  return soft_sum_stored_as_double(a, b);
#else
  return store_double(extended{a} + extended{b});
#endif
}
template <typename T>
double difference_stored_as_double(T a, T b) {
#if GNDFIT_SOFT_EXTENDED
  return soft_difference_stored_as_double(a, b);
#else
  return store_double(extended{a} - extended{b});
#endif
}

// b (middle + best) + a worst formed in extended precision and stored as a
// double, for stored doubles and single coefficients: the simplex's trial
// coordinate.  The software type has a shorter way to the same bits when
// the coefficients are powers of two, as the simplex's are.
inline double pair_combination_stored_as_double(float a, float b, double best, double middle,
                                                double worst) {
#if GNDFIT_SOFT_EXTENDED
  return soft_pair_combination_stored_as_double(a, b, best, middle, worst);
#else
  const extended pair = extended{middle} + extended{best};
  return store_double(extended{b} * pair + extended{a} * extended{worst});
#endif
}

}  // namespace gndfit
