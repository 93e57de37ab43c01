// The analysis sequence of a job whose deck has been read and checked.
#pragma once

#include "job/run_context.hpp"

namespace korvant {

// Runs the linear analysis or the nonlinear stages of the model in `run`, stopping as soon
// as the fatal flag is raised. The closing lines are left to the caller.
void runAnalysis(RunContext& run);

}  // namespace korvant
