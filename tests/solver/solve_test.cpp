#include "solver/solve.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "solver/bandwidth.hpp"
#include "solver/dense_reference.hpp"
#include "solver/sparse_factor.hpp"
#include "support/test_support.hpp"

namespace korvant {
namespace {

using test::Dense;
using test::rows;

// A small build: 40 equation rows and 40 storage columns, the band diagonal in column 21.
Capacities smallCapacities() {
  Capacities cap;
  cap.MXD1 = 40;
  cap.MXBD = 40;
  return cap;
}

// Full storage: K(row, unknown). Band storage: K(row, unknown - row + MXBD / 2 + 1). A
// sparse store: the non-zero coefficients by row and unknown, whatever the mode.
void store(EquationStore& s, const Dense& a, EquationSolver mode) {
  if (s.sparse()) {
    s.rows.clear();
    for (int i = 1; i <= a.rows(); ++i)
      for (int j = 1; j <= a.cols(); ++j)
        if (a(i, j) != 0.0) s.rows.add(i, j, a(i, j));
    s.rows.seal();
    return;
  }
  s.K.fill(0.0);
  const int h = s.MXBD() / 2;
  for (int i = 1; i <= a.rows(); ++i)
    for (int j = 1; j <= a.cols(); ++j)
      if (a(i, j) != 0.0) {
        const int c = mode == EquationSolver::FULL ? j : j - i + h + 1;
        s.K(i, c) = a(i, j);
        s.markWritten(i, i, c);
      }
}

void storeRhs(EquationStore& s, const std::vector<double>& b) {
  s.RHS.fill(0.0);
  for (std::size_t i = 0; i < b.size(); ++i) s.RHS(static_cast<int>(i) + 1) = b[i];
}

// One run of the driver: the store, the workspaces and the report of a job.
struct SolverRun {
  explicit SolverRun(StoreKind kind = StoreKind::Array) : equations(cap, kind) {}

  Capacities cap = smallCapacities();
  EquationStore equations;
  SolverWork work{cap};
  Matrix<double> solution{cap.MXD1, 1, -5.0};
  std::ostringstream text;
  Writer report{text};
  int errorFlag = 0;

  // BANDWD, then SOLVE, as the boundary step and the main program do.
  int solve(const Dense& a, const std::vector<double>& b, EquationSolver mode) {
    store(equations, a, mode);
    storeRhs(equations, b);
    int BW = -1;
    BANDWD(equations, BW, mode, a.rows());
    SOLVE(equations, solution, work, a.rows(), mode, BW, errorFlag, report);
    return BW;
  }
  std::vector<double> x(int n) const {
    std::vector<double> v;
    for (int i = 1; i <= n; ++i) v.push_back(solution(i));
    return v;
  }
  std::vector<std::string> lines() const { return test::splitLines(text.str()); }
};

const std::vector<std::string> kStatisticsFor3Equations1Band = {
    "",
    "                 @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@",
    "                 @@@                                    @@@",
    "                 @@@  S Y S T E M  S T A T I S T I C S  @@@",
    "                 @@@                                    @@@",
    "                 @@@     NUMBER OF EQUATIONS:      3    @@@",
    "                 @@@     MATRIX BANDWIDTH   :      1    @@@",
    "                 @@@                                    @@@",
    "                 @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@",
    "",
    "",
};

const std::vector<std::string> kSingular = {
    "",
    "     * SINGULAR MATRIX ENCOUNTERED DURING MATRIX DECOMPOSITION IN ",
    "       OBTAINING GLOBAL SOLUTION FOR DISPLACEMENTS",
    "",
};

std::vector<std::string> unequalHalves(const std::string& bw5) {
  return {"", "     * ERROR IN SUBROUTINE SOLVE: BANDWIDTH IS " + bw5,
          "       INDICATING UNEQUAL LOWER AND UPPER HALF BANDWIDTH", ""};
}

// The solver option names the storage; a sparse store measures the band as that storage would.
const std::vector<std::pair<EquationSolver, StoreKind>> kStores = {
    {EquationSolver::FULL, StoreKind::Array},
    {EquationSolver::BAND, StoreKind::Array},
    {EquationSolver::FULL, StoreKind::Sparse},
    {EquationSolver::BAND, StoreKind::Sparse}};

std::string nameOf(EquationSolver mode, StoreKind kind) {
  return std::string(mode == EquationSolver::FULL ? "full" : "band") +
         (kind == StoreKind::Sparse ? ", sparse store" : "");
}

TEST(Solve, StatisticsBlockOnTheFirstPassOnly) {
  for (const auto& [mode, kind] : kStores) {
    if (kind == StoreKind::Sparse && !SparseFactor::available()) continue;
    SCOPED_TRACE(nameOf(mode, kind));
    SolverRun run(kind);
    const Dense a = rows({{2, 0, 0}, {0, -4, 0}, {0, 0, 0.5}});
    EXPECT_EQ(run.solve(a, {6, -1, -4}, mode), 1);
    EXPECT_EQ(run.errorFlag, 0);
    EXPECT_EQ(run.lines(), kStatisticsFor3Equations1Band);
    EXPECT_EQ(run.x(3), std::vector<double>({3, 0.25, -8}));

    // A second pass of the run prints nothing and solves a different system.
    run.solve(rows({{4, 1, 0}, {1, 4, 1}, {0, 1, 4}}), {6, 12, 14}, mode);
    EXPECT_EQ(run.lines(), kStatisticsFor3Equations1Band);
    const std::vector<double> x = run.x(3);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(x[i], i + 1.0, 1e-14);
    EXPECT_EQ(run.solution(4), -5.0);  // nothing beyond NEQ is touched
  }
}

TEST(Bandwidth, MeasuresPresentCoefficientsInEitherStorage) {
  struct Case {
    std::string name;
    Dense a;
    int full, band;
  };
  Dense reach(5, 5, 0.0);  // diagonal and one coefficient three places right of it
  for (int i = 1; i <= 5; ++i) reach(i, i) = 1.0;
  reach(2, 5) = 0.5;
  Dense faint = reach;  // the far coefficient below the presence threshold
  faint(2, 5) = 1e-9;
  Dense lower = reach;  // mirrored below the diagonal
  lower(2, 5) = 0.0;
  lower(5, 2) = 0.5;
  const std::vector<Case> cases = {
      {"diagonal", rows({{2, 0, 0}, {0, -4, 0}, {0, 0, 0.5}}), 1, 1},
      {"tridiagonal", rows({{4, 1, 0}, {1, 4, 1}, {0, 1, 4}}), 3, 3},
      {"diagonal and first upper", rows({{4, 1, 0}, {0, 4, 1}, {0, 0, 4}}), 3, 2},
      {"reach of three", reach, 7, 4},
      {"below the threshold", faint, 1, 1},
      // Full storage examines the upper triangle only; band storage sees both sides.
      {"reach below the diagonal", lower, 1, 4},
      {"no coefficient", Dense(4, 4, 0.0), 0, 0},
  };
  // Measured over the whole array and over the entries the store records as written.
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& [mode, expected] :
         {std::pair{EquationSolver::FULL, c.full}, {EquationSolver::BAND, c.band}}) {
      EquationStore s(smallCapacities());
      store(s, c.a, mode);
      int BW = -1;
      BANDWD(s.K, BW, mode, c.a.rows());
      EXPECT_EQ(BW, expected) << "mode " << codeNumber(mode);
      BW = -1;
      BANDWD(s, BW, mode, c.a.rows());
      EXPECT_EQ(BW, expected) << "mode " << codeNumber(mode) << ", written entries";
      EquationStore sparse(smallCapacities(), StoreKind::Sparse);
      store(sparse, c.a, mode);
      BW = -1;
      BANDWD(sparse, BW, mode, c.a.rows());
      EXPECT_EQ(BW, expected) << "mode " << codeNumber(mode) << ", sparse store";
    }
  }
}

TEST(Bandwidth, LooksAtTheFirstNeqRowsOnly) {
  EquationStore s(smallCapacities());
  store(s, rows({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}), EquationSolver::BAND);
  s.K(4, 1) = 3.0;  // an equation beyond the reduced system
  s.markWritten(4, 4, 1);
  int BW = -1;
  BANDWD(s.K, BW, EquationSolver::BAND, 3);
  EXPECT_EQ(BW, 1);
  BW = -1;
  BANDWD(s, BW, EquationSolver::BAND, 3);
  EXPECT_EQ(BW, 1);
}

TEST(Solve, EvenBandwidthIsAnError) {
  SolverRun run;
  run.work.statisticsWritten = true;
  EXPECT_EQ(run.solve(rows({{4, 1, 0}, {0, 4, 1}, {0, 0, 4}}), {1, 1, 1}, EquationSolver::BAND), 2);
  EXPECT_EQ(run.errorFlag, 1);
  EXPECT_EQ(run.lines(), unequalHalves("    2"));
}

// An odd bandwidth whose band is not centred on the diagonal (nothing below it, two
// diagonals above) would lose its outer diagonal in the symmetric band layout.
TEST(Solve, OffCentreBandIsAnError) {
  SolverRun run;
  run.work.statisticsWritten = true;
  const Dense a = rows({{4, 1, 1, 0}, {0, 4, 1, 1}, {0, 0, 4, 1}, {0, 0, 0, 4}});
  EXPECT_EQ(run.solve(a, {1, 1, 1, 1}, EquationSolver::BAND), 3);
  EXPECT_EQ(run.errorFlag, 1);
  EXPECT_EQ(run.lines(), unequalHalves("    3"));
}

TEST(Solve, BandTooWideForTheFactorizationIsAnError) {
  SolverRun run;
  run.work.statisticsWritten = true;
  const Dense a = test::randomBand(30, 14, 14, true, 3u);  // 3 ML + 1 = 43 > MXBD = 40
  EXPECT_EQ(run.solve(a, std::vector<double>(30, 1.0), EquationSolver::BAND), 29);
  EXPECT_EQ(run.errorFlag, 1);
  EXPECT_EQ(run.lines(), std::vector<std::string>(
                             {"", "     * ERROR IN SUBROUTINE SOLVE: BANDWIDTH IS    29",
                              "       EXCEEDING THE BAND STORAGE. INCREASE PARAMETER MXBD", ""}));

  SolverRun widest;  // ML = 13 fills the 40 rows exactly
  widest.work.statisticsWritten = true;
  const Dense b = test::randomBand(30, 13, 13, true, 4u);
  std::vector<double> x(30);
  for (int i = 0; i < 30; ++i) x[i] = 0.1 * i - 1.0;
  EXPECT_EQ(widest.solve(b, test::times(b, x), EquationSolver::BAND), 27);
  EXPECT_EQ(widest.errorFlag, 0);
  EXPECT_LT(test::relativeDifference(widest.x(30), x), 1e-13);
}

// Every way a system can be singular ends in the same block and the error flag.
TEST(Solve, SingularMatricesAreReported) {
  struct Case {
    std::string name;
    Dense a;
    EquationSolver mode;
  };
  const std::vector<Case> cases = {
      {"full, zero row", rows({{4, 1, 0}, {0, 0, 0}, {0, 1, 4}}), EquationSolver::FULL},
      {"full, two equal rows", rows({{2, 1, 0}, {2, 1, 0}, {0, 1, 3}}), EquationSolver::FULL},
      {"full, zero column", rows({{4, 0, 0}, {1, 0, 1}, {0, 0, 4}}), EquationSolver::FULL},
      {"full, singular only to rounding", rows({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}),
       EquationSolver::FULL},
      {"full, no coefficient", Dense(3, 3, 0.0), EquationSolver::FULL},
      {"band, zero column", rows({{4, 0, 0}, {1, 0, 1}, {0, 0, 4}}), EquationSolver::BAND},
      {"band, two equal rows", rows({{2, 1, 0}, {2, 1, 0}, {0, 1, 3}}), EquationSolver::BAND},
      {"band, singular only to rounding", rows({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}),
       EquationSolver::BAND},
      {"band, no coefficient", Dense(3, 3, 0.0), EquationSolver::BAND},
  };
  for (const auto& c : cases) {
    for (StoreKind kind : {StoreKind::Array, StoreKind::Sparse}) {
      if (kind == StoreKind::Sparse && !SparseFactor::available()) continue;
      SCOPED_TRACE(c.name + nameOf(c.mode, kind).substr(4));
      SolverRun run(kind);
      run.work.statisticsWritten = true;
      run.solve(c.a, {1, 4, 9}, c.mode);
      EXPECT_EQ(run.errorFlag, 1);
      EXPECT_EQ(run.lines(), kSingular);
    }
  }
}

// The sparse factorization analyses the pattern once; a system with new values on the same
// pattern is only factored again, and a new pattern is analysed anew. Entries the assembly
// adds twice are summed, and an entry set to zero keeps its place in the pattern.
TEST(Solve, SparseStoreKeepsItsAnalysisWhileThePatternStays) {
  if (!SparseFactor::available()) GTEST_SKIP() << "built without the sparse solver";
  SolverRun run(StoreKind::Sparse);
  run.solve(rows({{4, 1, 0}, {1, 4, 1}, {0, 1, 4}}), {6, 12, 14}, EquationSolver::FULL);
  run.solve(rows({{2, 1, 0}, {1, 3, 1}, {0, 1, 2}}), {4, 10, 8}, EquationSolver::FULL);
  for (int i = 1; i <= 3; ++i) EXPECT_NEAR(run.solution(i), i, 1e-14);
  EXPECT_EQ(run.work.sparse.analyses(), 1);
  EXPECT_EQ(run.work.sparse.factorizations(), 2);

  SparseRows& r = run.equations.rows;
  r.clear();
  r.add(1, 2, 0.5);
  r.add(1, 1, 2.0);
  r.add(1, 2, 0.5);  // summed with the first: 1
  r.add(2, 2, 3.0);
  r.add(2, 1, 7.0);
  r.seal();
  r.zero(2, 1);
  EXPECT_TRUE(r.holds(2, 1));
  EXPECT_EQ(r.value(1, 2), 1.0);
  run.equations.RHS(1) = 4.0;
  run.equations.RHS(2) = 3.0;
  SOLVE(run.equations, run.solution, run.work, 2, EquationSolver::FULL, 3, run.errorFlag,
        run.report);
  EXPECT_EQ(run.errorFlag, 0);
  EXPECT_NEAR(run.solution(1), 1.5, 1e-14);
  EXPECT_NEAR(run.solution(2), 1.0, 1e-14);
  EXPECT_EQ(run.work.sparse.analyses(), 2);
}

// Band rows that are all zero reach the factorization when the caller's bandwidth says so:
// RCOND is 0 there.
TEST(Solve, ZeroBandRowsGiveAZeroConditionEstimate) {
  SolverRun run;
  run.work.statisticsWritten = true;
  store(run.equations, Dense(5, 5, 0.0), EquationSolver::BAND);
  storeRhs(run.equations, {1, 1, 1, 1, 1});
  SOLVE(run.equations, run.solution, run.work, 5, EquationSolver::BAND, 3, run.errorFlag,
        run.report);
  EXPECT_EQ(run.errorFlag, 1);
  EXPECT_EQ(run.lines(), kSingular);
}

TEST(Solve, BothStorageModesSolveTheSameBandSystem) {
  const int n = 36, ml = 5;
  const Dense a = test::randomBand(n, ml, ml, true, 17u);
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i) x[i] = std::cos(0.3 * i);
  const std::vector<double> b = test::times(a, x);

  SolverRun full, band;
  EXPECT_EQ(full.solve(a, b, EquationSolver::FULL), 2 * ml + 1);
  EXPECT_EQ(band.solve(a, b, EquationSolver::BAND), 2 * ml + 1);
  EXPECT_EQ(full.errorFlag, 0);
  EXPECT_EQ(band.errorFlag, 0);
  EXPECT_LT(test::relativeDifference(full.x(n), x), 1e-13);
  EXPECT_LT(test::relativeDifference(band.x(n), full.x(n)), 1e-13);

  // The band path rewrites its scratch records: a narrower second system comes out right.
  const Dense narrow = test::randomBand(n, 1, 1, true, 18u);
  const std::vector<double> b2 = test::times(narrow, x);
  EXPECT_EQ(band.solve(narrow, b2, EquationSolver::BAND), 3);
  EXPECT_EQ(band.errorFlag, 0);
  EXPECT_LT(test::relativeDifference(band.x(n), x), 1e-13);
}

TEST(Solve, NoEquationsIsNoError) {
  SolverRun run;
  run.work.statisticsWritten = true;
  SOLVE(run.equations, run.solution, run.work, 0, EquationSolver::BAND, 0, run.errorFlag,
        run.report);
  EXPECT_EQ(run.errorFlag, 0);
  EXPECT_TRUE(run.lines().empty());
}

TEST(EquationStore, IsSizedByTheCapacitiesOfTheBuild) {
  const Capacities cap;
  EXPECT_EQ(cap.MXD1, 4000);
  EXPECT_EQ(cap.MXBD, 4000);
  const EquationStore s(cap);
  EXPECT_EQ(s.MXD1(), 4000);
  EXPECT_EQ(s.MXBD(), 4000);
  EXPECT_EQ(s.RHS.rows(), 4000);
  EXPECT_EQ(s.diagonalColumn(), 2001);
}

}  // namespace
}  // namespace korvant
