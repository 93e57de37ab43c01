#include "bench_job.hpp"

#include <chrono>
#include <memory>
#include <sstream>

#include "job/run_context.hpp"
#include "job/run_job.hpp"

namespace korvant::bench {
namespace {

void copyFigures(const RunContext& run, JobFigures& f) {
  const PhaseTimes& t = run.phaseTimes;
  f.NEQ = run.arrays.reducedNEQ;
  f.BW = run.arrays.BW;
  f.SOLVER = codeNumber(run.model.SOLVER);
  f.passes = t.passes;
  f.MXD1 = run.cap.MXD1;
  f.MXBD = run.cap.MXBD;
  f.assembly = t.assembly.count();
  f.boundary = t.boundary.count();
  f.solve = t.solve.count();
  f.expand = t.expand.count();
  f.recovery = t.recovery.count();
  f.degradation = t.degradation.count();
  f.printing = t.printing.count();
  if (run.arrays.store.sparse()) {
    f.analyses = run.arrays.solverWork.sparse.analyses();
    f.factorizations = run.arrays.solverWork.sparse.factorizations();
  }
  if (!run.path || run.path->steps.empty()) return;
  const equilibrium::PathResult& path = *run.path;
  f.pathSteps = static_cast<int>(path.steps.size());
  f.peak = path.steps[path.peak].loadFactor;
  f.fell = path.end == equilibrium::PathEnd::FellPastPeak;
}

}  // namespace

JobFigures runBenchJob(const std::string& name, bool large, bool conservative, bool equilibrium) {
  using Clock = std::chrono::steady_clock;
  using Seconds = std::chrono::duration<double>;
  JobFigures figures;
  std::istringstream keyboard;
  std::ostringstream console;
  const auto start = Clock::now();
  JobRequest request;
  request.jobText = name;
  request.overwrite = true;
  request.large = large;
  request.conservative = conservative;
  request.equilibrium.enabled = equilibrium;
  prepareProcess(request);  // each job runs in a child process of its own
  auto run = std::make_unique<RunContext>(keyboard, console, request);
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
