#include "solver/band_lu.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "solver/blas.hpp"
#include "solver/column_view.hpp"

namespace korvant {
namespace {

using Band = ColumnView<double>;
using ConstBand = ColumnView<const double>;
using Vector = ColumnView<double>;

// The diagonal of the band sits in ABD row ML + MU + 1; the entry of row i in column j
// sits (j - i) rows above it.
int diagonalRow(int ML, int MU) {
  return ML + MU + 1;
}

// Clears the fill-in rows first..ML of column j.
void clearFillIn(Band a, int first, int ML, int j) {
  for (int i = first; i <= ML; ++i) a(i, j) = 0.0;
}

// Largest 1-norm over the columns of the band matrix.
double bandNorm1(ConstBand a, int N, int ML, int MU) {
  const int m = diagonalRow(ML, MU);
  double anorm = 0.0;
  for (int j = 1; j <= N; ++j) {
    const int first = std::max(1, j - MU);
    const int last = std::min(N, j + ML);
    anorm = std::max(anorm, DASUM(last - first + 1, a.at(m + first - j, j), 1));
  }
  return anorm;
}

// Scales z to unit 1-norm and returns the factor used.
double normalize(int N, double* Z) {
  const double s = 1.0 / DASUM(N, Z, 1);
  DSCAL(N, s, Z, 1);
  return s;
}

// Scales z by s when that keeps an entry of magnitude `value` within `limit`.
// Returns the factor applied (1 when none was needed).
double scaleDownTo(int N, double* Z, double value, double limit) {
  if (std::fabs(value) <= limit) return 1.0;
  const double s = limit / std::fabs(value);
  DSCAL(N, s, Z, 1);
  return s;
}

// Solves trans(U) w = e, choosing each e(k) as +1 or -1 so that w grows as fast as
// possible, with rescaling whenever a component would outgrow its pivot. The result is
// scaled to unit 1-norm. Column j of row k of U sits in ABD row m - (j - k).
void solveUTransposedForLargeW(ConstBand a, int N, int ML, int MU, const int* IPVT, double* Z) {
  const int m = diagonalRow(ML, MU);
  ColumnView<const int> ipvt(IPVT, 1);
  Vector z(Z, 1);
  for (int k = 1; k <= N; ++k) z(k) = 0.0;
  double ek = 1.0;
  int ju = 0;
  for (int k = 1; k <= N; ++k) {
    if (z(k) != 0.0) ek = std::copysign(ek, -z(k));
    const double ukk = a(m, k);
    ek *= scaleDownTo(N, Z, ek - z(k), std::fabs(ukk));
    double wk = ek - z(k);
    double wkm = -ek - z(k);
    double s = std::fabs(wk);
    double sm = std::fabs(wkm);
    if (ukk != 0.0) {
      wk /= ukk;
      wkm /= ukk;
    } else {
      wk = 1.0;
      wkm = 1.0;
    }
    ju = std::min(std::max(ju, MU + ipvt(k)), N);
    for (int j = k + 1; j <= ju; ++j) {
      const double ukj = a(m - (j - k), j);
      sm += std::fabs(z(j) + wkm * ukj);
      z(j) += wk * ukj;
      s += std::fabs(z(j));
    }
    if (s < sm) {
      const double t = wkm - wk;
      wk = wkm;
      for (int j = k + 1; j <= ju; ++j) z(j) += t * a(m - (j - k), j);
    }
    z(k) = wk;
  }
  normalize(N, Z);
}

// Solves trans(L) y = w in place, L being the product of the interchanges and the
// elimination steps. The result is scaled to unit 1-norm.
void solveLTransposed(ConstBand a, int N, int ML, int MU, const int* IPVT, double* Z) {
  const int m = diagonalRow(ML, MU);
  Vector z(Z, 1);
  for (int k = N; k >= 1; --k) {
    if (k < N) z(k) += DDOT(std::min(ML, N - k), a.at(m + 1, k), 1, &z(k + 1), 1);
    scaleDownTo(N, Z, z(k), 1.0);
    std::swap(z(IPVT[k - 1]), z(k));
  }
  normalize(N, Z);
}

// Solves L v = y in place; returns the product of the scalings applied.
double solveL(ConstBand a, int N, int ML, int MU, const int* IPVT, double* Z) {
  const int m = diagonalRow(ML, MU);
  Vector z(Z, 1);
  double scale = 1.0;
  for (int k = 1; k <= N; ++k) {
    std::swap(z(IPVT[k - 1]), z(k));
    if (k < N) DAXPY(std::min(ML, N - k), z(k), a.at(m + 1, k), 1, &z(k + 1), 1);
    scale *= scaleDownTo(N, Z, z(k), 1.0);
  }
  return scale * normalize(N, Z);
}

// Solves U z = v in place, a zero pivot taking the value 1 for its component; returns the
// product of the scalings applied.
double solveU(ConstBand a, int N, int ML, int MU, double* Z) {
  const int m = diagonalRow(ML, MU);
  Vector z(Z, 1);
  double scale = 1.0;
  for (int k = N; k >= 1; --k) {
    const double ukk = a(m, k);
    scale *= scaleDownTo(N, Z, z(k), std::fabs(ukk));
    z(k) = ukk != 0.0 ? z(k) / ukk : 1.0;
    const int above = std::min(k, m) - 1;
    DAXPY(above, -z(k), a.at(m - above, k), 1, &z(k - above), 1);
  }
  return scale * normalize(N, Z);
}

}  // namespace

void DGBFA(double* ABD, int LDA, int N, int ML, int MU, int* IPVT, int& INFO) {
  Band a(ABD, LDA);
  ColumnView<int> ipvt(IPVT, 1);
  const int m = diagonalRow(ML, MU);
  INFO = 0;
  if (N < 1) return;  // an empty system has nothing to factor
  // Columns MU + 2..m reach into the fill-in rows from row m + 1 - j down.
  for (int j = MU + 2; j <= std::min(m, N); ++j) clearFillIn(a, m + 1 - j, ML, j);

  int ju = 0;  // last column reached by the pivot rows chosen so far
  for (int k = 1; k <= N - 1; ++k) {
    if (m + k <= N) clearFillIn(a, 1, ML, m + k);
    const int below = std::min(ML, N - k);
    const int l = IDAMAX(below + 1, a.at(m, k), 1) + m - 1;  // ABD row of the pivot
    ipvt(k) = l + k - m;
    if (a(l, k) == 0.0) {
      INFO = k;
      continue;
    }
    if (l != m) std::swap(a(l, k), a(m, k));
    DSCAL(below, -1.0 / a(m, k), a.at(m + 1, k), 1);

    ju = std::min(std::max(ju, MU + ipvt(k)), N);
    for (int j = k + 1; j <= ju; ++j) {
      const int rowK = m - (j - k);      // ABD row of matrix row k in column j
      const int rowPivot = l - (j - k);  // ... and of the pivot row
      const double t = a(rowPivot, j);
      if (rowPivot != rowK) {
        a(rowPivot, j) = a(rowK, j);
        a(rowK, j) = t;
      }
      DAXPY(below, t, a.at(m + 1, k), 1, a.at(rowK + 1, j), 1);
    }
  }
  ipvt(N) = N;
  if (a(m, N) == 0.0) INFO = N;
}

void DGBCO(double* ABD, int LDA, int N, int ML, int MU, int* IPVT, double& RCOND, double* Z) {
  const double anorm = bandNorm1(ConstBand(ABD, LDA), N, ML, MU);
  int info = 0;
  DGBFA(ABD, LDA, N, ML, MU, IPVT, info);

  // RCOND = 1 / (norm(A) * norm(inverse(A))), with norm(inverse(A)) estimated from
  // norm(z) / norm(y) for A z = y and a y chosen by the solve with trans(A) to be large.
  const ConstBand a(ABD, LDA);
  solveUTransposedForLargeW(a, N, ML, MU, IPVT, Z);
  solveLTransposed(a, N, ML, MU, IPVT, Z);
  double ynorm = solveL(a, N, ML, MU, IPVT, Z);
  ynorm *= solveU(a, N, ML, MU, Z);
  RCOND = anorm != 0.0 ? ynorm / anorm : 0.0;
}

void DGBSL(const double* ABD, int LDA, int N, int ML, int MU, const int* IPVT, double* B, int JOB) {
  const ConstBand a(ABD, LDA);
  Vector b(B, 1);
  const int m = diagonalRow(ML, MU);
  if (JOB == 0) {
    // L y = b: the interchanges and multipliers of each elimination step in turn.
    for (int k = 1; k <= N - 1 && ML > 0; ++k) {
      std::swap(b(IPVT[k - 1]), b(k));
      DAXPY(std::min(ML, N - k), b(k), a.at(m + 1, k), 1, &b(k + 1), 1);
    }
    // U x = y, column by column from the last.
    for (int k = N; k >= 1; --k) {
      b(k) /= a(m, k);
      const int above = std::min(k, m) - 1;
      DAXPY(above, -b(k), a.at(m - above, k), 1, &b(k - above), 1);
    }
    return;
  }
  // trans(U) y = b, row by row from the first.
  for (int k = 1; k <= N; ++k) {
    const int above = std::min(k, m) - 1;
    b(k) = (b(k) - DDOT(above, a.at(m - above, k), 1, &b(k - above), 1)) / a(m, k);
  }
  // trans(L) x = y: the elimination steps undone from the last.
  for (int k = N - 1; k >= 1 && ML > 0; --k) {
    b(k) += DDOT(std::min(ML, N - k), a.at(m + 1, k), 1, &b(k + 1), 1);
    std::swap(b(IPVT[k - 1]), b(k));
  }
}

}  // namespace korvant
