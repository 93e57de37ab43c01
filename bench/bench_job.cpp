#include "bench_job.hpp"

#include <chrono>
#include <memory>
#include <sstream>

#include "input/deck_reader.hpp"
#include "input/model.hpp"
#include "job/analysis.hpp"
#include "job/dbfile.hpp"
#include "job/exit_status.hpp"
#include "job/run_context.hpp"

namespace korvant::bench {
namespace {

// The job from its start to its closing lines, as the main program runs it.
int runJob(RunContext& run) {
  int nerr = 0;
  DBFILE(run, 1, nerr);
  if (nerr > 0) return exit_status::kDialogue;
  try {
    DeckReader deck = DeckReader::fromFile(run.names.deck);
    if (MODEL(deck, run.model, run.cap, run.report, run.zonePlot, run.files, run.CTOT) > 0)
      return exit_status::kInputErrors;
  } catch (const DeckError&) {
    return exit_status::kInputErrors;
  }
  DBFILE(run, 0, nerr);
  if (nerr > 0) return exit_status::kDialogue;
  DBINIT(run.model.NUMA, run.model.NUMB, run.files.fibreResults, run.files.failureRatio);
  runAnalysis(run);
  writeClosingLines(run);
  return run.fatal > 0 ? exit_status::kFatalRunTime : exit_status::kCompleted;
}

void copyFigures(const RunContext& run, JobFigures& f) {
  const PhaseTimes& t = run.phaseTimes;
  f.NEQ = run.arrays.reducedNEQ;
  f.BW = run.arrays.BW;
  f.SOLVER = run.model.SOLVER;
  f.passes = t.passes;
  f.MXD1 = run.cap.MXD1;
  f.MXBD = run.cap.MXBD;
  f.assembly = t.assembly.count();
  f.boundary = t.boundary.count();
  f.solve = t.solve.count();
  f.expand = t.expand.count();
  f.recovery = t.recovery.count();
  f.printing = t.printing.count();
}

}  // namespace

JobFigures runBenchJob(const std::string& name) {
  using Clock = std::chrono::steady_clock;
  using Seconds = std::chrono::duration<double>;
  JobFigures figures;
  std::istringstream keyboard;
  std::ostringstream console;
  const auto start = Clock::now();
  auto run = std::make_unique<RunContext>(keyboard, console, JobRequest{name, true});
  const auto created = Clock::now();
  figures.exitStatus = runJob(*run);
  copyFigures(*run, figures);
  const auto ended = Clock::now();
  run.reset();
  const auto released = Clock::now();
  figures.wallSeconds = Seconds(released - start).count();
  figures.setupSeconds = Seconds(created - start).count();
  figures.releaseSeconds = Seconds(released - ended).count();
  return figures;
}

}  // namespace korvant::bench
