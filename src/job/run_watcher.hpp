// Those who follow a run while it goes on, for the files that the command line asks for
// beside the report (the summary of --json and --plots, the VTK files of --vtk). A watcher
// only reads: it is told where the stages are and when a solution was made, recovered,
// degraded or printed, and reads what the analysis has left in the solution vectors and the
// working files. Nothing of it reaches the report, the zone file or the datasets.
#pragma once

#include <vector>

#include "core/matrix.hpp"
#include "core/record_store.hpp"
#include "equilibrium/load_path.hpp"
#include "nonlinear/stage_passes.hpp"
#include "section/degradation.hpp"

namespace korvant {

// The tables of a solution have just been printed under STAGE: the displacements of
// `solution`, the fibre results of `fibreResults` unless it is null, the failure measures of
// `failureRatio` unless it is null. The elastic (or linear) solution, made on its own, is
// printed under the initial elastic stage.
struct PrintedTables {
  SolutionStage STAGE = SolutionStage::INITIAL_ELASTIC;
  bool linear = false;
  const Matrix<double>& solution;
  const RecordStore* fibreResults = nullptr;
  const RecordStore* failureRatio = nullptr;
};

// A converged step of the load path in equilibrium, as the path reaches it: its state, the
// section of every point (in record order) and the tension stiffening of the path's laws,
// from which the section forces, bars and cracks of every point follow.
struct PathStepSeen {
  const equilibrium::PathState& state;
  const std::vector<const equilibrium::Section*>& sections;
  equilibrium::TensionStiffening ts = equilibrium::kDefaultStiffening;
};

class RunWatcher {
 public:
  virtual ~RunWatcher() = default;
  // A new stage of solutions begins: its passes are watched through WatchedPasses.
  virtual void beginStage(SolutionStage /*STAGE*/) {}
  // The stage is about to solve its next step: the iteration, or the pass and increment.
  virtual void reached(const StagePosition&) {}
  virtual void solutionMade() {}
  // The layer and fibre results of `solution` are on the working files.
  virtual void recovered(const Matrix<double>& /*solution*/) {}
  // The layers were degraded after the last recovery: the layer state, the current moduli and
  // the failure measures are those of the step.
  virtual void degraded(const FailureCounts&) {}
  virtual void printed(const PrintedTables&) {}
  virtual void pathStep(const PathStepSeen&) {}
};

// The names of a printed solution in file names: linear, elastic, cracking, combined,
// yielding, failed_combined.
const char* solutionLabel(SolutionStage STAGE, bool linear);

// The passes of a stage with the run's watchers following them: every call goes on to
// `inner`, and then each watcher is told.
class WatchedPasses final : public StagePasses {
 public:
  WatchedPasses(StagePasses& inner, const std::vector<RunWatcher*>& watchers, SolutionStage STAGE);
  PassOutcome solve(double appliedLoadFactor) override;
  const Matrix<double>& current() const override { return inner_.current(); }
  void recover(const Matrix<double>& solution) override;
  void degrade(SolutionStage STAGE, FailureCounts& counts) override;
  void reset() override;
  void reached(const StagePosition& position) override;

 private:
  StagePasses& inner_;
  const std::vector<RunWatcher*>& watchers_;
};

}  // namespace korvant
