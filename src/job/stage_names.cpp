#include "job/stage_names.hpp"

#include <array>

namespace korvant {
namespace {

constexpr std::array<StageNames, 5> kStages = {{
    {SolutionStage::INITIAL_ELASTIC, "elastic", "elastic", "initial elastic solution",
     "* BEGINNING INITIAL ELASTIC SOLUTION"},
    {SolutionStage::CRACKING, "cracking", "cracking", "converged cracking solution",
     "* BEGINNING ITERATIONS FOR DEFLECTIONS DUE TO CRACKING"},
    {SolutionStage::COMBINED, "combined cracking and yielding", "combined",
     "converged combined cracking and yielding solution",
     "* BEGINNING INCREMENTS FOR COMBINED CRACKING/YIELDING SOLUTION"},
    {SolutionStage::YIELDING, "yielding", "yielding", "converged yielding solution",
     "* BEGINNING INCREMENTS FOR YIELDING SOLUTION"},
    {SolutionStage::FAILED_COMBINED, "failed combined incrementation", "failed_combined",
     "running total of the failed combined incrementation (stage 6)", nullptr},
}};

constexpr StageNames kUnknown{static_cast<SolutionStage>(-1), "unknown", "unknown",
                              "unknown solution", nullptr};

}  // namespace

const StageNames& stageNames(SolutionStage STAGE) {
  for (const StageNames& s : kStages)
    if (s.STAGE == STAGE) return s;
  return kUnknown;
}

}  // namespace korvant
