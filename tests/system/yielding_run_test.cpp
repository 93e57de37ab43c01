// The incremental stage of the nonlinear analysis: a load ladder against the yield-line
// collapse pressure, the report blocks of re-attempted and failed passes and of a collapse
// during the increments, the running total of a pass without new failures, and where the
// steel yields first.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "section/layer_state.hpp"
#include "support/in_process_run.hpp"
#include "support/job_texts.hpp"
#include "support/plate_theory.hpp"
#include "support/slab_decks.hpp"
#include "support/stage_blocks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

struct Level {
  double factor;
  int status;
  bool collapsed;
  double finalW;  // centre deflection of the final table, 0 without one
};

Level runLevel(double factor) {
  const ConcreteSlabDeck deck = meshSlab(factor * yieldLinePressure(meshSlab(0.0)));
  const Job job = runDeck(deck);
  const std::string& report = job.report;
  Level level{factor, job.result.status,
              report.find("S T R U C T U R A L  C O L L A P S E") != std::string::npos, 0.0};
  for (const auto& row : solutionRows(report, "= FINAL SOLUTION ACCOUNTING FOR COMBINED ="))
    if (row[0] == 2000.0 && row[1] == 2000.0) level.finalW = row[2];
  return level;
}

TEST(YieldingRun, LoadLadderCollapsesNearTheYieldLinePressure) {
  std::vector<Level> levels;
  for (int k = 1; k <= 10; ++k) levels.push_back(runLevel(0.2 * k));
  std::string table;
  double highestCompleted = 0.0, lowestCollapsed = 0.0, lastW = 0.0;
  for (const Level& l : levels) {
    table += std::to_string(l.factor) +
             (l.collapsed ? " collapse" : " w=" + std::to_string(l.finalW)) + "; ";
    EXPECT_EQ(l.status, 0) << l.factor;  // a predicted collapse is a completed analysis
    if (l.collapsed) {
      if (lowestCollapsed == 0.0) lowestCollapsed = l.factor;
      EXPECT_EQ(l.finalW, 0.0);
      continue;
    }
    EXPECT_EQ(lowestCollapsed, 0.0) << "completed above a collapse at " << l.factor;
    EXPECT_GT(l.finalW, lastW) << l.factor;
    lastW = l.finalW;
    highestCompleted = l.factor;
  }
  RecordProperty("ladder", table);
  // Completes well below the yield-line pressure, collapses well above it.
  EXPECT_GE(highestCompleted, 0.8 - 1e-9) << table;
  EXPECT_LE(lowestCollapsed, 1.4 + 1e-9) << table;
  EXPECT_GT(lowestCollapsed, highestCompleted);
}

constexpr int kCompleted = 0;

// The iteration reports of the combined increments as printed: the number fields of the
// pass line and of the value line, and the report line where each block opens.
struct IncrementReport {
  std::string pass5, increment4, load, yinc6, cinc6;
  std::size_t first;

  int yinc() const { return std::stoi(yinc6); }
  int cinc() const { return std::stoi(cinc6); }
  Lines block() const { return combinedIteration(pass5, increment4, load, yinc6, cinc6); }
};

std::vector<IncrementReport> combinedIncrements(const Lines& report) {
  std::vector<IncrementReport> found;
  const std::string title = at(13, "@@@        CONVERGING COMBINED YIELDING         @@@");
  for (std::size_t k = 3; k + 8 < report.size(); ++k) {
    if (report[k] != title) continue;
    const std::string& pass = report[k + 3];
    const std::string& value = report[k + 8];
    found.push_back({pass.substr(41, 5), value.substr(20, 4), value.substr(30, 9),
                     value.substr(39, 6), value.substr(50, 6), k - 3});
  }
  return found;
}

std::vector<IncrementReport> ofPass(const std::vector<IncrementReport>& all, const char* pass5) {
  std::vector<IncrementReport> pass;
  std::copy_if(all.begin(), all.end(), std::back_inserter(pass),
               [&](const IncrementReport& r) { return r.pass5 == pass5; });
  return pass;
}

std::string f75(double value) {
  char text[16];
  std::snprintf(text, sizeof text, "%7.5f", value);
  return text;
}

// The concrete layers of the mesh slab at its 441 points: the divisor of the cracking ratio.
double meshSlabCTOT() {
  const auto layers = placedLayers(meshSlab(0.0));
  return static_cast<double>(std::count_if(layers.begin(), layers.end(),
                                           [](const PlacedLayer& l) { return l.bar < 0; })) *
         441.0;
}

// At 1.05 times the yield-line pressure with two passes and no collapse limit, yielding in
// the first pass cracks more than 5 % of the concrete layers by its last increment, so the
// pass is re-attempted; the second pass starts from the last load factor reached without a
// new failure and exceeds the tolerance again, which in the last pass is no longer fatal:
// its increments run out without the tolerance and the final vector is printed as stage 6.
TEST(YieldingRun, ReattemptedPassThenCombinedFailureInTheLastPass) {
  ConcreteSlabDeck deck = meshSlab(1.05 * yieldLinePressure(meshSlab(0.0)));
  deck.NPASSY = 2;
  deck.WMAX = 1.0e10;
  const Job job = runDeck(deck);
  EXPECT_EQ(job.result.status, kCompleted);
  const Lines report = splitLines(job.report);
  const auto all = combinedIncrements(report);
  const auto first = ofPass(all, "    1"), second = ofPass(all, "    2");
  ASSERT_EQ(first.size(), 10u) << job.report;
  const char* tenths[] = {"0.100E+00", "0.200E+00", "0.300E+00", "0.400E+00", "0.500E+00",
                          "0.600E+00", "0.700E+00", "0.800E+00", "0.900E+00", "0.100E+01"};
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(first[i].load, tenths[i]) << i;
  // This slab's first new failures come at the sixth increment, so the last safe load
  // factor is 0.5: n = (1 - 0.5) / 0.1000000015 truncated = 4, step 0.5 / 3.
  ASSERT_EQ(first[4].yinc() + first[4].cinc(), 0);
  ASSERT_GT(first[5].yinc() + first[5].cinc(), 0);
  ASSERT_EQ(second.size(), 4u) << job.report;
  const char* secondLoads[] = {"0.500E+00", "0.667E+00", "0.833E+00", "0.100E+01"};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(second[i].load, secondLoads[i]) << i;

  const double CTOT = meshSlabCTOT();
  const double ratio = first[9].cinc() / CTOT;
  ASSERT_GE(ratio, 0.05);
  ASSERT_LT(second[0].cinc() / CTOT, 0.05);
  ASSERT_GE(second[1].cinc() / CTOT, 0.05);
  Lines expected = first[9].block();
  append(expected, reattemptBlock("    1", "0.100E+01", f75(ratio), "0.05000"));
  append(expected, second[0].block());
  append(expected, second[1].block());
  append(expected, nonConvergenceBlock("    2"));
  append(expected, failedIncrementationBlock());
  append(expected, second[2].block());
  append(expected, second[3].block());
  const Lines printed(report.begin() + static_cast<long>(first[9].first),
                      report.begin() + static_cast<long>(first[9].first + expected.size()));
  EXPECT_EQ(printed, expected);

  const std::string stage6 =
      textOf({at(7, "=    FINAL SOLUTION VECTOR OBTAINED IN FAILED INCREMENTAL   ="),
              at(7, "=    STEEL YIELDING SOLUTION                                =")});
  EXPECT_NE(job.report.find(stage6), std::string::npos);
  EXPECT_EQ(job.report.find("FINAL SOLUTION ACCOUNTING"), std::string::npos);
  EXPECT_TRUE(endsWith(job.report, kCompletedBanner));
}

// At 1.2 times the yield-line pressure an increment deflects the slab by more than its
// allowable 100 mm (span / 40): the collapse block of the yielding stage closes the analysis,
// which counts as completed, without a final table.
TEST(YieldingRun, CollapseDuringTheIncrementsEndsTheAnalysisAsCompleted) {
  const Job job = runDeck(meshSlab(1.2 * yieldLinePressure(meshSlab(0.0))));
  EXPECT_EQ(job.result.status, kCompleted);
  ASSERT_FALSE(combinedIncrements(splitLines(job.report)).empty());
  const std::size_t block = job.report.find(at(15, kYieldingReached));
  ASSERT_NE(block, std::string::npos) << job.report;
  const std::size_t value = job.report.find("DEFLECTION OF ", block) + 14;
  const std::string largest = job.report.substr(value, 9);
  EXPECT_GT(numbersOf(largest).at(0), 100.0);
  EXPECT_TRUE(endsWith(job.report, textOf(collapseBlock(kYieldingReached, largest, "0.100E+03")) +
                                       kCompletedBanner));
  EXPECT_EQ(job.report.find("FINAL SOLUTION"), std::string::npos);
}

// Cracked to convergence with no tolerance at 0.6 times the yield-line pressure, the slab
// meets no new failure while the load is applied again: every increment solves the same
// cracked stiffness for one tenth of the load, so their sum, the final table, is the cracked
// solution again.
TEST(YieldingRun, RunningTotalOfAPassWithoutFailuresIsTheCrackedSolution) {
  ConcreteSlabDeck deck = meshSlab(0.6 * yieldLinePressure(meshSlab(0.0)));
  deck.CRKTOL = 0.0;
  const Job job = runDeck(deck);
  EXPECT_EQ(job.result.status, kCompleted);
  const auto increments = combinedIncrements(splitLines(job.report));
  ASSERT_EQ(increments.size(), 10u);
  for (const auto& i : increments) EXPECT_EQ(i.yinc() + i.cinc(), 0) << i.increment4;
  const auto cracked =
      solutionRows(job.report, "= TOTAL SOLUTION ACCOUNTING FOR CONCRETE CRACKING =");
  const auto total = solutionRows(job.report, "= FINAL SOLUTION ACCOUNTING FOR COMBINED =");
  ASSERT_EQ(total.size(), 441u);
  ASSERT_EQ(cracked.size(), total.size());
  for (std::size_t k = 0; k < total.size(); ++k)
    EXPECT_NEAR(total[k][2], cracked[k][2], 2e-4 * std::abs(cracked[k][2]) + 1e-9) << k;
}

// The points and layers whose steel has yielded, with the largest yield index of each.
struct Yielded {
  double X, Y;
  int bar;  // index into the deck's bars
  double FY;
};

std::vector<Yielded> yieldedSteel(const ConcreteSlabDeck& deck) {
  const auto run = runInProcess(deck.text());
  const auto layers = placedLayers(deck);
  std::vector<Yielded> yielded;
  LayerState state;
  for (int I = 1; I <= deck.NUMB; ++I)
    for (int J = 1; J <= deck.NUMA; ++J) {
      readLayerState(run->run.files.layerState, (I - 1) * deck.NUMA + J, state);
      for (int k = 1; k <= state.NL(); ++k) {
        const int bar = layers[static_cast<std::size_t>(k - 1)].bar;
        const double FY = state.layers[static_cast<std::size_t>(k - 1)](failure_index::FY);
        if (bar >= 0 && FY >= 1.0)
          yielded.push_back(
              {(J - 1) * deck.A / (deck.NUMA - 1), (I - 1) * deck.B / (deck.NUMB - 1), bar, FY});
      }
    }
  return yielded;
}

// Concrete that never fails and steel with a low yield stress: the slab stays elastic until
// the steel yields, so the steel yields first where the elastic moment is largest.
ConcreteSlabDeck elasticConcrete(ConcreteSlabDeck d, double Y) {
  d.XT = d.XC = d.S = 1.0e6;
  d.Y = Y;
  return d;
}

TEST(YieldingRun, SteelYieldsFirstAtMidSpanOfASimplySupportedSlab) {
  // The elastic stress of the lower bars at the centre: the Navier moment of the plain
  // concrete plate, the curvature Mx / (D (1 + nu)) of the square's centre, at the bars'
  // 45 mm below the middle surface.
  const ConcreteSlabDeck probe = meshSlab(0.01);
  const double D = probe.E * std::pow(probe.depth, 3) / (12.0 * (1.0 - probe.nu * probe.nu));
  const double M = navier(probe.A, probe.B, D, probe.nu, probe.pressure, 2000.0, 2000.0).Mx;
  const double sigma = probe.Es * 45.0 * M / (D * (1.0 + probe.nu));
  // Yield stress a little below it: only the steel about mid-span yields.
  const auto yielded = yieldedSteel(elasticConcrete(probe, 0.93 * sigma));
  ASSERT_FALSE(yielded.empty());
  const auto most =
      std::max_element(yielded.begin(), yielded.end(),
                       [](const Yielded& a, const Yielded& b) { return a.FY < b.FY; });
  EXPECT_EQ(most->X, 2000.0);
  EXPECT_EQ(most->Y, 2000.0);
  for (const Yielded& y : yielded) {
    EXPECT_EQ(y.bar, 0) << y.X << " " << y.Y;  // the lower bars, farther from the middle
    EXPECT_LE(std::hypot(y.X - 2000.0, y.Y - 2000.0), 0.15 * probe.A) << y.X << " " << y.Y;
  }
}

// An interior panel of a flat slab, 6 m square on columns at its corners, with a top and a
// bottom mesh: away from its edges, the steel yields first in the hogging zones at the
// column faces. The edge rows are left out: their differences take the points beyond the
// slab as zero, so their stresses are not the plate's moments.
TEST(YieldingRun, SteelYieldsFirstAtTheColumnsOfAFlatSlab) {
  ConcreteSlabDeck flat = meshSlab(0.01);
  flat.layout = "4-COLUMN SYMMETRIC EDGE";
  flat.A = flat.B = 6000.0;
  flat.depth = 200.0;
  flat.bars = {BarLayer{10.0, 150.0, 0.0, 165.0}, BarLayer{10.0, 150.0, 90.0, 155.0},
               BarLayer{12.0, 150.0, 0.0, 30.0}, BarLayer{12.0, 150.0, 90.0, 42.0}};
  std::vector<Yielded> interior;
  for (const Yielded& y : yieldedSteel(elasticConcrete(flat, 20.0)))
    if (y.X > 0.0 && y.X < flat.A && y.Y > 0.0 && y.Y < flat.B) interior.push_back(y);
  ASSERT_FALSE(interior.empty());
  const double spacing = flat.A / (flat.NUMA - 1);
  for (const Yielded& y : interior) {
    // The nearest column region ends one spacing from the corner.
    const double dx = std::min(y.X, flat.A - y.X), dy = std::min(y.Y, flat.B - y.Y);
    EXPECT_LE(std::max(dx, dy), 3.0 * spacing) << y.X << " " << y.Y;
  }
}

}  // namespace
}  // namespace korvant::test
