// Reference arithmetic for the solver tests, independent of the routines under test:
// dense matrices from row lists, products, the band layout of a dense matrix, and the exact
// inverse by Gauss-Jordan elimination in extended precision for condition numbers.
#pragma once

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <random>
#include <utility>
#include <vector>

#include "core/matrix.hpp"

namespace korvant::test {

using Dense = Matrix<double>;

// A matrix written row by row, as on paper.
inline Dense rows(std::initializer_list<std::initializer_list<double>> r) {
  const int n = static_cast<int>(r.size());
  const int m = static_cast<int>(r.begin()->size());
  Dense a(n, m);
  int i = 1;
  for (const auto& row : r) {
    int j = 1;
    for (double v : row) a(i, j++) = v;
    ++i;
  }
  return a;
}

inline std::vector<double> times(const Dense& a, const std::vector<double>& x) {
  std::vector<double> b(static_cast<std::size_t>(a.rows()), 0.0);
  for (int i = 1; i <= a.rows(); ++i) {
    long double s = 0.0L;
    for (int j = 1; j <= a.cols(); ++j) s += static_cast<long double>(a(i, j)) * x[j - 1];
    b[i - 1] = static_cast<double>(s);
  }
  return b;
}

// max |x - y| / max |y|
inline double relativeDifference(const std::vector<double>& x, const std::vector<double>& y) {
  double diff = 0.0, scale = 0.0;
  for (std::size_t i = 0; i < y.size(); ++i) {
    diff = std::max(diff, std::fabs(x[i] - y[i]));
    scale = std::max(scale, std::fabs(y[i]));
  }
  return diff / scale;
}

// The band layout with ml lower and mu upper diagonals, leading dimension 2 ml + mu + 1
// (plus `extraRows`), the fill-in rows left dirty to show that the factorization clears them.
inline Dense toBand(const Dense& a, int ml, int mu, int extraRows = 0) {
  const int n = a.rows();
  const int m = ml + mu + 1;
  Dense abd(2 * ml + mu + 1 + extraRows, n, 0.0);
  for (int i = 1; i <= ml; ++i)
    for (int j = 1; j <= n; ++j) abd(i, j) = 99.0;  // garbage in the fill-in rows
  for (int j = 1; j <= n; ++j)
    for (int i = std::max(1, j - mu); i <= std::min(n, j + ml); ++i) abd(m + i - j, j) = a(i, j);
  return abd;
}

// A random band matrix; with `dominant` its diagonal outweighs the rest of its row.
inline Dense randomBand(int n, int ml, int mu, bool dominant, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  Dense a(n, n, 0.0);
  for (int i = 1; i <= n; ++i) {
    double off = 0.0;
    for (int j = std::max(1, i - ml); j <= std::min(n, i + mu); ++j) {
      a(i, j) = u(gen);
      if (j != i) off += std::fabs(a(i, j));
    }
    if (dominant) a(i, i) = (a(i, i) < 0 ? -1.0 : 1.0) * (off + 1.0);
  }
  return a;
}

inline double norm1(const Dense& a) {
  double best = 0.0;
  for (int j = 1; j <= a.cols(); ++j) {
    double s = 0.0;
    for (int i = 1; i <= a.rows(); ++i) s += std::fabs(a(i, j));
    best = std::max(best, s);
  }
  return best;
}

// The exact 1-norm condition number ||A|| ||inverse(A)||, the inverse by Gauss-Jordan
// elimination with partial pivoting in long double.
inline double conditionNumber1(const Dense& a) {
  const int n = a.rows();
  std::vector<std::vector<long double>> w(static_cast<std::size_t>(n),
                                          std::vector<long double>(2 * n, 0.0L));
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) w[i][j] = a(i + 1, j + 1);
    w[i][n + i] = 1.0L;
  }
  for (int c = 0; c < n; ++c) {
    int p = c;
    for (int r = c + 1; r < n; ++r)
      if (std::fabs(w[r][c]) > std::fabs(w[p][c])) p = r;
    std::swap(w[p], w[c]);
    const long double pivot = w[c][c];
    for (auto& v : w[c]) v /= pivot;
    for (int r = 0; r < n; ++r) {
      if (r == c) continue;
      const long double f = w[r][c];
      for (int k = 0; k < 2 * n; ++k) w[r][k] -= f * w[c][k];
    }
  }
  double invNorm = 0.0;
  for (int j = 0; j < n; ++j) {
    long double s = 0.0L;
    for (int i = 0; i < n; ++i) s += std::fabs(w[i][n + j]);
    invNorm = std::max(invNorm, static_cast<double>(s));
  }
  return norm1(a) * invNorm;
}

}  // namespace korvant::test
