// One job from its start to its closing lines: the dialogue and files, the input deck, the
// analysis and the closing lines, each way the job can end turned into its exit status.
#pragma once

#include <exception>

#include "job/run_context.hpp"

namespace korvant {

// Runs the job of `run` and returns its exit status (job/exit_status.hpp). A deck that cannot
// be read on is reported here, with the deck line, to the report and the console.
int runJob(RunContext& run);

// A failure of the program itself (no memory, a broken internal limit): said plainly to the
// report and the console instead of a crash. Returns the fatal run-time status.
int reportInternalError(RunContext& run, const std::exception& error);

}  // namespace korvant
