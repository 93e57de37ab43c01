// The cracking iterations of the nonlinear analysis: the slab is solved again and again under
// the full load, each time with the moduli that the previous iteration's degradation left,
// until the layers newly cracked in an iteration, relative to all concrete-bearing layers,
// fall to the tolerance; or the deflection predicts a collapse; or the iteration limit is
// reached first.
#pragma once

#include "core/matrix.hpp"
#include "core/writer.hpp"
#include "input/model_deck.hpp"
#include "nonlinear/convergence.hpp"
#include "section/degradation.hpp"

namespace korvant {

// What a solution pass ended with.
enum class PassOutcome {
  Solved,  // the current solution holds the pass's solution of every real point
  Fatal,   // a fatal run-time error stopped it; its message is written, the fatal flag raised
};

// How a stage of the nonlinear analysis ended.
enum class StageOutcome {
  Converged,  // the stage converged; its solution is kept
  Collapsed,  // the deflection reached the allowable: a collapse is predicted
  Fatal,      // a fatal run-time error, or the stage did not converge within its limit
};

// The passes a stage repeats, bound by the caller to its run: the solution, the recovery of
// the layer results from a solution, and the degradation of the layers.
class StagePasses {
 public:
  virtual ~StagePasses() = default;
  // One solution with the pressure times `appliedLoadFactor`.
  virtual PassOutcome solve(double appliedLoadFactor) = 0;
  // The solution the last pass left.
  virtual const Matrix<double>& current() const = 0;
  // The layer (and fibre) results of `solution` onto the working files.
  virtual void recover(const Matrix<double>& solution) = 0;
  // DEGRAD of stage STAGE on the last recovery, adding the new failures to `counts`.
  virtual void degrade(int STAGE, FailureCounts& counts) = 0;
};

// The flags of the run a stage may raise.
struct RunFlags {
  int& fatal;
  int& collapse;
};

// The cracking iterations of stage 1, at most NITCRK: solve, MAXDEF (wording 1), recover,
// DEGRAD, PRNIT, CONV, until CONV declares convergence. Blocks go to `out`, the report
// mirrored to the console when STATUS is on. On convergence the current solution of `passes`
// is the cracked solution.
StageOutcome crackingIterations(StagePasses& passes, const ModelDeck& model,
                                const ConvergenceLimits& limits, RunFlags flags, Writer& out);

}  // namespace korvant
