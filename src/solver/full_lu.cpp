#include "solver/full_lu.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "solver/column_view.hpp"

namespace korvant {
namespace {

using Square = ColumnView<double>;
using ConstSquare = ColumnView<const double>;

// Row i of A is entirely zero.
bool rowIsZero(ConstSquare a, int i, int N) {
  for (int j = 1; j <= N; ++j)
    if (a(i, j) != 0.0) return false;
  return true;
}

// VV(i) = 1 / largest |A(i, j)|. Returns false, leaving the rest unset, at a zero row.
bool rowScaling(ConstSquare a, int N, ColumnView<double> vv) {
  for (int i = 1; i <= N; ++i) {
    if (rowIsZero(a, i, N)) return false;
    double big = 0.0;
    for (int j = 1; j <= N; ++j) big = std::max(big, std::fabs(a(i, j)));
    vv(i) = 1.0 / big;
  }
  return true;
}

// Column j of Crout's scheme: A(i, j) -= sum over k < min(i, j) of A(i, k) A(k, j).
// Applied column k by column k, each A(k, j) being final when it is used; every entry sees
// its terms in the order k = 1, 2, ..., as in the row-by-row sums.
void reduceColumn(Square a, int N, int j) {
  for (int k = 1; k < j; ++k) {
    const double akj = a(k, j);
    for (int i = k + 1; i <= N; ++i) a(i, j) -= a(i, k) * akj;
  }
}

// The row j..N of largest scaled magnitude VV(i) |A(i, j)|, the last one winning ties.
int pivotRow(ConstSquare a, int N, int j, ColumnView<const double> vv) {
  int imax = j;
  double big = -1.0;
  for (int i = j; i <= N; ++i) {
    const double merit = vv(i) * std::fabs(a(i, j));
    if (merit >= big) {
      big = merit;
      imax = i;
    }
  }
  return imax;
}

// Solves trans(A) x = b with the factors: trans(U) w = b, trans(L) v = w, then the
// interchanges undone in reverse order.
void solveTransposed(ConstSquare a, int N, const int* INDX, ColumnView<double> b) {
  for (int i = 1; i <= N; ++i) {
    double sum = b(i);
    for (int j = 1; j < i; ++j) sum -= a(j, i) * b(j);
    b(i) = sum / a(i, i);
  }
  for (int i = N; i >= 1; --i) {
    double sum = b(i);
    for (int j = i + 1; j <= N; ++j) sum -= a(j, i) * b(j);
    b(i) = sum;
  }
  for (int i = N; i >= 1; --i) std::swap(b(INDX[i - 1]), b(i));
}

double sumOfMagnitudes(int N, ColumnView<const double> x) {
  double s = 0.0;
  for (int i = 1; i <= N; ++i) s += std::fabs(x(i));
  return s;
}

int largestEntry(int N, ColumnView<const double> x) {
  int jmax = 1;
  for (int i = 2; i <= N; ++i)
    if (std::fabs(x(i)) > std::fabs(x(jmax))) jmax = i;
  return jmax;
}

// x = e_j, then x := inverse(A) x; returns the 1-norm of the result.
double inverseColumnNorm(const double* A, int N, int NP, const int* INDX, int j, double* X) {
  ColumnView<double> x(X, 1);
  for (int i = 1; i <= N; ++i) x(i) = i == j ? 1.0 : 0.0;
  LUBKSB(A, N, NP, INDX, X);
  return sumOfMagnitudes(N, x);
}

}  // namespace

int LUDCMP(double* A, int N, int NP, double* VV, int* INDX, double& D, int& IERR) {
  Square a(A, NP);
  ColumnView<double> vv(VV, 1);
  IERR = 0;
  D = 1.0;
  if (!rowScaling(a, N, vv)) {
    IERR = 1;
    return 0;
  }
  int zeroPivots = 0;
  for (int j = 1; j <= N; ++j) {
    reduceColumn(a, N, j);
    const int imax = pivotRow(a, N, j, vv);
    if (imax != j) {
      for (int k = 1; k <= N; ++k) std::swap(a(imax, k), a(j, k));
      D = -D;
      vv(imax) = vv(j);
    }
    INDX[j - 1] = imax;
    if (a(j, j) == 0.0) {
      a(j, j) = TINY;
      ++zeroPivots;
    }
    const double pivot = a(j, j);
    for (int i = j + 1; i <= N; ++i) a(i, j) /= pivot;
  }
  return zeroPivots;
}

void LUBKSB(const double* A, int N, int NP, const int* INDX, double* B) {
  ConstSquare a(A, NP);
  ColumnView<double> b(B, 1);
  int ii = 0;  // first non-zero entry met in the permuted right-hand side, 0 while none
  for (int i = 1; i <= N; ++i) {
    const int ip = INDX[i - 1];
    double sum = b(ip);
    b(ip) = b(i);
    if (ii != 0) {
      for (int j = ii; j < i; ++j) sum -= a(i, j) * b(j);
    } else if (sum != 0.0) {
      ii = i;
    }
    b(i) = sum;
  }
  for (int i = N; i >= 1; --i) {
    double sum = b(i);
    for (int j = i + 1; j <= N; ++j) sum -= a(i, j) * b(j);
    b(i) = sum / a(i, i);
  }
}

double NORM1(const double* A, int N, int NP) {
  ConstSquare a(A, NP);
  double norm = 0.0;
  for (int j = 1; j <= N; ++j) {
    double column = 0.0;
    for (int i = 1; i <= N; ++i) column += std::fabs(a(i, j));
    norm = std::max(norm, column);
  }
  return norm;
}

// Hager's estimate of the 1-norm of inverse(A): the largest column norm of inverse(A) is
// sought by a gradient step on ||inverse(A) x||_1 over unit vectors x, a step needing one
// solve with A and one with trans(A). An alternating test vector guards against the cases
// where the steps stall. At most five steps are taken.
double LUCOND(const double* A, int N, int NP, const int* INDX, double ANORM, double* WORK) {
  if (ANORM == 0.0) return 0.0;
  const ConstSquare a(A, NP);
  ColumnView<double> x(WORK, 1);

  for (int i = 1; i <= N; ++i) x(i) = 1.0 / N;
  LUBKSB(A, N, NP, INDX, WORK);
  double est = sumOfMagnitudes(N, x);
  int jlast = 0;
  for (int step = 1; step <= 5 && N > 1; ++step) {
    for (int i = 1; i <= N; ++i) x(i) = x(i) >= 0.0 ? 1.0 : -1.0;
    solveTransposed(a, N, INDX, x);
    const int j = largestEntry(N, x);
    if (jlast != 0 && std::fabs(x(j)) <= std::fabs(x(jlast))) break;
    const double previous = est;
    est = inverseColumnNorm(A, N, NP, INDX, j, WORK);
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
  LUBKSB(A, N, NP, INDX, WORK);
  est = std::max(est, 2.0 * sumOfMagnitudes(N, x) / (3.0 * N));
  if (!std::isfinite(est) || est == 0.0) return 0.0;
  return 1.0 / (ANORM * est);
}

}  // namespace korvant
