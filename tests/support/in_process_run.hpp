// A job run in this process from a deck text through the run's pipeline (job/pipeline.hpp),
// with the run's context kept for the test to read its solution vectors and working files.
// The report goes nowhere: no file is opened.
#pragma once

#include <memory>
#include <sstream>
#include <string>

#include "job/run_context.hpp"

namespace korvant::test {

struct InProcessRun {
  InProcessRun() = default;
  // A run with what the command line would ask of it (the sparse store, say).
  explicit InProcessRun(JobRequest request) : run(keyboard, console, std::move(request)) {}

  std::istringstream keyboard;
  std::ostringstream console;
  RunContext run{keyboard, console};
  int inputErrors = 0;
};

// Runs `deckText` in `r`, a fresh run.
void runInProcess(InProcessRun& r, const std::string& deckText);

// The same in a run of its own, made with `request`.
std::unique_ptr<InProcessRun> runInProcess(const std::string& deckText, JobRequest request = {});

// The request of a run on the sparse equation store (--large).
JobRequest largeRequest();

}  // namespace korvant::test
