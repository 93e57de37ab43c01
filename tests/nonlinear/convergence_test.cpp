// The collapse check and the convergence control of the cracking stage: which solutions
// collapse, which iterations converge or fail, and their blocks written out line by line
// from their layout.
#include "nonlinear/convergence.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/codes.hpp"
#include "support/stage_blocks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

// A solution vector holding `values` from its first entry on, zeros after them.
Matrix<double> solutionOf(const std::vector<double>& values, int size) {
  Matrix<double> v(size, 1);
  for (std::size_t k = 0; k < values.size(); ++k) v(static_cast<int>(k) + 1) = values[k];
  return v;
}

struct MaxdefCase {
  const char* name;
  Coupling coupling;
  std::vector<double> solution;  // on a 2 x 2 grid: 4 entries w only, 12 coupled
  double WMAX;
  std::string largest;    // E9.3 in the block; empty when no collapse is predicted
  std::string allowable;  // WMAX as E9.3 in the block
};

// A 2 x 2 grid: the scan covers entries 1..4 with one unknown per point and entries 3, 6,
// 9, 12 with u, v, w per point; the entries after them must not count.
std::vector<MaxdefCase> maxdefCases() {
  return {
      {"w only: the largest of the four points",
       Coupling::W_ONLY,
       {0.1, -0.2, 0.75, 0.3, 9.0},
       0.5,
       "0.750E+00",
       "0.500E+00"},
      {"w only: entry 5 lies beyond the grid",
       Coupling::W_ONLY,
       {0.1, -0.2, 0.25, 0.3, 9.0},
       0.5,
       "",
       ""},
      {"coupled: the w of each triple, u and v ignored",
       Coupling::COUPLED,
       {9.0, 9.0, 0.1, -9.0, 9.0, 0.625, 9.0, 9.0, -0.2, 9.0, 9.0, 0.3},
       0.5,
       "0.625E+00",
       "0.500E+00"},
      {"coupled: large u and v alone predict nothing",
       Coupling::COUPLED,
       {9.0, 9.0, 0.1, -9.0, 9.0, 0.2, 9.0, 9.0, -0.2, 9.0, 9.0, 0.3},
       0.5,
       "",
       ""},
      {"a negative largest value keeps its sign",
       Coupling::W_ONLY,
       {0.1, -0.875, 0.5, 0.3},
       0.5,
       "-.875E+00",
       "0.500E+00"},
      {"a tie keeps the first value met",
       Coupling::W_ONLY,
       {0.25, -0.75, 0.75, 0.5},
       0.5,
       "-.750E+00",
       "0.500E+00"},
      {"magnitude equal to WMAX collapses",
       Coupling::W_ONLY,
       {0.1, 0.5, 0.2, -0.3},
       0.5,
       "0.500E+00",
       "0.500E+00"},
      {"magnitude equal to a negative WMAX collapses",
       Coupling::W_ONLY,
       {0.1, 0.5, 0.2, -0.3},
       -0.5,
       "0.500E+00",
       "-.500E+00"},
      {"WMAX 0 collapses on a zero solution",
       Coupling::W_ONLY,
       {0.0, 0.0, 0.0, 0.0},
       0.0,
       "0.000E+00",
       "0.000E+00"},
      {"just below WMAX predicts nothing",
       Coupling::W_ONLY,
       {0.1, 0.4375, 0.2, -0.3},
       0.4375 + 1.0 / 1024,
       "",
       ""},
  };
}

TEST(MAXDEF, CollapseOnlyAtOrAboveTheAllowableMagnitude) {
  for (const MaxdefCase& c : maxdefCases()) {
    SCOPED_TRACE(c.name);
    const Matrix<double> solution = solutionOf(c.solution, 20);
    std::ostringstream text;
    Writer out(text);
    int collapse = 0;
    const bool predicted =
        MAXDEF(solution, c.WMAX, 2, 2, c.coupling, collapse_wording::CRACKING, out, collapse);
    const bool expected = !c.largest.empty();
    EXPECT_EQ(predicted, expected);
    EXPECT_EQ(collapse, expected ? 1 : 0);
    const Lines block =
        expected ? collapseBlock(kCrackingReached, c.largest, c.allowable) : Lines{};
    EXPECT_EQ(splitLines(text.str()), block);
  }
}

TEST(MAXDEF, WordingNamesTheSolutionThatReachedTheDeflection) {
  const struct {
    int wording;
    std::string reachedLine;
  } cases[] = {
      {collapse_wording::CRACKING, kCrackingReached},
      {collapse_wording::YIELDING, kYieldingReached},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wording);
    const Matrix<double> solution = solutionOf({0.0, 0.0, -1.5, 0.0, 0.0, 0.0}, 6);
    std::ostringstream text;
    Writer out(text);
    int collapse = 2;  // raised by one, whatever it held
    EXPECT_TRUE(MAXDEF(solution, 1.25, 1, 2, Coupling::COUPLED, c.wording, out, collapse));
    EXPECT_EQ(collapse, 3);
    EXPECT_EQ(splitLines(text.str()), collapseBlock(c.reachedLine, "-.150E+01", "0.125E+01"));
  }
}

struct ConvCase {
  const char* name;
  int iteration;
  int CINC;
  int CTOT;
  double CRKTOL;
  int NITCRK;
  int converged;  // the flag after the call
  int fatal;      // the fatal flag after the call
  Lines block;
};

std::vector<ConvCase> crackingCases() {
  return {
      {"cracks at iteration 1: no decision, however small the ratio",
       1,
       1,
       100,
       0.25,
       10,
       0,
       0,
       {}},
      {"no cracks at iteration 1 converges", 1, 0, 40, 0.0, 10, 1, 0, convergenceBlock("     1")},
      {"ratio equal to the tolerance converges", 3, 1, 4, 0.25, 10, 1, 0,
       convergenceBlock("     3")},
      {"ratio below the tolerance converges", 12, 1, 8, 0.25, 20, 1, 0, convergenceBlock("    12")},
      {"ratio above the tolerance before the limit: no decision", 2, 3, 8, 0.25, 5, 0, 0, {}},
      {"ratio above the tolerance at limit 2 fails", 2, 3, 8, 0.25, 2, 0, 1,
       crackingFailureBlock("   2", "0.37500")},
      {"ratio above the tolerance at limit 2 fails whatever CTOT", 2, 5, 4, 0.5, 2, 0, 1,
       crackingFailureBlock("   2", "1.25000")},
      {"no layer can crack (CTOT 0): converges at once", 2, 0, 0, 0.0, 2, 1, 0,
       convergenceBlock("     2")},
  };
}

TEST(CONV, CrackingStageDecision) {
  for (const ConvCase& c : crackingCases()) {
    SCOPED_TRACE(c.name);
    ConvergenceLimits limits;
    limits.NITCRK = c.NITCRK;
    limits.NPASSY = 3;
    limits.CRKTOL = c.CRKTOL;
    limits.CTOT = c.CTOT;
    ConvergenceFlags flags;
    std::ostringstream text;
    Writer out(text);
    int fatal = 0;
    CONV(c.iteration, SolutionStage::CRACKING, c.CINC, 1.0, limits, flags, out, fatal);
    EXPECT_EQ(flags.converged, c.converged);
    EXPECT_EQ(fatal, c.fatal);
    EXPECT_EQ(splitLines(text.str()), c.block);
  }
}

// Limit 2, cracks above the tolerance in both iterations: the first is undecided, the
// second writes the failure block with the limit and its own ratio, raised once.
TEST(CONV, FailureAtTheLimitShowsTheLastRatio) {
  ConvergenceLimits limits;
  limits.NITCRK = 2;
  limits.CRKTOL = 0.25;
  limits.CTOT = 16;
  ConvergenceFlags flags;
  std::ostringstream text;
  Writer out(text);
  int fatal = 0;
  CONV(1, SolutionStage::CRACKING, 12, 1.0, limits, flags, out, fatal);
  EXPECT_EQ(text.str(), "");
  CONV(2, SolutionStage::CRACKING, 10, 1.0, limits, flags, out, fatal);
  EXPECT_EQ(fatal, 1);
  EXPECT_EQ(flags.converged, 0);
  EXPECT_EQ(splitLines(text.str()), crackingFailureBlock("   2", "0.62500"));
}

struct PassCase {
  const char* name;
  SolutionStage STAGE;
  int pass;
  int CINC;
  double loadFactor;
  double CRKTOL;
  int reattemptBefore;  // the flag as the previous call left it
  int converged;        // the flags after the call
  int reattempt;
  int fatal;
  Lines block;
};

// CTOT 8 and a pass limit of 3 throughout. Load factors are chosen so that their distance
// from 1 is exact or clearly on one side in binary: 1 - 2^-7 = 0.9921875 (0.0078125) and
// 1 + 2^-7 lie within 0.01, 0.989 (0.011) and 1 + 3 * 2^-8 = 1.01171875 do not; 1 - 2^-10 =
// 0.9990234375 and 1 + 2^-10 lie within 0.001, 0.998 and 1 + 2^-9 = 1.001953125 do not;
// 0.99001 and 0.98999 (0.999001 and 0.998999) lie 1e-5 (1e-6) either side of the limit, far
// beyond the rounding of their binary values. (0.99 itself lies 0.01000000000000000888 from 1
// in binary, so it is not used.)
std::vector<PassCase> passCases() {
  const SolutionStage C = SolutionStage::COMBINED, Y = SolutionStage::YIELDING;
  return {
      // 1/8 = 0.125 < 0.25
      {"2: below the tolerance at the full load converges", C, 2, 1, 1.0, 0.25, 1, 1, 0, 0,
       convergenceBlock("     2")},
      {"2: below the tolerance just within 0.01 under 1", C, 2, 1, 0.9921875, 0.25, 0, 1, 0, 0,
       convergenceBlock("     2")},
      {"2: below the tolerance just within 0.01 over 1", C, 2, 1, 1.0078125, 0.25, 0, 1, 0, 0,
       convergenceBlock("     2")},
      {"2: below the tolerance 0.011 short of 1: no decision",
       C,
       2,
       1,
       0.989,
       0.25,
       1,
       0,
       0,
       0,
       {}},
      {"2: below the tolerance 0.00999 short of 1 converges", C, 2, 1, 0.99001, 0.25, 0, 1, 0, 0,
       convergenceBlock("     2")},
      {"2: below the tolerance 0.01001 short of 1: no decision",
       C,
       2,
       1,
       0.98999,
       0.25,
       0,
       0,
       0,
       0,
       {}},
      {"2: below the tolerance 0.0117 over 1: no decision",
       C,
       2,
       1,
       1.01171875,
       0.25,
       0,
       0,
       0,
       0,
       {}},
      {"2: below the tolerance half way: no decision", C, 1, 1, 0.5, 0.25, 0, 0, 0, 0, {}},
      // The first pass with cracks decides in the combined procedure.
      {"2: first pass with cracks converges", C, 1, 1, 1.0, 0.25, 0, 1, 0, 0,
       convergenceBlock("     1")},
      // 2/8 = 0.25: equal asks for a re-attempt, even at the full load.
      {"2: ratio equal to the tolerance re-attempts", C, 1, 2, 1.0, 0.25, 0, 0, 1, 0,
       reattemptBlock("    1", "0.100E+01", "0.25000", "0.25000")},
      // 3/8 = 0.375
      {"2: ratio above the tolerance re-attempts", C, 2, 3, 0.625, 0.25, 0, 0, 1, 0,
       reattemptBlock("    2", "0.625E+00", "0.37500", "0.25000")},
      {"2: ratio equal to the tolerance in the last pass fails", C, 3, 2, 0.5, 0.25, 1, 0, 0, 1,
       nonConvergenceBlock("    3")},
      {"2: ratio above the tolerance in the last pass fails", C, 3, 8, 1.0, 0.25, 0, 0, 0, 1,
       nonConvergenceBlock("    3")},
      {"2: below the tolerance in the last pass converges at the full load", C, 3, 1, 1.0, 0.25, 0,
       1, 0, 0, convergenceBlock("     3")},
      // 1/8 >= 0
      {"2: tolerance 0 with cracks re-attempts", C, 1, 1, 0.25, 0.0, 0, 0, 1, 0,
       reattemptBlock("    1", "0.250E+00", "0.12500", "0.00000")},
      {"2: tolerance 0 without cracks converges at the full load", C, 1, 0, 1.0, 0.0, 1, 1, 0, 0,
       convergenceBlock("     1")},
      {"2: tolerance 0 without cracks half way: no decision", C, 2, 0, 0.5, 0.0, 1, 0, 0, 0, {}},
      {"2: tolerance 0 without cracks in the last pass: no failure",
       C,
       3,
       0,
       0.5,
       0.0,
       0,
       0,
       0,
       0,
       {}},

      {"3: first pass without cracks converges at the full load", Y, 1, 0, 1.0, 0.25, 1, 1, 0, 0,
       convergenceBlock("     1")},
      {"3: just within 0.001 under 1", Y, 2, 0, 0.9990234375, 0.25, 0, 1, 0, 0,
       convergenceBlock("     2")},
      {"3: just within 0.001 over 1", Y, 2, 0, 1.0009765625, 0.25, 0, 1, 0, 0,
       convergenceBlock("     2")},
      {"3: 0.002 short of 1: no decision", Y, 2, 0, 0.998, 0.25, 1, 0, 0, 0, {}},
      {"3: 0.000999 short of 1 converges", Y, 2, 0, 0.999001, 0.25, 0, 1, 0, 0,
       convergenceBlock("     2")},
      {"3: 0.001001 short of 1: no decision", Y, 2, 0, 0.998999, 0.25, 0, 0, 0, 0, {}},
      {"3: 0.00195 over 1: no decision", Y, 2, 0, 1.001953125, 0.25, 0, 0, 0, 0, {}},
      // Within 0.01 of 1 is not close enough for stage 3.
      {"3: 0.9921875 is not close enough", Y, 2, 0, 0.9921875, 0.25, 0, 0, 0, 0, {}},
      {"3: first pass with cracks decides nothing at the full load",
       Y,
       1,
       1,
       1.0,
       0.25,
       0,
       0,
       0,
       0,
       {}},
      // Cracking above the tolerance neither re-attempts nor fails in stage 3.
      {"3: later pass with cracks above the tolerance converges", Y, 2, 8, 1.0, 0.25, 0, 1, 0, 0,
       convergenceBlock("     2")},
      {"3: last pass with cracks above the tolerance half way", Y, 3, 8, 0.5, 0.25, 1, 0, 0, 0, {}},
  };
}

TEST(CONV, IncrementalStageDecision) {
  for (const PassCase& c : passCases()) {
    SCOPED_TRACE(c.name);
    ConvergenceLimits limits;
    limits.NITCRK = 10;
    limits.NPASSY = 3;
    limits.CRKTOL = c.CRKTOL;
    limits.CTOT = 8;
    ConvergenceFlags flags;
    flags.reattempt = c.reattemptBefore;
    std::ostringstream text;
    Writer out(text);
    int fatal = 0;
    CONV(c.pass, c.STAGE, c.CINC, c.loadFactor, limits, flags, out, fatal);
    EXPECT_EQ(flags.converged, c.converged);
    EXPECT_EQ(flags.reattempt, c.reattempt);
    EXPECT_EQ(fatal, c.fatal);
    EXPECT_EQ(splitLines(text.str()), c.block);
  }
}

// One run's flags over the calls of the combined procedure: every re-attempt writes its
// block, the failure in the last pass writes the non-convergence block only the first time
// but raises the fatal flag every time; a new run writes it again.
TEST(CONV, NonConvergenceBlockOncePerRunReattemptBlockEveryTime) {
  ConvergenceLimits limits;
  limits.NPASSY = 3;
  limits.CRKTOL = 0.1;
  limits.CTOT = 20;
  ConvergenceFlags flags;
  std::ostringstream text;
  Writer out(text);
  int fatal = 0;
  // 4/20 = 0.2 and 6/20 = 0.3, both at or above 0.1.
  CONV(1, SolutionStage::COMBINED, 4, 0.5, limits, flags, out, fatal);
  EXPECT_EQ(flags.reattempt, 1);
  CONV(2, SolutionStage::COMBINED, 6, 0.75, limits, flags, out, fatal);
  EXPECT_EQ(flags.reattempt, 1);
  CONV(3, SolutionStage::COMBINED, 4, 0.0, limits, flags, out, fatal);
  EXPECT_EQ(fatal, 1);
  CONV(3, SolutionStage::COMBINED, 6, 0.5, limits, flags, out, fatal);
  CONV(3, SolutionStage::COMBINED, 6, 1.0, limits, flags, out, fatal);
  EXPECT_EQ(fatal, 3);
  EXPECT_EQ(flags.reattempt, 0);
  EXPECT_EQ(flags.converged, 0);
  Lines expected = reattemptBlock("    1", "0.500E+00", "0.20000", "0.10000");
  const Lines second = reattemptBlock("    2", "0.750E+00", "0.30000", "0.10000");
  expected.insert(expected.end(), second.begin(), second.end());
  const Lines failed = nonConvergenceBlock("    3");
  expected.insert(expected.end(), failed.begin(), failed.end());
  EXPECT_EQ(splitLines(text.str()), expected);

  ConvergenceFlags nextRun;
  std::ostringstream nextText;
  Writer nextOut(nextText);
  int nextFatal = 0;
  CONV(3, SolutionStage::COMBINED, 2, 1.0, limits, nextRun, nextOut, nextFatal);
  EXPECT_EQ(nextFatal, 1);
  EXPECT_EQ(splitLines(nextText.str()), failed);
}

}  // namespace
}  // namespace korvant::test
