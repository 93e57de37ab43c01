#include "solver/full_lu.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "solver/column_view.hpp"
#include "solver/condition_estimate.hpp"
#include "solver/crout_pivot.hpp"

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
    const int imax = scaledPivotRow(a, j, j, N, vv);
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

double LUCOND(const double* A, int N, int NP, const int* INDX, double ANORM, double* WORK) {
  const ConstSquare a(A, NP);
  return reciprocalCondition(
      N, ANORM, WORK, [&](double* X) { LUBKSB(A, N, NP, INDX, X); },
      [&](double* X) { solveTransposed(a, N, INDX, ColumnView<double>(X, 1)); });
}

}  // namespace korvant
