// The incremental stage: the load steps of each pass, and the pass and increment loop driven
// through scripted passes that hand out chosen solutions and failure counts, so that its
// decisions (re-attempts, the last safe load factor, the failure of the combined procedure,
// a collapse, convergence) can be followed without a slab.
#include "nonlinear/yielding_stage.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/codes.hpp"
#include "support/stage_blocks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

// 1/10 rounded to single precision: 0x3DCCCCCD = 13421773 / 2^27 = 0.100000001490116119384765625.
constexpr double kTenth = 13421773.0 / 134217728.0;

TEST(YieldingSteps, BasicStepIsTheSinglePrecisionReciprocal) {
  const struct {
    int NINCY;
    double step;
  } cases[] = {
      {4, 0.25},  // 1/4 is exact in single precision
      {10, kTenth},
      {2, 0.5},
      // 1/3 in single precision: 0x3EAAAAAB = 11184811 / 2^25 = 0.3333333432674408.
      {3, 11184811.0 / 33554432.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.NINCY);
    EXPECT_EQ(basicStep(c.NINCY), c.step);
  }
}

struct PlanCase {
  const char* name;
  int P;
  int NINCY;
  double lastSafe;
  int n;
  double step;
  double LF0;
  std::vector<double> loadFactors;  // reached by increments 1..n
  std::vector<double> applied;      // applied by increments 1..n
};

std::vector<PlanCase> planCases() {
  const double third = 1.0 / 3.0;
  return {
      {"first pass of 4: steps of 0.25 to the full load",
       1,
       4,
       0.0,
       4,
       0.25,
       0.0,
       {0.25, 0.5, 0.75, 1.0},
       {0.25, 0.25, 0.25, 0.25}},
      {"first pass ignores the last safe load factor",
       1,
       4,
       0.5,
       4,
       0.25,
       0.0,
       {0.25, 0.5, 0.75, 1.0},
       {0.25, 0.25, 0.25, 0.25}},
      // i * 0.100000001490116: increment 10 reaches 1.00000001490116.
      {"first pass of 10: the single-precision step",
       1,
       10,
       0.0,
       10,
       kTenth,
       0.0,
       {kTenth, 2 * kTenth, 3 * kTenth, 4 * kTenth, 5 * kTenth, 6 * kTenth, 7 * kTenth, 8 * kTenth,
        9 * kTenth, 10 * kTenth},
       std::vector<double>(10, kTenth)},
      // (1 - 0) / 0.100000001490116 = 9.99999985 -> 9; step 1 / 8 = 0.125; the first
      // increment applies LF0 = 0.
      {"second pass from 0 with 10 increments",
       2,
       10,
       0.0,
       9,
       0.125,
       0.0,
       {0.0, 0.125, 0.25, 0.375, 0.5, 0.625, 0.75, 0.875, 1.0},
       {0.0, 0.125, 0.125, 0.125, 0.125, 0.125, 0.125, 0.125, 0.125}},
      // 0.5 / 0.25 = 2; step 0.5 / 1 = 0.5: 0.5 at once, then the full load.
      {"second pass from 0.5 with 4 increments", 2, 4, 0.5, 2, 0.5, 0.5, {0.5, 1.0}, {0.5, 0.5}},
      // (1 - 0.9) / 0.25 = 0.4 -> 0, raised to 2; step (1 - 0.9) / 1 = 0.1.
      {"second pass from 0.9: at least 2 increments",
       2,
       4,
       0.9,
       2,
       1.0 - 0.9,
       0.9,
       {0.9, 1.0},
       {0.9, 1.0 - 0.9}},
      // 0.75 / 0.25 = 3; step 0.75 / 2 = 0.375.
      {"third pass from 0.25 with 4 increments",
       3,
       4,
       0.25,
       3,
       0.375,
       0.25,
       {0.25, 0.625, 1.0},
       {0.25, 0.375, 0.375}},
      // 1 / 0.3333333432674408 = 2.99999991 -> 2; step 1 / 1 = 1.
      {"second pass from 0 with 3 increments truncates to 2",
       2,
       3,
       0.0,
       2,
       1.0,
       0.0,
       {0.0, 1.0},
       {0.0, 1.0}},
      // 0.5 / 0.100000001490116 = 4.99999993 -> 4; step 0.5 / 3.
      {"second pass from 0.5 with 10 increments",
       2,
       10,
       0.5,
       4,
       0.5 / 3.0,
       0.5,
       {0.5, 0.5 + third / 2.0, 0.5 + third, 1.0},
       {0.5, third / 2.0, third / 2.0, third / 2.0}},
  };
}

TEST(YieldingSteps, PlanAndLoadFactorsOfEachIncrement) {
  for (const PlanCase& c : planCases()) {
    SCOPED_TRACE(c.name);
    const PassPlan plan = stepPlan(c.P, c.NINCY, c.lastSafe);
    EXPECT_EQ(plan.n, c.n);
    EXPECT_DOUBLE_EQ(plan.step, c.step);
    EXPECT_EQ(plan.LF0, c.LF0);
    ASSERT_EQ(c.loadFactors.size(), static_cast<std::size_t>(c.n));
    for (int i = 1; i <= plan.n; ++i) {
      SCOPED_TRACE(i);
      const IncrementLoad load = incrementLoad(c.P, i, plan);
      EXPECT_NEAR(load.loadFactor, c.loadFactors[static_cast<std::size_t>(i - 1)], 1e-14);
      EXPECT_NEAR(load.applied, c.applied[static_cast<std::size_t>(i - 1)], 1e-14);
    }
  }
}

// ---------------------------------------------------------------------------------------
// The loop, through scripted passes.

// What one solution hands out: the w of the two points of a 1 x 2 grid, the layers that the
// degradation after it newly cracks and yields, and whether the solution fails.
struct Step {
  double w1 = 0.0, w2 = 0.0;
  int CINC = 0;
  int YINC = 0;
  bool fatal = false;
};

constexpr int kNEQ = 2;       // w only, two points
constexpr int kCapacity = 4;  // entries of the vectors, beyond the equations in use

// Plays the script, one step per solution (steps without failures once it runs out), and
// records every call in order.
class ScriptedPasses : public StagePasses {
 public:
  explicit ScriptedPasses(std::vector<Step> script) : script_(std::move(script)) {
    current_.resize(kCapacity, 1);
  }

  PassOutcome solve(double appliedLoadFactor) override {
    calls.push_back("solve");
    applied.push_back(appliedLoadFactor);
    step_ = applied.size() <= script_.size() ? script_[applied.size() - 1] : Step{};
    current_.fill(0.0);
    current_(1) = step_.w1;
    current_(2) = step_.w2;
    current_(3) = 99.0;  // beyond the equations: never to be copied
    return step_.fatal ? PassOutcome::Fatal : PassOutcome::Solved;
  }
  const Matrix<double>& current() const override { return current_; }
  void recover(const Matrix<double>& solution) override {
    calls.push_back("recover");
    std::vector<double> values;
    for (int k = 1; k <= solution.rows(); ++k) values.push_back(solution(k));
    recovered.push_back(values);
  }
  void degrade(SolutionStage STAGE, FailureCounts& counts) override {
    calls.push_back("degrade");
    stages.push_back(STAGE);
    counts.CINC += step_.CINC;
    counts.YINC += step_.YINC;
  }
  void reset() override { calls.push_back("reset"); }

  std::vector<std::string> calls;
  std::vector<double> applied;
  std::vector<std::vector<double>> recovered;  // every entry of the totals handed to recover
  std::vector<SolutionStage> stages;

 private:
  std::vector<Step> script_;
  Step step_;
  Matrix<double> current_;
};

// One incremental stage over the scripted passes.
struct StageRun {
  ModelDeck model;
  ConvergenceLimits limits;
  Matrix<double> increment{kCapacity, 1, 7.0};  // stale values from before the stage
  Matrix<double> total{kCapacity, 1, 7.0};
  double lastSafe = 0.0;
  int fatal = 0;
  int collapse = 0;
  std::string text;

  StageRun(int NINCY, int NPASSY, int CTOT, double CRKTOL) {
    model.NINCY = NINCY;
    model.NPASSY = NPASSY;
    model.NUMA = 1;
    model.NUMB = 2;
    model.COUPLING = Coupling::W_ONLY;
    model.WMAX = 10.0;
    limits.NITCRK = 5;
    limits.NPASSY = NPASSY;
    limits.CRKTOL = CRKTOL;
    limits.CTOT = CTOT;
  }

  YieldingOutcome run(ScriptedPasses& passes, SolutionStage STAGE) {
    std::ostringstream out;
    Writer writer(out);
    const YieldingOutcome outcome =
        yieldingIncrements(passes, model, limits, STAGE, YieldingVectors{increment, total, kNEQ},
                           lastSafe, RunFlags{fatal, collapse}, writer);
    text = out.str();
    return outcome;
  }
  Lines lines() const { return splitLines(text); }
};

// The calls of n increments that each ran to the convergence control.
std::vector<std::string> fullIncrements(int n) {
  std::vector<std::string> calls;
  for (int i = 0; i < n; ++i) {
    calls.push_back("solve");
    calls.push_back("recover");
    calls.push_back("degrade");
  }
  return calls;
}

void expectNear(const std::vector<double>& got, const std::vector<double>& expected) {
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t k = 0; k < got.size(); ++k) EXPECT_NEAR(got[k], expected[k], 1e-12) << k;
}

// Stage 3, four increments without failures: each increment's solution is added to the
// total that the recovery reads; the stage converges at load factor 1.0, and the last safe
// load factor follows every increment.
TEST(YieldingIncrements, IncrementsAddUpToTheTotalAndConvergeAtTheFullLoad) {
  StageRun run(4, 2, 10, 0.1);
  ScriptedPasses passes({{1.0, 2.0}, {0.5, -4.0}, {0.25, 8.0}, {0.125, -1.0}});
  EXPECT_EQ(run.run(passes, SolutionStage::YIELDING), YieldingOutcome::Converged);
  EXPECT_EQ(passes.calls, fullIncrements(4));
  EXPECT_EQ(passes.applied, (std::vector<double>{0.25, 0.25, 0.25, 0.25}));
  EXPECT_EQ(passes.stages, (std::vector<SolutionStage>(4, SolutionStage::YIELDING)));
  // Running totals: (1, 2), (1.5, -2), (1.75, 6), (1.875, 5); the stale 7s beyond the two
  // equations were cleared at the start of the pass.
  ASSERT_EQ(passes.recovered.size(), 4u);
  expectNear(passes.recovered[0], {1.0, 2.0, 0.0, 0.0});
  expectNear(passes.recovered[1], {1.5, -2.0, 0.0, 0.0});
  expectNear(passes.recovered[2], {1.75, 6.0, 0.0, 0.0});
  expectNear(passes.recovered[3], {1.875, 5.0, 0.0, 0.0});
  expectNear({run.total(1), run.total(2), run.total(3), run.total(4)}, {1.875, 5.0, 0.0, 0.0});
  expectNear({run.increment(1), run.increment(2), run.increment(3), run.increment(4)},
             {0.125, -1.0, 0.0, 0.0});
  EXPECT_EQ(run.lastSafe, 1.0);
  EXPECT_EQ(run.fatal, 0);
  EXPECT_EQ(run.collapse, 0);
  Lines expected;
  append(expected, yieldingIteration("    1", "   1", "0.250E+00", "     0"));
  append(expected, yieldingIteration("    1", "   2", "0.500E+00", "     0"));
  append(expected, yieldingIteration("    1", "   3", "0.750E+00", "     0"));
  append(expected, yieldingIteration("    1", "   4", "0.100E+01", "     0"));
  append(expected, convergenceBlock("     1"));
  EXPECT_EQ(run.lines(), expected);
}

// Stage 2, 4 increments, CTOT 10, tolerance 0.2. Pass 1: increments 1 and 2 are free of
// failures (last safe 0.5); increment 3 yields 1 layer and cracks 2: 2/10 = 0.2 equals the
// tolerance, so the pass is re-attempted. Pass 2 restores the moduli and starts from 0.5:
// n = 0.5/0.25 = 2, step 0.5; its counts start again from 0, so the one layer cracked at
// load factor 1.0 gives 1/10 = 0.1 < 0.2 and the stage converges in pass 2.
TEST(YieldingIncrements, ReattemptRestartsFromTheLastSafeLoadFactorWithCountsCleared) {
  StageRun run(4, 3, 10, 0.2);
  ScriptedPasses passes(
      {{1.0, 1.0}, {2.0, 2.0}, {4.0, 8.0, 2, 1}, {0.5, 0.25, 0, 0}, {0.125, 0.5, 1, 0}});
  EXPECT_EQ(run.run(passes, SolutionStage::COMBINED), YieldingOutcome::Converged);
  std::vector<std::string> calls = fullIncrements(3);
  calls.push_back("reset");
  for (const std::string& c : fullIncrements(2)) calls.push_back(c);
  EXPECT_EQ(passes.calls, calls);
  EXPECT_EQ(passes.applied, (std::vector<double>{0.25, 0.25, 0.25, 0.5, 0.5}));
  // Pass 2 starts its total from zero: (0.5, 0.25), then (0.625, 0.75).
  ASSERT_EQ(passes.recovered.size(), 5u);
  expectNear(passes.recovered[2], {7.0, 11.0, 0.0, 0.0});  // (1, 1) + (2, 2) + (4, 8)
  expectNear(passes.recovered[3], {0.5, 0.25, 0.0, 0.0});
  expectNear(passes.recovered[4], {0.625, 0.75, 0.0, 0.0});
  EXPECT_EQ(run.lastSafe, 0.5);  // pass 2 increment 1 was free again at 0.5
  EXPECT_EQ(run.fatal, 0);
  Lines expected;
  append(expected, combinedIteration("    1", "   1", "0.250E+00", "     0", "     0"));
  append(expected, combinedIteration("    1", "   2", "0.500E+00", "     0", "     0"));
  append(expected, combinedIteration("    1", "   3", "0.750E+00", "     1", "     2"));
  append(expected, reattemptBlock("    1", "0.750E+00", "0.20000", "0.20000"));
  append(expected, combinedIteration("    2", "   1", "0.500E+00", "     0", "     0"));
  append(expected, combinedIteration("    2", "   2", "0.100E+01", "     0", "     1"));
  append(expected, convergenceBlock("     2"));
  EXPECT_EQ(run.lines(), expected);
}

// Stage 2, 4 increments, 3 passes, CTOT 10, tolerance 0.15. Pass 1: increment 1 is free
// (last safe 0.25), increment 2 cracks 1 (0.1, undecided at 0.5), increment 3 one more
// (0.2: re-attempt). Pass 2 from 0.25 (n = 0.75/0.25 = 3, step 0.375) cracks 2 at once
// (0.2: re-attempt) and leaves the last safe factor at 0.25, so pass 3 starts from 0.25 too.
// Pass 3 yields a layer at once and cracks none: it converges at 0.25 + 2 * 0.375 = 1.0, but
// none of its increments is free of failures, so the last safe factor stays 0.25.
TEST(YieldingIncrements, LastSafeLoadFactorSurvivesAPassWithoutAFreeIncrement) {
  StageRun run(4, 3, 10, 0.15);
  ScriptedPasses passes(
      {{}, {0.0, 0.0, 1, 0}, {0.0, 0.0, 1, 0}, {0.0, 0.0, 2, 0}, {0.0, 0.0, 0, 1}});
  EXPECT_EQ(run.run(passes, SolutionStage::COMBINED), YieldingOutcome::Converged);
  EXPECT_EQ(passes.applied, (std::vector<double>{0.25, 0.25, 0.25, 0.25, 0.25, 0.375, 0.375}));
  std::vector<std::string> calls = fullIncrements(3);
  calls.push_back("reset");
  for (const std::string& c : fullIncrements(1)) calls.push_back(c);
  calls.push_back("reset");
  for (const std::string& c : fullIncrements(3)) calls.push_back(c);
  EXPECT_EQ(passes.calls, calls);
  EXPECT_EQ(run.lastSafe, 0.25);
  const Lines lines = run.lines();
  const Lines second = reattemptBlock("    2", "0.250E+00", "0.20000", "0.15000");
  EXPECT_NE(std::search(lines.begin(), lines.end(), second.begin(), second.end()), lines.end());
  const Lines third = combinedIteration("    3", "   2", "0.625E+00", "     1", "     0");
  EXPECT_NE(std::search(lines.begin(), lines.end(), third.begin(), third.end()), lines.end());
}

// Stage 2, 4 increments, 2 passes, CTOT 4, tolerance 0.25. Pass 1 cracks 1 at once: 1/4 =
// 0.25, re-attempt; no increment was free, so pass 2 starts from 0 (n = 1/0.25 = 4, step
// 1/3). It cracks 1 at once too, in the last pass: the procedure has failed. The
// non-convergence block and the failure block come once; the pass is completed without the
// tolerance (load factors 0, 1/3, 2/3, 1, still undecided at the full load) and ends at its
// last increment with the fatal flag cleared.
TEST(YieldingIncrements, FailureInTheLastPassCompletesThePassAndReportsOnce) {
  StageRun run(4, 2, 4, 0.25);
  ScriptedPasses passes(
      {{0.5, 0.5, 1, 0}, {1.0, 0.0, 1, 0}, {2.0, 0.0, 0, 1}, {4.0, 0.0, 0, 0}, {8.0, -1.0, 0, 0}});
  EXPECT_EQ(run.run(passes, SolutionStage::COMBINED), YieldingOutcome::FailedCombined);
  std::vector<std::string> calls = fullIncrements(1);
  calls.push_back("reset");
  for (const std::string& c : fullIncrements(4)) calls.push_back(c);
  EXPECT_EQ(passes.calls, calls);
  EXPECT_EQ(passes.applied.size(), 5u);
  EXPECT_EQ(passes.applied[1], 0.0);
  EXPECT_NEAR(passes.applied[2], 1.0 / 3.0, 1e-15);
  EXPECT_EQ(run.fatal, 0);
  EXPECT_EQ(run.lastSafe, 0.0);
  // The final total is the sum of pass 2's increments: (15, -1).
  EXPECT_EQ(run.total(1), 15.0);
  EXPECT_EQ(run.total(2), -1.0);
  Lines expected;
  append(expected, combinedIteration("    1", "   1", "0.250E+00", "     0", "     1"));
  append(expected, reattemptBlock("    1", "0.250E+00", "0.25000", "0.25000"));
  append(expected, combinedIteration("    2", "   1", "0.000E+00", "     0", "     1"));
  append(expected, nonConvergenceBlock("    2"));
  append(expected, failedIncrementationBlock());
  append(expected, combinedIteration("    2", "   2", "0.333E+00", "     1", "     1"));
  append(expected, combinedIteration("    2", "   3", "0.667E+00", "     1", "     1"));
  append(expected, combinedIteration("    2", "   4", "0.100E+01", "     1", "     1"));
  EXPECT_EQ(run.lines(), expected);
}

// WMAX 10: the first two increments lift the total to 12 in w1, yet each is only 6; the
// third increment's own -10 reaches the allowable and ends the stage before its recovery.
TEST(YieldingIncrements, CollapseIsJudgedOnTheIncrementNotTheTotal) {
  StageRun run(4, 2, 10, 0.5);
  ScriptedPasses passes({{6.0, 0.0}, {6.0, 0.0}, {0.0, -10.0}});
  EXPECT_EQ(run.run(passes, SolutionStage::COMBINED), YieldingOutcome::Collapsed);
  std::vector<std::string> calls = fullIncrements(2);
  calls.push_back("solve");
  EXPECT_EQ(passes.calls, calls);
  EXPECT_EQ(run.collapse, 1);
  const std::string row(51, '@');
  const std::string side = "@@@" + sp(45) + "@@@";
  const Lines collapse = {"",
                          "",
                          at(15, row),
                          at(15, side),
                          at(15, "@@@    S T R U C T U R A L  C O L L A P S E     @@@"),
                          at(15, "@@@            P R E D I C T E D !!             @@@"),
                          at(15, "@@@    ====================================     @@@"),
                          at(15, side),
                          at(15, "@@@  STEEL YIELDING SOLUTION HAS REACHED        @@@"),
                          at(15, "@@@  A MAXIMUM LATERAL DEFLECTION OF -.100E+02  @@@"),
                          at(15, "@@@  WHICH EXCEEDS MAXIMUM ALLOWABLE 0.100E+02  @@@"),
                          at(15, side),
                          at(15, "@@@       ACTION:  SOLUTION TERMINATING         @@@"),
                          at(15, side),
                          at(15, row),
                          "",
                          ""};
  Lines expected;
  append(expected, combinedIteration("    1", "   1", "0.250E+00", "     0", "     0"));
  append(expected, combinedIteration("    1", "   2", "0.500E+00", "     0", "     0"));
  append(expected, collapse);
  EXPECT_EQ(run.lines(), expected);
}

TEST(YieldingIncrements, FatalSolutionEndsTheStageAtOnce) {
  StageRun run(4, 2, 10, 0.5);
  ScriptedPasses passes({{1.0, 0.0}, {0.0, 0.0, 0, 0, true}});
  EXPECT_EQ(run.run(passes, SolutionStage::YIELDING), YieldingOutcome::Fatal);
  std::vector<std::string> calls = fullIncrements(1);
  calls.push_back("solve");
  EXPECT_EQ(passes.calls, calls);
  EXPECT_EQ(run.lines(), yieldingIteration("    1", "   1", "0.250E+00", "     0"));
}

// Stage 3, 4 increments: a first pass that cracks layers decides nothing, even at the full
// load, so it runs to its end. With one pass allowed the passes run out; with two, pass 2
// starts from 0 (n = 4, step 1/3) and converges at 1.0 although it cracks layers too.
TEST(YieldingIncrements, CrackingFirstPassOfYieldingStageRunsToItsEnd) {
  const struct {
    const char* name;
    int NPASSY;
    YieldingOutcome outcome;
    int solutions;
  } cases[] = {
      {"one pass: exhausted", 1, YieldingOutcome::PassesExhausted, 4},
      {"two passes: the second converges", 2, YieldingOutcome::Converged, 8},
      {"no pass at all", 0, YieldingOutcome::PassesExhausted, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StageRun run(4, c.NPASSY, 10, 0.1);
    ScriptedPasses passes({{0.0, 0.0, 1, 0}, {}, {}, {}, {0.0, 0.0, 3, 2}});
    EXPECT_EQ(run.run(passes, SolutionStage::YIELDING), c.outcome);
    EXPECT_EQ(static_cast<int>(passes.applied.size()), c.solutions);
    EXPECT_EQ(run.lastSafe, 0.0);
    const Lines lines = run.lines();
    const int converged = static_cast<int>(std::count(
        lines.begin(), lines.end(), at(14, "###  CONVERGENCE ACHIEVED AT ITERATION     2 ###")));
    EXPECT_EQ(converged, c.outcome == YieldingOutcome::Converged ? 1 : 0);
  }
}

// Where a pass free of failures is declared converged: within 0.01 of the full load in
// stage 2, within 0.001 in stage 3, with the single-precision step.
TEST(YieldingIncrements, ConvergenceWithinTheClosenessOfTheFullLoad) {
  const struct {
    const char* name;
    SolutionStage STAGE;
    int NINCY;
    int solutions;
  } cases[] = {
      // 10 * 0.100000001490116 = 1.0000000149.
      {"stage 2, 10 increments: at the last", SolutionStage::COMBINED, 10, 10},
      // step 0.0099999997764825821: 99 steps reach 0.98999997787, 0.0100000221 short.
      {"stage 2, 100 increments: 99 steps fall short", SolutionStage::COMBINED, 100, 100},
      // step 0.0066666668280959: 148 steps 0.98666669 (0.0133 short), 149 steps 0.99333336.
      {"stage 2, 150 increments: one before the last", SolutionStage::COMBINED, 150, 149},
      // 149 steps are 0.00667 short of the full load, beyond 0.001.
      {"stage 3, 150 increments: at the last", SolutionStage::YIELDING, 150, 150},
      // step 0.00066666665952652693: 1498 steps 0.99866665 (0.00133 short), 1499 steps
      // 0.99933332 (0.00066668 short).
      {"stage 3, 1500 increments: one before the last", SolutionStage::YIELDING, 1500, 1499},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StageRun run(c.NINCY, 2, 10, 0.1);
    ScriptedPasses passes({});
    EXPECT_EQ(run.run(passes, c.STAGE), YieldingOutcome::Converged);
    EXPECT_EQ(static_cast<int>(passes.applied.size()), c.solutions);
  }
}

}  // namespace
}  // namespace korvant::test
