#include "equations/reduction.hpp"

#include <algorithm>
#include <climits>
#include <map>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "core/grid.hpp"

namespace korvant {

int realUnknowns(int NUMA, int NUMB, Coupling couplingOption) {
  return unknownsPerPoint(couplingOption) * NUMA * NUMB;
}

namespace {

// ---- The table as a working list ---------------------------------------------------------

struct Row {
  int first;
  int second;
  double coefficient;
};
using Rows = std::vector<Row>;

bool isDropped(const Row& r) {
  return r.second == constraint_kind::DROPPED_EQUATION;
}
bool isFixed(const Row& r) {
  return r.second == constraint_kind::FIXED_UNKNOWN;
}
bool isRelation(const Row& r) {
  return r.second > 0;
}

Rows loadRows(const ConstraintTable& table) {
  Rows rows;
  rows.reserve(static_cast<std::size_t>(table.capacity()));
  for (int k = 1; k <= table.count(); ++k)
    rows.push_back({table.first(k), table.second(k), table.coefficient(k)});
  return rows;
}

void storeRows(const Rows& rows, ConstraintTable& table) {
  table.clear();
  for (const Row& r : rows) table.append(r.first, r.second, r.coefficient);
}

// Dropped equations first, then fixed unknowns, then relations; the order within each kind
// is kept.
void orderRows(Rows& rows) {
  auto rank = [](const Row& r) { return isDropped(r) ? 0 : isFixed(r) ? 1 : 2; };
  std::stable_sort(rows.begin(), rows.end(),
                   [&](const Row& a, const Row& b) { return rank(a) < rank(b); });
}

// A dropped equation or fixed unknown named a second time is removed. So is a relation row
// that repeats an earlier one exactly (a point listed twice): applied twice, it would double
// the dependent unknown's share in its independent column.
void removeRepeatedRows(Rows& rows) {
  std::set<std::pair<int, int>> named;  // (kind, first)
  std::set<std::tuple<int, int, double>> relations;
  std::erase_if(rows, [&](const Row& r) {
    if (isRelation(r)) return !relations.insert({r.first, r.second, r.coefficient}).second;
    return !named.insert({r.second, r.first}).second;
  });
}

// For each relation row k, every later row m with m's first equal to k's second and m's
// second equal to k's first is reported and removed.
void removeMutualDependence(Rows& rows, Writer& report) {
  std::map<std::pair<int, int>, std::vector<std::size_t>> byPair;
  for (std::size_t m = 0; m < rows.size(); ++m) {
    if (isRelation(rows[m])) byPair[{rows[m].first, rows[m].second}].push_back(m);
  }
  std::vector<bool> removed(rows.size(), false);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (removed[k] || !isRelation(rows[k])) continue;
    const auto reverse = byPair.find({rows[k].second, rows[k].first});
    if (reverse == byPair.end()) continue;
    for (std::size_t m : reverse->second) {
      if (m <= k || removed[m]) continue;
      report.line("***ERROR: DOFS ", fmt::I(10, rows[k].first), fmt::I(10, rows[k].second),
                  " ARE DEFINED AS MUTUALLY DEPENDENT AND INDEPENDENT");
      removed[m] = true;
    }
  }
  std::size_t k = 0;
  std::erase_if(rows, [&](const Row&) { return removed[k++]; });
}

// Each relation row whose independent unknown is itself the dependent unknown of relation
// rows is replaced by one row per term of that relation, the coefficients multiplied; the
// scan goes on with the row after it, so the first of the new rows is not expanded again.
// Returns false, with `count` the rows the table would need, when the rows reach MXD2.
bool resolveChains(Rows& rows, int MXD2, int& count) {
  Rows terms;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (!isRelation(rows[k])) continue;
    terms.clear();
    for (const Row& r : rows) {
      if (isRelation(r) && r.first == rows[k].second) terms.push_back(r);
    }
    if (terms.empty()) continue;
    const std::size_t grown = rows.size() + terms.size() - 1;
    if (grown >= static_cast<std::size_t>(MXD2)) {
      count = static_cast<int>(grown);
      return false;
    }
    const Row base = rows[k];
    for (Row& t : terms) t = {base.first, t.second, base.coefficient * t.coefficient};
    rows[k] = terms.front();
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(k) + 1, terms.begin() + 1, terms.end());
  }
  count = static_cast<int>(rows.size());
  return count < MXD2;
}

// ---- The stored matrix -------------------------------------------------------------------
//
// The reduction is written once for both forms of the store, through a system that names
// each coefficient by its row r and storage column s: StoredSystem for the array K, where s
// depends on the storage mode, SparseSystem for the sparse rows, where s is the unknown.

// Where the entry of equation r and unknown q sits in K: column q in full storage, column
// q - r + MXBD / 2 + 1 of row r in band storage. Entries outside the storage columns have no
// place and are skipped.
class StoredSystem {
 public:
  StoredSystem(EquationStore& store, EquationSolver solverOption)
      : store_(store),
        K_(store.K),
        band_(solverOption == EquationSolver::BAND),
        h_(K_.cols() / 2) {}

  // Storage column of (r, q), or 0 when it falls outside the storage.
  int column(int r, int q) const {
    const int s = band_ ? q - r + h_ + 1 : q;
    return s >= 1 && s <= K_.cols() ? s : 0;
  }
  int unknown(int r, int s) const { return band_ ? r + s - h_ - 1 : s; }
  double value(int r, int s) const { return K_(r, s); }
  // Only non-zero values take part: K is zero wherever nothing was written.
  bool holds(int r, int s) const { return K_(r, s) != 0.0; }
  void zero(int r, int s) { K_(r, s) = 0.0; }
  // Puts a value that may be non-zero at (r, s), recording the write in the store.
  void set(int r, int s, double value) {
    K_(r, s) = value;
    store_.markWritten(r, r, s);
  }

  // visit(r, s) for every non-zero entry of the rows 1..NR, found by reading, in each storage
  // column, only the rows the store records as written: everywhere else K is zero. The scan
  // then costs what the assembly wrote, not NR rows of every one of the MXBD columns, and
  // never touches pages of K that no pass has used.
  template <class Visit>
  void forEachEntry(int NR, Visit visit) const {
    for (int s = 1; s <= K_.cols(); ++s) {
      const RowRange w = store_.written(s);
      const double* col = K_.at(1, s);
      for (int r = std::max(w.first, 1); r <= std::min(w.last, NR); ++r)
        if (col[r - 1] != 0.0) visit(r, s);
    }
  }

  // Moves the non-zero entries of row r, in storage columns `cols`, to row nr with their
  // unknowns renumbered, and clears the rest of row r. Row nr is never below row r and has
  // been emptied already unless it is row r itself.
  template <class Range>
  void moveRow(int r, int nr, const Range& cols, const std::vector<int>& unknownNumbers) {
    const int NEQ = static_cast<int>(unknownNumbers.size()) - 1;
    kept_.clear();
    for (int s = cols.lo; s <= cols.hi; ++s) {
      const double v = K_(r, s);
      if (v == 0.0) continue;
      K_(r, s) = 0.0;
      const int q = unknown(r, s);
      if (nr == 0 || q < 1 || q > NEQ) continue;
      const int nq = unknownNumbers[static_cast<std::size_t>(q)];
      if (nq == 0) continue;
      if (const int ns = column(nr, nq)) kept_.push_back({ns, v});
    }
    for (const auto& [ns, v] : kept_) set(nr, ns, v);
  }

 private:
  EquationStore& store_;
  CoefficientArray& K_;
  bool band_;
  int h_;
  std::vector<std::pair<int, double>> kept_;
};

// The sparse rows, their columns the unknowns themselves. Every entry of a row takes part,
// zero or not, so that the reduced pattern is that of the stencils and the supports and
// stays the same from pass to pass.
class SparseSystem {
 public:
  explicit SparseSystem(EquationStore& store) : rows_(store.rows), MXBD_(store.MXBD()) {
    rows_.seal();
  }

  int column(int, int q) const { return q >= 1 && q <= MXBD_ ? q : 0; }
  int unknown(int, int s) const { return s; }
  double value(int r, int s) const { return rows_.value(r, s); }
  bool holds(int r, int s) const { return rows_.holds(r, s); }
  void zero(int r, int s) { rows_.zero(r, s); }
  void set(int r, int s, double value) { rows_.set(r, s, value); }

  template <class Visit>
  void forEachEntry(int NR, Visit visit) const {
    for (int r = 1; r <= std::min(NR, rows_.rows()); ++r)
      for (const SparseEntry& e : rows_.entries(r)) visit(r, e.unknown);
  }

  template <class Range>
  void moveRow(int r, int nr, const Range&, const std::vector<int>& unknownNumbers) {
    const int NEQ = static_cast<int>(unknownNumbers.size()) - 1;
    rows_.take(r, taken_);
    if (nr == 0) return;
    kept_.clear();
    for (const SparseEntry& e : taken_) {
      if (e.unknown < 1 || e.unknown > NEQ) continue;
      const int nq = unknownNumbers[static_cast<std::size_t>(e.unknown)];
      if (nq != 0) kept_.push_back({nq, e.value});
    }
    std::stable_sort(kept_.begin(), kept_.end(), [](const SparseEntry& a, const SparseEntry& b) {
      return a.unknown < b.unknown;
    });
    rows_.replace(nr, kept_);
  }

 private:
  SparseRows& rows_;
  int MXBD_;
  std::vector<SparseEntry> taken_, kept_;
};

// An index range that grows to hold what is included; empty to begin with.
struct Range {
  int lo = INT_MAX;
  int hi = 0;
  void include(int k) {
    lo = std::min(lo, k);
    hi = std::max(hi, k);
  }
  void reset() { *this = Range{}; }
};

// Which entries of the first NR rows are taking part: for each unknown the rows holding it,
// for each row its storage columns. Kept up to date while the relations are substituted, so
// that a substitution visits only the rows where its column has entries.
struct Occupancy {
  std::vector<Range> rowsOfUnknown;  // 1..NEQ (extended numbering)
  std::vector<Range> columnsOfRow;   // 1..NR

  template <class System>
  Occupancy(const System& K, int NR, int NEQ)
      : rowsOfUnknown(static_cast<std::size_t>(NEQ) + 1),
        columnsOfRow(static_cast<std::size_t>(NR) + 1) {
    K.forEachEntry(NR, [&](int r, int s) {
      row(r).include(s);
      const int q = K.unknown(r, s);
      if (q >= 1 && q <= this->NEQ()) unknown(q).include(r);
    });
  }

  Range& unknown(int q) { return rowsOfUnknown[static_cast<std::size_t>(q)]; }
  Range& row(int r) { return columnsOfRow[static_cast<std::size_t>(r)]; }
  int NEQ() const { return static_cast<int>(rowsOfUnknown.size()) - 1; }
};

// Fixed unknown q: its column is set to zero.
template <class System>
void zeroColumn(System& K, Occupancy& occ, int q) {
  if (q < 1 || q > occ.NEQ()) return;
  const Range rows = occ.unknown(q);
  for (int r = rows.lo; r <= rows.hi; ++r) {
    if (const int s = K.column(r, q)) K.zero(r, s);
  }
  occ.unknown(q).reset();
}

// Relation row first = coefficient * second: coefficient times column `first` is added to
// column `second`.
template <class System>
void substitute(System& K, Occupancy& occ, const Row& rel) {
  if (rel.first > occ.NEQ() || rel.second > occ.NEQ() || rel.first < 1) return;
  const Range rows = occ.unknown(rel.first);
  for (int r = rows.lo; r <= rows.hi; ++r) {
    const int sa = K.column(r, rel.first);
    if (sa == 0 || !K.holds(r, sa)) continue;
    const int sb = K.column(r, rel.second);
    if (sb == 0) continue;
    K.set(r, sb, K.value(r, sb) + rel.coefficient * K.value(r, sa));
    occ.unknown(rel.second).include(r);
    occ.row(r).include(sb);
  }
}

// ---- Renumbering -------------------------------------------------------------------------

// New numbers of the real equations 1..NR once the removed ones are gone (0: removed).
std::vector<int> equationMap(int NR, const RemovedList& removed) {
  std::vector<int> map(static_cast<std::size_t>(NR) + 1, 0);
  for (int k = 1; k <= removed.count; ++k) map[static_cast<std::size_t>(removed.numbers(k))] = -1;
  int next = 0;
  for (int n = 1; n <= NR; ++n) {
    int& m = map[static_cast<std::size_t>(n)];
    m = m < 0 ? 0 : ++next;
  }
  return map;
}

// New numbers of the extended unknowns 1..NEQ: the unknowns of fictitious points are removed,
// the real ones take their real number and then the number of `equations` (0: removed).
std::vector<int> unknownMap(int NUMA, int NUMB, Coupling couplingOption,
                            const std::vector<int>& equations) {
  const int perPoint = unknownsPerPoint(couplingOption);
  const int NEQ = extendedUnknowns(NUMA, NUMB, couplingOption);
  std::vector<int> map(static_cast<std::size_t>(NEQ) + 1, 0);
  for (int Jx = 1 + kFictitiousRows; Jx <= NUMA + kFictitiousRows; ++Jx) {
    for (int Ix = 1 + kFictitiousRows; Ix <= NUMB + kFictitiousRows; ++Ix) {
      const int q = EQN(Ix, Jx, NUMA, NUMB, Numbering::EXTENDED, couplingOption);
      const int n = EQN(Ix - kFictitiousRows, Jx - kFictitiousRows, NUMA, NUMB, Numbering::REAL,
                        couplingOption);
      for (int c = 0; c < perPoint; ++c)
        map[static_cast<std::size_t>(q + c)] = equations[static_cast<std::size_t>(n + c)];
    }
  }
  return map;
}

// Moves every kept entry of rows 1..NR to its new row and unknown and clears all others, row
// by row: a row never moves down and is emptied before anything is written into it.
template <class System>
void compact(System& K, Occupancy& occ, const std::vector<int>& rowMap,
             const std::vector<int>& unknownNumbers) {
  const int NR = static_cast<int>(rowMap.size()) - 1;
  for (int r = 1; r <= NR; ++r)
    K.moveRow(r, rowMap[static_cast<std::size_t>(r)], occ.row(r), unknownNumbers);
}

void compactRightHandSide(Matrix<double>& RHS, const std::vector<int>& rowMap, int NEQ) {
  const int NR = static_cast<int>(rowMap.size()) - 1;
  for (int r = 1; r <= NR; ++r) {
    if (const int nr = rowMap[static_cast<std::size_t>(r)]) RHS(nr) = RHS(r);
  }
  for (int r = NEQ + 1; r <= NR; ++r) RHS(r) = 0.0;
}

void collectRemoved(const Rows& rows, int NR, RemovedList& removed) {
  removed.numbers.fill(0);
  removed.count = 0;
  for (const Row& r : rows) {
    if (isDropped(r) && r.first >= 1 && r.first <= NR && removed.count < removed.numbers.rows())
      removed.numbers(++removed.count) = r.first;
  }
  std::sort(removed.numbers.data(), removed.numbers.data() + removed.count);
}

// Steps 7 to 10 of the reduction on the stored system: the fixed unknowns and the relations
// applied to the columns of the real equation rows, then the fictitious unknowns, the dropped
// equations and their unknowns removed in one pass.
// `rowMap` holds the new numbers of the equations.
template <class System>
void applyRows(System& K, const Rows& rows, const std::vector<int>& rowMap, int NUMA, int NUMB,
               Coupling couplingOption) {
  const int NR = realUnknowns(NUMA, NUMB, couplingOption);
  Occupancy occ(K, NR, extendedUnknowns(NUMA, NUMB, couplingOption));
  for (const Row& r : rows) {
    if (isFixed(r)) zeroColumn(K, occ, r.first);
    if (isRelation(r)) substitute(K, occ, r);
  }
  compact(K, occ, rowMap, unknownMap(NUMA, NUMB, couplingOption, rowMap));
}

}  // namespace

void REDUCE(EquationStore& store, ConstraintTable& table, RemovedList& removed, int NUMA, int NUMB,
            int& NEQ, Coupling couplingOption, EquationSolver solverOption, int& errorFlag,
            Writer& report) {
  // 1. Real unknowns and equations.
  const int NR = realUnknowns(NUMA, NUMB, couplingOption);

  // 2-5. Order the table, remove repeated and mutually dependent rows, resolve chains.
  Rows rows = loadRows(table);
  orderRows(rows);
  removeRepeatedRows(rows);
  removeMutualDependence(rows, report);
  int count = 0;
  const bool fits = resolveChains(rows, table.capacity(), count);

  // 6. A table that has reached its capacity cannot be applied.
  if (!fits) {
    reportConstraintOverflow(report, "PROCESSING BOUNDARY CONDITIONS.  CURRENT ", count);
    ++errorFlag;
    return;
  }
  storeRows(rows, table);

  // 7. - 10.
  collectRemoved(rows, NR, removed);
  const std::vector<int> rowMap = equationMap(NR, removed);
  if (store.sparse()) {
    SparseSystem K(store);
    applyRows(K, rows, rowMap, NUMA, NUMB, couplingOption);
  } else {
    StoredSystem K(store, solverOption);
    applyRows(K, rows, rowMap, NUMA, NUMB, couplingOption);
  }

  // 11. Size of the reduced system.
  NEQ = NR - removed.count;
  compactRightHandSide(store.RHS, rowMap, NEQ);
}

void EXPAND(Matrix<double>& solution, Matrix<double>& RHS, const RemovedList& removed, int NUMA,
            int NUMB, int& NEQ, Coupling couplingOption) {
  RHS.fill(0.0);
  const int NR = realUnknowns(NUMA, NUMB, couplingOption);
  // Filled from the end, so each reduced value is read before its place is written.
  int from = NEQ;
  int k = removed.count;
  for (int n = NR; n >= 1; --n) {
    if (k >= 1 && removed.numbers(k) == n) {
      solution(n) = 0.0;
      --k;
    } else {
      solution(n) = from >= 1 ? solution(from--) : 0.0;
    }
  }
  NEQ = NR;
}

}  // namespace korvant
