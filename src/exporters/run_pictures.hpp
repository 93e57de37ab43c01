// The pictures of a run (--plots), drawn at its end from what the run's summary collected:
// the data files and the gnuplot script go into the folder JOB.plots, gnuplot draws the PNG
// files beside the report. Drawing them never changes the job's files or its exit status: a
// missing gnuplot or one that fails is said on standard error, and the data files stay.
#pragma once

#include <ostream>

#include "exporters/run_summary.hpp"
#include "job/run_context.hpp"
#include "output/pictures.hpp"

namespace korvant {

// The pictures of `run`: a map of w for every printed solution, the failure measures after
// the cracking stage and at the end of a nonlinear run, and the load-deflection curve of the
// incremental stage, from what `summary`, one of its watchers, collected.
PictureSet picturesOf(const RunContext& run, const RunSummary& summary);

// Writes and draws the pictures of `run`, a job whose analysis began, from its `summary`;
// says on `errors` what could not be done.
void drawPictures(const RunContext& run, const RunSummary& summary, std::ostream& errors);

}  // namespace korvant
