// SPDX-License-Identifier: MIT
#pragma once
// Linear least squares with at most four unknowns, min |A x - b|, by
// Householder QR (so without squaring A's condition number as the normal
// equations would).  The ground models' fits solve their linear parts and
// Gauss-Newton steps with it, and take their covariance (A^T A)^-1 from R.
#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace gndfit {

inline constexpr std::size_t kMaxUnknowns = 4;
using SmallVector = std::array<double, kMaxUnknowns>;
using SmallMatrix = std::array<SmallVector, kMaxUnknowns>;

struct SmallSolution {
  bool solved = false;  // false when A's columns are (numerically) dependent
  SmallVector x{};
  double residual_square = 0.0;  // |A x - b|^2
};

class SmallLeastSquares {
 public:
  explicit SmallLeastSquares(std::size_t unknowns) : unknowns_(unknowns) {}
  std::size_t unknowns() const { return unknowns_; }
  // One row of A (its first `unknowns` values) and its b.
  void add_row(std::span<const double> a, double b);
  SmallSolution solve() const;
  // (A^T A)^-1, or false when A's columns are dependent.
  bool normal_inverse(SmallMatrix& inverse) const;

 private:
  struct Triangle {
    bool full_rank = false;
    SmallMatrix r{};  // upper triangle
    SmallVector qtb{};
    double rest_square = 0.0;  // |b|^2 beyond the first `unknowns` of Q^T b
  };
  Triangle factor() const;

  std::size_t unknowns_;
  std::vector<SmallVector> rows_;
  std::vector<double> b_;
};

}  // namespace gndfit
