#include "job/command_line.hpp"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "job/exit_status.hpp"
#include "output/units.hpp"
#include "solver/sparse_factor.hpp"

namespace korvant {
namespace {

CommandLine usageError(std::string problem) {
  CommandLine c;
  c.action = CommandLine::Action::Usage;
  c.problem = std::move(problem);
  return c;
}

// A fraction strictly between 0 and 1, the whole text read.
bool positiveNumber(const std::string& text, double& value) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(v > 0.0 && v < 1.0)) return false;
  value = v;
  return true;
}

bool positiveCount(const std::string& text, int& value) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < 1 || v > 256) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace

bool jsonSummaryAvailable() {
#ifdef KORVANT_HAVE_JSON
  return true;
#else
  return false;
#endif
}

void enterDeckFolder(JobRequest& request) {
  namespace fs = std::filesystem;
  if (!request.jobText) return;
  const std::string& path = *request.jobText;
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return;
  const fs::path folder = slash == 0 ? fs::path("/") : fs::path(path.substr(0, slash));
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return;
  fs::current_path(folder, ec);
  if (ec) return;
  request.jobText = path.substr(slash + 1);
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine c;
  bool optionsEnded = false;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    const bool option = !optionsEnded && a.size() > 1 && a[0] == '-';
    if (!option) {
      if (c.request.jobText) return usageError("more than one job given: '" + a + "'");
      c.request.jobText = a;
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--yes" || a == "-y") {
      c.request.overwrite = true;
    } else if (a == "--json") {
      if (!jsonSummaryAvailable())
        return usageError(
            "--json: this build has no JSON support (build it with nlohmann-json3-dev)");
      c.request.json = true;
    } else if (a == "--plots") {
      c.request.plots = true;
    } else if (a == "--large") {
      if (!SparseFactor::available())
        return usageError(
            "--large: this build has no sparse solver (build it with libsuitesparse-dev)");
      c.request.large = true;
    } else if (a == "--vtk") {
      c.request.vtk = true;
    } else if (a == "--vtk-ascii") {
      c.request.vtk = true;
      c.request.vtkAscii = true;
    } else if (a == "--strict") {
      c.request.strict = true;
    } else if (a == "--conservative") {
      c.request.conservative = true;
    } else if (a == "--help" || a == "-h") {
      c.action = CommandLine::Action::Help;
    } else if (a == "--version") {
      if (c.action != CommandLine::Action::Help) c.action = CommandLine::Action::Version;
    } else if (a == "--collapse") {
      c.request.collapse.enabled = true;
    } else if (a == "--units") {
      if (k + 1 == args.size()) return usageError("'--units' needs a value");
      c.request.units = args[++k];
      if (!knownUnits(c.request.units))
        return usageError("'--units' names N-mm or kN-m, not '" + c.request.units + "'");
    } else if (a == "--tolerance" || a == "--workers") {
      if (k + 1 == args.size()) return usageError("'" + a + "' needs a value");
      const std::string& value = args[++k];
      if (a == "--tolerance" && !positiveNumber(value, c.request.collapse.tolerance))
        return usageError("'--tolerance' needs a number above 0 and below 1, not '" + value + "'");
      if (a == "--workers" && !positiveCount(value, c.request.collapse.workers))
        return usageError("'--workers' needs a whole number from 1 to 256, not '" + value + "'");
    } else {
      return usageError("unknown option '" + a + "'");
    }
  }
  return c;
}

void writeUsage(Writer& out) {
  out.line("Usage: korvant [--yes] [--strict] [--json] [--plots] [--vtk] [--large]");
  out.line("               [--vtk-ascii] [--units U] [--conservative] [--] [PATH]");
  out.line("       korvant [options] PATH --collapse [--tolerance T] [--workers N]");
  out.line("       korvant --help | --version");
  out.blank();
  out.line("Analyses the reinforced-concrete slab described by the input deck PATH (JOB.inp,");
  out.line("the .inp may be left off) and writes the report JOB.out, the zone layout plot");
  out.line("JOB.zon and every other file of the run beside the deck, in its folder: PATH may");
  out.line("be ./slab, ../runs/q7.5/slab.inp or \"my runs/slab\". The job name (the file name");
  out.line("of PATH) loses its blanks and everything from its first full stop on, so 'slab',");
  out.line("'slab.inp' and ' slab' name the same job. Without PATH the job name is asked at");
  out.line("the console. The deck's warnings and errors also go to standard error, each with");
  out.line("its deck line, and so do notes on values that look like other units.");
  out.blank();
  out.line("Options:");
  out.line("  -y, --yes      overwrite an existing report without asking");
  out.line("      --strict   every warning of the deck is an input error (exit status 3), and");
  out.line("                 so is a layout line that is not exactly a layout name");
  out.line("      --json     also write JOB.json, a summary of the run for scripts: the job,");
  out.line("                 its options, how it ended, every stage with its iterations,");
  out.line("                 passes and increments, and the maxima of every printed solution");
  out.line("      --plots    also draw PNG pictures beside the report with gnuplot: w of");
  out.line("                 every printed solution, the crack and yield maps and the");
  out.line("                 load-deflection curve; their data files go into JOB.plots");
  out.line("      --large    grids beyond the build's capacities (MXD1 = MXBD = 4000): the");
  out.line("                 equations in a sparse store, limited by the machine's memory,");
  out.line("                 solved by a sparse direct solver (UMFPACK); same report");
  out.line("      --vtk      also write ParaView files: JOB.pvd, the load history as an");
  out.line("                 animation of the files in JOB.vtk, one per printed solution and");
  out.line("                 per increment (with --collapse: of the job's own load only)");
  out.line("      --vtk-ascii  the VTK files with their values as text (default: binary)");
  out.line("      --units U  name the deck's units in the labels of JOB.json, the pictures");
  out.line("                 and the VTK files: N-mm or kN-m (nothing is converted; without");
  out.line("                 it the labels read 'deck units')");
  out.line("      --conservative  write the equilibrium on the section forces of every");
  out.line("                 point's own stiffness, with the natural conditions of free and");
  out.line("                 symmetric edges, instead of the stiffness of each loaded point");
  out.line("                 outside the derivatives (docs/deck.md, The two forms)");
  out.line("  --collapse     after the job, search the load multiplier at which a collapse");
  out.line("                 is predicted: the table JOB.col and two result lines");
  out.line("  --tolerance T  width of the collapse bracket over its lower end (default 0.01)");
  out.line("  --workers N    trials of the search run side by side (default: one per CPU)");
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
           "  the report, the zone layout plot, a dataset, JOB.json or a file of --vtk");
  out.line("     could not be written completely");
}

void writeVersion(Writer& out) {
  out.line("korvant ", KORVANT_VERSION);
}

}  // namespace korvant
