#include "equations/constraint_table.hpp"

namespace korvant {

bool ConstraintTable::append(int first, int second, double coefficient) {
  if (count_ >= capacity()) return false;
  ++count_;
  rows_(count_, 1) = first;
  rows_(count_, 2) = second;
  coefficients_(count_) = coefficient;
  return true;
}

void ConstraintTable::clear() {
  rows_.fill(0);
  coefficients_.fill(0.0);
  count_ = 0;
}

void reportConstraintOverflow(Writer& report, const char* phase, int count) {
  report.line("***ERROR: MEMORY PARAMETER MXD2 IS BEING EXCEEDED IN");
  report.line("          ", phase);
  report.line("          BOUNDARY COUNT IS ", fmt::I(5, count), ". INCREASE MXD2");
}

}  // namespace korvant
