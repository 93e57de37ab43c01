// The command line of the korvant executable:
//   korvant [--yes] [--conservative] [JOB]    run a job (JOB given: no prompt; --yes:
//                            overwrite unasked; --conservative: the equations on the forces)
//   korvant --help | --version
#pragma once

#include <string>
#include <vector>

#include "core/writer.hpp"
#include "job/run_context.hpp"

namespace korvant {

struct CommandLine {
  enum class Action { Run, Help, Version, Usage };
  Action action = Action::Run;
  JobRequest request;
  std::string problem;  // what is wrong with the command line, for Action::Usage
};

// `args` are the arguments after the program name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// False when this build was made without nlohmann-json and cannot write the run's summary
// (--json).
bool jsonSummaryAvailable();

void writeUsage(Writer& out);
void writeVersion(Writer& out);

}  // namespace korvant
