// The full-storage solution of real plate systems (assembled, bounded and reduced from decks
// by MODEL, SYSDEF, ASSEMBLE and BOUNDARY) against LUDCMP and LUBKSB applied to a copy of
// the same reduced matrix: the same pivot rows, the same solution, the same verdict on
// singular systems; and a store that held a large system first solves a small one exactly
// as a fresh store does.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "equations/assembly.hpp"
#include "equations/boundary.hpp"
#include "equations/boundary_lists.hpp"
#include "input/deck_reader.hpp"
#include "input/model.hpp"
#include "job/model_setup.hpp"
#include "job/run_context.hpp"
#include "solver/banded_crout.hpp"
#include "solver/dense_reference.hpp"
#include "solver/full_lu.hpp"
#include "solver/solve.hpp"

namespace korvant {
namespace {

using test::Dense;

// A square slab on the given supports, two concrete plies and a steel layer in between so
// that the coupled system has membrane-bending coupling, under a uniform pressure.
std::string deckText(int n, bool coupled, const std::string& layout, bool band = false) {
  std::ostringstream d;
  d << "*HEADING\nSOLVER CHECK\n*SOLUTION = LINEAR\n0.0\n";
  d << "*COUPLING = " << (coupled ? "YES" : "NO") << "\n";
  d << "*EQUATION SOLVER = " << (band ? "BAND" : "FULL") << "\n";
  d << "*BOUNDARY = LIBRARY\n" << layout << "\n";
  d << "*SLAB\n2000.0  1600.0\n*DISC\n" << n << "  " << n << "  1\n";
  d << "*MATERIAL TYPE=CONCRETE, MATID=1\n25000.0  0.2  2.5  30.0  3.0\n";
  d << "*MATERIAL TYPE=STEEL, MATID=1\n10.0  150.0  200000.0  0.3  400.0\n";
  d << "*DAMAGE LAW ID = 1\nCONCRETE\nCONSTANT MODULI\n2500.0  2500.0  2500.0\n"
       "1.0  0.0  0.0  0.0\n";
  d << "*DAMAGE LAW ID = 2\nSTEEL\nCONSTANT MODULI\n2000.0\n1.0  0.0  0.0  0.0\n";
  d << "*LAYER = 1\n0  1  1  40.0  0.0\n*LAYER = 2\n1  0  2  0.5236  30.0\n";
  d << "*LAYER = 3\n0  1  1  110.0  0.0\n";
  d << "*ZONE = 1\n2000.0  1600.0  1000.0  800.0\n1  2  3\n";
  d << "*NORMAL PRESSURE\n1  UNIFORM LOAD  0.01\n*END\n";
  return d.str();
}

// One job's model, read from its deck, and its reduced system built in `store`.
struct Job {
  std::istringstream keyboard;
  std::ostringstream console;
  RunContext run{keyboard, console};

  explicit Job(const std::string& text) {
    DeckReader deck = DeckReader::fromText(text);
    const int errors =
        readAndSetUp(deck, run.model, run.cap, run.report, run.zonePlot, run.files, run.CTOT);
    EXPECT_EQ(errors, 0);
    SYSDEF(run.model, run.cap, run.arrays.lists, run.arrays.NEQ, run.report, run.fatal);
  }
  // ASSEMBLE and BOUNDARY of this job into `store`; returns NEQ of the reduced system.
  int build(EquationStore& store) {
    AnalysisArrays& a = run.arrays;
    ASSEMBLE(store, run.model, run.files.currentLayers, 1, 1.0, a.assembly, run.report, run.fatal);
    BOUNDARY(store, a.lists, a.constraints, a.removed, run.model, run.files.currentLayers, a.NEQ,
             a.BW, run.fatal, run.report);
    EXPECT_EQ(run.fatal, 0);
    return a.NEQ;
  }
  // SOLVE with this job's workspaces; the solution, or nothing when it reported an error.
  std::vector<double> solve(EquationStore& store, int NEQ, int& errorFlag) {
    AnalysisArrays& a = run.arrays;
    std::ostringstream text;
    Writer report(text);
    a.solverWork.statisticsWritten = true;
    SOLVE(store, a.solutions.current, a.solverWork, NEQ, run.model.SOLVER, a.BW, errorFlag, report);
    if (errorFlag != 0) return {};
    return std::vector<double>(a.solutions.current.data(), a.solutions.current.data() + NEQ);
  }
};

// The reduced matrix and right-hand side copied out of the store, N x N.
struct Copy {
  Dense a;
  std::vector<double> b;
  Copy(const EquationStore& s, int N) : a(N, N), b(static_cast<std::size_t>(N)) {
    for (int j = 1; j <= N; ++j)
      for (int i = 1; i <= N; ++i) a(i, j) = s.K(i, j);
    for (int i = 1; i <= N; ++i) b[static_cast<std::size_t>(i - 1)] = s.RHS(i);
  }
};

// LUDCMP, LUCOND and LUBKSB on a copy, with the driver's verdict: singular when a row is
// zero, a pivot was zero or the condition estimate is negligible against 1.
struct Reference {
  bool singular = false;
  std::vector<int> indx;
  std::vector<double> x;

  explicit Reference(Copy c) {
    const int n = c.a.rows();
    const double anorm = NORM1(c.a.data(), n, n);
    std::vector<double> vv(static_cast<std::size_t>(n));
    indx.resize(static_cast<std::size_t>(n));
    double d = 0.0;
    int ierr = 0;
    const int zeros = LUDCMP(c.a.data(), n, n, vv.data(), indx.data(), d, ierr);
    if (ierr != 0 || zeros > 0) {
      singular = true;
      return;
    }
    const volatile double sum = LUCOND(c.a.data(), n, n, indx.data(), anorm, vv.data()) + 1.0;
    singular = sum == 1.0;
    x = c.b;
    LUBKSB(c.a.data(), n, n, indx.data(), x.data());
  }
};

bool usesTheBand(const Copy& c) {
  const int n = c.a.rows();
  std::vector<int> first(static_cast<std::size_t>(n));
  std::vector<double> vv(static_cast<std::size_t>(n));
  const BandProfile p = LUPROF(c.a.data(), n, n, first.data(), vv.data());
  return p.ML + p.MU < n - 1;
}

TEST(RealSystems, FullStorageSolutionsMatchTheDenseDecomposition) {
  for (bool coupled : {false, true}) {
    for (int n : {5, 9, 13, 17, 21}) {
      for (const char* layout : {n % 8 == 1 ? "SSCF" : "SIMPLY SUPPORTED"}) {
        SCOPED_TRACE(testing::Message()
                     << n << " x " << n << (coupled ? " coupled " : " ") << layout);
        Job job(deckText(n, coupled, layout));
        EquationStore& store = job.run.arrays.store;
        const int NEQ = job.build(store);
        const Copy copy(store, NEQ);
        const Reference ref(copy);
        ASSERT_FALSE(ref.singular);
        if (n >= 9) {
          EXPECT_TRUE(usesTheBand(copy));
        }

        int errorFlag = 0;
        const std::vector<double> x = job.solve(store, NEQ, errorFlag);
        ASSERT_EQ(errorFlag, 0);
        const Matrix<int>& pivots = job.run.arrays.solverWork.index;
        EXPECT_EQ(std::vector<int>(pivots.data(), pivots.data() + NEQ), ref.indx);
        EXPECT_LE(test::relativeDifference(x, ref.x), 1e-10);
      }
    }
  }
}

TEST(RealSystems, SingularSystemsGetTheVerdictOfTheDenseDecomposition) {
  struct Case {
    std::string what;
    bool coupled;
    int spoiled;  // the equation overwritten
    bool zero;    // with zeros, or else with a copy of the equation before it
  };
  for (const Case& c : {Case{"repeated equation", false, 20, false},
                        Case{"repeated equation, coupled", true, 40, false},
                        Case{"zero equation, coupled", true, 41, true}}) {
    SCOPED_TRACE(c.what);
    Job job(deckText(11, c.coupled, "SIMPLY SUPPORTED"));
    EquationStore& store = job.run.arrays.store;
    const int NEQ = job.build(store);
    for (int j = 1; j <= NEQ; ++j) {
      store.K(c.spoiled, j) = c.zero ? 0.0 : store.K(c.spoiled - 1, j);
      store.markWritten(c.spoiled, c.spoiled, j);
    }
    const Reference ref{Copy(store, NEQ)};
    EXPECT_TRUE(ref.singular);
    int errorFlag = 0;
    job.solve(store, NEQ, errorFlag);
    EXPECT_EQ(errorFlag, 1);
  }
}

TEST(RealSystems, AStoreThatHeldALargeSystemSolvesASmallOneExactly) {
  for (bool band : {false, true}) {
    SCOPED_TRACE(band ? "band storage" : "full storage");
    // Band storage takes the w equations alone, the coupled system being solved in full.
    Job large(deckText(21, !band, "SIMPLY SUPPORTED", band));
    EquationStore& store = large.run.arrays.store;
    int errorFlag = 0;
    large.solve(store, large.build(store), errorFlag);
    ASSERT_EQ(errorFlag, 0);

    // The small job once in its own fresh store, once in the large job's used store.
    Job small(deckText(7, !band, "SSCF", band));
    const std::vector<double> fresh =
        small.solve(small.run.arrays.store, small.build(small.run.arrays.store), errorFlag);
    const std::vector<double> reused = small.solve(store, small.build(store), errorFlag);
    ASSERT_EQ(errorFlag, 0);
    EXPECT_EQ(reused, fresh);

    // Clearing leaves nothing behind anywhere in the store.
    store.clear();
    long nonZero = 0;
    for (int k = 1; k <= store.MXD1() * store.MXBD(); ++k) nonZero += store.K(k) != 0.0;
    EXPECT_EQ(nonZero, 0);
  }
}

}  // namespace
}  // namespace korvant
