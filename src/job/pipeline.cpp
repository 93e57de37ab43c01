#include "job/pipeline.hpp"

#include "core/text.hpp"
#include "job/analysis.hpp"
#include "job/dbfile.hpp"
#include "job/model_setup.hpp"

namespace korvant {
namespace {

using fmt::I;
using fmt::X;

// Input and set-up: false, with the input errors recorded, when the run stops there.
bool readInput(RunContext& run, const DeckSource& source) {
  int inputErrors = 0;
  try {
    DeckReader deck = source.open();
    inputErrors = readAndSetUp(deck, run.model, run.cap, run.report, run.zonePlot, run.files,
                               run.CTOT, run.request.strict);
  } catch (const DeckError& error) {
    recordDeckError(run, error);
    return false;
  }
  if (inputErrors == 0) return true;
  run.outcome.end = RunEnd::InputErrors;
  run.outcome.inputErrors = inputErrors;
  return false;
}

// The result and dataset files of a job: false, with the fatal error recorded, when one
// cannot be opened.
bool openResultFiles(RunContext& run) {
  int nerr = 0;
  DBFILE(run, DbfileMode::AFTER_INPUT, nerr);
  if (nerr == 0) return true;
  ++run.fatal;
  run.outcome.end = RunEnd::Fatal;
  return false;
}

}  // namespace

DeckReader DeckSource::open() const {
  return fromFile_ ? DeckReader::fromFile(value_) : DeckReader::fromText(value_);
}

void recordDeckError(RunContext& run, const DeckError& error) {
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
  run.outcome.end = RunEnd::InputErrors;
  run.outcome.inputErrors = 1;
}

const RunOutcome& runDeck(RunContext& run, const DeckSource& source, const RunPlan& plan) {
  if (!readInput(run, source) || run.request.readOnly) return run.outcome;
  if (plan.beforeAnalysis) plan.beforeAnalysis(run.model);
  if (!plan.jobFiles || openResultFiles(run)) {
    DBINIT(run.model.NUMA, run.model.NUMB, run.files.fibreResults, run.files.failureRatio);
    runAnalysis(run);
  }
  if (plan.jobFiles) writeClosingLines(run);
  return run.outcome;
}

}  // namespace korvant
