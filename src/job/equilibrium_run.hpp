// The analysis in equilibrium along the load path, bound to the run: the secant sections of
// the deck's zones, the secant system solved by the run's own pass on the section forces,
// the path, and its report block (the step lines, the tables of its peak and last step) and
// curve file.
#pragma once

#include "job/run_context.hpp"

namespace korvant {

// Follows the load path of the run's deck (after its elastic tables), keeps it in run.path,
// writes its block to the report and JOB.curve.csv beside it (a command-line job), and
// records how it ended and its peak in run.outcome.
void equilibriumPath(RunContext& run);

}  // namespace korvant
