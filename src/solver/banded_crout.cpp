#include "solver/banded_crout.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "solver/column_view.hpp"
#include "solver/condition_estimate.hpp"
#include "solver/crout_pivot.hpp"
#include "solver/full_lu.hpp"

namespace korvant {
namespace {

using Square = ColumnView<double>;
using ConstSquare = ColumnView<const double>;
using Index = ColumnView<int>;
using ConstIndex = ColumnView<const int>;

// The columns k whose terms column j takes in one sweep.
constexpr int kCroutGroup = 4;

// Last column of the upper factor's row i: LUDCMP's fill reaches ML + MU beyond the diagonal.
int upperEnd(int i, int ML, int MU, int N) {
  return std::min(N, i + ML + MU);
}

// y(first..last) -= alpha x(first..last), the two columns given by their entry 1.
void subtractMultiple(int first, int last, double alpha, const double* x, double* y) {
  for (int i = first - 1; i < last; ++i) y[i] -= x[i] * alpha;
}

// One term of Crout's sum for the entries of column j: column k's multipliers (given by
// their entry 1), A(k, j) and LAST(k).
struct CroutTerm {
  const double* x = nullptr;
  double alpha = 0.0;
  int last = 0;
};

// Two doubles side by side, so that a row pair takes its terms in one instruction; each
// lane is the same IEEE operation as the scalar one, so the results do not change.
using DoublePair = double __attribute__((vector_size(16)));

DoublePair loadPair(const double* p) {
  DoublePair v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Rows first..last of y (entry 1 at y) take the four terms of t in turn.
void subtractFour(int first, int last, const CroutTerm* t, double* y) {
  const double *x0 = t[0].x, *x1 = t[1].x, *x2 = t[2].x, *x3 = t[3].x;
  const double a0 = t[0].alpha, a1 = t[1].alpha, a2 = t[2].alpha, a3 = t[3].alpha;
  const DoublePair p0 = {a0, a0}, p1 = {a1, a1}, p2 = {a2, a2}, p3 = {a3, a3};
  int i = first - 1;
  for (; i + 1 < last; i += 2) {
    DoublePair v = loadPair(y + i);
    v -= loadPair(x0 + i) * p0;
    v -= loadPair(x1 + i) * p1;
    v -= loadPair(x2 + i) * p2;
    v -= loadPair(x3 + i) * p3;
    std::memcpy(y + i, &v, sizeof v);
  }
  for (; i < last; ++i) y[i] = (((y[i] - x0[i] * a0) - x1[i] * a1) - x2[i] * a2) - x3[i] * a3;
}

// Rows from `first` on take the terms of t that reach them (row i <= LAST(k)), in order:
// the rows every term reaches in one sweep, the few beyond one by one.
void subtractTerms(int first, const CroutTerm* t, int n, double* y) {
  if (n == 0) return;  // a group whose A(k, j) are all zero
  int common = std::numeric_limits<int>::max(), reach = 0;
  for (int m = 0; m < n; ++m)
    common = std::min(common, t[m].last), reach = std::max(reach, t[m].last);
  if (n == kCroutGroup) {
    subtractFour(first, common, t, y);
  } else {
    for (int m = 0; m < n; ++m) subtractMultiple(first, common, t[m].alpha, t[m].x, y);
  }
  for (int i = std::max(first, common + 1); i <= reach; ++i)
    for (int m = 0; m < n; ++m)
      if (i <= t[m].last) y[i - 1] -= t[m].x[i - 1] * t[m].alpha;
}

// Column j of Crout's scheme: A(i, j) -= A(i, k) A(k, j) for every k < j whose A(k, j) can
// be non-zero (k from j - ML - MU) and every row i > k that can hold a multiplier of k.
// Each entry sees its terms in the order k = 1, 2, ... as in LUDCMP. The columns k come in
// groups of four: within a group, A(k, j) first takes the group's earlier terms (rows of
// the group), then the rows below the group take all four terms in one sweep, so that
// column j is read and written once a group rather than once a column.
void reduceColumn(Square a, int j, int ML, int MU, ConstIndex last) {
  double* y = a.at(1, j);
  for (int k = factorTopRow(j, ML, MU); k < j; k += kCroutGroup) {
    const int end = std::min(j, k + kCroutGroup);
    CroutTerm t[kCroutGroup];
    int n = 0;
    for (int kk = k; kk < end; ++kk) {
      const double akj = y[kk - 1];
      if (akj == 0.0) continue;
      const double* x = a.at(1, kk);
      subtractMultiple(kk + 1, std::min(end - 1, last(kk)), akj, x, y);
      t[n++] = {x, akj, last(kk)};
    }
    subtractTerms(end, t, n, y);
  }
}

// Interchanges rows j and p > j: their multipliers (columns from the first non-zero of
// either row up to j - 1) and the rest of their band, whose columns beyond j are still the
// matrix's own. A multiplier moved down to row p extends LAST of its column.
void swapRows(Square a, int j, int p, int N, int ML, int MU, Index first, Index last) {
  for (int k = std::min(first(j), first(p)); k < j; ++k) {
    std::swap(a(j, k), a(p, k));
    if (a(p, k) != 0.0) last(k) = std::max(last(k), p);
  }
  for (int k = j; k <= upperEnd(j, ML, MU, N); ++k) std::swap(a(j, k), a(p, k));
  std::swap(first(j), first(p));
}

// Solves trans(A) x = b with the factors, as the transposed solve of LUCOND: trans(U) w = b
// over the band of each column of U, trans(L) v = w over the multipliers of each column,
// then the interchanges undone in reverse order.
void solveTransposed(ConstSquare a, int N, int ML, int MU, ConstIndex indx, ConstIndex last,
                     ColumnView<double> b) {
  for (int i = 1; i <= N; ++i) {
    double sum = b(i);
    for (int j = factorTopRow(i, ML, MU); j < i; ++j) sum -= a(j, i) * b(j);
    b(i) = sum / a(i, i);
  }
  for (int i = N; i >= 1; --i) {
    double sum = b(i);
    for (int j = i + 1; j <= last(i); ++j) sum -= a(j, i) * b(j);
    b(i) = sum;
  }
  for (int i = N; i >= 1; --i) std::swap(b(indx(i)), b(i));
}

}  // namespace

BandProfile LUPROF(const double* A, int N, int NP, int* FIRST, double* VV, const RowRange* ROWS) {
  const ConstSquare a(A, NP);
  Index first(FIRST, 1);
  ColumnView<double> big(VV, 1);
  for (int i = 1; i <= N; ++i) {
    first(i) = 0;
    big(i) = 0.0;
  }
  BandProfile p;
  for (int j = 1; j <= N; ++j) {
    double column = 0.0;
    const int top = ROWS ? std::max(1, ROWS[j].first) : 1;
    const int bottom = ROWS ? std::min(N, ROWS[j].last) : N;
    for (int i = top; i <= bottom; ++i) {
      const double v = std::fabs(a(i, j));
      column += v;
      if (v == 0.0) continue;
      if (first(i) == 0) first(i) = j;
      big(i) = std::max(big(i), v);
      p.ML = std::max(p.ML, i - j);
      p.MU = std::max(p.MU, j - i);
    }
    p.ANORM = std::max(p.ANORM, column);
  }
  for (int i = 1; i <= N; ++i) {
    if (first(i) == 0) {
      p.zeroRow = true;
      continue;
    }
    big(i) = 1.0 / big(i);
  }
  return p;
}

int LUDCMPB(double* A, int N, int NP, int ML, int MU, double* VV, int* INDX, int* FIRST, int* LAST,
            double& D) {
  Square a(A, NP);
  ColumnView<double> vv(VV, 1);
  Index indx(INDX, 1);
  Index first(FIRST, 1);
  Index last(LAST, 1);
  D = 1.0;
  for (int j = 1; j <= N; ++j) last(j) = std::min(N, j + ML);
  int zeroPivots = 0;
  for (int j = 1; j <= N; ++j) {
    reduceColumn(a, j, ML, MU, last);
    // Rows beyond j + ML still hold their own zeros in column j.
    const int imax = scaledPivotRow(a, j, j, last(j), vv);
    if (imax != j) {
      swapRows(a, j, imax, N, ML, MU, first, last);
      D = -D;
      vv(imax) = vv(j);
    }
    indx(j) = imax;
    if (a(j, j) == 0.0) {
      a(j, j) = TINY;
      ++zeroPivots;
    }
    const double pivot = a(j, j);
    for (int i = j + 1; i <= std::min(N, j + ML); ++i) a(i, j) /= pivot;
  }
  return zeroPivots;
}

void LUBKSBB(const double* A, int N, int NP, int ML, int MU, const int* INDX, const int* FIRST,
             double* B) {
  const ConstSquare a(A, NP);
  const ConstIndex indx(INDX, 1);
  const ConstIndex first(FIRST, 1);
  ColumnView<double> b(B, 1);
  int ii = 0;  // first non-zero entry met in the permuted right-hand side, 0 while none
  for (int i = 1; i <= N; ++i) {
    const int ip = indx(i);
    double sum = b(ip);
    b(ip) = b(i);
    if (ii != 0) {
      for (int j = std::max(ii, first(i)); j < i; ++j) sum -= a(i, j) * b(j);
    } else if (sum != 0.0) {
      ii = i;
    }
    b(i) = sum;
  }
  for (int i = N; i >= 1; --i) {
    double sum = b(i);
    for (int j = i + 1; j <= upperEnd(i, ML, MU, N); ++j) sum -= a(i, j) * b(j);
    b(i) = sum / a(i, i);
  }
}

double LUCONDB(const double* A, int N, int NP, int ML, int MU, const int* INDX, const int* FIRST,
               const int* LAST, double ANORM, double* WORK) {
  const ConstSquare a(A, NP);
  return reciprocalCondition(
      N, ANORM, WORK, [&](double* X) { LUBKSBB(A, N, NP, ML, MU, INDX, FIRST, X); },
      [&](double* X) {
        solveTransposed(a, N, ML, MU, ConstIndex(INDX, 1), ConstIndex(LAST, 1),
                        ColumnView<double>(X, 1));
      });
}

}  // namespace korvant
