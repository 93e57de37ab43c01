#include "job/stage_names.hpp"

#include <array>

#include "core/codes.hpp"

namespace korvant {
namespace {

constexpr std::array<StageNames, 5> kStages = {{
    {solution_stage::INITIAL_ELASTIC, "elastic", "elastic", "initial elastic solution",
     "* BEGINNING INITIAL ELASTIC SOLUTION"},
    {solution_stage::CRACKING, "cracking", "cracking", "converged cracking solution",
     "* BEGINNING ITERATIONS FOR DEFLECTIONS DUE TO CRACKING"},
    {solution_stage::COMBINED, "combined cracking and yielding", "combined",
     "converged combined cracking and yielding solution",
     "* BEGINNING INCREMENTS FOR COMBINED CRACKING/YIELDING SOLUTION"},
    {solution_stage::YIELDING, "yielding", "yielding", "converged yielding solution",
     "* BEGINNING INCREMENTS FOR YIELDING SOLUTION"},
    {solution_stage::FAILED_COMBINED, "failed combined incrementation", "failed_combined",
     "running total of the failed combined incrementation (stage 6)", nullptr},
}};

constexpr StageNames kUnknown{-1, "unknown", "unknown", "unknown solution", nullptr};

}  // namespace

const StageNames& stageNames(int STAGE) {
  for (const StageNames& s : kStages)
    if (s.STAGE == STAGE) return s;
  return kUnknown;
}

}  // namespace korvant
