#include "job/run_watcher.hpp"

#include "job/stage_names.hpp"

namespace korvant {

const char* solutionLabel(SolutionStage STAGE, bool linear) {
  return linear ? "linear" : stageNames(STAGE).label;
}

WatchedPasses::WatchedPasses(StagePasses& inner, const std::vector<RunWatcher*>& watchers,
                             SolutionStage STAGE)
    : inner_(inner), watchers_(watchers) {
  for (RunWatcher* w : watchers_) w->beginStage(STAGE);
}

void WatchedPasses::reached(const StagePosition& position) {
  inner_.reached(position);
  for (RunWatcher* w : watchers_) w->reached(position);
}

PassOutcome WatchedPasses::solve(double appliedLoadFactor) {
  for (RunWatcher* w : watchers_) w->solutionMade();
  return inner_.solve(appliedLoadFactor);
}

void WatchedPasses::recover(const Matrix<double>& solution) {
  inner_.recover(solution);
  for (RunWatcher* w : watchers_) w->recovered(solution);
}

void WatchedPasses::degrade(SolutionStage STAGE, FailureCounts& counts) {
  inner_.degrade(STAGE, counts);
  for (RunWatcher* w : watchers_) w->degraded(counts);
}

void WatchedPasses::reset() {
  inner_.reset();
}

}  // namespace korvant
