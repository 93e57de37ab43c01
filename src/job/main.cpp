// korvant: analyses one reinforced-concrete slab per run. The main program only wires a job
// together: the command line, the job start and its files, the input deck, the analysis and
// the closing lines, and it turns every way a job can end into its exit status.
#include <iostream>
#include <string>
#include <vector>

#include "job/command_line.hpp"
#include "job/exit_status.hpp"
#include "job/run_context.hpp"
#include "job/run_job.hpp"

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
  RunContext run(std::cin, std::cout, commandLine.request);
  try {
    return runJob(run, std::cerr);
  } catch (const std::exception& error) {
    return reportInternalError(run, error);
  }
}
