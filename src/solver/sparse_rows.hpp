// The sparse form of the equation store, for grids beyond the build's capacities: each
// equation row keeps only the coefficients the stencils and the reduction write, as
// (unknown, value) entries. An entry once written stays in its row even when its value is
// zero, so that the pattern of the system depends on the grid and the supports alone and is
// the same in every pass of a run, whatever the moduli of the layers.
#pragma once

#include <span>
#include <vector>

namespace korvant {

struct SparseEntry {
  int unknown;
  double value;
};

class SparseRows {
 public:
  explicit SparseRows(int rows = 0) : rows_(static_cast<std::size_t>(rows) + 1) {}

  int rows() const { return static_cast<int>(rows_.size()) - 1; }

  // Assembly: value added to the coefficient of unknown q in row r. Rows are appended to
  // as the stencils come; `seal` puts them in order before anything reads them.
  void add(int r, int q, double value) { row(r).push_back({q, value}); }
  // Orders every row by unknown and sums the entries an unknown has more than once, in the
  // order they were added.
  void seal();

  // Sealed rows only. The coefficient of unknown q in row r, zero when the row has none.
  double value(int r, int q) const;
  // Whether row r has an entry for unknown q.
  bool holds(int r, int q) const { return find(r, q) != nullptr; }
  // Sets the coefficient of unknown q in row r, adding the entry when the row has none.
  void set(int r, int q, double value);
  // Sets the coefficient to zero where row r has an entry for q; the entry stays.
  void zero(int r, int q);

  std::span<const SparseEntry> entries(int r) const { return rows_[index(r)]; }
  // Row r copied into `into` and left empty (its memory is kept for the next pass).
  void take(int r, std::vector<SparseEntry>& into);
  // Entries of row r replaced; they must be in order of unknown.
  void replace(int r, std::span<const SparseEntry> entries);

  // Every row emptied; the memory stays for the next pass.
  void clear();

 private:
  static std::size_t index(int r) { return static_cast<std::size_t>(r); }
  std::vector<SparseEntry>& row(int r) { return rows_[index(r)]; }
  const SparseEntry* find(int r, int q) const;
  SparseEntry* find(int r, int q) {
    return const_cast<SparseEntry*>(static_cast<const SparseRows*>(this)->find(r, q));
  }

  std::vector<std::vector<SparseEntry>> rows_;  // 1..rows, entry 0 unused
};

}  // namespace korvant
