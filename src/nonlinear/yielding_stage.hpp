// The incremental stage of the nonlinear analysis: after the cracking stage the load is
// applied again in increments, in passes. Each increment solves the slab for its load step
// with the current, degraded moduli, adds that solution to the pass's running total, recovers
// the layer stresses at the total and lets the degradation yield steel (and, in the combined
// procedure, crack concrete further). A pass whose yielding cracks more layers than the
// tolerance allows is re-attempted, from restored moduli, starting at the last load factor
// reached without any new failure and with the rest of the load divided finer.
#pragma once

#include "core/matrix.hpp"
#include "core/model_deck.hpp"
#include "core/writer.hpp"
#include "nonlinear/convergence.hpp"
#include "nonlinear/stage_passes.hpp"

namespace korvant {

// The basic load step, 1 / NINCY, rounded to single precision as the step has always been
// (for 10 increments 0.100000001490116...).
double basicStep(int NINCY);

// The increments of pass P: their number n, the step between load factors and the load
// factor LF0 the pass starts from (0 in the first pass).
struct PassPlan {
  int n = 0;
  double step = 0.0;
  double LF0 = 0.0;
};

// Pass 1: NINCY increments of the basic step. A later pass: from the last safe load factor,
// (1 - LF0) / basic step increments (truncated, at least 2), evenly to the full load.
PassPlan stepPlan(int P, int NINCY, double lastSafe);

// The load factor reached and the load factor applied by increment i (1-based) of pass P: in
// a later pass the first increment applies LF0 at once.
struct IncrementLoad {
  double loadFactor = 0.0;
  double applied = 0.0;
};
IncrementLoad incrementLoad(int P, int i, const PassPlan& plan);

// How the incremental stage ended.
enum class YieldingOutcome {
  Converged,        // the full load was reached within the tolerance: the final tables follow
  FailedCombined,   // the combined procedure failed in its last pass: the stage 6 table follows
  PassesExhausted,  // the passes ran out undecided: no table
  Collapsed,        // an increment's deflection reached the allowable
  Fatal,            // a fatal run-time error of a solution
};

// The vectors of the stage: the solution of the current increment and the running total of
// the pass, NEQ entries used of their capacity.
struct YieldingVectors {
  Matrix<double>& increment;
  Matrix<double>& total;
  int NEQ = 0;
};

// The passes and increments of stage STAGE (2 combined, 3 yielding only), at most NPASSY
// passes. `lastSafe` is the run's last safe load factor. Blocks go to `out`, the report
// mirrored to the console when STATUS is on. On Converged and FailedCombined the running
// total holds the final solution.
YieldingOutcome yieldingIncrements(StagePasses& passes, const ModelDeck& model,
                                   const ConvergenceLimits& limits, SolutionStage STAGE,
                                   YieldingVectors vectors, double& lastSafe, RunFlags flags,
                                   Writer& out);

}  // namespace korvant
