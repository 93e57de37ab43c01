// Grids beyond the build's capacities (--large): the equations in the sparse store, solved by
// the sparse direct factorization. On every deck the band and full stores can solve, both
// paths must give the same solution to 1e-10 and the same report to its printed digits; a
// nonlinear run must analyse the pattern of its system once and only refactor in later passes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "job/analysis.hpp"
#include "solver/sparse_factor.hpp"
#include "support/in_process_run.hpp"
#include "support/slab_decks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

bool isNumber(const std::string& token, double& value) {
  std::istringstream in(token);
  return static_cast<bool>(in >> value) && in.peek() == EOF;
}

std::vector<std::string> tokensOf(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> tokens;
  for (std::string t; in >> t;) tokens.push_back(t);
  return tokens;
}

// Two printed numbers agree to the digits the report gives them (E12.5: five), or differ
// only by rounding noise far below the largest number of their line (a shear stress that is
// zero by symmetry comes out as 1e-15 from one factorization and 0 from another).
bool numbersAgree(double a, double b, double lineScale) {
  return std::abs(a - b) <= std::max(5e-5 * std::max(std::abs(a), std::abs(b)), 1e-12 * lineScale);
}

// Compares a line of each report; returns what differs, empty when they agree. A line of
// a maximum (after a heading naming a "_max") may name another point for the same magnitude:
// on a symmetric slab the largest magnitude lies at mirror points whose values differ by
// rounding, and, for a shear stress, in sign.
std::string lineDifference(const std::string& a, const std::string& b, bool maximumLine) {
  if (a == b) return {};
  const std::vector<std::string> ta = tokensOf(a), tb = tokensOf(b);
  if (ta.size() != tb.size()) return "different fields";
  std::vector<double> na, nb;
  for (std::size_t k = 0; k < ta.size(); ++k) {
    double x = 0.0, y = 0.0;
    const bool numeric = isNumber(ta[k], x) && isNumber(tb[k], y);
    if (!numeric && ta[k] != tb[k]) return "different text";
    if (numeric) na.push_back(x), nb.push_back(y);
  }
  double scale = 0.0;
  for (std::size_t k = 0; k < na.size(); ++k)
    scale = std::max({scale, std::abs(na[k]), std::abs(nb[k])});
  if (maximumLine && !na.empty())
    return numbersAgree(std::abs(na.back()), std::abs(nb.back()), scale) ? "" : "another maximum";
  for (std::size_t k = 0; k < na.size(); ++k)
    if (!numbersAgree(na[k], nb[k], scale)) return "different numbers";
  return {};
}

// The first line where the reports differ, with both versions; empty when they agree.
std::string reportDifference(const std::string& band, const std::string& sparse) {
  const std::vector<std::string> a = splitLines(band), b = splitLines(sparse);
  if (a.size() != b.size())
    return "line counts " + std::to_string(a.size()) + " and " + std::to_string(b.size());
  bool maximumLine = false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    const std::string why = lineDifference(a[k], b[k], maximumLine);
    if (!why.empty()) return why + " at line " + std::to_string(k + 1) + ":\n" + a[k] + "\n" + b[k];
    if (!tokensOf(a[k]).empty()) maximumLine = a[k].find("_max") != std::string::npos;
  }
  return {};
}

// The largest difference of the two solutions over the largest magnitude of the first.
double relativeDifference(const Matrix<double>& a, const Matrix<double>& b, int n) {
  double difference = 0.0, scale = 0.0;
  for (int k = 1; k <= n; ++k) {
    difference = std::max(difference, std::abs(a(k) - b(k)));
    scale = std::max(scale, std::abs(a(k)));
  }
  return scale > 0.0 ? difference / scale : difference;
}

struct PathCase {
  std::string name;
  std::string deck;
};

// Every support layout, uncoupled in full and band storage and coupled, linear and nonlinear.
std::vector<PathCase> pathCases() {
  std::vector<PathCase> cases;
  for (const char* name :
       {"plate", "clamped", "sfsf", "fsfs", "sscf", "nine_column", "four_column_free_edge",
        "four_column_symmetric_edge", "simply_supported", "user_defined", "cracking", "yielding",
        "collapse", "flat_slab"})
    cases.push_back({name, exampleDeck(std::string(name) + ".inp")});
  ConcreteSlabDeck coupled = smallMeshSlab(0.02, "D -S -E FI");
  coupled.coupled = true;
  cases.push_back({"coupled nonlinear", coupled.text()});
  return cases;
}

TEST(LargePath, SolvesEveryDeckAsTheBuildsStoresDo) {
  if (!SparseFactor::available()) GTEST_SKIP() << "built without the sparse solver";
  for (const PathCase& c : pathCases()) {
    SCOPED_TRACE(c.name);
    const auto band = runInProcess(c.deck);
    const auto sparse = runInProcess(c.deck, largeRequest());
    ASSERT_EQ(band->inputErrors, 0);
    ASSERT_EQ(sparse->inputErrors, 0);
    const RunContext& a = band->run;
    const RunContext& b = sparse->run;
    EXPECT_EQ(a.outcome.end, b.outcome.end);
    EXPECT_EQ(a.phaseTimes.passes, b.phaseTimes.passes);
    EXPECT_EQ(a.arrays.BW, b.arrays.BW);
    const int n = a.arrays.NEQ;
    EXPECT_LT(relativeDifference(finalSolution(a), finalSolution(b), n), 1e-10);
    if (a.model.SOLPROC == SolutionProcedure::NONLINEAR) {
      EXPECT_LT(relativeDifference(a.arrays.solutions.elastic, b.arrays.solutions.elastic, n),
                1e-10);
    }
    // One analysis of the pattern, one numeric factorization a pass.
    const SparseFactor& factor = b.arrays.solverWork.sparse;
    EXPECT_EQ(factor.analyses(), 1);
    EXPECT_EQ(factor.factorizations(), b.phaseTimes.passes);
  }
}

TEST(LargePath, WritesTheSameReportAsTheBuildsStores) {
  if (!SparseFactor::available()) GTEST_SKIP() << "built without the sparse solver";
  for (const PathCase& c : pathCases()) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    writeFile(dir / "slab.inp", c.deck);
    const RunResult band = runKorvant(dir.path(), {"--yes", "slab"}, "");
    const std::string bandReport = readFile(dir / "slab.out");
    const RunResult sparse = runKorvant(dir.path(), {"--yes", "--large", "slab"}, "");
    EXPECT_EQ(band.status, sparse.status);
    EXPECT_EQ(reportDifference(bandReport, readFile(dir / "slab.out")), "");
  }
}

// A coupled 41 x 41 grid needs 6075 equations: refused with the capacity message by default,
// solved on the sparse store, whose statistics block gives the reduced system.
TEST(LargePath, RunsAGridTheBuildRefuses) {
  if (!SparseFactor::available()) GTEST_SKIP() << "built without the sparse solver";
  ConcreteSlabDeck deck;
  deck.solution = "LINEAR";
  deck.coupled = true;
  deck.NUMA = deck.NUMB = 41;
  TempDir dir;
  writeFile(dir / "slab.inp", deck.text());
  const RunResult refused = runKorvant(dir.path(), {"--yes", "slab"}, "");
  EXPECT_EQ(refused.status, 3);
  const std::string refusal = readFile(dir / "slab.out");
  EXPECT_NE(refusal.find(at(10, "SIZE   6075 WHICH EXCEEDS MAXIMUM OF   4000.")),
            std::string::npos);

  const RunResult large = runKorvant(dir.path(), {"--yes", "--large", "slab"}, "");
  EXPECT_EQ(large.status, 0) << large.errors;
  const std::string report = readFile(dir / "slab.out");
  // The 39 x 39 points inside the simply supported perimeter, three unknowns each.
  EXPECT_NE(report.find(at(17, "@@@     NUMBER OF EQUATIONS:   4563    @@@")), std::string::npos);
  EXPECT_NE(report.find("A N A L Y S I S  C O M P L E T E D"), std::string::npos);
}

}  // namespace
}  // namespace korvant::test
