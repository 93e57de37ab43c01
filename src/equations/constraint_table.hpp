// The constraint table that the boundary-condition step writes and the reduction applies,
// and the list of the unknowns the reduced system lacks.
//
// A row is (first, second, coefficient), of one of three kinds:
//   relation          second > 0: unknown `first` equals the sum, over all rows with this
//                     first, of coefficient times unknown `second` (extended numbering);
//                     the rows of one relation stand together;
//   dropped equation  second = -1: equation `first` (real numbering) is taken out;
//   fixed unknown     second = 0: unknown `first` (extended numbering) is zero.
#pragma once

#include "core/matrix.hpp"
#include "core/writer.hpp"

namespace korvant {

// Values of `second` that mark the two kinds of row other than a relation.
namespace constraint_kind {
enum : int { DROPPED_EQUATION = -1, FIXED_UNKNOWN = 0 };
}

// MXD2 rows, written from row 1 upward and counted.
class ConstraintTable {
 public:
  explicit ConstraintTable(int MXD2) : rows_(MXD2, 2), coefficients_(MXD2, 1) {}

  int capacity() const { return rows_.rows(); }
  int count() const { return count_; }
  int first(int k) const { return rows_(k, 1); }
  int second(int k) const { return rows_(k, 2); }
  double coefficient(int k) const { return coefficients_(k); }

  // Appends a row; false, and nothing written, when all MXD2 rows are taken.
  bool append(int first, int second, double coefficient);
  void clear();

 private:
  Matrix<int> rows_;
  Matrix<double> coefficients_;
  int count_ = 0;
};

// The numbers of the dropped equations, ascending. An equation and the unknown of the same
// point and component carry the same number once the fictitious unknowns are gone, so the
// list also names the unknowns that the reduced system lacks.
struct RemovedList {
  explicit RemovedList(int MXD2) : numbers(MXD2, 1) {}

  Matrix<int> numbers;
  int count = 0;
};

// The message of a constraint table that has run out of rows; `phase` completes its second
// line ("ESTABLISHING BOUNDARY CONDITIONS. CURRENT ").
void reportConstraintOverflow(Writer& report, const char* phase, int count);

}  // namespace korvant
