// Analyses that cannot give a result end as fatal run-time errors with their reason in the
// report, never with printed numbers that mean nothing: a solution that is not finite, and
// and a nonlinear deck that does give one.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "job/analysis.hpp"
#include "support/job_texts.hpp"
#include "support/slab_decks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

constexpr int kFatalRunTimeStatus = 4;

// A simply supported 5 x 5 slab of one concrete layer of modulus `E`, band storage.
std::string slab(const std::string& solution, const std::string& E) {
  PlainSlabDeck d;
  d.heading = "ONE-LAYER SLAB";
  d.solution = solution;
  d.options = "*COUPLING = NO\n*EQUATION SOLVER = BAND\n";
  d.layers = {{E, "200.0"}};
  return d.text();
}

const std::string kLinear = "*SOLUTION = LINEAR\n0.0\n";
const std::string kNonlinear = "*SOLUTION = NONLINEAR\n10  3  5  0.01\n";

TEST(AnalysisStops, FirstNonFiniteEntryOfASolution) {
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  constexpr double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double second, fourth;
    int NEQ, expected;
  };
  for (const Case& c : {Case{1.0, 2.0, 4, 0}, Case{nan, 2.0, 4, 2}, Case{1.0, -inf, 4, 4},
                        Case{inf, nan, 4, 2}, Case{1.0, nan, 3, 0}}) {
    Matrix<double> solution(10, 1);
    solution(2) = c.second;
    solution(4) = c.fourth;
    EXPECT_EQ(firstNonFinite(solution, c.NEQ), c.expected) << c.second << " " << c.fourth;
  }
}

// A modulus near the largest double overflows the band factorization: the solution holds
// values that are not numbers, which stops the run before any table is printed.
TEST(AnalysisStops, SolutionThatIsNotFiniteIsAFatalErrorWithoutTables) {
  TempDir dir;
  writeFile(dir / "job.inp", slab(kLinear, "1.0E303"));
  const RunResult r = runKorvant(dir.path(), {"job"}, "");
  EXPECT_EQ(r.status, kFatalRunTimeStatus);
  const std::string report = readFile(dir / "job.out");
  const std::string message =
      textOf({"", "***ERROR: THE SOLUTION IS NOT A FINITE NUMBER FOR W AT POINT I =    2, J =    2",
              "          THE EQUATIONS ARE ILL-CONDITIONED. NO RESULTS ARE PRINTED."});
  EXPECT_TRUE(endsWith(report, message + kFatalLine + kCompletedBanner)) << report;
  EXPECT_EQ(report.find("TOTAL DISPLACEMENTS"), std::string::npos);
  EXPECT_EQ(report.find("NAN"), std::string::npos);
  EXPECT_EQ(report.find("nan"), std::string::npos);
}

// The nonlinear deck runs its elastic, cracking and incremental stages to the final tables.
TEST(AnalysisStops, NonlinearDeckRunsThroughItsStages) {
  TempDir dir;
  writeFile(dir / "job.inp", slab(kNonlinear, "30000.0"));
  const RunResult r = runKorvant(dir.path(), {"job"}, "");
  EXPECT_EQ(r.status, 0);
  const std::string report = readFile(dir / "job.out");
  const std::size_t elastic = report.find("= LINEAR ELASTIC SOLUTION =");
  const std::size_t cracked = report.find("= TOTAL SOLUTION ACCOUNTING FOR CONCRETE CRACKING =");
  const std::size_t final = report.find("= FINAL SOLUTION ACCOUNTING FOR COMBINED =");
  ASSERT_NE(final, std::string::npos) << report;
  EXPECT_LT(elastic, cracked);
  EXPECT_LT(cracked, final);
  EXPECT_TRUE(endsWith(report, kCompletedBanner)) << report;
  EXPECT_EQ(report.find("FATAL"), std::string::npos);
  // Quiet run: the console holds nothing of the analysis.
  EXPECT_EQ(r.console.find("CONVERGING"), std::string::npos);
}

}  // namespace
}  // namespace korvant::test
