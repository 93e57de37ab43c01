// A machine-readable summary of a run, collected while the analysis goes on and written as
// JOB.json when the command line asks for it (--json), and the source of the pictures of
// --plots. The collector is one of the run's watchers (job/run_watcher.hpp): it reads the
// solutions and the result records the analysis has made and writes nothing to the report,
// the zone file or the datasets.
#pragma once

#include <string>
#include <vector>

#include "core/grid.hpp"
#include "core/matrix.hpp"
#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "job/run_watcher.hpp"
#include "nonlinear/stage_passes.hpp"
#include "output/maxima.hpp"
#include "output/solution_results.hpp"

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
  SolutionStage STAGE = SolutionStage::INITIAL_ELASTIC;
  int solutions = 0;  // solution passes made in the stage
  int passes = 0;     // passes of the incremental stage
  std::vector<StageStep> steps;
};

// The maxima of one printed solution.
struct PrintedSolution {
  SolutionStage STAGE = SolutionStage::INITIAL_ELASTIC;
  bool linear = false;
  std::array<Peak, 3> displacement;  // u, v, w
  bool fibres = false;               // the fibre stresses were printed with it
  std::array<Peak, 3> upper;         // SXX, SYY, SXY at the upper face
  std::array<Peak, 3> lower;         // at the lower face
  bool results = false;              // the section forces, bars and cracks were read
  ResultPeaks peaks;                 // their maxima
  // Kept only for the pictures (--plots), in record order (J outer, I inner): w of every
  // point, and the failure measure of every point when the tables printed it.
  std::vector<double> w;
  std::vector<double> failure;
};

// The results of one converged step of the load path in equilibrium: its step and load
// factor, the maxima of its section forces, bars and cracks, and (for the pictures) the
// values of every point with w.
struct PathStepResults {
  bool any = false;
  equilibrium::PathStep step;
  ResultPeaks peaks;
  SolutionResults fields;  // kept with keepFields
  std::vector<double> w;   // kept with keepFields, record order
};

class RunSummary final : public RunWatcher {
 public:
  // The summary of the run of `model`. `keepFields`: keep the values of every printed
  // solution for the pictures, not its maxima alone.
  // `files`, when given, are the run's working files, from which the section forces, the
  // bars and the cracks of every printed solution are read.
  explicit RunSummary(const ModelDeck& model, bool keepFields = false,
                      const WorkingFiles* files = nullptr)
      : model_(model), keepFields_(keepFields), files_(files) {}
  // A new stage of solutions.
  void beginStage(SolutionStage STAGE) override;
  void reached(const StagePosition& position) override;
  void solutionMade() override;
  void recovered(const Matrix<double>& solution) override;
  void degraded(const FailureCounts& counts) override;
  // Notes the maxima of the printed tables; the elastic (or linear) solution, made on its
  // own, counts as a stage of one solution.
  void printed(const PrintedTables& tables) override;
  // Notes the results of a step of the load path when it is the last so far, and again when
  // its load factor is the largest so far (the path's peak).
  void pathStep(const PathStepSeen& seen) override;

  const std::vector<StageRecord>& stages() const { return stages_; }
  const std::vector<PrintedSolution>& solutions() const { return printed_; }
  // The step the analysis was at last: where a collapse was predicted.
  const StageStep* lastStep() const;
  // The results of every point of the last printed solution, kept with `keepFields`.
  const SolutionResults& lastResults() const { return lastResults_; }
  // The results of the load path's peak and of its last step.
  const PathStepResults& pathPeak() const { return pathPeak_; }
  const PathStepResults& pathLast() const { return pathLast_; }

 private:
  const ModelDeck& model_;
  bool keepFields_ = false;
  const WorkingFiles* files_ = nullptr;
  SolutionResults lastResults_;
  std::vector<StageRecord> stages_;
  std::vector<PrintedSolution> printed_;
  PathStepResults pathPeak_, pathLast_;
};

}  // namespace korvant
