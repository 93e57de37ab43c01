#include "solver/sparse_rows.hpp"

#include <algorithm>

namespace korvant {
namespace {

bool byUnknown(const SparseEntry& a, const SparseEntry& b) {
  return a.unknown < b.unknown;
}

}  // namespace

void SparseRows::seal() {
  for (std::vector<SparseEntry>& r : rows_) {
    if (std::is_sorted(r.begin(), r.end(), byUnknown) &&
        std::adjacent_find(r.begin(), r.end(), [](const SparseEntry& a, const SparseEntry& b) {
          return a.unknown == b.unknown;
        }) == r.end())
      continue;
    std::stable_sort(r.begin(), r.end(), byUnknown);
    std::size_t kept = 0;
    for (std::size_t k = 0; k < r.size(); ++k) {
      if (kept > 0 && r[kept - 1].unknown == r[k].unknown)
        r[kept - 1].value += r[k].value;
      else
        r[kept++] = r[k];
    }
    r.resize(kept);
  }
}

const SparseEntry* SparseRows::find(int r, int q) const {
  const std::vector<SparseEntry>& entries = rows_[index(r)];
  const auto at = std::lower_bound(entries.begin(), entries.end(), SparseEntry{q, 0.0}, byUnknown);
  return at != entries.end() && at->unknown == q ? &*at : nullptr;
}

double SparseRows::value(int r, int q) const {
  const SparseEntry* e = find(r, q);
  return e ? e->value : 0.0;
}

void SparseRows::set(int r, int q, double value) {
  if (SparseEntry* e = find(r, q)) {
    e->value = value;
    return;
  }
  std::vector<SparseEntry>& entries = row(r);
  const auto at = std::lower_bound(entries.begin(), entries.end(), SparseEntry{q, 0.0}, byUnknown);
  entries.insert(at, {q, value});
}

void SparseRows::zero(int r, int q) {
  if (SparseEntry* e = find(r, q)) e->value = 0.0;
}

void SparseRows::take(int r, std::vector<SparseEntry>& into) {
  into.assign(row(r).begin(), row(r).end());
  row(r).clear();
}

void SparseRows::replace(int r, std::span<const SparseEntry> entries) {
  row(r).assign(entries.begin(), entries.end());
}

void SparseRows::clear() {
  for (std::vector<SparseEntry>& r : rows_) r.clear();
}

}  // namespace korvant
