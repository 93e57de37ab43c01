// The collapse-load search: its sequence of trials against scripted slabs whose collapse
// multiplier is known, and the whole command through the executable on a real slab.
#include "studies/collapse_search.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "solver/sparse_factor.hpp"
#include "support/slab_decks.hpp"
#include "support/test_support.hpp"

#ifdef KORVANT_HAVE_JSON
#include <nlohmann/json.hpp>
#endif

namespace korvant::test {
namespace {

// A slab that collapses from `threshold` on, and stops with a fatal error at `fatalAt`.
struct ScriptedSlab {
  double threshold;
  double fatalAt = -1.0;

  TrialResult operator()(double m) const {
    TrialResult t;
    t.multiplier = m;
    t.end = m == fatalAt ? RunEnd::Fatal : m >= threshold ? RunEnd::Collapse : RunEnd::Completed;
    if (t.end == RunEnd::Fatal) t.error = "***ERROR: SINGULAR";
    return t;
  }
};

SearchResult search(const ScriptedSlab& slab, int workers, double tolerance = 0.01) {
  return searchCollapse(slab(1.0), tolerance, workers, slab, [](const TrialResult&, int) {});
}

std::vector<double> multipliers(const SearchResult& r) {
  std::vector<double> m;
  for (const TrialResult& t : r.trials) m.push_back(t.multiplier);
  return m;
}

TEST(CollapseSearch, BracketsTheCollapseWithinTheToleranceWhateverTheWorkers) {
  for (double threshold : {1.37, 0.3, 7.9, 1.0, 2.0}) {
    SCOPED_TRACE(threshold);
    const SearchResult one = search({threshold}, 1), two = search({threshold}, 2);
    ASSERT_EQ(one.verdict, SearchResult::Verdict::Bracketed);
    EXPECT_LT(one.lo, threshold);
    EXPECT_GE(one.hi, threshold);
    EXPECT_LT(one.hi - one.lo, 0.01 * one.lo);
    EXPECT_EQ(two.lo, one.lo);
    EXPECT_EQ(two.hi, one.hi);
    EXPECT_EQ(multipliers(two), multipliers(one));
  }
  const SearchResult coarse = search({1.37}, 2, 0.1);
  EXPECT_LT(coarse.hi - coarse.lo, 0.1 * coarse.lo);
  EXPECT_LT(coarse.trials.size(), search({1.37}, 2).trials.size());
}

TEST(CollapseSearch, LimitsAndFatalTrials) {
  EXPECT_EQ(search({5000.0}, 2).verdict, SearchResult::Verdict::NoCollapseUpTo);
  EXPECT_EQ(search({5000.0}, 2).lo, kLargestMultiplier);
  EXPECT_EQ(search({1e-4}, 2).verdict, SearchResult::Verdict::CollapseBelow);
  EXPECT_EQ(search({1e-4}, 2).hi, kSmallestMultiplier);
  const SearchResult stopped = search({10.0, 4.0}, 2);
  EXPECT_EQ(stopped.verdict, SearchResult::Verdict::Stopped);
  EXPECT_EQ(stopped.error, "the trial at multiplier 4 stopped: ***ERROR: SINGULAR");
  // A fatal error at multiplier 1 stops the search before any other trial.
  const SearchResult atOne = search({10.0, 1.0}, 2);
  EXPECT_EQ(atOne.verdict, SearchResult::Verdict::Stopped);
  EXPECT_EQ(atOne.trials.size(), 1u);
}

struct SearchRun {
  RunResult result;
  std::string report, table, json;
  std::size_t vtkListed = 0, vtkFiles = 0;  // with --vtk: the collection's files, the folder's
  std::vector<std::string> lines;           // the console's result lines
  double lo = 0.0, hi = 0.0;
};

SearchRun runSearch(const ConcreteSlabDeck& deck, const std::vector<std::string>& options) {
  TempDir dir;
  writeFile(dir / "slab.inp", deck.text());
  std::vector<std::string> args = {"--yes", "slab", "--collapse"};
  args.insert(args.end(), options.begin(), options.end());
  SearchRun run;
  run.result = runKorvant(dir.path(), args, "");
  run.report = readFile(dir / "slab.out");
  run.table = readFile(dir / "slab.col");
  if (std::filesystem::exists(dir / "slab.json")) run.json = readFile(dir / "slab.json");
  if (std::filesystem::exists(dir / "slab.vtk")) {
    const std::string collection = readFile(dir / "slab.pvd");
    for (std::size_t at = collection.find("<DataSet "); at != std::string::npos;
         at = collection.find("<DataSet ", at + 1))
      ++run.vtkListed;
    run.vtkFiles = filesIn(dir / "slab.vtk").size();
  }
  run.lines = linesStartingWith(run.result.console, "collapse load factor: ");
  const auto yieldLine = linesStartingWith(run.result.console, "yield-line estimate: ");
  run.lines.insert(run.lines.end(), yieldLine.begin(), yieldLine.end());
  if (!run.lines.empty()) {
    const std::vector<double> v = numbersOf(run.lines[0]);
    if (v.size() == 4) run.lo = v[0], run.hi = v[1];
  }
  return run;
}

// The multiplier of the table's trial that prints as `value` to five digits.
double trialNear(const std::string& table, double value) {
  for (const std::string& row : splitLines(table)) {
    const std::vector<double> v = numbersOf(row);
    if (v.size() >= 4 && std::abs(v[1] - value) <= 5e-5 * value) return v[1];
  }
  ADD_FAILURE() << "no trial at " << value << " in\n" << table;
  return value;
}

// The mesh slab at its yield-line pressure: the search brackets its collapse within 1 %, the
// trial at the lower end completes when run alone and the one at the upper end collapses,
// the bracket is the same with one and with two workers (and on the sparse store), and the report
// of the deck's own load is the report of a job without the search.
TEST(CollapseSearch, RealSlabThroughTheExecutable) {
  const double q = yieldLinePressure(meshSlab(0.0));
  const ConcreteSlabDeck deck = meshSlab(q);
  const SearchRun two = runSearch(deck, {"--workers", "2", "--json", "--vtk"});
  EXPECT_EQ(two.result.status, 0) << two.result.console << two.result.errors;
  // The VTK files are those of the deck's own load, none of a trial's.
  EXPECT_EQ(two.vtkListed, vtkSolutionsOf(two.report));
  EXPECT_EQ(two.vtkFiles, two.vtkListed);
  ASSERT_EQ(two.lines.size(), 2u) << two.result.console;
  const std::regex result(
      R"(collapse load factor: [0-9.e+-]+ \.\. [0-9.e+-]+ \(pressure [0-9.e+-]+ \.\. [0-9.e+-]+\))");
  EXPECT_TRUE(std::regex_match(two.lines[0], result)) << two.lines[0];
  const std::regex estimate(
      R"(yield-line estimate: [0-9.e+-]+ \(collapse / yield-line = [0-9.e+-]+\))");
  EXPECT_TRUE(std::regex_match(two.lines[1], estimate)) << two.lines[1];
  ASSERT_GT(two.lo, 0.0);
  EXPECT_LT(two.hi - two.lo, 0.01 * two.lo);
  // The table ends with the same two lines.
  EXPECT_NE(two.table.find(two.lines[0] + "\n" + two.lines[1] + "\n"), std::string::npos);

  // One worker, and the trials on the sparse store where the build has it: the same bracket.
  std::vector<std::string> serial = {"--workers", "1", "--tolerance", "0.01"};
  if (SparseFactor::available()) serial.push_back("--large");
  const SearchRun one = runSearch(deck, serial);
  EXPECT_EQ(one.lines, two.lines);

  // The ends of the bracket as the table gives them, to nine digits, run alone.
  const Job below = runDeck(meshSlab(q * trialNear(two.table, two.lo)));
  const Job above = runDeck(meshSlab(q * trialNear(two.table, two.hi)));
  EXPECT_EQ(below.report.find("S T R U C T U R A L  C O L L A P S E"), std::string::npos);
  EXPECT_NE(below.report.find("FINAL SOLUTION"), std::string::npos);
  EXPECT_NE(above.report.find("S T R U C T U R A L  C O L L A P S E"), std::string::npos);

  EXPECT_EQ(two.report, runDeck(deck).report);
#ifdef KORVANT_HAVE_JSON
  // The summary carries the same search: its bracket, to the digits printed, and every trial.
  const nlohmann::json search = nlohmann::json::parse(two.json).at("collapse_search");
  EXPECT_EQ(search.at("verdict"), "bracketed");
  EXPECT_NEAR(search.at("load_factor").at("lo").get<double>(), two.lo, 5e-5 * two.lo);
  EXPECT_NEAR(search.at("load_factor").at("hi").get<double>(), two.hi, 5e-5 * two.hi);
  EXPECT_EQ(search.at("trials").size(), linesStartingWith(two.result.console, "trial ").size());
#endif
}

TEST(CollapseSearch, RefusesALinearDeckAndBadOptions) {
  ConcreteSlabDeck linear = meshSlab(0.01);
  linear.solution = "LINEAR";
  const SearchRun run = runSearch(linear, {});
  EXPECT_EQ(run.result.status, 1);
  EXPECT_NE(run.result.errors.find("--collapse needs a nonlinear deck"), std::string::npos);
  TempDir dir;
  for (const std::vector<std::string>& args : {std::vector<std::string>{"slab", "--tolerance", "0"},
                                               {"slab", "--tolerance", "x"},
                                               {"slab", "--workers", "0"},
                                               {"slab", "--workers"}}) {
    const RunResult r = runKorvant(dir.path(), args, "");
    EXPECT_EQ(r.status, 1) << args[1];
    EXPECT_NE(r.errors.find(args[1]), std::string::npos) << r.errors;
  }
}

}  // namespace
}  // namespace korvant::test
