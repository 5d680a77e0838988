// SPDX-License-Identifier: MIT
#pragma once
// The elementary functions the probe conversions need, written out in
// plain double arithmetic (no fused multiply-adds, no library calls but
// the exact ones: sqrt, ldexp, floor, fabs), so that a converted point has
// the same bits on every platform.  The C libraries' own sin, cos, exp,
// pow, hypot and complex functions differ in their last bits from one
// library to another (glibc, MinGW's, Emscripten's), and so would the
// points and the fits made of them.  Accurate to about 1 ulp for the
// arguments a probe gives (|x| below 1e5 for sin and cos).
#include <complex>

namespace gndfit::portable {

double exp(double x);
double sin(double x);
double cos(double x);
double sinh(double x);
double cosh(double x);
// 10^(decibels / 20): a magnitude given in dB.
double from_decibels(double decibels);

std::complex<double> polar(double magnitude, double radians);
double abs(std::complex<double> z);
std::complex<double> sqrt(std::complex<double> z);  // the root with Re >= 0
std::complex<double> sin(std::complex<double> z);
std::complex<double> cos(std::complex<double> z);

}  // namespace gndfit::portable
