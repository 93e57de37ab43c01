#include "exporters/run_summary.hpp"

#include <algorithm>

#include "core/codes.hpp"
#include "section/layer_results.hpp"

namespace korvant {

void RunSummary::beginStage(SolutionStage STAGE) {
  stages_.push_back(StageRecord{STAGE, 0, 0, {}});
}

void RunSummary::reached(const StagePosition& position) {
  if (stages_.empty()) return;
  StageRecord& stage = stages_.back();
  StageStep step;
  step.loadFactor = position.loadFactor;
  step.step = position.iteration;
  if (stage.STAGE != SolutionStage::CRACKING) {
    step.pass = position.iteration;
    step.step = position.increment;
    stage.passes = std::max(stage.passes, position.iteration);
  }
  stage.steps.push_back(step);
}

void RunSummary::solutionMade() {
  if (!stages_.empty()) ++stages_.back().solutions;
}

void RunSummary::recovered(const Matrix<double>& solution) {
  if (stages_.empty() || stages_.back().steps.empty()) return;
  const DifferenceGrid grid{model_.A, model_.B, model_.NUMA, model_.NUMB};
  stages_.back().steps.back().w = displacementPeaks(solution, model_, grid)[2];
}

void RunSummary::degraded(const FailureCounts& counts) {
  if (stages_.empty() || stages_.back().steps.empty()) return;
  StageStep& step = stages_.back().steps.back();
  step.YINC = counts.YINC;
  step.CINC = counts.CINC;
  step.degraded = true;
}

void RunSummary::printed(const PrintedTables& t) {
  if (t.STAGE == SolutionStage::INITIAL_ELASTIC) stages_.push_back(StageRecord{t.STAGE, 1, 0, {}});
  const DifferenceGrid grid{model_.A, model_.B, model_.NUMA, model_.NUMB};
  PrintedSolution p;
  p.STAGE = t.STAGE;
  p.linear = t.linear;
  p.displacement = displacementPeaks(t.solution, model_, grid);
  if (t.fibreResults) {
    p.fibres = true;
    p.upper = fibrePeaks(*t.fibreResults, grid, fibre_field::UPPER_SXX);
    p.lower = fibrePeaks(*t.fibreResults, grid, fibre_field::LOWER_SXX);
  }
  if (files_) {
    SolutionResults r =
        solutionResults(model_, {files_->currentLayers, files_->layerResults, files_->layerState});
    p.results = true;
    p.peaks = resultPeaks(r);
    if (keepFields_) lastResults_ = std::move(r);
  }
  if (keepFields_) {
    p.w = wField(t.solution, model_, grid);
    if (t.failureRatio)
      for (int n = 1; n <= grid.NUMA * grid.NUMB; ++n)
        p.failure.push_back(t.failureRatio->read(n)[0]);
  }
  printed_.push_back(std::move(p));
}

void RunSummary::pathStep(const PathStepSeen& seen) {
  const equilibrium::PathState& state = seen.state;
  PathStepResults r;
  r.any = true;
  r.step = state.step;
  SolutionResults fields = pathResults(model_, seen.sections, state, seen.ts);
  r.peaks = resultPeaks(fields);
  if (keepFields_) {
    r.w = pathDeflections(model_, state);
    r.fields = std::move(fields);
  }
  if (!pathPeak_.any || state.step.loadFactor > pathPeak_.step.loadFactor) pathPeak_ = r;
  pathLast_ = std::move(r);
}

const StageStep* RunSummary::lastStep() const {
  if (stages_.empty() || stages_.back().steps.empty()) return nullptr;
  return &stages_.back().steps.back();
}

}  // namespace korvant
