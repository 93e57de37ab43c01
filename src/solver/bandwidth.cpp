#include "solver/bandwidth.hpp"

#include <algorithm>
#include <cmath>

#include "solver/equation_store.hpp"

namespace korvant {
namespace {

bool present(double coefficient) {
  return std::fabs(coefficient) > kPresence;
}

// The rows of each storage column that can hold a coefficient of the rows 1..NEQ: all of
// them for a bare array; for an equation store only those it records as written, since K is
// zero everywhere else. Reading no further than that keeps the measurement to the entries
// the system occupies and off the pages of K that no pass has touched.
class ColumnRows {
 public:
  ColumnRows(const CoefficientArray& K, int NEQ) : K_(K), NEQ_(NEQ) {}
  ColumnRows(const EquationStore& store, int NEQ) : K_(store.K), store_(&store), NEQ_(NEQ) {}

  const CoefficientArray& K() const { return K_; }
  RowRange operator()(int column) const {
    RowRange rows{1, NEQ_};
    if (store_) {
      const RowRange w = store_->written(column);
      rows = {std::max(w.first, 1), std::min(w.last, NEQ_)};
    }
    return rows;
  }

 private:
  const CoefficientArray& K_;
  const EquationStore* store_ = nullptr;
  int NEQ_;
};

// Largest offset j - i of a present coefficient with j >= i, or -1 when there is none.
// Column by column, each column read from its first row down only as far as it could still
// widen the band.
int largestUpperOffset(const ColumnRows& rows, int NEQ) {
  int widest = -1;
  for (int j = 1; j <= std::min(NEQ, rows.K().cols()); ++j) {
    const RowRange r = rows(j);
    for (int i = r.first; i <= r.last && j - i > widest; ++i)
      if (present(rows.K()(i, j))) {
        widest = j - i;
        break;
      }
  }
  return widest;
}

// Whether rows r of storage column j hold a present coefficient.
bool columnHasPresent(const CoefficientArray& K, int j, RowRange r) {
  for (int i = r.first; i <= r.last; ++i)
    if (present(K(i, j))) return true;
  return false;
}

PresentColumns presentColumns(const ColumnRows& rows) {
  PresentColumns c{false, 1000000, 0};
  for (int j = 1; j <= rows.K().cols(); ++j)
    if (columnHasPresent(rows.K(), j, rows(j))) {
      c.first = std::min(c.first, j);
      c.last = std::max(c.last, j);
      c.found = true;
    }
  return c;
}

void measure(const ColumnRows& rows, int& BW, EquationSolver solverOption, int NEQ) {
  if (solverOption == EquationSolver::FULL) {
    const int widest = largestUpperOffset(rows, NEQ);
    BW = widest < 0 ? 0 : 2 * widest + 1;
    return;
  }
  const PresentColumns c = presentColumns(rows);
  BW = c.found ? c.last - c.first + 1 : 0;
}

// A sparse store: the offsets q - r of its present coefficients give the band directly.
// Full storage takes the largest offset on or above the diagonal as the half bandwidth;
// band storage counts the offsets from the lowest to the highest, as it does its columns.
void measureSparse(const SparseRows& rows, int& BW, EquationSolver solverOption, int NEQ) {
  int lowest = 1000000, highest = -1000000;
  for (int r = 1; r <= std::min(NEQ, rows.rows()); ++r) {
    for (const SparseEntry& e : rows.entries(r)) {
      if (!present(e.value) || e.unknown < 1 || e.unknown > NEQ) continue;
      const int offset = e.unknown - r;
      lowest = std::min(lowest, offset);
      highest = std::max(highest, offset);
    }
  }
  if (solverOption == EquationSolver::FULL)
    BW = highest < 0 ? 0 : 2 * highest + 1;
  else
    BW = highest < lowest ? 0 : highest - lowest + 1;
}

}  // namespace

PresentColumns presentColumns(const CoefficientArray& K, int NEQ) {
  return presentColumns(ColumnRows(K, NEQ));
}

PresentColumns presentColumns(const EquationStore& store, int NEQ) {
  return presentColumns(ColumnRows(store, NEQ));
}

void BANDWD(const CoefficientArray& K, int& BW, EquationSolver solverOption, int NEQ) {
  measure(ColumnRows(K, NEQ), BW, solverOption, NEQ);
}

void BANDWD(const EquationStore& store, int& BW, EquationSolver solverOption, int NEQ) {
  if (store.sparse()) return measureSparse(store.rows, BW, solverOption, NEQ);
  measure(ColumnRows(store, NEQ), BW, solverOption, NEQ);
}

}  // namespace korvant
