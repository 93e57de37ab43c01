#include "solver/equation_store.hpp"

#include <cstddef>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace korvant {

namespace {

// Asks the system to back K with large (2 MB) pages where it offers them. K is a large array
// of which a pass writes scattered runs: one band of rows in each of thousands of columns,
// 32 KB apart. With ordinary 4 KB pages each run costs a page fault on first touch and a
// translation miss on every visit, which made up most of the assembly's time; a large page
// serves 64 such columns. Pages no pass touches still cost nothing. Only the whole large
// pages inside the array are advised; elsewhere, or without the facility, nothing changes.
void preferLargePages(CoefficientArray& K) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  const auto start = reinterpret_cast<std::uintptr_t>(K.data());
  const std::uintptr_t end = start + sizeof(double) * static_cast<std::size_t>(K.rows()) *
                                         static_cast<std::size_t>(K.cols());
  const std::uintptr_t first = (start + kLargePage - 1) / kLargePage * kLargePage;
  const std::uintptr_t last = end / kLargePage * kLargePage;
  // Advice only: a refusal leaves ordinary pages, which work the same.
  if (last > first) (void)madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)K;
#endif
}

}  // namespace

EquationStore::EquationStore(const Capacities& cap, StoreKind kind)
    : K(kind == StoreKind::Array ? cap.MXD1 : 0, kind == StoreKind::Array ? cap.MXBD : 0),
      RHS(cap.MXD1, 1),
      rows(kind == StoreKind::Sparse ? cap.MXD1 : 0),
      kind_(kind),
      MXD1_(cap.MXD1),
      MXBD_(cap.MXBD),
      written_(kind == StoreKind::Array ? static_cast<std::size_t>(cap.MXBD) + 1 : 1) {
  preferLargePages(K);
}

void EquationStore::markArrayWritten(int ld, int firstRow, int lastRow, int column) {
  if (firstRow > lastRow) return;
  // Offsets from the start of K's memory, 0-based.
  const long long from = static_cast<long long>(column - 1) * ld + (firstRow - 1);
  const long long to = static_cast<long long>(column - 1) * ld + (lastRow - 1);
  const long long height = MXD1();
  for (long long c = from / height; c <= to / height; ++c) {
    const long long lo = std::max(from, c * height) - c * height;
    const long long hi = std::min(to, c * height + height - 1) - c * height;
    markWritten(static_cast<int>(lo) + 1, static_cast<int>(hi) + 1, static_cast<int>(c) + 1);
  }
}

void EquationStore::clear() {
  RHS.fill(0.0);
  if (sparse()) {
    rows.clear();
    return;
  }
  for (int j = 1; j <= MXBD(); ++j) {
    RowRange& r = written_[static_cast<std::size_t>(j)];
    if (!r.empty()) std::fill(K.at(r.first, j), K.at(r.last, j) + 1, 0.0);
    r = RowRange{};
  }
}

}  // namespace korvant
