// SPDX-License-Identifier: MIT
#include "model/small_least_squares.hpp"

#include <algorithm>
#include <cmath>

namespace gndfit {
namespace {

// A column whose part below the diagonal is this small against the
// largest column norm is taken as dependent on the others.
constexpr double kRankTolerance = 1e-12;

}  // namespace

void SmallLeastSquares::add_row(std::span<const double> a, double b) {
  SmallVector row{};
  std::copy_n(a.begin(), unknowns_, row.begin());
  rows_.push_back(row);
  b_.push_back(b);
}

// Q^T [A b] by Householder reflections H = I - 2 v v^T / v^T v, column by
// column: each zeroes the part of column k below the diagonal.
SmallLeastSquares::Triangle SmallLeastSquares::factor() const {
  std::vector<SmallVector> a = rows_;
  std::vector<double> b = b_;
  const std::size_t m = a.size();
  const std::size_t n = unknowns_;
  Triangle t;
  if (m < n) return t;
  double largest = 0.0;
  for (std::size_t k = 0; k < n; ++k) {
    double norm = 0.0;
    for (std::size_t i = 0; i < m; ++i) norm = std::hypot(norm, a[i][k]);
    largest = std::max(largest, norm);
  }
  t.full_rank = largest > 0.0 && std::isfinite(largest);
  for (std::size_t k = 0; k < n && t.full_rank; ++k) {
    double norm = 0.0;
    for (std::size_t i = k; i < m; ++i) norm = std::hypot(norm, a[i][k]);
    if (!(norm > kRankTolerance * largest)) {
      t.full_rank = false;
      break;
    }
    // alpha with the sign opposite to a_kk, so that v_k = a_kk - alpha
    // does not cancel.
    const double alpha = a[k][k] > 0.0 ? -norm : norm;
    std::vector<double> v(m - k);
    for (std::size_t i = k; i < m; ++i) v[i - k] = a[i][k];
    v[0] -= alpha;
    double vv = 0.0;
    for (const double x : v) vv += x * x;
    for (std::size_t j = k; j < n; ++j) {
      double dot = 0.0;
      for (std::size_t i = k; i < m; ++i) dot += v[i - k] * a[i][j];
      const double scale = 2.0 * dot / vv;
      for (std::size_t i = k; i < m; ++i) a[i][j] -= scale * v[i - k];
    }
    double dot = 0.0;
    for (std::size_t i = k; i < m; ++i) dot += v[i - k] * b[i];
    const double scale = 2.0 * dot / vv;
    for (std::size_t i = k; i < m; ++i) b[i] -= scale * v[i - k];
  }
  if (!t.full_rank) return t;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i; j < n; ++j) t.r[i][j] = a[i][j];
    t.qtb[i] = b[i];
  }
  for (std::size_t i = n; i < m; ++i) t.rest_square += b[i] * b[i];
  return t;
}

SmallSolution SmallLeastSquares::solve() const {
  const Triangle t = factor();
  SmallSolution s;
  if (!t.full_rank) return s;
  // Back substitution R x = Q^T b.
  for (std::size_t k = unknowns_; k-- > 0;) {
    double sum = t.qtb[k];
    for (std::size_t j = k + 1; j < unknowns_; ++j) sum -= t.r[k][j] * s.x[j];
    s.x[k] = sum / t.r[k][k];
  }
  s.solved = true;
  s.residual_square = t.rest_square;
  return s;
}

bool SmallLeastSquares::normal_inverse(SmallMatrix& inverse) const {
  const Triangle t = factor();
  if (!t.full_rank) return false;
  // (A^T A)^-1 = R^-1 R^-T, with R^-1 upper triangular.
  SmallMatrix r_inverse{};
  for (std::size_t j = 0; j < unknowns_; ++j) {
    r_inverse[j][j] = 1.0 / t.r[j][j];
    for (std::size_t i = j; i-- > 0;) {
      double sum = 0.0;
      for (std::size_t k = i + 1; k <= j; ++k) sum += t.r[i][k] * r_inverse[k][j];
      r_inverse[i][j] = -sum / t.r[i][i];
    }
  }
  inverse = {};
  for (std::size_t i = 0; i < unknowns_; ++i) {
    for (std::size_t j = 0; j < unknowns_; ++j) {
      double sum = 0.0;
      for (std::size_t k = std::max(i, j); k < unknowns_; ++k) {
        sum += r_inverse[i][k] * r_inverse[j][k];
      }
      inverse[i][j] = sum;
    }
  }
  return true;
}

}  // namespace gndfit
