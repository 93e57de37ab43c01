#include "job/command_line.hpp"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
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

// A whole number from 1 on, the whole text read.
bool positiveIndex(const std::string& text, int& value) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < 1 || v > 1000000) return false;
  value = static_cast<int>(v);
  return true;
}

// A fraction strictly between 0 and 1, the whole text read.
bool positiveNumber(const std::string& text, double& value) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(v > 0.0 && v < 1.0)) return false;
  value = v;
  return true;
}

// A number above `above` (and, where `below` is given, below it), the whole text read.
bool numberBetween(const std::string& text, double above, double below, double& value) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(v) || !(v > above) || !(v < below))
    return false;
  value = v;
  return true;
}

// Two point indices "I,J", each a whole number from 1 on.
bool pointIndices(const std::string& text, std::optional<std::pair<int, int>>& point) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  int I = 0, J = 0;
  if (!positiveIndex(text.substr(0, comma), I) || !positiveIndex(text.substr(comma + 1), J))
    return false;
  point = std::make_pair(I, J);
  return true;
}

bool positiveCount(const std::string& text, int& value) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < 1 || v > 256) return false;
  value = static_cast<int>(v);
  return true;
}

// The options of the analysis in equilibrium that take a value; false when `a` is none of
// them. A bad value leaves its complaint in `problem`.
bool equilibriumValue(const std::string& a, const std::string& value, EquilibriumRequest& r,
                      std::string& problem) {
  constexpr double kNoBound = std::numeric_limits<double>::infinity();
  if (a == "--tension-stiffening") {
    const auto law = equilibrium::tensionStiffeningNamed(value);
    if (law)
      r.stiffening = *law;
    else
      problem = "'--tension-stiffening' names 200, 500 or none, not '" + value + "'";
  } else if (a == "--steel-hardening") {
    // The hardening slope over Es: 0 (perfectly plastic) up to, not including, 1.
    if (!numberBetween(value, -std::numeric_limits<double>::denorm_min(), 1.0, r.hardening))
      problem = "'--steel-hardening' needs a ratio from 0 to below 1, not '" + value + "'";
  } else if (a == "--control") {
    if (!pointIndices(value, r.control))
      problem =
          "'--control' needs the point indices I,J (whole numbers from 1), not '" + value + "'";
  } else if (a == "--eq-step") {
    if (!numberBetween(value, 0.0, kNoBound, r.step))
      problem = "'--eq-step' needs a length above 0, not '" + value + "'";
  } else if (a == "--eq-tolerance") {
    if (!positiveNumber(value, r.tolerance))
      problem = "'--eq-tolerance' needs a number above 0 and below 1, not '" + value + "'";
  } else if (a == "--stop-at") {
    if (!positiveNumber(value, r.stopAt))
      problem = "'--stop-at' needs a fraction above 0 and below 1, not '" + value + "'";
  } else {
    return false;
  }
  return true;
}

// The options that only an analysis in equilibrium reads, and those that cannot go with it.
std::string equilibriumConflict(const JobRequest& r, const std::vector<std::string>& given) {
  if (!r.equilibrium.enabled && !given.empty())
    return "'" + given.front() + "' belongs to --equilibrium";
  if (r.equilibrium.enabled && r.collapse.enabled)
    return "--collapse searches the collapse of the specified analysis; the analysis in "
           "equilibrium finds its peak itself";
  return {};
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
  std::vector<std::string> equilibriumOptions;
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
    } else if (a == "--equilibrium") {
      c.request.equilibrium.enabled = true;
      c.request.conservative = true;
    } else if (a == "--tension-stiffening" || a == "--steel-hardening" || a == "--control" ||
               a == "--eq-step" || a == "--eq-tolerance" || a == "--stop-at") {
      if (k + 1 == args.size()) return usageError("'" + a + "' needs a value");
      std::string problem;
      equilibriumValue(a, args[++k], c.request.equilibrium, problem);
      if (!problem.empty()) return usageError(problem);
      equilibriumOptions.push_back(a);
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
  if (std::string problem = equilibriumConflict(c.request, equilibriumOptions); !problem.empty())
    return usageError(problem);
  return c;
}

void writeUsage(Writer& out) {
  out.line("Usage: korvant [--yes] [--strict] [--json] [--plots] [--vtk] [--large]");
  out.line("               [--vtk-ascii] [--units U] [--conservative] [--] [PATH]");
  out.line("       korvant [options] PATH --collapse [--tolerance T] [--workers N]");
  out.line("       korvant [options] PATH --equilibrium [--tension-stiffening L]");
  out.line("               [--steel-hardening R] [--control I,J] [--eq-step S]");
  out.line("               [--eq-tolerance T] [--stop-at F]");
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
  out.line("                 it the labels read 'deck units'); with --equilibrium also");
  out.line("                 the units of the fracture energy of crushing (default N-mm)");
  out.line("      --conservative  write the equilibrium on the section forces of every");
  out.line("                 point's own stiffness, with the natural conditions of free and");
  out.line("                 symmetric edges, instead of the stiffness of each loaded point");
  out.line("                 outside the derivatives (docs/deck.md, The two forms)");
  out.line("  --collapse     after the job, search the load multiplier at which a collapse");
  out.line("                 is predicted: the table JOB.col and two result lines");
  out.line("  --tolerance T  width of the collapse bracket over its lower end (default 0.01)");
  out.line("  --workers N    trials of the search run side by side (default: one per CPU)");
  out.line("  --equilibrium  instead of the deck's nonlinear procedure, follow the slab's");
  out.line("                 load-deflection path from zero past its peak, in equilibrium at");
  out.line("                 every step, on the section forces (docs/equilibrium.md): a line");
  out.line("                 per step in the report and JOB.curve.csv");
  out.line("  --tension-stiffening L  cracked concrete between the bars: 200 (default),");
  out.line("                 500 or none");
  out.line("  --steel-hardening R  steel's slope after yield over Es (default 0)");
  out.line("  --control I,J  the point whose deflection is raised (default: the point of the");
  out.line("                 largest elastic deflection)");
  out.line("  --eq-step S    its deflection per step, in deck length units");
  out.line("  --eq-tolerance T  convergence of every step (default 1e-4)");
  out.line("  --stop-at F    end the path once the load has fallen to F of the peak");
  out.line("                 (default 0.8)");
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
