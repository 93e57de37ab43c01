// korvant: analyses one reinforced-concrete slab per run. The main program only wires a job
// together: the command line, the job start and its files, the input deck, the analysis and
// the closing lines, and it turns every way a job can end into its exit status.
#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "exporters/run_pictures.hpp"
#include "exporters/run_summary.hpp"
#include "exporters/run_vtk.hpp"
#include "exporters/summary_json.hpp"
#include "job/command_line.hpp"
#include "job/exit_status.hpp"
#include "job/run_context.hpp"
#include "job/run_job.hpp"
#include "studies/collapse_search.hpp"

int main(int argc, char** argv) {
  using namespace korvant;
  const CommandLine commandLine = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  Writer console(std::cout);
  switch (commandLine.action) {
    case CommandLine::Action::Help:
      writeUsage(console);
      return exit_status::kCompleted;
    case CommandLine::Action::Version:
      writeVersion(console);
      return exit_status::kCompleted;
    case CommandLine::Action::Usage: {
      Writer errors(std::cerr);
      errors.line("korvant: ", commandLine.problem);
      errors.line("Try 'korvant --help' for more information.");
      return exit_status::kUsage;
    }
    case CommandLine::Action::Run:
      break;
  }
  JobRequest request = commandLine.request;
  enterDeckFolder(request);
  prepareProcess(request);
  RunContext run(std::cin, std::cout, request);
  // The watchers of the job's own run (not of its collapse search) are owned here.
  std::unique_ptr<RunSummary> summary;  // for --json and --plots
  if (run.request.json || run.request.plots) {
    summary = std::make_unique<RunSummary>(run.model, run.request.plots, &run.files);
    run.watchers.push_back(summary.get());
  }
  std::unique_ptr<VtkSeries> vtk;
  if (run.request.vtk) {
    vtk = std::make_unique<VtkSeries>(run);
    run.watchers.push_back(vtk.get());
  }
  bool vtkWritten = true;
  int status = exit_status::kCompleted;  // of the job of the deck's own load
  std::optional<CollapseSearch> search;  // the collapse search, when one ran
  try {
    const auto start = std::chrono::steady_clock::now();
    status = runJob(run, std::cerr);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    if (vtk) vtkWritten = vtk->finish(status, std::cerr);
    if (run.request.collapse.enabled && run.outcome.analysed)
      search = runCollapseSearch(run, run.request.collapse, seconds.count());
  } catch (const std::exception& error) {
    status = reportInternalError(run, error);
  }
  std::string problem;
  const CollapseSearch* ran = search && search->workers > 0 ? &*search : nullptr;
  bool jsonWritten = true;
  if (run.request.json && !writeJsonSummary(run, *summary, status, ran, problem)) {
    Writer(std::cerr).line("korvant: ", problem);
    jsonWritten = false;
  }
  if (run.request.plots && run.outcome.analysed) drawPictures(run, *summary, std::cerr);
  // A file of the run that could not be written ends the command with its own status, as
  // the job's files do.
  if (!vtkWritten || !jsonWritten) return exit_status::kFilesNotWritten;
  return search ? search->status : status;
}
