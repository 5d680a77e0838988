// SPDX-License-Identifier: MIT
#include "model/real_roots.hpp"

#include "number/ieee_format.hpp"

namespace gndfit {

std::uint64_t double_order(double value) { return bit_cast_of<std::uint64_t>(value); }
double from_double_order(std::uint64_t order) { return bit_cast_of<double>(order); }

double evaluate_polynomial(const Quartic& p, double t) {
  double sum = p[4];
  for (std::size_t k = 4; k-- > 0;) sum = sum * t + p[k];
  return sum;
}

Quartic derivative(const Quartic& p) {
  Quartic d{};
  for (std::size_t k = 1; k < p.size(); ++k) d[k - 1] = static_cast<double>(k) * p[k];
  return d;
}

int degree_of(const Quartic& p) {
  int degree = 4;
  while (degree >= 0 && p[static_cast<std::size_t>(degree)] == 0.0) --degree;
  return degree;
}

void SignChanges::add(SignChange change) {
  if (count > 0 && items[count - 1].high >= change.low) return;  // the same root again
  if (count < items.size()) items[count++] = change;
}

namespace {
struct PlainValue {
  const Quartic& p;
  double operator()(double t) const { return evaluate_polynomial(p, t); }
};
}  // namespace

SignChanges real_roots(const Quartic& p, double low, double high) {
  return sign_changes(p, low, high, PlainValue{p});
}

}  // namespace gndfit
