#include "job/run_job.hpp"

#include <string>

#include "input/deck_reader.hpp"
#include "input/model.hpp"
#include "job/analysis.hpp"
#include "job/dbfile.hpp"
#include "job/exit_status.hpp"

namespace korvant {
namespace {

using fmt::I;
using fmt::X;

std::string trimRight(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

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

// Reads and checks the deck into the model. Returns true when the analysis may follow.
bool readModel(RunContext& run) {
  try {
    DeckReader deck = DeckReader::fromFile(run.names.deck);
    const int inputErrors =
        MODEL(deck, run.model, run.cap, run.report, run.zonePlot, run.files, run.CTOT);
    return inputErrors == 0;
  } catch (const DeckError& error) {
    reportDeckError(run, error);
    return false;
  }
}

}  // namespace

int runJob(RunContext& run) {
  int nerr = 0;
  DBFILE(run, 1, nerr);
  if (nerr > 0) return exit_status::kDialogue;
  if (!readModel(run)) return exit_status::kInputErrors;

  // A dataset file that cannot be opened stops the job as a fatal run-time error.
  DBFILE(run, 0, nerr);
  if (nerr > 0) {
    ++run.fatal;
  } else {
    DBINIT(run.model.NUMA, run.model.NUMB, run.files.fibreResults, run.files.failureRatio);
    runAnalysis(run);
  }
  writeClosingLines(run);
  return run.fatal > 0 ? exit_status::kFatalRunTime : exit_status::kCompleted;
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
