#include "solver/equation_store.hpp"

namespace korvant {

void EquationStore::markArrayWritten(int ld, int firstRow, int lastRow, int column) {
  if (firstRow > lastRow) return;
  // Offsets from the start of K's memory, 0-based.
  const long long from = static_cast<long long>(column - 1) * ld + (firstRow - 1);
  const long long to = static_cast<long long>(column - 1) * ld + (lastRow - 1);
  const long long rows = MXD1();
  for (long long c = from / rows; c <= to / rows; ++c) {
    const long long lo = std::max(from, c * rows) - c * rows;
    const long long hi = std::min(to, c * rows + rows - 1) - c * rows;
    markWritten(static_cast<int>(lo) + 1, static_cast<int>(hi) + 1, static_cast<int>(c) + 1);
  }
}

void EquationStore::clear() {
  for (int j = 1; j <= MXBD(); ++j) {
    RowRange& r = written_[static_cast<std::size_t>(j)];
    if (!r.empty()) std::fill(K.at(r.first, j), K.at(r.last, j) + 1, 0.0);
    r = RowRange{};
  }
  RHS.fill(0.0);
}

}  // namespace korvant
