#include "job/run_job.hpp"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "input/deck_reader.hpp"
#include "input/model.hpp"
#include "job/analysis.hpp"
#include "job/dbfile.hpp"
#include "job/exit_status.hpp"
#include "nonlinear/convergence.hpp"
#include "core/text.hpp"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace korvant {
namespace {

using fmt::E;
using fmt::I;
using fmt::X;

// Where the deck cannot be read on (it ends early, a number cannot be read, the file cannot
// be read at all): the message and the deck line, to the report when it is open and to the
// console, then the end of the job.
void reportDeckError(RunContext& run, const DeckError& error) {
  Writer out =
      run.reportFile.is_open() ? run.report.mirroredTo(run.consoleStream, true) : run.console;
  out.blank();
  out.line("***ERROR: ", error.what());
  if (error.lineNumber() > 0)
    out.line(X(10), "AT LINE", I(6, error.lineNumber()), ":", X(1), trimRight(error.lineText()));
  out.blank(2);
  out.line(X(20), "### JOB TERMINATED ###");
  out.blank(2);
  out.flush();
}

// How far the job got, for its exit status and its closing line.
struct JobEnd {
  int status = exit_status::kCompleted;
  int inputErrors = 0;
};

// Reads and checks the deck into the model; the count of fatal input errors, 1 for a deck
// that cannot be read on.
int readModel(RunContext& run) {
  try {
    DeckReader deck = DeckReader::fromFile(run.names.deck);
    return MODEL(deck, run.model, run.cap, run.report, run.zonePlot, run.files, run.CTOT);
  } catch (const DeckError& error) {
    reportDeckError(run, error);
    return 1;
  }
}

JobEnd runStages(RunContext& run) {
  int nerr = 0;
  try {
    DBFILE(run, DbfileMode::JOB_START, nerr);
  } catch (const DeckError& error) {  // a deck that is not a regular file: nothing is open
    reportDeckError(run, error);
    return {exit_status::kInputErrors, 1};
  }
  if (nerr > 0) return {exit_status::kDialogue, 0};
  if (const int inputErrors = readModel(run); inputErrors > 0)
    return {exit_status::kInputErrors, inputErrors};

  // A dataset file that cannot be opened stops the job as a fatal run-time error.
  DBFILE(run, DbfileMode::AFTER_INPUT, nerr);
  if (nerr > 0) {
    ++run.fatal;
  } else {
    DBINIT(run.model.NUMA, run.model.NUMB, run.files.fibreResults, run.files.failureRatio);
    runAnalysis(run);
  }
  writeClosingLines(run);
  return {run.fatal > 0 ? exit_status::kFatalRunTime : exit_status::kCompleted, 0};
}

std::string outcomeText(const RunContext& run, const JobEnd& end) {
  switch (end.status) {
    case exit_status::kCompleted:
      if (run.collapse > 0) return "collapse predicted";
      if (run.STAGE == SolutionStage::FAILED_COMBINED) return "completed without convergence";
      return "completed";
    case exit_status::kDialogue:
      return "did not start";
    case exit_status::kInputErrors:
      return std::to_string(end.inputErrors) +
             (end.inputErrors == 1 ? " input error" : " input errors");
    case exit_status::kFatalRunTime:
      return "fatal run-time error";
    default:
      return "ended";
  }
}

// The one line that closes a job run from the command line, on standard error: the job, its
// outcome, the largest deflection where there is one, and the report; or, for a job that did
// not start, the input deck it looked for.
void writeClosingSummary(const RunContext& run, const JobEnd& end, bool reportOpened,
                         bool reportWritten, Writer& errors) {
  const std::string& typed = *run.request.jobText;
  const bool tooLong = run.jobText.empty() && typed.size() > kJobTextWidth;
  const std::string job = !run.names.base.empty() ? run.names.base
                          : tooLong               ? typed.substr(0, kJobTextWidth) + "..."
                                                  : typed;
  const std::string head = "korvant: job '" + job + "' " + outcomeText(run, end);
  std::error_code ec;
  if (tooLong) {
    errors.line(head, "; the job name is longer than", I(3, kJobTextWidth), " characters");
    return;
  }
  if (end.status == exit_status::kDialogue) {
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
  // A predicted collapse has no final table, and so no largest deflection to name.
  const Matrix<double>* solution =
      end.status == exit_status::kCompleted && run.collapse == 0 ? &finalSolution(run) : nullptr;
  if (!solution) {
    errors.line(head, report);
    return;
  }
  const double w = largestDeflection(*solution, run.model.NUMA, run.model.NUMB, run.model.COUPLING);
  errors.line(head, ", largest deflection", E(12, 4, w), report);
}

}  // namespace

int runJob(RunContext& run, std::ostream& errorStream) {
  const JobEnd end = runStages(run);
  const bool reportOpened = run.reportFile.is_open();
  Writer errors(errorStream);
  const std::vector<std::string> unwritten = closeJobFiles(run);
  for (const std::string& name : unwritten)
    errors.line("korvant: ***ERROR: THE FILE ", name, " COULD NOT BE WRITTEN COMPLETELY");
  const bool reportWritten =
      std::find(unwritten.begin(), unwritten.end(), run.names.report) == unwritten.end();
  if (run.request.jobText) writeClosingSummary(run, end, reportOpened, reportWritten, errors);
  errors.flush();
  return unwritten.empty() ? end.status : exit_status::kFilesNotWritten;
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
