// One run from its deck to its outcome, the same for every run: the command-line job, each
// trial of the collapse search, the deck fuzzer and the tests that run in the process. The
// deck is read and checked (MODEL), the model set up (job/model_setup.hpp), the per-point
// result records initialised (DBINIT) and the analysis made (runAnalysis, where the
// procedure is chosen); every step records in run.outcome where it ends the run.
#pragma once

#include <functional>
#include <string>

#include "input/deck_reader.hpp"
#include "job/run_context.hpp"

namespace korvant {

// Where a run's deck comes from: the job's deck file, or a text in memory.
class DeckSource {
 public:
  static DeckSource file(std::string path) { return DeckSource(true, std::move(path)); }
  static DeckSource text(std::string text) { return DeckSource(false, std::move(text)); }
  // Throws DeckError when the file cannot be read.
  DeckReader open() const;

 private:
  DeckSource(bool fromFile, std::string value) : fromFile_(fromFile), value_(std::move(value)) {}
  bool fromFile_;
  std::string value_;
};

// What a run does beyond what its request (run.request) asks.
struct RunPlan {
  // The job of the command line: the result and dataset files are opened after the input
  // (DBFILE mode 0) and the closing lines written after the analysis.
  bool jobFiles = false;
  // Last changes to the model, read and checked without errors, before the analysis: the
  // load multiplier of a collapse trial, the small limits of a fuzzed deck.
  std::function<void(ModelDeck&)> beforeAnalysis;
};

// Carries the deck of `source` through input, set-up and analysis in `run` (a fresh context
// whose job has started) as `run.request` and `plan` ask, and returns how the run ended. A
// deck that cannot be read on is reported here, with the deck line, to the report when it is
// open and to the console, and ends the run with one input error. A run whose request is
// readOnly stops after the set-up.
const RunOutcome& runDeck(RunContext& run, const DeckSource& source, const RunPlan& plan = {});

// Where the deck cannot be read on (it ends early, a number cannot be read, the file cannot
// be read at all): the message and the deck line, to the report when it is open and to the
// console, then the end of the job, recorded as one input error.
void recordDeckError(RunContext& run, const DeckError& error);

}  // namespace korvant
