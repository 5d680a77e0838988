#pragma once
// The one arithmetic type for every intermediate of the model and the fit.
//
// Results are reproduced bit for bit only when every operation between two
// stored values is carried with a 64-bit significand and rounded to single or
// double exactly where a value is stored.  On x86 with GCC, Clang or MinGW the
// x87 long double is that format; a software implementation can replace this
// alias on targets that lack it.
#include <cfloat>

namespace gndfit {

static_assert(LDBL_MANT_DIG == 64, "gndfit needs long double to be the x87 80-bit extended format");

using extended = long double;

// Rounds an extended intermediate to the width at which it is stored.
inline double store_double(extended v) { return static_cast<double>(v); }
inline float store_single(extended v) { return static_cast<float>(v); }

}  // namespace gndfit
