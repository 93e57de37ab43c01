#include "job/run_summary.hpp"

#include <algorithm>

#include "core/codes.hpp"
#include "section/layer_results.hpp"

namespace korvant {

void RunSummary::beginStage(int STAGE) { stages_.push_back(StageRecord{STAGE, 0, 0, {}}); }

void RunSummary::reached(const StagePosition& position) {
  if (stages_.empty()) return;
  StageRecord& stage = stages_.back();
  StageStep step;
  step.loadFactor = position.loadFactor;
  step.step = position.iteration;
  if (stage.STAGE != solution_stage::CRACKING) {
    step.pass = position.iteration;
    step.step = position.increment;
    stage.passes = std::max(stage.passes, position.iteration);
  }
  stage.steps.push_back(step);
}

void RunSummary::solutionMade() {
  if (!stages_.empty()) ++stages_.back().solutions;
}

void RunSummary::recovered(const Matrix<double>& solution, const ModelDeck& model) {
  if (stages_.empty() || stages_.back().steps.empty()) return;
  const DifferenceGrid grid{model.A, model.B, model.NUMA, model.NUMB};
  stages_.back().steps.back().w = displacementPeaks(solution, model, grid)[2];
}

void RunSummary::degraded(const FailureCounts& counts) {
  if (stages_.empty() || stages_.back().steps.empty()) return;
  StageStep& step = stages_.back().steps.back();
  step.YINC = counts.YINC;
  step.CINC = counts.CINC;
  step.degraded = true;
}

const char* stageName(int STAGE) {
  switch (STAGE) {
    case solution_stage::INITIAL_ELASTIC:
      return "elastic";
    case solution_stage::CRACKING:
      return "cracking";
    case solution_stage::COMBINED:
      return "combined cracking and yielding";
    case solution_stage::YIELDING:
      return "yielding";
    case solution_stage::FAILED_COMBINED:
      return "failed combined incrementation";
    default:
      return "unknown";
  }
}

void RunSummary::printed(int STAGE, bool linear, const Matrix<double>& solution,
                         const ModelDeck& model, const RecordStore* fibreResults,
                         const RecordStore* failureRatio) {
  if (STAGE == solution_stage::INITIAL_ELASTIC) stages_.push_back(StageRecord{STAGE, 1, 0, {}});
  const DifferenceGrid grid{model.A, model.B, model.NUMA, model.NUMB};
  PrintedSolution p{STAGE, linear, displacementPeaks(solution, model, grid), false, {}, {}, {}, {}};
  if (fibreResults) {
    p.fibres = true;
    p.upper = fibrePeaks(*fibreResults, grid, fibre_field::UPPER_SXX);
    p.lower = fibrePeaks(*fibreResults, grid, fibre_field::LOWER_SXX);
  }
  if (keepFields_) {
    p.w = wField(solution, model, grid);
    if (failureRatio)
      for (int n = 1; n <= grid.NUMA * grid.NUMB; ++n) p.failure.push_back(failureRatio->read(n)[0]);
  }
  printed_.push_back(std::move(p));
}

const StageStep* RunSummary::lastStep() const {
  if (stages_.empty() || stages_.back().steps.empty()) return nullptr;
  return &stages_.back().steps.back();
}

SummarisedPasses::SummarisedPasses(StagePasses& inner, RunSummary* summary, const ModelDeck& model,
                                   int STAGE)
    : inner_(inner), summary_(summary), model_(model) {
  if (summary_) summary_->beginStage(STAGE);
}

void SummarisedPasses::reached(const StagePosition& position) {
  inner_.reached(position);
  if (summary_) summary_->reached(position);
}

PassOutcome SummarisedPasses::solve(double appliedLoadFactor) {
  if (summary_) summary_->solutionMade();
  return inner_.solve(appliedLoadFactor);
}

void SummarisedPasses::recover(const Matrix<double>& solution) {
  inner_.recover(solution);
  if (summary_) summary_->recovered(solution, model_);
}

void SummarisedPasses::degrade(int STAGE, FailureCounts& counts) {
  inner_.degrade(STAGE, counts);
  if (summary_) summary_->degraded(counts);
}

void SummarisedPasses::reset() { inner_.reset(); }

}  // namespace korvant
