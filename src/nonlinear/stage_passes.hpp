// What the stages of the nonlinear analysis repeat, and how a pass and a stage can end.
#pragma once

#include "core/matrix.hpp"
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

// Where a stage has got to: the iteration of the cracking stage, or the pass and increment
// of the incremental stage, with the load factor reached.
struct StagePosition {
  SolutionStage STAGE = SolutionStage::INITIAL_ELASTIC;
  int iteration = 0;  // the cracking iteration, or the pass of the incremental stage
  int increment = 0;  // 0 in the cracking stage
  double loadFactor = 0.0;
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
  virtual void degrade(SolutionStage STAGE, FailureCounts& counts) = 0;
  // RESET: the moduli restored before a pass is re-attempted.
  virtual void reset() = 0;
  // Told before each solution of a stage where the stage is; for those who follow a run.
  virtual void reached(const StagePosition&) {}
};

// The flags of the run a stage may raise.
struct RunFlags {
  int& fatal;
  int& collapse;
};

}  // namespace korvant
