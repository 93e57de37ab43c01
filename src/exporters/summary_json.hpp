// The run's summary as JOB.json (--json): the program, the job, its grid, layout and solution
// options, how the run ended, every stage with its iterations, passes and increments, and the
// maxima of every printed solution. Written with nlohmann-json when the build has it.
#pragma once

#include <string>

#include "exporters/run_summary.hpp"
#include "job/run_context.hpp"
#include "studies/collapse_search.hpp"

namespace korvant {

// Writes the summary of `run` (collected by `summary`, one of its watchers), which ended with
// `exitStatus`, to the job's base name followed by ".json". A job that never started (no job
// named, no report opened) has no summary. With `search`, the collapse search made after the
// job goes with it. Returns false, with the reason in `problem`, when the file cannot be
// written.
bool writeJsonSummary(const RunContext& run, const RunSummary& summary, int exitStatus,
                      const CollapseSearch* search, std::string& problem);

}  // namespace korvant
