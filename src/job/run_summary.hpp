// A machine-readable summary of a run, collected while the analysis goes on and written as
// JOB.json when the command line asks for it (--json). The collector only watches: it reads
// the solutions and the result records the analysis has made and writes nothing to the
// report, the zone file or the datasets.
#pragma once

#include <string>
#include <vector>

#include "core/grid.hpp"
#include "core/matrix.hpp"
#include "core/record_store.hpp"
#include "input/model_deck.hpp"
#include "nonlinear/stage_passes.hpp"
#include "output/maxima.hpp"

namespace korvant {

// One solution of a stage: an iteration of the cracking stage (pass 0) or an increment of a
// pass of the incremental stage, with the load factor it reached, the layers newly yielded and
// cracked as its iteration report counts them, and the deflection of largest magnitude of the
// solution it recovered (the running total of an incremental pass).
struct StageStep {
  int pass = 0;
  int step = 0;  // iteration or increment
  double loadFactor = 1.0;
  int YINC = 0;
  int CINC = 0;
  Peak w;
  bool degraded = false;  // false when the step ended at its solution (a collapse, a fatal error)
};

struct StageRecord {
  int STAGE = 0;
  int solutions = 0;  // solution passes made in the stage
  int passes = 0;     // passes of the incremental stage
  std::vector<StageStep> steps;
};

// The maxima of one printed solution.
struct PrintedSolution {
  int STAGE = 0;
  bool linear = false;
  std::array<Peak, 3> displacement;  // u, v, w
  bool fibres = false;               // the fibre stresses were printed with it
  std::array<Peak, 3> upper;         // SXX, SYY, SXY at the upper face
  std::array<Peak, 3> lower;         // at the lower face
  // Kept only for the pictures (--plots), in record order (J outer, I inner): w of every
  // point, and the failure measure of every point when the tables printed it.
  std::vector<double> w;
  std::vector<double> failure;
};

// The name of a solution stage in the summary and the pictures.
const char* stageName(int STAGE);

class RunSummary {
 public:
  // `keepFields`: keep the values of every printed solution for the pictures, not its
  // maxima alone.
  explicit RunSummary(bool keepFields = false) : keepFields_(keepFields) {}
  // A new stage of solutions, watched through SummarisedPasses.
  void beginStage(int STAGE);
  // The stage is about to solve its next step: the iteration, or the pass and increment.
  void reached(const StagePosition& position);
  void solutionMade();
  void recovered(const Matrix<double>& solution, const ModelDeck& model);
  void degraded(const FailureCounts& counts);
  // The tables of `solution` were printed under STAGE, with the fibre stresses of
  // `fibreResults` unless it is null; the elastic (or linear) solution, made on its own,
  // counts as a stage of one solution. `failureRatio`, unless null, holds the failure
  // measures printed with it.
  void printed(int STAGE, bool linear, const Matrix<double>& solution, const ModelDeck& model,
               const RecordStore* fibreResults, const RecordStore* failureRatio = nullptr);

  const std::vector<StageRecord>& stages() const { return stages_; }
  const std::vector<PrintedSolution>& solutions() const { return printed_; }
  // The step the analysis was at last: where a collapse was predicted.
  const StageStep* lastStep() const;

 private:
  bool keepFields_ = false;
  std::vector<StageRecord> stages_;
  std::vector<PrintedSolution> printed_;
};

// The passes of a stage with the summary watching them: every call goes on to `inner`.
class SummarisedPasses final : public StagePasses {
 public:
  SummarisedPasses(StagePasses& inner, RunSummary* summary, const ModelDeck& model, int STAGE);
  PassOutcome solve(double appliedLoadFactor) override;
  const Matrix<double>& current() const override { return inner_.current(); }
  void recover(const Matrix<double>& solution) override;
  void degrade(int STAGE, FailureCounts& counts) override;
  void reset() override;
  void reached(const StagePosition& position) override;

 private:
  StagePasses& inner_;
  RunSummary* summary_;
  const ModelDeck& model_;
};

}  // namespace korvant
