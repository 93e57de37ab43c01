// The names of the solution stages, in one table: in the run's summary and pictures, in the
// names of the files of a printed solution, in the captions of the pictures and at the
// console when a stage begins.
#pragma once

#include "core/codes.hpp"

namespace korvant {

struct StageNames {
  SolutionStage STAGE = SolutionStage::INITIAL_ELASTIC;
  const char* name = "";             // "combined cracking and yielding"
  const char* label = "";            // in file names: "combined"
  const char* solution = "";         // what its printed solution is: "converged ... solution"
  const char* statusLine = nullptr;  // the console line when the stage begins, if it has one
};

// The names of stage `STAGE`; a stage not in the table is named "unknown".
const StageNames& stageNames(SolutionStage STAGE);

}  // namespace korvant
