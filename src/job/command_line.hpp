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
// A job given as a path (a '/' in it: ./slab, ../runs/q7.5/slab.inp, "my runs/slab"): the
// job moves into the deck's folder, where its report and every other file is written, and
// keeps the file name as its job text (which then loses its blanks and everything from its
// first full stop on, as a typed name does). A folder that does not exist is left in the job
// text, which then names no deck. Changes the working directory of the process.
void enterDeckFolder(JobRequest& request);

CommandLine parseCommandLine(const std::vector<std::string>& args);

// False when this build was made without nlohmann-json and cannot write the run's summary
// (--json).
bool jsonSummaryAvailable();

void writeUsage(Writer& out);
void writeVersion(Writer& out);

}  // namespace korvant
