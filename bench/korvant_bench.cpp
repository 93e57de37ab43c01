// korvant_bench: runs the benchmark jobs, each in its own child process, and reports their
// whole-run wall time, peak memory and phase times against LAPACK's dgbsv on a band system
// of the same order and half bandwidth as the coupled job's reduced system, the cost of a
// cracking iteration of the nonlinear analysis against the linear job's solution pass, and
// the whole nonlinear job against its number of solutions and the linear job's memory.
//
//   korvant_bench [--repeat N] [--equilibrium-only] [DECK_FOLDER [RUN_FOLDER]]
//
// The decks are copied from DECK_FOLDER (default: the bench folder of the sources) into
// RUN_FOLDER (default: run/ in the build folder), where the jobs write their reports. Every
// measurement is made N times (default 3); the shortest time and the largest peak are kept.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "band_yardstick.hpp"
#include "bench_job.hpp"
#include "child_process.hpp"
#include "studies/collapse_search.hpp"

namespace korvant::bench {
namespace {

namespace fs = std::filesystem;

struct Job {
  std::string name;   // deck name without .inp
  std::string title;  // what the report line calls it
};

struct Measured {
  JobFigures figures;
  ChildStats stats;
};

struct Options {
  int repeat = 3;
  bool pathOnly = false;  // the load path in equilibrium alone (with the linear jobs it needs)
  fs::path decks = KORVANT_BENCH_DECKS;
  fs::path runFolder = KORVANT_BENCH_RUN_DIR;
};

Options parseOptions(int argc, char** argv) {
  Options o;
  std::vector<std::string> rest;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--repeat" && k + 1 < argc)
      o.repeat = std::max(1, std::stoi(argv[++k]));
    else if (arg == "--equilibrium-only")
      o.pathOnly = true;
    else
      rest.push_back(arg);
  }
  if (!rest.empty()) o.decks = rest[0];
  if (rest.size() > 1) o.runFolder = rest[1];
  return o;
}

// The shortest of the runs, with the largest peak of them; `conservative`: the job run with
// --conservative.
Measured measureJob(const std::string& name, int repeat, bool conservative = false) {
  Measured best;
  double peak = 0.0;
  for (int k = 0; k < repeat; ++k) {
    JobFigures figures;
    const ChildStats stats = runChild<JobFigures>(
        [&name, conservative] { return runBenchJob(name, false, conservative); }, figures);
    if (figures.exitStatus != 0)
      throw std::runtime_error("job " + name + " ended with status " +
                               std::to_string(figures.exitStatus));
    peak = std::max(peak, stats.peakBytes);
    if (k == 0 || stats.wallSeconds < best.stats.wallSeconds) best = Measured{figures, stats};
  }
  best.stats.peakBytes = peak;
  return best;
}

double measureDgbsv(int n, int halfBand, int repeat, ChildStats& stats) {
  double best = 0.0;
  for (int k = 0; k < repeat; ++k) {
    double seconds = 0.0;
    stats = runChild<double>([=] { return dgbsvSeconds(n, halfBand, halfBand); }, seconds);
    if (k == 0 || seconds < best) best = seconds;
  }
  return best;
}

std::string cpuModel() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line))
    if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
  return "unknown";
}

double storeBytes(const JobFigures& f) {
  return static_cast<double>(f.MXD1) * static_cast<double>(f.MXBD) * 8.0;
}

void printJob(const Job& job, const Measured& m) {
  const JobFigures& f = m.figures;
  std::cout << std::left << std::setw(30) << job.title << std::right << std::setw(6) << f.NEQ
            << std::setw(6) << f.BW << std::setw(10) << f.wallSeconds << std::setw(10)
            << m.stats.peakBytes / 1.0e6 << std::setw(8) << m.stats.peakBytes / storeBytes(f)
            << '\n';
  std::cout << "    phases (s): assembly " << f.assembly << ", boundary " << f.boundary
            << ", solve " << f.solve << ", expand " << f.expand << ", recovery " << f.recovery
            << ", degradation " << f.degradation << ", printing " << f.printing << "   ("
            << f.passes << (f.passes == 1 ? " pass)\n" : " passes)\n");
  const double passes =
      f.assembly + f.boundary + f.solve + f.expand + f.recovery + f.degradation + f.printing;
  std::cout << "    outside the passes (s): context set-up " << f.setupSeconds << ", release "
            << f.releaseSeconds << ", input, system definition and the rest "
            << f.wallSeconds - f.setupSeconds - f.releaseSeconds - passes << '\n';
}

void printRatio(const std::string& what, double value, const std::string& target, bool met) {
  std::cout << "  " << std::left << std::setw(40) << what << std::right << std::setw(8) << value
            << "   target " << target << (met ? "   met" : "   NOT MET") << '\n';
}

// The time of one solution with its recovery and, in the nonlinear stages, its degradation:
// what a stage repeats, without the printing of its tables.
double perSolution(const JobFigures& f) {
  const double total = f.assembly + f.boundary + f.solve + f.expand + f.recovery + f.degradation;
  return total / std::max(1, f.passes);
}

void printCracking(const std::string& what, const JobFigures& cracking, const JobFigures& linear) {
  const double each = perSolution(cracking);
  const double ratio = each / perSolution(linear);
  std::cout << "  " << what << ": " << cracking.passes << " solutions, " << each
            << " s each (the linear pass " << perSolution(linear) << " s); DEGRAD "
            << 100.0 * cracking.degradation / cracking.passes / each << " %, RECOV "
            << 100.0 * cracking.recovery / cracking.passes / each << " % of a solution\n";
  printRatio("  cracking iteration / linear pass", ratio, "<= 1.3", ratio <= 1.3);
}

// The whole nonlinear job against its solutions: its wall time over (solutions x the linear
// job's pass), and its peak memory over the linear job's.
void printNonlinear(const std::string& what, const Measured& nonlinear, const Measured& linear) {
  const JobFigures& f = nonlinear.figures;
  const double passCost = f.wallSeconds / (f.passes * perSolution(linear.figures));
  const double memory = nonlinear.stats.peakBytes / linear.stats.peakBytes;
  std::cout << "  " << what << ": " << f.passes << " solutions, " << perSolution(f)
            << " s each (the linear pass " << perSolution(linear.figures) << " s), whole job "
            << f.wallSeconds << " s, peak " << nonlinear.stats.peakBytes / 1.0e6 << " MB (linear "
            << linear.stats.peakBytes / 1.0e6 << " MB)\n";
  printRatio("  job / (solutions x linear pass)", passCost, "<= 1.3", passCost <= 1.3);
  printRatio("  peak memory / linear job's", memory, "<= 1.1", memory <= 1.1);
}

// The load path in equilibrium of deck `name` with its default controls, on the sparse store
// when `large`: the shortest of `repeat` runs. A path that ends without convergence still counts:
// its time is measured.
JobFigures measurePath(const std::string& name, int repeat, bool large = false) {
  JobFigures best;
  for (int k = 0; k < repeat; ++k) {
    JobFigures figures;
    runChild<JobFigures>([&name, large] { return runBenchJob(name, large, false, true); }, figures);
    if (k == 0 || figures.wallSeconds < best.wallSeconds) best = figures;
  }
  return best;
}

// The path's whole run against its target, and the cost of one solution (the secant sections
// of every point, then the pass) in milliseconds against the job's linear pass.
void printPath(const std::string& what, const JobFigures& f, const JobFigures& linear,
               double target) {
  const double each = 1000.0 / std::max(1, f.passes);
  const double pass = f.assembly + f.boundary + f.solve + f.expand;
  std::cout << "  " << what << ": " << f.pathSteps << " steps, " << f.passes
            << " solutions, peak load factor " << f.peak
            << (f.fell ? " (fell past it to the stopping fraction)" : " (not passed)")
            << std::setprecision(2) << "\n    per solution (ms): " << f.wallSeconds * each
            << " in all, of which the pass " << pass * each << " (assembly " << f.assembly * each
            << ", boundary " << f.boundary * each << ", solve " << f.solve * each
            << "), the sections and the rest " << (f.wallSeconds - pass) * each
            << "; the linear job's pass " << 1000.0 * perSolution(linear) << std::setprecision(3)
            << '\n';
  printRatio("  whole path (s)", f.wallSeconds, "< " + std::to_string(target).substr(0, 4),
             f.wallSeconds < target);
}

// Both paths, after the linear jobs of the same slabs (`linear`: uncoupled, then coupled).
void printPaths(const std::vector<Measured>& linear, int repeat) {
  std::cout << "\nload path in equilibrium (--equilibrium, default controls):\n";
  printPath("uncoupled", measurePath("equilibrium_uncoupled_31", repeat), linear[0].figures, 5.0);
  printPath("coupled", measurePath("equilibrium_coupled_31", repeat), linear[1].figures, 30.0);
  printPath("coupled on the sparse store (--large)",
            measurePath("equilibrium_coupled_31", repeat, true), linear[1].figures, 30.0);
}

// The collapse-load search of `deck` with `workers` trials side by side: its wall time (the
// best of `repeat`), its trials and its bracket.
struct SearchFigures {
  double seconds = 0.0;
  std::size_t trials = 0;
  double lo = 0.0, hi = 0.0;
};

SearchFigures measureSearch(const fs::path& deck, int workers, int repeat) {
  std::ifstream in(deck);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  SearchFigures best;
  for (int k = 0; k < repeat; ++k) {
    const auto start = std::chrono::steady_clock::now();
    const TrialResult atOne = runTrial(text, 1.0);
    const SearchResult r = searchCollapse(
        atOne, 0.01, workers, [&text](double m) { return runTrial(text, m); },
        [](const TrialResult&, int) {});
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    if (k == 0 || seconds.count() < best.seconds)
      best = {seconds.count(), r.trials.size(), r.lo, r.hi};
  }
  return best;
}

void printSearch(const fs::path& deck, int repeat) {
  const SearchFigures serial = measureSearch(deck, 1, repeat);
  const SearchFigures parallel = measureSearch(deck, 2, repeat);
  std::cout << "\ncollapse search of " << deck.filename().string()
            << " (tolerance 0.01): " << serial.trials << " trials, bracket " << std::setprecision(5)
            << serial.lo << " .. " << serial.hi << std::setprecision(3) << "\n  1 worker "
            << serial.seconds << " s, 2 workers " << parallel.seconds << " s"
            << (parallel.lo == serial.lo && parallel.hi == serial.hi ? " (same bracket)\n"
                                                                     : " (BRACKETS DIFFER)\n");
  const double ratio = parallel.seconds / serial.seconds;
  printRatio("  2 workers / 1 worker", ratio, "<= 0.6", ratio <= 0.6);
}

// The equations on the section forces (--conservative) against the specified ones: the cost
// of one solution (assembly to recovery, with the degradation of the nonlinear stages) of
// each job on either form.
void printConservative(const std::vector<Job>& jobs, const std::vector<Measured>& specified,
                       int repeat) {
  std::cout << "\nequations on the section forces (--conservative), per solution:\n";
  for (std::size_t k = 0; k < jobs.size(); ++k) {
    const JobFigures c = measureJob(jobs[k].name, repeat, true).figures;
    const double ratio = perSolution(c) / perSolution(specified[k].figures);
    std::cout << "  " << jobs[k].title << ": " << perSolution(c) << " s (specified "
              << perSolution(specified[k].figures) << " s); assembly " << c.assembly / c.passes
              << " s (" << specified[k].figures.assembly / specified[k].figures.passes << ")\n";
    printRatio("  conservative / specified", ratio, "<= 1.2", ratio <= 1.2);
  }
}

int run(const Options& o) {
  fs::create_directories(o.runFolder);
  const std::vector<Job> jobs = {{"uncoupled_31", "uncoupled 31 x 31 (band)"},
                                 {"coupled_31", "coupled 31 x 31 (full)"},
                                 {"cracking_uncoupled_31", "cracking uncoupled 31 x 31"},
                                 {"cracking_coupled_31", "cracking coupled 31 x 31"},
                                 {"nonlinear_uncoupled_31", "nonlinear uncoupled 31 x 31"},
                                 {"nonlinear_coupled_31", "nonlinear coupled 31 x 31"}};
  for (const std::string name : {"equilibrium_uncoupled_31", "equilibrium_coupled_31"})
    fs::copy_file(o.decks / (name + ".inp"), o.runFolder / (name + ".inp"),
                  fs::copy_options::overwrite_existing);
  for (const Job& job : jobs)
    fs::copy_file(o.decks / (job.name + ".inp"), o.runFolder / (job.name + ".inp"),
                  fs::copy_options::overwrite_existing);
  fs::current_path(o.runFolder);

  std::cout << "korvant benchmark: " << std::thread::hardware_concurrency() << " CPUs, "
            << cpuModel() << "; best of " << o.repeat << " runs\n\n";
  std::cout << std::fixed << std::setprecision(3);
  std::cout << std::left << std::setw(30) << "job" << std::right << std::setw(6) << "NEQ"
            << std::setw(6) << "BW" << std::setw(10) << "wall s" << std::setw(10) << "peak MB"
            << std::setw(8) << "/store" << '\n';
  std::vector<Measured> results;
  for (const Job& job : jobs) {
    results.push_back(measureJob(job.name, o.repeat));
    printJob(job, results.back());
    if (o.pathOnly && results.size() == 2) {
      printPaths(results, o.repeat);
      return 0;
    }
  }

  const JobFigures& coupled = results[1].figures;
  const int halfBand = (coupled.BW - 1) / 2;
  ChildStats dgbsvStats;
  const double dgbsv = measureDgbsv(coupled.NEQ, halfBand, o.repeat, dgbsvStats);
  std::cout << "dgbsv n = " << coupled.NEQ << ", kl = ku = " << halfBand << ": " << dgbsv
            << " s, peak " << dgbsvStats.peakBytes / 1.0e6 << " MB\n\n";

  const double store = storeBytes(coupled);
  std::cout << "ratios (equation store MXD1 x MXBD x 8 bytes = " << store / 1.0e6 << " MB):\n";
  const double rc = results[1].figures.wallSeconds / dgbsv;
  const double ru = results[0].figures.wallSeconds / dgbsv;
  const double mu = results[0].stats.peakBytes / storeBytes(results[0].figures);
  const double mc = results[1].stats.peakBytes / store;
  printRatio("coupled job / dgbsv", rc, "<= 5", rc <= 5.0);
  printRatio("uncoupled job / dgbsv", ru, "<= 3", ru <= 3.0);
  printRatio("peak memory uncoupled / store", mu, "< 1.2", mu < 1.2);
  printRatio("peak memory coupled / store", mc, "< 1.2", mc < 1.2);
  std::cout << "\ncracking stage (iterations under the full load until no layer cracks):\n";
  printCracking("uncoupled", results[2].figures, results[0].figures);
  printCracking("coupled", results[3].figures, results[1].figures);
  std::cout << "\nwhole nonlinear job (cracking, then yielding passes with re-attempts):\n";
  printNonlinear("uncoupled", results[4], results[0]);
  printNonlinear("coupled", results[5], results[1]);
  printPaths(results, o.repeat);
  printSearch(o.decks / "search_yielding_21.inp", o.repeat);
  printConservative(jobs, results, o.repeat);
  return 0;
}

}  // namespace
}  // namespace korvant::bench

int main(int argc, char** argv) {
  try {
    return korvant::bench::run(korvant::bench::parseOptions(argc, argv));
  } catch (const std::exception& error) {
    std::cerr << "korvant_bench: " << error.what() << '\n';
    return 1;
  }
}
