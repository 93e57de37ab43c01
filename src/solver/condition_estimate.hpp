// Estimate of the reciprocal 1-norm condition number of a factored matrix, shared by the
// full and the band-restricted Crout factorizations: both hand in their own solves with the
// factors, and the same steps then give the same estimate from the same factors.
#pragma once

#include <algorithm>
#include <cmath>

#include "solver/column_view.hpp"

namespace korvant {
namespace condition_detail {

inline double sumOfMagnitudes(int N, ColumnView<const double> x) {
  double s = 0.0;
  for (int i = 1; i <= N; ++i) s += std::fabs(x(i));
  return s;
}

inline int largestEntry(int N, ColumnView<const double> x) {
  int jmax = 1;
  for (int i = 2; i <= N; ++i)
    if (std::fabs(x(i)) > std::fabs(x(jmax))) jmax = i;
  return jmax;
}

}  // namespace condition_detail

// Hager's estimate of the 1-norm of inverse(A): the largest column norm of inverse(A) is
// sought by a gradient step on ||inverse(A) x||_1 over unit vectors x, a step needing one
// solve with A and one with trans(A). An alternating test vector guards against the cases
// where the steps stall. At most five steps are taken. Returns 1 / (ANORM * estimate), or 0
// when ANORM is 0 or the estimate is not a positive finite number. `solve(X)` overwrites
// the N entries of X with inverse(A) X, `solveTransposed(X)` with inverse(trans(A)) X;
// WORK holds N doubles.
template <typename Solve, typename SolveTransposed>
double reciprocalCondition(int N, double ANORM, double* WORK, Solve solve,
                           SolveTransposed solveTransposed) {
  using condition_detail::largestEntry;
  using condition_detail::sumOfMagnitudes;
  if (ANORM == 0.0) return 0.0;
  ColumnView<double> x(WORK, 1);

  for (int i = 1; i <= N; ++i) x(i) = 1.0 / N;
  solve(WORK);
  double est = sumOfMagnitudes(N, x);
  int jlast = 0;
  for (int step = 1; step <= 5 && N > 1; ++step) {
    for (int i = 1; i <= N; ++i) x(i) = x(i) >= 0.0 ? 1.0 : -1.0;
    solveTransposed(WORK);
    const int j = largestEntry(N, x);
    if (jlast != 0 && std::fabs(x(j)) <= std::fabs(x(jlast))) break;
    const double previous = est;
    for (int i = 1; i <= N; ++i) x(i) = i == j ? 1.0 : 0.0;  // e_j, then inverse(A) e_j
    solve(WORK);
    est = sumOfMagnitudes(N, x);
    jlast = j;
    if (est <= previous) {
      est = previous;
      break;
    }
  }

  for (int i = 1; i <= N; ++i) {
    const double sign = i % 2 == 1 ? 1.0 : -1.0;
    x(i) = sign * (1.0 + (N > 1 ? static_cast<double>(i - 1) / (N - 1) : 0.0));
  }
  solve(WORK);
  est = std::max(est, 2.0 * sumOfMagnitudes(N, x) / (3.0 * N));
  if (!std::isfinite(est) || est == 0.0) return 0.0;
  return 1.0 / (ANORM * est);
}

}  // namespace korvant
