#include "solver/solve.hpp"

#include <algorithm>

#include "solver/band_lu.hpp"
#include "solver/banded_crout.hpp"
#include "solver/bandwidth.hpp"
#include "solver/full_lu.hpp"
#include "solver/matrix_ops.hpp"

namespace korvant {
namespace {

using fmt::I;
using fmt::X;

// A reciprocal condition number that vanishes against 1.0 in double precision.
bool negligible(double rcond) {
  volatile double sum = rcond + 1.0;  // rounded to double, whatever the register width
  return sum == 1.0;
}

void writeStatistics(Writer& report, int NEQ, int BW) {
  report.blank();
  report.line(X(17), "@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@");
  report.line(X(17), "@@@                                    @@@");
  report.line(X(17), "@@@  S Y S T E M  S T A T I S T I C S  @@@");
  report.line(X(17), "@@@                                    @@@");
  report.line(X(17), "@@@     NUMBER OF EQUATIONS:", I(7, NEQ), "    @@@");
  report.line(X(17), "@@@     MATRIX BANDWIDTH   :", I(7, BW), "    @@@");
  report.line(X(17), "@@@                                    @@@");
  report.line(X(17), "@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@");
  report.blank(2);
}

void reportSingular(Writer& report, int& errorFlag) {
  report.blank();
  report.line(X(5), "* SINGULAR MATRIX ENCOUNTERED DURING MATRIX DECOMPOSITION IN ");
  report.line(X(7), "OBTAINING GLOBAL SOLUTION FOR DISPLACEMENTS");
  report.blank();
  errorFlag = 1;
}

void reportUnequalHalves(Writer& report, int BW, int& errorFlag) {
  report.blank();
  report.line(X(5), "* ERROR IN SUBROUTINE SOLVE: BANDWIDTH IS ", I(5, BW));
  report.line(X(5), "  INDICATING UNEQUAL LOWER AND UPPER HALF BANDWIDTH");
  report.blank();
  errorFlag = 1;
}

void reportBandTooWide(Writer& report, int BW, int& errorFlag) {
  report.blank();
  report.line(X(5), "* ERROR IN SUBROUTINE SOLVE: BANDWIDTH IS ", I(5, BW));
  report.line(X(5), "  EXCEEDING THE BAND STORAGE. INCREASE PARAMETER MXBD");
  report.blank();
  errorFlag = 1;
}

// Full storage without a band to exploit: LUDCMP over the whole N x N matrix. Returns
// whether the matrix is singular: a zero pivot or a negligible condition estimate.
bool factorAndSolveDense(EquationStore& store, Matrix<double>& solution, SolverWork& work, int NEQ,
                         double anorm) {
  double* k = store.K.data();
  const int MXD1 = store.MXD1();
  double d = 0.0;
  int ierr = 0;
  const int zeroPivots = LUDCMP(k, NEQ, MXD1, work.work.data(), work.index.data(), d, ierr);
  for (int j = 1; j <= NEQ; ++j) store.markWritten(1, NEQ, j);
  if (ierr != 0 || zeroPivots > 0 ||
      negligible(LUCOND(k, NEQ, MXD1, work.index.data(), anorm, work.work.data())))
    return true;
  LUBKSB(k, NEQ, MXD1, work.index.data(), solution.data());
  return false;
}

// Full storage with a band: the same decomposition restricted to the band, in place in K,
// recording the rows of each column that the factors occupy.
bool factorAndSolveBanded(EquationStore& store, Matrix<double>& solution, SolverWork& work, int NEQ,
                          const BandProfile& p) {
  double* k = store.K.data();
  const int MXD1 = store.MXD1();
  int* first = work.rowFirst.data();
  int* last = work.columnLast.data();
  double d = 0.0;
  const int zeroPivots =
      LUDCMPB(k, NEQ, MXD1, p.ML, p.MU, work.work.data(), work.index.data(), first, last, d);
  for (int j = 1; j <= NEQ; ++j)
    store.markWritten(factorTopRow(j, p.ML, p.MU), work.columnLast(j), j);
  if (zeroPivots > 0 || negligible(LUCONDB(k, NEQ, MXD1, p.ML, p.MU, work.index.data(), first, last,
                                           p.ANORM, work.work.data())))
    return true;
  LUBKSBB(k, NEQ, MXD1, p.ML, p.MU, work.index.data(), first, solution.data());
  return false;
}

// Full storage: Crout LU with scaled partial pivoting in place in K, then the substitution
// into the solution. A zero row, an exactly zero pivot or a negligible condition estimate
// counts as singular. When the upper factor cannot reach across the whole matrix (ML + MU
// diagonals above the diagonal, fewer than NEQ - 1), the decomposition skips the entries
// outside the band, with the same pivots and results.
void solveFull(EquationStore& store, Matrix<double>& solution, SolverWork& work, int NEQ,
               int& errorFlag, Writer& report) {
  const BandProfile p = LUPROF(store.K.data(), NEQ, store.MXD1(), work.rowFirst.data(),
                               work.work.data(), store.writtenRanges());
  if (p.zeroRow) {
    reportSingular(report, errorFlag);
    return;
  }
  const bool banded = p.ML + p.MU < NEQ - 1;
  const bool singular = banded ? factorAndSolveBanded(store, solution, work, NEQ, p)
                               : factorAndSolveDense(store, solution, work, NEQ, p.ANORM);
  if (singular) reportSingular(report, errorFlag);
}

// The band is used as ML = MU = (BW - 1) / 2 around the diagonal column; a present
// coefficient outside that window would be lost.
bool bandIsCentred(const EquationStore& store, int NEQ, int ML, int diagonalColumn) {
  const PresentColumns c = presentColumns(store, NEQ);
  return !c.found || (c.first >= diagonalColumn - ML && c.last <= diagonalColumn + ML);
}

// Writes the rows of the band factorization array to the scratch unit: ML rows of zeros for
// the fill-in, then the diagonals of offsets -ML..ML (unknown minus equation number, from the
// highest upper diagonal down), each placed in the columns of its unknowns.
void writeBandRecords(const CoefficientArray& K, int NEQ, int ML, int h, ScratchUnit& scratch) {
  const auto n = static_cast<std::size_t>(NEQ);
  for (int r = 1; r <= ML; ++r) scratch.nextRecord(n);
  for (int d = 1; d <= 2 * ML + 1; ++d) {
    const int s = d - ML - 1;
    const auto record = scratch.nextRecord(n);  // record[j - 1] is ABD(ML + d, j)
    if (s <= 0) {
      const int t = -s;
      for (int i = 1; i <= NEQ - t; ++i)
        record[static_cast<std::size_t>(t + i - 1)] = K(i, h + 1 + t);
    } else {
      for (int i = s + 1; i <= NEQ; ++i)
        record[static_cast<std::size_t>(i - s - 1)] = K(i, h + 1 - s);
    }
  }
}

void solveBand(EquationStore& store, Matrix<double>& solution, SolverWork& work, int NEQ, int BW,
               int& errorFlag, Writer& report) {
  MXINT(work.work.data(), store.MXD1(), 1, 0.0);
  work.scratch.rewind();
  if (BW % 2 == 0) {
    reportUnequalHalves(report, BW, errorFlag);
    return;
  }
  const int ML = (BW - 1) / 2;
  if (3 * ML + 1 > store.MXBD()) {
    reportBandTooWide(report, BW, errorFlag);
    return;
  }
  if (!bandIsCentred(store, NEQ, ML, store.diagonalColumn())) {
    reportUnequalHalves(report, BW, errorFlag);
    return;
  }
  writeBandRecords(store.K, NEQ, ML, store.MXBD() / 2, work.scratch);
  bool singular = false;
  INCORE(store.K, store.RHS, solution, work.work, work.index, NEQ, ML, work.scratch, singular);
  for (int j = 1; j <= std::min(NEQ + 1, store.MXD1()); ++j)
    store.markArrayWritten(store.MXBD(), 1, 3 * ML + 1, j);
  if (singular) reportSingular(report, errorFlag);
}

// Sparse store: the direct sparse factorization, singular on an exactly zero pivot or a
// negligible condition estimate, as in the other storage modes.
void solveSparse(EquationStore& store, Matrix<double>& solution, SolverWork& work, int NEQ,
                 int& errorFlag, Writer& report) {
  double rcond = 0.0;
  if (!work.sparse.factor(store.rows, NEQ, rcond) || negligible(rcond)) {
    reportSingular(report, errorFlag);
    return;
  }
  work.sparse.solve(store.RHS.data(), solution.data());
}

}  // namespace

void SOLVE(EquationStore& store, Matrix<double>& solution, SolverWork& work, int NEQ,
           EquationSolver solverOption, int BW, int& errorFlag, Writer& report) {
  if (!work.statisticsWritten) {
    writeStatistics(report, NEQ, BW);
    work.statisticsWritten = true;
  }
  MXCPY(store.RHS.data(), solution.data(), store.MXD1(), solution.rows(), NEQ, 1);
  if (NEQ < 1) return;  // nothing left to solve for
  if (BW < 1) {         // not one coefficient in the whole system
    reportSingular(report, errorFlag);
    return;
  }
  if (store.sparse()) {
    solveSparse(store, solution, work, NEQ, errorFlag, report);
  } else if (solverOption == EquationSolver::FULL) {
    solveFull(store, solution, work, NEQ, errorFlag, report);
  } else {
    solveBand(store, solution, work, NEQ, BW, errorFlag, report);
  }
}

void INCORE(CoefficientArray& K, Matrix<double>& RHS, Matrix<double>& solution,
            Matrix<double>& work, Matrix<int>& pivots, int NEQ, int ML, ScratchUnit& scratch,
            bool& singular) {
  const int MXBD = K.cols();  // leading dimension of the factorization array
  const int columns = std::min(NEQ + 1, K.rows());
  // The band routines use rows 1..3 ML + 1 of ABD only: the records below fill them in the
  // NEQ columns of the system; a column beyond them is cleared.
  for (int j = NEQ + 1; j <= columns; ++j) std::fill_n(K.data() + (j - 1) * MXBD, 3 * ML + 1, 0.0);

  scratch.rewind();
  scratch.readRecords(K.data(), static_cast<std::size_t>(NEQ), MXBD,
                      static_cast<std::size_t>(3 * ML + 1));

  double rcond = 0.0;
  DGBCO(K.data(), MXBD, NEQ, ML, ML, pivots.data(), rcond, work.data());
  singular = negligible(rcond);
  if (singular) return;
  DGBSL(K.data(), MXBD, NEQ, ML, ML, pivots.data(), RHS.data(), 0);
  MXCPY(RHS.data(), solution.data(), RHS.rows(), solution.rows(), NEQ, 1);
}

}  // namespace korvant
