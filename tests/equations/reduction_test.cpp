#include "equations/reduction.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/grid.hpp"
#include "solver/bandwidth.hpp"
#include "solver/solve.hpp"
#include "support/test_support.hpp"

namespace korvant {
namespace {

// A column of NUMB = 5 points and NUMA = 1, w only: real unknowns and equations 1..5, 45
// extended unknowns numbered (J' - 1) * 9 + I'. The real points are the unknowns 21..25.
constexpr int kNUMA = 1;
constexpr int kNUMB = 5;

Capacities smallCapacities() {
  Capacities cap;
  cap.MXD1 = 10;
  cap.MXBD = 100;  // band diagonal in storage column 51
  return cap;
}

struct Entry {
  int row;
  int unknown;
  double value;
};

// Full storage: K(row, unknown). Band storage: K(row, unknown - row + MXBD / 2 + 1).
int storageColumn(const EquationStore& s, EquationSolver mode, int row, int unknown) {
  return mode == EquationSolver::FULL ? unknown : unknown - row + s.MXBD() / 2 + 1;
}

void put(EquationStore& s, EquationSolver mode, const std::vector<Entry>& entries) {
  s.K.fill(0.0);
  for (const Entry& e : entries) {
    const int c = storageColumn(s, mode, e.row, e.unknown);
    s.K(e.row, c) = e.value;
    s.markWritten(e.row, e.row, c);
  }
}

double get(const EquationStore& s, EquationSolver mode, int row, int unknown) {
  const int c = storageColumn(s, mode, row, unknown);
  return c >= 1 && c <= s.MXBD() ? s.K(row, c) : 0.0;
}

int nonZeros(const EquationStore& s) {
  int n = 0;
  for (int j = 1; j <= s.MXBD(); ++j)
    for (int i = 1; i <= s.MXD1(); ++i) n += s.K(i, j) != 0.0;
  return n;
}

struct Row {
  int first, second;
  double coefficient;
  bool operator==(const Row&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << "(" << r.first << ", " << r.second << ", " << r.coefficient << ")";
}

void fill(ConstraintTable& t, const std::vector<Row>& rows) {
  t.clear();
  for (const Row& r : rows) ASSERT_TRUE(t.append(r.first, r.second, r.coefficient));
}

std::vector<Row> rowsOf(const ConstraintTable& t) {
  std::vector<Row> rows;
  for (int k = 1; k <= t.count(); ++k) rows.push_back({t.first(k), t.second(k), t.coefficient(k)});
  return rows;
}

// Unknowns of the hand-worked system: x1..x5 are the real points (21..25); f1 (20) and f2
// (19) lie below the first point, g (26) and the spare 27, 28 above the last, h (30) beside
// the first point.
enum : int { F2 = 19, F1 = 20, X1 = 21, X2, X3, X4, X5, G = 26, S27 = 27, S28 = 28, H = 30 };

// The constraints, out of order: x5 fixed and its equation dropped (each twice); f1 = 2 x1 -
// x2; f2 = 3 f1 (a chain through f1); g = -x4, written twice; h = 0.5 x3 + 0.5 g (a chain
// through g); 27 and 28 each defined through the other.
const std::vector<Row> kConstraints = {
    {G, X4, -1.0}, {F1, X1, 2.0},   {F1, X2, -1.0}, {X5, 0, 0.0},  {F2, F1, 3.0},
    {5, -1, 0.0},  {H, X3, 0.5},    {H, G, 0.5},    {G, X4, -1.0}, {X5, 0, 0.0},
    {5, -1, 0.0},  {S27, S28, 1.0}, {S28, S27, 1.0}};

// Equations 1..5 over the real and fictitious unknowns; the reduced band is symmetric, as
// the band solver needs.
const std::vector<Entry> kSystem = {{1, X1, 4.0},  {1, X2, -1.0}, {1, F1, 1.0},  {1, F2, 0.5},
                                    {2, X1, -1.0}, {2, X2, 5.0},  {2, X3, -1.0}, {2, G, 1.0},
                                    {2, S27, 2.0}, {3, X2, -1.0}, {3, X3, 6.0},  {3, X4, -1.0},
                                    {3, H, 2.0},   {4, X2, 0.5},  {4, X3, -1.0}, {4, X4, 4.0},
                                    {4, X5, -1.0}, {4, H, 1.0},   {5, X4, 1.0},  {5, X5, 7.0}};

// The solution chosen: x = (1, -1, 2, 3, 0); then f1 = 2 + 1 = 3, f2 = 9, g = -3,
// h = 1 - 1.5 = -0.5; 27 is tied to nothing and removed with the fictitious points (0).
double value(int q) {
  switch (q) {
    case X1:
      return 1.0;
    case X2:
      return -1.0;
    case X3:
      return 2.0;
    case X4:
      return 3.0;
    case F1:
      return 3.0;
    case F2:
      return 9.0;
    case G:
      return -3.0;
    case H:
      return -0.5;
    default:
      return 0.0;
  }
}

class ReduceModes : public ::testing::TestWithParam<EquationSolver> {};

TEST_P(ReduceModes, HandWorkedSystemReducesSolvesAndExpands) {
  const EquationSolver mode = GetParam();
  const Capacities cap = smallCapacities();
  EquationStore store(cap);
  put(store, mode, kSystem);
  store.RHS.fill(0.0);
  for (const Entry& e : kSystem) store.RHS(e.row) += e.value * value(e.unknown);
  store.RHS(5) = 99.0;  // the dropped equation's load goes with it

  ConstraintTable table(30);
  fill(table, kConstraints);
  RemovedList removed(30);
  std::ostringstream out;
  Writer report(out);
  int NEQ = 45, errorFlag = 0;
  REDUCE(store, table, removed, kNUMA, kNUMB, NEQ, Coupling::W_ONLY, mode, errorFlag, report);

  EXPECT_EQ(errorFlag, 0);
  EXPECT_EQ(test::splitLines(out.str()),
            std::vector<std::string>{"***ERROR: DOFS         27        28 ARE DEFINED AS "
                                     "MUTUALLY DEPENDENT AND INDEPENDENT"});
  const std::vector<Row> expectedTable = {
      {5, -1, 0.0},  {X5, 0, 0.0},   {G, X4, -1.0}, {F1, X1, 2.0}, {F1, X2, -1.0},
      {F2, X1, 6.0}, {F2, X2, -3.0}, {H, X3, 0.5},  {H, X4, -0.5}, {S27, S28, 1.0}};
  EXPECT_EQ(rowsOf(table), expectedTable);
  ASSERT_EQ(removed.count, 1);
  EXPECT_EQ(removed.numbers(1), 5);
  ASSERT_EQ(NEQ, 4);

  // The constrained system with f1, f2, g, h substituted and x5 = 0, worked by hand:
  //   eq1: 4 x1 - x2 + (2 x1 - x2) + 0.5 (6 x1 - 3 x2)      = 9 x1 - 3.5 x2
  //   eq2: -x1 + 5 x2 - x3 - x4
  //   eq3: -x2 + 6 x3 - x4 + 2 (0.5 x3 - 0.5 x4)            = -x2 + 7 x3 - 2 x4
  //   eq4: 0.5 x2 - x3 + 4 x4 + (0.5 x3 - 0.5 x4)           = 0.5 x2 - 0.5 x3 + 3.5 x4
  const double reduced[4][4] = {{9.0, -3.5, 0.0, 0.0},
                                {-1.0, 5.0, -1.0, -1.0},
                                {0.0, -1.0, 7.0, -2.0},
                                {0.0, 0.5, -0.5, 3.5}};
  int expectedNonZeros = 0;
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) {
      EXPECT_EQ(get(store, mode, i, j), reduced[i - 1][j - 1]) << "row " << i << " unknown " << j;
      expectedNonZeros += reduced[i - 1][j - 1] != 0.0;
    }
  }
  EXPECT_EQ(nonZeros(store), expectedNonZeros) << "entries left outside the reduced system";
  const double rhs[] = {12.5, -11.0, 9.0, 9.0, 0.0};
  for (int i = 1; i <= 5; ++i) EXPECT_DOUBLE_EQ(store.RHS(i), rhs[i - 1]) << "rhs " << i;

  int BW = 0;
  BANDWD(store, BW, mode, NEQ);
  SolverWork work(cap);
  Matrix<double> solution(cap.MXD1, 1);
  SOLVE(store, solution, work, NEQ, mode, BW, errorFlag, report);
  ASSERT_EQ(errorFlag, 0);
  EXPAND(solution, store.RHS, removed, kNUMA, kNUMB, NEQ, Coupling::W_ONLY);
  EXPECT_EQ(NEQ, 5);
  const double x[] = {1.0, -1.0, 2.0, 3.0, 0.0};
  for (int n = 1; n <= 5; ++n) EXPECT_NEAR(solution(n), x[n - 1], 1e-12) << "unknown " << n;
  for (int n = 1; n <= cap.MXD1; ++n) EXPECT_EQ(store.RHS(n), 0.0);
}

// Coupled numbering: point (1, 1) has the extended unknowns 43, 44, 45 (u, v, w), point
// (2, 1) 46, 47, 48, on a column of two points. Dropping the v equation of the first point
// moves the later rows and unknowns up by one.
TEST_P(ReduceModes, CoupledUnknownsKeepTheirComponentOrder) {
  const EquationSolver mode = GetParam();
  EquationStore store(smallCapacities());
  put(store, mode,
      {{1, 43, 1.0},
       {2, 44, 2.0},
       {3, 45, 3.0},
       {4, 46, 4.0},
       {5, 47, 5.0},
       {6, 48, 6.0},
       {3, 47, 10.0},
       {6, 44, 8.0}});
  ConstraintTable table(10);
  fill(table, {{44, 0, 0.0}, {2, -1, 0.0}});
  RemovedList removed(10);
  std::ostringstream out;
  Writer report(out);
  int NEQ = 90, errorFlag = 0;
  REDUCE(store, table, removed, 1, 2, NEQ, Coupling::COUPLED, mode, errorFlag, report);
  ASSERT_EQ(NEQ, 5);
  const double reduced[5][5] = {
      {1, 0, 0, 0, 0}, {0, 3, 0, 10, 0}, {0, 0, 4, 0, 0}, {0, 0, 0, 5, 0}, {0, 0, 0, 0, 6}};
  for (int i = 1; i <= 5; ++i)
    for (int j = 1; j <= 5; ++j)
      EXPECT_EQ(get(store, mode, i, j), reduced[i - 1][j - 1]) << "row " << i << " unknown " << j;
  EXPECT_EQ(nonZeros(store), 6);
}

INSTANTIATE_TEST_SUITE_P(StorageModes, ReduceModes,
                         ::testing::Values(EquationSolver::FULL, EquationSolver::BAND),
                         [](const auto& mode) {
                           return mode.param == EquationSolver::FULL ? "Full" : "Band";
                         });

// A chain that grows the table to its capacity stops the reduction: f2 = f1 expands into
// the three terms of f1, seven rows in all.
TEST(Reduce, TableReachingCapacityIsReportedAndLeavesTheSystemAlone) {
  struct Case {
    int capacity;
    bool fails;
  };
  for (const Case c : {Case{6, true}, Case{7, true}, Case{8, false}}) {
    EquationStore store(smallCapacities());
    put(store, EquationSolver::FULL, kSystem);
    ConstraintTable table(c.capacity);
    fill(table, {{F1, X1, 1.0}, {F1, X2, 1.0}, {F1, X3, 1.0}, {F2, F1, 1.0}, {5, -1, 0.0}});
    RemovedList removed(c.capacity);
    std::ostringstream out;
    Writer report(out);
    int NEQ = 45, errorFlag = 0;
    REDUCE(store, table, removed, kNUMA, kNUMB, NEQ, Coupling::W_ONLY, EquationSolver::FULL,
           errorFlag, report);
    if (!c.fails) {
      EXPECT_EQ(errorFlag, 0);
      EXPECT_EQ(NEQ, 4);
      continue;
    }
    EXPECT_EQ(errorFlag, 1) << c.capacity;
    EXPECT_EQ(NEQ, 45);
    EXPECT_EQ(test::splitLines(out.str()),
              (std::vector<std::string>{"***ERROR: MEMORY PARAMETER MXD2 IS BEING EXCEEDED IN",
                                        "          PROCESSING BOUNDARY CONDITIONS.  CURRENT ",
                                        "          BOUNDARY COUNT IS     7. INCREASE MXD2"}));
    EXPECT_EQ(store.K(1, X1), 4.0);
    EXPECT_EQ(store.K(1, F1), 1.0);
  }
}

// A simply supported 5 x 5 grid, w only: the 16 perimeter unknowns are removed, and the nine
// interior values come back at the points (2..4, 2..4), numbered (J - 1) * 5 + I.
TEST(Expand, PutsZerosAtTheRemovedUnknowns) {
  RemovedList removed(40);
  for (int n : {1, 2, 3, 4, 5, 6, 10, 11, 15, 16, 20, 21, 22, 23, 24, 25})
    removed.numbers(++removed.count) = n;
  Matrix<double> solution(30, 1), rhs(30, 1, 7.0);
  for (int n = 1; n <= 9; ++n) solution(n) = n;
  int NEQ = 9;
  EXPAND(solution, rhs, removed, 5, 5, NEQ, Coupling::W_ONLY);
  EXPECT_EQ(NEQ, 25);
  std::vector<double> expected(25, 0.0);
  const int interior[] = {7, 8, 9, 12, 13, 14, 17, 18, 19};
  for (int k = 0; k < 9; ++k) expected[static_cast<std::size_t>(interior[k] - 1)] = k + 1;
  for (int n = 1; n <= 25; ++n)
    EXPECT_EQ(solution(n), expected[static_cast<std::size_t>(n - 1)]) << n;
  for (int n = 1; n <= 30; ++n) EXPECT_EQ(rhs(n), 0.0);
}

}  // namespace
}  // namespace korvant
