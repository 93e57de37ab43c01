#include "job/run_job.hpp"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "input/deck_reader.hpp"
#include "job/analysis.hpp"
#include "job/dbfile.hpp"
#include "job/exit_status.hpp"
#include "job/pipeline.hpp"
#include "nonlinear/convergence.hpp"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace korvant {
namespace {

using fmt::E;
using fmt::I;

// The job: its start (the dialogue and its files), then its deck from the deck file through
// the run's pipeline, with the closing lines.
void runStages(RunContext& run) {
  int nerr = 0;
  try {
    DBFILE(run, DbfileMode::JOB_START, nerr);
  } catch (const DeckError& error) {  // a deck that is not a regular file: nothing is open
    recordDeckError(run, error);
    return;
  }
  if (nerr > 0) return;  // the job did not start
  RunPlan plan;
  plan.jobFiles = true;
  runDeck(run, DeckSource::file(run.names.deck), plan);
}

// The exit status of a job from how it ended, before its files are closed.
int statusOf(const RunOutcome& outcome) {
  switch (outcome.end) {
    case RunEnd::NotStarted:
      return exit_status::kDialogue;
    case RunEnd::InputErrors:
      return exit_status::kInputErrors;
    case RunEnd::Fatal:
      return exit_status::kFatalRunTime;
    default:
      return exit_status::kCompleted;
  }
}

// The one line that closes a job run from the command line, on standard error: the job, its
// outcome, the peak of a load path or the largest deflection of a final table where there is
// one, and the report; or, for a job that did not start, the input deck it looked for.
void writeClosingSummary(const RunContext& run, bool reportOpened, bool reportWritten,
                         Writer& errors) {
  const RunEnd end = run.outcome.end;
  const std::string& typed = *run.request.jobText;
  const bool tooLong = run.jobText.empty() && typed.size() > kJobTextWidth;
  const std::string job = !run.names.base.empty() ? run.names.base
                          : tooLong               ? typed.substr(0, kJobTextWidth) + "..."
                                                  : typed;
  const std::string head = "korvant: job '" + job + "' " + outcomeText(run.outcome);
  std::error_code ec;
  if (tooLong) {
    errors.line(head, "; the job name is longer than", I(3, kJobTextWidth), " characters");
    return;
  }
  if (end == RunEnd::NotStarted) {
    if (run.names.base.empty() || !std::filesystem::exists(run.names.deck, ec))
      errors.line(head, "; looked for the input deck ",
                  run.names.base.empty() ? std::string("(no name)") : run.names.deck);
    else
      errors.line(head, "; input deck ", run.names.deck, ", report ", run.names.report);
    return;
  }
  if (!reportOpened) {
    errors.line(head, "; no report was written");
    return;
  }
  const std::string report =
      "; report " + run.names.report + (reportWritten ? "" : " (NOT WRITTEN COMPLETELY)");
  const bool completed = statusOf(run.outcome) == exit_status::kCompleted;
  // A path in equilibrium names its peak over the steps that converged, also when a later
  // step did not; it has no final table.
  if (const auto& peak = run.outcome.peak; peak && completed) {
    errors.line(head, ", peak load factor", E(12, 4, peak->loadFactor), ", pressure",
                E(12, 4, peak->pressure), " at control deflection", E(12, 4, peak->wControl),
                report);
    return;
  }
  // A predicted collapse has no final table, and so no largest deflection to name.
  const bool finalTable = completed && end != RunEnd::Collapse && !run.request.equilibrium.enabled;
  const Matrix<double>* solution = finalTable ? &finalSolution(run) : nullptr;
  if (!solution) {
    errors.line(head, report);
    return;
  }
  const double w = largestDeflection(*solution, run.model.NUMA, run.model.NUMB, run.model.COUPLING);
  errors.line(head, ", largest deflection", E(12, 4, w), report);
}

}  // namespace

int runJob(RunContext& run, std::ostream& errorStream) {
  runStages(run);
  const int status = statusOf(run.outcome);
  const bool reportOpened = run.reportFile.is_open();
  Writer errors(errorStream);
  const std::vector<std::string> unwritten = closeJobFiles(run);
  for (const std::string& name : unwritten)
    errors.line("korvant: ***ERROR: THE FILE ", name, " COULD NOT BE WRITTEN COMPLETELY");
  const bool reportWritten =
      std::find(unwritten.begin(), unwritten.end(), run.names.report) == unwritten.end();
  for (const std::string& notice : consoleNotices(run.outcome.notes.notices()))
    errors.line("korvant: ", notice);
  if (run.request.jobText) writeClosingSummary(run, reportOpened, reportWritten, errors);
  errors.flush();
  return unwritten.empty() ? status : exit_status::kFilesNotWritten;
}

// On the sparse store every pass factors the system anew into blocks of tens of megabytes,
// which the allocator would take from the system and give back each time, paying a page
// fault for every page on every pass (200,000 in a coupled 61 x 61 nonlinear job, 20,000
// with the memory kept). Kept in the process instead, the memory of one pass serves the next.
void prepareProcess(const JobRequest& request) {
#if defined(__GLIBC__)
  if (!request.large) return;
  constexpr int kLarge = 1 << 30;
  mallopt(M_MMAP_THRESHOLD, kLarge);
  mallopt(M_TRIM_THRESHOLD, kLarge);
#else
  (void)request;
#endif
}

// A failure of the program itself (no memory, a broken internal limit): said plainly
// instead of a crash.
int reportInternalError(RunContext& run, const std::exception& error) {
  Writer out =
      run.reportFile.is_open() ? run.report.mirroredTo(run.consoleStream, true) : run.console;
  out.blank();
  out.line("***ERROR: INTERNAL ERROR, THE RUN CANNOT GO ON: ", error.what());
  out.flush();
  return exit_status::kFatalRunTime;
}

}  // namespace korvant
