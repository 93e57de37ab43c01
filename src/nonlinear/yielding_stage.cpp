#include "nonlinear/yielding_stage.hpp"

#include <optional>
#include <string>

#include "core/codes.hpp"
#include "core/frame.hpp"
#include "nonlinear/stage_reports.hpp"
#include "solver/matrix_ops.hpp"

namespace korvant {
namespace {

using fmt::X;

void writeFailedIncrementationBlock(Writer& out) {
  const std::string row(49, '#');
  out.blank();
  out.line(X(14), row);
  frameSide(out, 14, 49, "###");
  out.line(X(14), "### INCREMENTATION FOR THE YIELDING  SOLUTION ###");
  out.line(X(14), "### HAS FAILED. THE FINAL  INCREMENTS WILL BE ###");
  out.line(X(14), "### COMPLETED WITHOUT  ENFORCING  CONVERGENCE ###");
  out.line(X(14), "### TOLERANCES.                               ###");
  frameSide(out, 14, 49, "###");
  out.line(X(14), row);
  out.blank(2);
}

}  // namespace

double basicStep(int NINCY) {
  return static_cast<double>(1.0f / static_cast<float>(NINCY));
}

PassPlan stepPlan(int P, int NINCY, double lastSafe) {
  const double basic = basicStep(NINCY);
  PassPlan plan;
  if (P == 1) {
    plan.n = NINCY;
    plan.step = basic;
    return plan;
  }
  plan.LF0 = lastSafe;
  plan.n = static_cast<int>((1.0 - plan.LF0) / basic);
  if (plan.n < 2) plan.n = 2;
  plan.step = (1.0 - plan.LF0) / (plan.n - 1);
  return plan;
}

IncrementLoad incrementLoad(int P, int i, const PassPlan& plan) {
  if (P == 1) return {i * plan.step, plan.step};
  if (i == 1) return {plan.LF0, plan.LF0};
  return {plan.LF0 + (i - 1) * plan.step, plan.step};
}

namespace {

// What an increment ended with: the next increment, a re-attempted pass, or the stage's end.
struct IncrementEnd {
  bool reattempt = false;
  std::optional<YieldingOutcome> stage;
};

// The passes of the stage, with what they share: the convergence flags, the once-only
// failure block and the run's last safe load factor.
class IncrementalStage {
 public:
  IncrementalStage(StagePasses& passes, const ModelDeck& model, const ConvergenceLimits& limits,
                   SolutionStage STAGE, YieldingVectors v, double& lastSafe, RunFlags flags,
                   Writer& out)
      : passes_(passes),
        model_(model),
        limits_(limits),
        STAGE_(STAGE),
        v_(v),
        lastSafe_(lastSafe),
        flags_(flags),
        out_(out) {}

  YieldingOutcome run();

 private:
  IncrementEnd increment(int P, int i, const PassPlan& plan, FailureCounts& counts);

  StagePasses& passes_;
  const ModelDeck& model_;
  const ConvergenceLimits& limits_;
  SolutionStage STAGE_;
  YieldingVectors v_;
  double& lastSafe_;
  RunFlags flags_;
  Writer& out_;
  ConvergenceFlags conv_;
  bool failureBlockWritten_ = false;
};

YieldingOutcome IncrementalStage::run() {
  for (int P = 1; P <= limits_.NPASSY; ++P) {
    if (P > 1) passes_.reset();
    FailureCounts counts;  // counted from the start of the pass, over its increments
    conv_.converged = 0;
    const PassPlan plan = stepPlan(P, model_.NINCY, lastSafe_);
    MXINT(v_.total.data(), v_.total.rows(), 1, 0.0);
    MXINT(v_.increment.data(), v_.increment.rows(), 1, 0.0);
    for (int i = 1; i <= plan.n; ++i) {
      const IncrementEnd end = increment(P, i, plan, counts);
      if (end.stage) return *end.stage;
      if (end.reattempt) break;
    }
  }
  return YieldingOutcome::PassesExhausted;
}

IncrementEnd IncrementalStage::increment(int P, int i, const PassPlan& plan,
                                         FailureCounts& counts) {
  const IncrementLoad load = incrementLoad(P, i, plan);
  passes_.reached({STAGE_, P, i, load.loadFactor});
  if (passes_.solve(load.applied) != PassOutcome::Solved) return {false, YieldingOutcome::Fatal};
  MXCPY(passes_.current().data(), v_.increment.data(), v_.NEQ, v_.NEQ, v_.NEQ, 1);
  MXADD(v_.total.data(), v_.increment.data(), v_.total.data(), v_.NEQ, v_.NEQ, v_.NEQ, v_.NEQ, 1);
  // The increment's own deflection, not the total, is what predicts a collapse.
  if (MAXDEF(v_.increment, model_.WMAX, model_.NUMA, model_.NUMB, model_.COUPLING,
             collapse_wording::YIELDING, out_, flags_.collapse))
    return {false, YieldingOutcome::Collapsed};
  passes_.recover(v_.total);
  passes_.degrade(STAGE_, counts);
  PRNIT(load.applied, load.loadFactor, STAGE_, P, i, counts.CINC, counts.YINC, out_);
  if (counts.CINC == 0 && counts.YINC == 0) lastSafe_ = load.loadFactor;
  CONV(P, STAGE_, counts.CINC, load.loadFactor, limits_, conv_, out_, flags_.fatal);
  if (flags_.fatal > 0) {
    // The combined procedure failed in its last pass: the pass is completed without the
    // tolerance, and its total at the last increment is the final solution.
    flags_.fatal = 0;
    if (!failureBlockWritten_) writeFailedIncrementationBlock(out_);
    failureBlockWritten_ = true;
    if (i == plan.n) return {false, YieldingOutcome::FailedCombined};
    return {};
  }
  if (conv_.reattempt == 1) return {true, std::nullopt};
  if (conv_.converged == 1) return {false, YieldingOutcome::Converged};
  return {};
}

}  // namespace

YieldingOutcome yieldingIncrements(StagePasses& passes, const ModelDeck& model,
                                   const ConvergenceLimits& limits, SolutionStage STAGE,
                                   YieldingVectors v, double& lastSafe, RunFlags flags,
                                   Writer& out) {
  return IncrementalStage(passes, model, limits, STAGE, v, lastSafe, flags, out).run();
}

}  // namespace korvant
