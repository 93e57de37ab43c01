// korvant_bench_large: the sparse equation store (--large) on grids of 31, 61, 101 and 151
// points a side, coupled and uncoupled, linear and nonlinear, each job in its own child
// process: the time of one solution pass, the whole job, the peak memory, and how they grow
// with the number of unknowns (the exponent of a power law fitted through the sizes). The
// band and full stores solve the 31 x 31 jobs too, for the comparison at that size.
//
//   korvant_bench_large [--sizes 31,61,...] [--linear-only] [--equilibrium]
//                       [DECK_FOLDER [RUN_FOLDER]]
//
// The decks are the 31 x 31 nonlinear benchmark decks of DECK_FOLDER with their grid
// replaced; the linear decks are the same slabs with a linear solution. With --equilibrium
// the load paths in equilibrium of the same slabs (equilibrium_*_31.inp) run instead, and
// the symbolic analyses of the sparse factorization are counted against its factorizations.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "bench_job.hpp"
#include "child_process.hpp"

namespace korvant::bench {
namespace {

namespace fs = std::filesystem;

struct Options {
  std::vector<int> sizes = {31, 61, 101, 151};
  bool linearOnly = false;
  bool equilibrium = false;
  fs::path decks = KORVANT_BENCH_DECKS;
  fs::path runFolder = KORVANT_BENCH_RUN_DIR;
};

std::vector<int> parseSizes(const std::string& text) {
  std::vector<int> sizes;
  std::istringstream in(text);
  for (std::string n; std::getline(in, n, ',');) sizes.push_back(std::stoi(n));
  return sizes;
}

Options parseOptions(int argc, char** argv) {
  Options o;
  std::vector<std::string> rest;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--sizes" && k + 1 < argc)
      o.sizes = parseSizes(argv[++k]);
    else if (arg == "--linear-only")
      o.linearOnly = true;
    else if (arg == "--equilibrium")
      o.equilibrium = true;
    else
      rest.push_back(arg);
  }
  if (!rest.empty()) o.decks = rest[0];
  if (rest.size() > 1) o.runFolder = rest[1];
  return o;
}

std::string readText(const fs::path& file) {
  std::ifstream in(file);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string replaced(std::string text, const std::string& what, const std::string& with) {
  const std::size_t at = text.find(what);
  if (at == std::string::npos) throw std::runtime_error("the deck has no '" + what + "'");
  return text.replace(at, what.size(), with);
}

// The 31 x 31 deck of `coupling` on an n x n grid, nonlinear or linear (the load path's deck
// with --equilibrium).
std::string deckText(const Options& o, const std::string& coupling, int n, bool nonlinear) {
  const std::string kind = o.equilibrium ? "equilibrium_" : "nonlinear_";
  std::string text = readText(o.decks / (kind + coupling + "_31.inp"));
  const std::string grid = std::to_string(n) + "  " + std::to_string(n) + "  1";
  text = replaced(text, "\n31  31  1\n", "\n" + grid + "\n");
  if (!nonlinear && !o.equilibrium) {
    const std::size_t at = text.find("*SOLUTION = NONLINEAR\n");
    const std::size_t end = text.find('\n', at + 22);
    text.replace(at, end - at, "*SOLUTION = LINEAR\n0.0");
  }
  return text;
}

struct Row {
  std::string kind;  // coupling and solution
  int n = 0;
  bool large = true;
  JobFigures f;
  ChildStats stats;
};

double perPass(const JobFigures& f) {
  const double total = f.assembly + f.boundary + f.solve + f.expand + f.recovery + f.degradation;
  return total / std::max(1, f.passes);
}

Row measure(const Options& o, const std::string& coupling, int n, bool nonlinear, bool large) {
  const std::string solution = o.equilibrium ? "equilibrium" : nonlinear ? "nonlinear" : "linear";
  const std::string name =
      coupling + "_" + solution + "_" + std::to_string(n) + (large ? "_large" : "");
  std::ofstream(name + ".inp") << deckText(o, coupling, n, nonlinear);
  Row row{coupling + " " + solution, n, large, {}, {}};
  row.stats =
      runChild<JobFigures>([&] { return runBenchJob(name, large, false, o.equilibrium); }, row.f);
  // A load path that ends without convergence is still measured.
  if (row.f.exitStatus != 0 && !o.equilibrium)
    throw std::runtime_error(name + " ended with status " + std::to_string(row.f.exitStatus));
  return row;
}

void print(const Row& r) {
  const JobFigures& f = r.f;
  std::cout << std::left << std::setw(22) << r.kind << std::setw(8)
            << (std::to_string(r.n) + (r.large ? "" : " band")) << std::right << std::setw(8)
            << f.NEQ << std::setw(7) << f.BW << std::setw(5) << f.passes << std::setw(10)
            << perPass(f) << std::setw(10) << f.solve / std::max(1, f.passes) << std::setw(10)
            << f.wallSeconds << std::setw(10) << r.stats.peakBytes / 1.0e6;
  if (r.large) std::cout << std::setw(7) << f.analyses << " / " << f.factorizations;
  std::cout << '\n';
}

// The exponent p of t = c NEQ^p fitted by least squares through the logarithms.
double exponent(const std::vector<Row>& rows, double (*value)(const Row&)) {
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  const double k = static_cast<double>(rows.size());
  for (const Row& r : rows) {
    const double x = std::log(r.f.NEQ), y = std::log(value(r));
    sx += x, sy += y, sxx += x * x, sxy += x * y;
  }
  return (k * sxy - sx * sy) / (k * sxx - sx * sx);
}

void printGrowth(const std::vector<Row>& rows) {
  if (rows.size() < 2) return;
  std::cout << "  growth with NEQ (" << rows.front().kind << "): pass time ^"
            << exponent(rows, [](const Row& r) { return perPass(r.f); }) << ", peak memory ^"
            << exponent(rows, [](const Row& r) { return r.stats.peakBytes; }) << '\n';
}

int run(Options o) {
  o.decks = fs::absolute(o.decks);
  fs::create_directories(o.runFolder);
  fs::current_path(o.runFolder);
  std::cout << std::fixed << std::setprecision(3);
  std::cout << std::left << std::setw(22) << "job" << std::setw(8) << "grid" << std::right
            << std::setw(8) << "NEQ" << std::setw(7) << "BW" << std::setw(5) << "pass"
            << std::setw(10) << "s/pass" << std::setw(10) << "solve s" << std::setw(10) << "job s"
            << std::setw(10) << "peak MB"
            << "  analyses / factorizations\n";
  for (bool nonlinear : {false, true}) {
    if (nonlinear && (o.linearOnly || o.equilibrium)) break;
    for (const std::string coupling : {"uncoupled", "coupled"}) {
      print(measure(o, coupling, 31, nonlinear, false));
      std::vector<Row> rows;
      for (int n : o.sizes) {
        rows.push_back(measure(o, coupling, n, nonlinear, true));
        print(rows.back());
      }
      printGrowth(rows);
    }
  }
  return 0;
}

}  // namespace
}  // namespace korvant::bench

int main(int argc, char** argv) {
  try {
    return korvant::bench::run(korvant::bench::parseOptions(argc, argv));
  } catch (const std::exception& error) {
    std::cerr << "korvant_bench_large: " << error.what() << '\n';
    return 1;
  }
}
