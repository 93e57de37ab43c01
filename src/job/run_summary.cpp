#include "job/run_summary.hpp"

#include "core/codes.hpp"
#include "nonlinear/yielding_stage.hpp"
#include "section/layer_results.hpp"

namespace korvant {

void RunSummary::beginStage(int STAGE, int NINCY) {
  stages_.push_back(StageRecord{STAGE, 0, 0, {}});
  NINCY_ = NINCY;
  passStart_ = 0.0;
  incrementInPass_ = 0;
}

// The load factor an increment reaches is the one the incremental stage plans for it.
void RunSummary::solutionMade(double appliedLoadFactor) {
  if (stages_.empty()) return;
  StageRecord& stage = stages_.back();
  ++stage.solutions;
  StageStep step;
  step.loadFactor = appliedLoadFactor;
  step.step = stage.solutions;
  if (stage.STAGE != solution_stage::CRACKING) {
    if (stage.passes == 0) stage.passes = 1;
    step.pass = stage.passes;
    step.step = ++incrementInPass_;
    const PassPlan plan = stepPlan(step.pass, NINCY_, passStart_);
    step.loadFactor = incrementLoad(step.pass, step.step, plan).loadFactor;
  }
  stage.steps.push_back(step);
}

void RunSummary::passRestarted(double lastSafe) {
  if (stages_.empty()) return;
  ++stages_.back().passes;
  passStart_ = lastSafe;
  incrementInPass_ = 0;
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

void RunSummary::printed(int STAGE, bool linear, const Matrix<double>& solution,
                         const ModelDeck& model, const RecordStore* fibreResults) {
  if (STAGE == solution_stage::INITIAL_ELASTIC) stages_.push_back(StageRecord{STAGE, 1, 0, {}});
  const DifferenceGrid grid{model.A, model.B, model.NUMA, model.NUMB};
  PrintedSolution p{STAGE, linear, displacementPeaks(solution, model, grid), false, {}, {}};
  if (fibreResults) {
    p.fibres = true;
    p.upper = fibrePeaks(*fibreResults, grid, fibre_field::UPPER_SXX);
    p.lower = fibrePeaks(*fibreResults, grid, fibre_field::LOWER_SXX);
  }
  printed_.push_back(p);
}

const StageStep* RunSummary::lastStep() const {
  if (stages_.empty() || stages_.back().steps.empty()) return nullptr;
  return &stages_.back().steps.back();
}

SummarisedPasses::SummarisedPasses(StagePasses& inner, RunSummary* summary, const ModelDeck& model,
                                   const double& lastSafe, int STAGE)
    : inner_(inner), summary_(summary), model_(model), lastSafe_(lastSafe) {
  if (summary_) summary_->beginStage(STAGE, model.NINCY);
}

PassOutcome SummarisedPasses::solve(double appliedLoadFactor) {
  if (summary_) summary_->solutionMade(appliedLoadFactor);
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

void SummarisedPasses::reset() {
  inner_.reset();
  if (summary_) summary_->passRestarted(lastSafe_);
}

}  // namespace korvant
