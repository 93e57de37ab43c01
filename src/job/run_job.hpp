// One command-line job from its start to its closing line: the dialogue and files, the run of
// its deck, and each way the job can end turned into its exit status.
#pragma once

#include <exception>
#include <iostream>

#include "job/run_context.hpp"

namespace korvant {

// Runs the job of `run` and returns its exit status (job/exit_status.hpp): the job start
// (DBFILE mode 1), then the deck file through the run's pipeline (job/pipeline.hpp), which
// records in run.outcome how the run ended. The files of the job are closed at its end; one
// that could not be written completely is named on `errors` (standard error) and ends the
// job with its own status. A job named on the command line closes with one line on `errors`:
// the job, its outcome, the largest deflection where there is one and the report.
int runJob(RunContext& run, std::ostream& errors = std::cerr);

// A failure of the program itself (no memory, a broken internal limit): said plainly to the
// report and the console instead of a crash. Returns the fatal run-time status.
int reportInternalError(RunContext& run, const std::exception& error);

// What the process needs for the jobs it runs as `request` asks: on the sparse store, the
// memory a pass frees kept for the next (call before the first job).
void prepareProcess(const JobRequest& request);

}  // namespace korvant
