// The equation system of a solution pass and what the solver needs beside it, allocated once
// per run from the capacities of the build and reused by every pass.
#pragma once

#include <algorithm>
#include <climits>
#include <vector>

#include "core/capacities.hpp"
#include "core/codes.hpp"
#include "core/matrix.hpp"
#include "solver/coefficient_array.hpp"
#include "solver/scratch_unit.hpp"
#include "solver/sparse_factor.hpp"
#include "solver/sparse_rows.hpp"

namespace korvant {

// The rows first..last of one column; empty while first > last.
struct RowRange {
  int first = INT_MAX;
  int last = 0;

  bool empty() const { return first > last; }
  void include(int lo, int hi) {
    first = std::min(first, lo);
    last = std::max(last, hi);
  }
};

// How the coefficients are held: in the array K of the build's capacities (full or band
// storage, as the solver option says), or row by row in sparse form for grids beyond them.
enum class StoreKind { Array, Sparse };

// K has MXD1 rows (equations) and MXBD columns. Full storage: K(row, unknown). Band storage:
// K(row, c) holds the coefficient of unknown row + c - MXBD / 2 - 1, the diagonal lying in
// column MXBD / 2 + 1. RHS is the right-hand side, one entry per equation.
//
// Every routine that puts a non-zero value into K (the assembly, the reduction, the
// solvers, which reuse K's memory for their factors) records where it wrote, by column and
// row range. Outside the recorded ranges K is zero, so that clearing the store for the next
// pass only has to touch those ranges instead of all MXD1 x MXBD entries.
//
// A sparse store has no K: its coefficients are in `rows`, by equation and unknown, whatever
// the solver option; MXD1 still bounds the equations and MXBD the unknowns.
class EquationStore {
 public:
  // K is asked of the system in large pages where it offers them (see the .cpp).
  explicit EquationStore(const Capacities& cap, StoreKind kind = StoreKind::Array);

  CoefficientArray K;
  Matrix<double> RHS;
  SparseRows rows;

  bool sparse() const { return kind_ == StoreKind::Sparse; }
  int MXD1() const { return MXD1_; }
  int MXBD() const { return MXBD_; }
  // Storage column of the diagonal in band storage.
  int diagonalColumn() const { return MXBD() / 2 + 1; }

  // Records that K(firstRow..lastRow, column) may hold non-zero values.
  void markWritten(int firstRow, int lastRow, int column) {
    if (firstRow <= lastRow) written_[static_cast<std::size_t>(column)].include(firstRow, lastRow);
  }
  // The same for entries firstRow..lastRow of column `column` of an array with leading
  // dimension `ld` laid over K's memory (the band factorization array); the entries may
  // then cross from one column of K into the next.
  void markArrayWritten(int ld, int firstRow, int lastRow, int column);

  // The rows of K column `column` that may hold non-zero values.
  RowRange written(int column) const { return written_[static_cast<std::size_t>(column)]; }
  // The recorded ranges of all columns, indexed by column (entry 0 unused).
  const RowRange* writtenRanges() const { return written_.data(); }

  // Sets every recorded entry of K, and the whole right-hand side, to zero: afterwards all
  // of K is zero and nothing is recorded.
  void clear();

 private:
  StoreKind kind_;
  int MXD1_;
  int MXBD_;
  std::vector<RowRange> written_;  // by column of K, 1..MXBD
};

// The solver's workspaces for a run: a double and an integer vector of MXD1 entries (row
// scaling and permutation of the full solver; zero vector, condition work vector and pivot
// indices of the band solver), two more integer vectors for the band structure the full
// solver uses, the band solver's scratch unit, and whether the system statistics have been
// printed yet (once per run). A sparse store's solutions keep their factor's analysis of
// the pattern from one pass to the next.
struct SolverWork {
  explicit SolverWork(const Capacities& cap)
      : work(cap.MXD1, 1), index(cap.MXD1, 1), rowFirst(cap.MXD1, 1), columnLast(cap.MXD1, 1) {}

  Matrix<double> work;
  Matrix<int> index;
  Matrix<int> rowFirst;    // first column holding a non-zero of each row
  Matrix<int> columnLast;  // last row holding a non-zero multiplier of each column
  ScratchUnit scratch;
  SparseFactor sparse;
  bool statisticsWritten = false;
};

}  // namespace korvant
