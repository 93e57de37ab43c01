#include "job/command_line.hpp"

#include "job/exit_status.hpp"

namespace korvant {
namespace {

CommandLine usageError(std::string problem) {
  CommandLine c;
  c.action = CommandLine::Action::Usage;
  c.problem = std::move(problem);
  return c;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine c;
  bool optionsEnded = false;
  for (const std::string& a : args) {
    const bool option = !optionsEnded && a.size() > 1 && a[0] == '-';
    if (!option) {
      if (c.request.jobText) return usageError("more than one job given: '" + a + "'");
      c.request.jobText = a;
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--yes" || a == "-y") {
      c.request.overwrite = true;
    } else if (a == "--help" || a == "-h") {
      c.action = CommandLine::Action::Help;
    } else if (a == "--version") {
      if (c.action != CommandLine::Action::Help) c.action = CommandLine::Action::Version;
    } else {
      return usageError("unknown option '" + a + "'");
    }
  }
  return c;
}

void writeUsage(Writer& out) {
  out.line("Usage: korvant [--yes] [JOB]");
  out.line("       korvant --help | --version");
  out.blank();
  out.line("Analyses the reinforced-concrete slab described by the input deck JOB.inp and");
  out.line("writes the report JOB.out and the zone layout plot JOB.zon. The job name loses");
  out.line("its blanks and everything from its first full stop on, so 'slab', 'slab.inp'");
  out.line("and ' slab' name the same job. Without JOB the job name is asked at the console.");
  out.blank();
  out.line("Options:");
  out.line("  -y, --yes      overwrite an existing report without asking");
  out.line("  -h, --help     print this help and exit");
  out.line("      --version  print the version and exit");
  out.line("  --             end of options (for a job name beginning with '-')");
  out.blank();
  out.line("Exit status:");
  using fmt::I;
  using namespace exit_status;
  out.line(I(3, kCompleted),
           "  analysis completed (also when a structural collapse was predicted)");
  out.line(I(3, kUsage), "  the command line could not be understood");
  out.line(I(3, kDialogue),
           "  the job did not start (missing deck, refused overwrite, file not writable)");
  out.line(I(3, kInputErrors),
           "  input errors: fatal errors in the deck, a deck that ends early, holds an");
  out.line("     unreadable number or cannot be read");
  out.line(I(3, kFatalRunTime), "  the analysis was stopped by a fatal run-time error");
  out.line(I(3, kFilesNotWritten),
           "  the report, the zone layout plot or a dataset could not be written completely");
}

void writeVersion(Writer& out) {
  out.line("korvant ", KORVANT_VERSION);
}

}  // namespace korvant
