#include "equations/boundary.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/grid.hpp"
#include "section/layer_table.hpp"
#include "support/test_support.hpp"

namespace korvant {
namespace {

struct Row {
  int first, second;
  double coefficient;
  bool operator==(const Row&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << "(" << r.first << ", " << r.second << ", " << r.coefficient << ")";
}

std::vector<Row> rowsOf(const ConstraintTable& t) {
  std::vector<Row> rows;
  for (int k = 1; k <= t.count(); ++k) rows.push_back({t.first(k), t.second(k), t.coefficient(k)});
  return rows;
}

struct ListRow {
  Condition cond;
  int I, J, loc;
};

// A 7 x 5 grid over a 12 x 4 slab: DX = 2, DY = 1. Extended unknowns (w only) are numbered
// (J' - 1) * 9 + I' with I' = I + 2, J' = J + 2; equations (J - 1) * 5 + I.
ModelDeck gridModel(Coupling couplingOption) {
  ModelDeck m;
  m.A = 12.0;
  m.B = 4.0;
  m.NUMA = 7;
  m.NUMB = 5;
  m.COUPLING = couplingOption;
  return m;
}

// The layer-table file with the mean Poisson ratio nu at point (I, J).
void putPoissonRatio(RecordStore& unit, int I, int J, int NUMB, double nu) {
  PointLayerTable t;
  t.MU = nu;
  writeLayerTable(unit, pointRecord(I, J, NUMB), t);
}

struct Written {
  std::vector<Row> rows;
  int errorFlag = 0;
  std::string report;
};

Written write(const ModelDeck& m, const std::vector<ListRow>& listRows, const RecordStore& layers,
              int capacity = 100) {
  BoundaryPointLists lists(20);
  for (const ListRow& r : listRows) lists.list(r.cond)->append(r.I, r.J, r.loc);
  ConstraintTable table(capacity);
  std::ostringstream out;
  Writer report(out);
  Written w;
  writeConstraintRows(lists, table, m, layers, w.errorFlag, report);
  w.rows = rowsOf(table);
  w.report = out.str();
  return w;
}

// Simple lower-edge point (1, 3): P(0) = (3, 5) is unknown 39, P(-1) = (2, 5) is 38, P(1) =
// (4, 5) is 40, its equation 11. w(P(-1)) = -w(P(1)), equation dropped, w(P(0)) = 0.
//
// Free left-edge point (3, 1), nu = 0.25: the normal runs along J with hn = DX = 2, the edge
// along I with ht = DY = 1, so (hn / ht)^2 = 4, b = nu * 4 = 1, d = (2 - nu) * 4 = 7.
// P(-2..2) = (5, 1..5): unknowns 5, 14, 23, 32, 41; the edge neighbours (4, .) and (6, .)
// are one less and one more. Zero moment, (w1 - 2 w0 + w-1) / hn^2 + nu (w0T+ - 2 w0 +
// w0T-) / ht^2 = 0, gives w-1 = 2 (1 + b) w0 - w1 - b w0T- - b w0T+ = 4 w0 - w1 - w0T- - w0T+.
// Zero Kirchhoff shear with w-1 substituted: w-2 = 4 (1 + b)(1 + d) w0 - 4 (1 + d) w1
// - 2 b (1 + d) (w0T- + w0T+) + w2 - d (w-1T- + w-1T+) + d (w1T- + w1T+)
// = 64 w0 - 32 w1 - 16 (w0T- + w0T+) + w2 - 7 (w-1T- + w-1T+) + 7 (w1T- + w1T+).
//
// Free-symmetric left-edge point (3, 1): w-1 = w1 and w-2 = w2.
TEST(Boundary, SimpleFreeAndFreeSymmetricRowsOfTheWOnlySolution) {
  const ModelDeck m = gridModel(Coupling::W_ONLY);
  RecordStore layers(800);
  putPoissonRatio(layers, 3, 1, 5, 0.25);
  const Written w = write(
      m, {{Condition::FREE_SYM, 3, 1, 2}, {Condition::FREE, 3, 1, 2}, {Condition::SIMPLE, 1, 3, 1}},
      layers);
  const std::vector<Row> expected = {
      {38, 40, -1.0}, {11, -1, 0.0},  {39, 0, 0.0},                                  // simple
      {14, 23, 4.0},  {14, 32, -1.0}, {14, 22, -1.0}, {14, 24, -1.0},                // moment
      {5, 23, 64.0},  {5, 32, -32.0}, {5, 22, -16.0}, {5, 24, -16.0}, {5, 41, 1.0},  // shear
      {5, 13, -7.0},  {5, 15, -7.0},  {5, 31, 7.0},   {5, 33, 7.0},   {14, 32, 1.0},
      {5, 41, 1.0}};  // free-symmetric
  EXPECT_EQ(w.rows, expected);
  EXPECT_EQ(w.errorFlag, 0);
}

// nu = 0 and DX = DY: b = 0, d = 2: w-1 = 2 w0 - w1, and the shear relation carries 12, -12,
// 0, 0, 1, -2, -2, 2, 2. Upper-edge point (5, 4) of a 7 x 5 grid over 6 x 4: P(k) = (7 - k,
// 6), unknowns 54, 53, 52, 51, 50 for k = -2..2; the edge neighbours are 9 less and 9 more.
TEST(Boundary, FreeRowsWithoutPoissonRatioOnASquareMesh) {
  ModelDeck m = gridModel(Coupling::W_ONLY);
  m.A = 6.0;
  RecordStore layers(800);  // never written: nu reads as 0
  const Written w = write(m, {{Condition::FREE, 5, 4, 3}}, layers);
  const std::vector<Row> expected = {
      {53, 52, 2.0},   {53, 51, -1.0}, {53, 43, -0.0}, {53, 61, -0.0}, {54, 52, 12.0},
      {54, 51, -12.0}, {54, 43, -0.0}, {54, 61, -0.0}, {54, 50, 1.0},  {54, 44, -2.0},
      {54, 62, -2.0},  {54, 42, 2.0},  {54, 60, 2.0}};
  EXPECT_EQ(w.rows, expected);
}

// The free-edge relations must make the difference forms of the moment and of the Kirchhoff
// shear vanish for any values of the other unknowns.
TEST(Boundary, FreeRelationsSatisfyZeroMomentAndShear) {
  const ModelDeck m = gridModel(Coupling::W_ONLY);
  const double nu = 0.3;
  RecordStore layers(800);
  putPoissonRatio(layers, 3, 1, 5, nu);
  const Written w = write(m, {{Condition::FREE, 3, 1, 2}}, layers);
  // Arbitrary values of every unknown the relations name, then w-1 and w-2 from the rows.
  std::vector<double> val(100, 0.0);
  for (int q = 1; q < 100; ++q) val[static_cast<std::size_t>(q)] = 0.37 * q - 0.011 * q * q;
  auto v = [&](int q) -> double& { return val[static_cast<std::size_t>(q)]; };
  v(14) = 0.0;
  v(5) = 0.0;
  for (const Row& r : w.rows)
    if (r.first == 14) v(14) += r.coefficient * v(r.second);
  for (const Row& r : w.rows)
    if (r.first == 5) v(5) += r.coefficient * v(r.second);
  const double hn = 2.0, ht = 1.0;
  const double moment =
      (v(32) - 2 * v(23) + v(14)) / (hn * hn) + nu * (v(24) - 2 * v(23) + v(22)) / (ht * ht);
  const double wnnn = (v(41) - 2 * v(32) + 2 * v(14) - v(5)) / (2 * hn * hn * hn);
  const double wntt =
      ((v(33) - 2 * v(32) + v(31)) - (v(15) - 2 * v(14) + v(13))) / (2 * hn * ht * ht);
  EXPECT_NEAR(moment, 0.0, 1e-12);
  EXPECT_NEAR(wnnn + (2 - nu) * wntt, 0.0, 1e-12);
}

// Coupled, clamped lower-edge point (1, 3): point numbers 38 (P(-1)), 39 (P(0)), 40 (P(1))
// give the unknowns 3n - 2, 3n - 1, 3n; equation point 11 gives 31, 32, 33. u and v are
// mirrored oddly, w evenly.
TEST(Boundary, ClampedRowsOfTheCoupledSolution) {
  const Written w =
      write(gridModel(Coupling::COUPLED), {{Condition::CLAMPED, 1, 3, 1}}, RecordStore(800));
  const std::vector<Row> expected = {{112, 118, -1.0}, {31, -1, 0.0}, {115, 0, 0.0},
                                     {113, 119, -1.0}, {32, -1, 0.0}, {116, 0, 0.0},
                                     {114, 120, 1.0},  {33, -1, 0.0}, {117, 0, 0.0}};
  EXPECT_EQ(w.rows, expected);
}

// Column regions: a point with no face is only fixed (its dropped-equation row carries 1);
// an inner corner (2, 2) with the rows 1 and -2 gets the relations of both faces but is
// fixed once. (2, 2) is unknown 31, equation 7; across the lower face P(-1) = 30, P(1) = 32;
// across the left face P(-1) = 22, P(1) = 40. A simple row at location 0 writes nothing.
TEST(Boundary, ColumnRegionPointsAndInnerCorners) {
  const Written w = write(gridModel(Coupling::W_ONLY),
                          {{Condition::CLAMPED, 1, 1, 0},
                           {Condition::CLAMPED, 2, 2, 1},
                           {Condition::CLAMPED, 2, 2, -2},
                           {Condition::SIMPLE, 1, 1, 0}},
                          RecordStore(800));
  const std::vector<Row> expected = {{1, -1, 1.0}, {21, 0, 0.0}, {30, 32, 1.0},
                                     {7, -1, 0.0}, {31, 0, 0.0}, {22, 40, 1.0}};
  EXPECT_EQ(w.rows, expected);
}

TEST(Boundary, TableReachingCapacityStopsAfterTheListRow) {
  struct Case {
    std::vector<ListRow> rows;
    int capacity;
    int count;
  };
  const std::vector<Case> cases = {
      {{{Condition::FREE, 3, 1, 2}}, 10, 10},  // 13 rows offered, 10 taken
      {{{Condition::SIMPLE, 1, 3, 1}, {Condition::SIMPLE, 1, 4, 1}, {Condition::SIMPLE, 1, 5, 1}},
       6,
       6}};  // full after the second point
  for (const Case& c : cases) {
    const Written w = write(gridModel(Coupling::W_ONLY), c.rows, RecordStore(800), c.capacity);
    EXPECT_EQ(w.errorFlag, 1);
    EXPECT_EQ(static_cast<int>(w.rows.size()), c.count);
    const std::string count =
        std::string(5 - std::to_string(c.count).size(), ' ') + std::to_string(c.count);
    EXPECT_EQ(
        test::splitLines(w.report),
        (std::vector<std::string>{"***ERROR: MEMORY PARAMETER MXD2 IS BEING EXCEEDED IN",
                                  "          ESTABLISHING BOUNDARY CONDITIONS. CURRENT ",
                                  "          BOUNDARY COUNT IS " + count + ". INCREASE MXD2"}));
  }
}

// A simply supported 5 x 5 plate, w only: the 16 perimeter equations go, nine remain.
TEST(Boundary, SimplySupportedPlateReducesToTheInteriorPoints) {
  ModelDeck m;
  m.A = m.B = 4.0;
  m.NUMA = m.NUMB = 5;
  m.COUPLING = Coupling::W_ONLY;
  m.SOLVER = EquationSolver::BAND;
  m.SLABMODEL = SlabLayout::SIMPLY_SUPPORTED;
  Capacities cap;
  cap.MXD1 = 40;
  cap.MXBD = 100;
  BoundaryPointLists lists(cap.MXD2);
  std::ostringstream out;
  Writer report(out);
  int NEQ = 0, errors = 0, BW = -1;
  SYSDEF(m, cap, lists, NEQ, report, errors);
  EquationStore store(cap);
  // Unit diagonal on the interior equations (extended unknown of point n = (J - 1) * 5 + I
  // is (J + 1) * 9 + I + 2).
  for (int J = 2; J <= 4; ++J)
    for (int I = 2; I <= 4; ++I) {
      const int n = (J - 1) * 5 + I, q = (J + 1) * 9 + I + 2;
      store.K(n, q - n + 51) = 1.0;
      store.markWritten(n, n, q - n + 51);
    }
  ConstraintTable table(cap.MXD2);
  RemovedList removed(cap.MXD2);
  BOUNDARY(store, lists, table, removed, m, RecordStore(800), NEQ, BW, errors, report);
  EXPECT_EQ(errors, 0);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(NEQ, 9);
  EXPECT_EQ(BW, 1);
  const std::vector<int> perimeter = {1, 2, 3, 4, 5, 6, 10, 11, 15, 16, 20, 21, 22, 23, 24, 25};
  ASSERT_EQ(removed.count, 16);
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(removed.numbers(k), perimeter[k - 1]);
  for (int n = 1; n <= 9; ++n) EXPECT_EQ(store.K(n, 51), 1.0) << n;
}

// Simply supported 7 x 5 plate: the perimeter points are supports, and so is every point
// off the grid.
TEST(Bcheck, EvaluationPointByBoundaryDifferenceOption) {
  constexpr auto CENTRAL = BoundaryDifferences::CENTRAL, MIXED = BoundaryDifferences::MIXED;
  struct Case {
    BoundaryDifferences BDIFF;
    int I, J;
    bool skip;
    int movedI, movedJ;
  };
  const Case cases[] = {
      {CENTRAL, 1, 3, true, 1, 3},   // central: an edge point is skipped
      {CENTRAL, 2, 3, false, 2, 3},  // central: an interior point stays
      {MIXED, 2, 3, false, 3, 3},    // below is a support: one step up
      {MIXED, 1, 3, false, 3, 3},    // on the lower edge: two steps up
      {MIXED, 4, 3, false, 3, 3},    // above is a support: one step down
      {MIXED, 5, 3, false, 3, 3},    // on the upper edge: two steps down
      {MIXED, 3, 2, false, 3, 3},    // left of it is a support: one step right
      {MIXED, 3, 1, true, 3, 1},     // on the left edge: the triple along I lies on it
      {MIXED, 2, 6, false, 3, 5},    // next to the lower and the right edge
      {MIXED, 3, 4, false, 3, 4},    // clear of the supports
      {MIXED, 1, 1, true, 1, 1},     // a corner: the triple along I lies on the left edge
  };
  for (const Case& c : cases) {
    ModelDeck m = gridModel(Coupling::W_ONLY);
    m.SLABMODEL = SlabLayout::SIMPLY_SUPPORTED;
    m.BDIFF = c.BDIFF;
    int I = c.I, J = c.J;
    bool skip = !c.skip;
    BCHECK(m, I, J, skip);
    EXPECT_EQ(skip, c.skip) << codeNumber(c.BDIFF) << " (" << c.I << ", " << c.J << ")";
    if (!c.skip) {
      EXPECT_EQ(I, c.movedI) << codeNumber(c.BDIFF) << " (" << c.I << ", " << c.J << ")";
      EXPECT_EQ(J, c.movedJ) << codeNumber(c.BDIFF) << " (" << c.I << ", " << c.J << ")";
    }
  }
}

}  // namespace
}  // namespace korvant
