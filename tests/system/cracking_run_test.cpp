// The cracking stage of the nonlinear analysis, run through the executable: its report blocks,
// its ways of ending, and its physics against hand calculations of the cracking load and of
// the uncracked and fully cracked section stiffness.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/job_texts.hpp"
#include "support/plate_theory.hpp"
#include "support/slab_decks.hpp"
#include "support/stage_blocks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

constexpr int kCompleted = 0;
constexpr int kFatal = 4;

// The plain concrete plate of the cracking-load checks: 4 m square, 200 mm deep in four
// equal layers, simply supported, w only.
ConcreteSlabDeck plainPlate(double pressure) {
  ConcreteSlabDeck deck;
  deck.pressure = pressure;
  deck.print = "D -S +S FI";
  deck.diag = "2";
  return deck;
}

// The iteration blocks of the report: (iteration, layer failures) in order.
std::vector<std::pair<int, int>> iterations(const std::string& report) {
  std::vector<std::pair<int, int>> found;
  const std::vector<std::string> lines = splitLines(report);
  for (std::size_t k = 0; k + 2 < lines.size(); ++k) {
    if (lines[k] != at(20, "@@@  ---------   --------------   @@@")) continue;
    const std::vector<double> v = numbersOf(lines[k + 1]);
    if (v.size() == 2) found.emplace_back(static_cast<int>(v[0]), static_cast<int>(v[1]));
  }
  return found;
}

std::vector<double> rowAt(const std::vector<std::vector<double>>& rows, double X, double Y) {
  for (const auto& r : rows)
    if (std::abs(r[0] - X) < 1e-6 * (1 + X) && std::abs(r[1] - Y) < 1e-6 * (1 + Y)) return r;
  ADD_FAILURE() << "no row at " << X << ", " << Y;
  return std::vector<double>(5, 0.0);
}

// The cracking load of the plain plate by hand: the elastic stress is linear in the load, and
// through the depth of a homogeneous plate it is linear in z, so the centre of the outer
// layer carries 75/100 of the fibre stress. The plate cracks when that reaches XT.
struct CrackingLoad {
  double pressure = 0.0;
  bool lowerFace = true;  // the face in tension at the centre
};

CrackingLoad handCrackingLoad() {
  const double q0 = 0.01;
  ConcreteSlabDeck linear = plainPlate(q0);
  linear.solution = "LINEAR";
  const Job job = runDeck(linear);
  EXPECT_EQ(job.result.status, kCompleted) << job.report;
  const auto lower = rowAt(fibreRows(job.report, "LOWER FIBER STRESSES:"), 2000.0, 2000.0);
  const auto upper = rowAt(fibreRows(job.report, "UPPER FIBER STRESSES:"), 2000.0, 2000.0);
  CrackingLoad c;
  c.lowerFace = lower[2] > 0.0;
  const auto& face = c.lowerFace ? lower : upper;
  // Plate theory at the centre: the fibre stress 6 Mx / h^2 of the Navier moment, to the
  // accuracy of an 11 x 11 difference grid.
  const ConcreteSlabDeck& d = linear;
  const double D = d.E * std::pow(d.depth, 3) / (12.0 * (1.0 - d.nu * d.nu));
  const PlateResponse exact = navier(d.A, d.B, D, d.nu, q0, d.A / 2, d.B / 2);
  EXPECT_NEAR(std::max(face[2], face[3]), 6.0 * exact.Mx / (d.depth * d.depth),
              0.03 * 6.0 * exact.Mx / (d.depth * d.depth));
  const double centreStress = 0.75 * std::max(face[2], face[3]);
  c.pressure = q0 * d.XT / centreStress;
  return c;
}

TEST(CrackingRun, FirstCrackAtTheHandCalculatedLoad) {
  const CrackingLoad crack = handCrackingLoad();
  ASSERT_GT(crack.pressure, 0.0);

  // Just below: the first iteration finds nothing, converges at once, and the cracked
  // solution is the elastic one.
  const Job below = runDeck(plainPlate(0.98 * crack.pressure));
  EXPECT_EQ(below.result.status, kCompleted) << below.report;
  EXPECT_EQ(iterations(below.report), (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_TRUE(linesStartingWith(below.report, "DIAG:").empty());
  EXPECT_EQ(solutionRows(below.report, "= LINEAR ELASTIC SOLUTION ="),
            solutionRows(below.report, "= TOTAL SOLUTION ACCOUNTING FOR CONCRETE CRACKING ="));
  for (const auto& row : failureRows(below.report)) EXPECT_EQ(row[2], 0.0);

  // Just above: the first iteration cracks the outer layer on the tension face at the centre
  // point, and nowhere else.
  const Job above = runDeck(plainPlate(1.02 * crack.pressure));
  EXPECT_EQ(above.result.status, kCompleted) << above.report;
  const auto its = iterations(above.report);
  ASSERT_FALSE(its.empty());
  EXPECT_EQ(its.front(), std::make_pair(1, 1));
  const std::string firstIteration =
      above.report.substr(0, above.report.find("@@@ CONVERGING CONCRETE CRACKING  @@@"));
  const std::string layer = crack.lowerFace ? " 1" : " 4";
  EXPECT_EQ(linesStartingWith(firstIteration, "DIAG:"),
            std::vector<std::string>{"DIAG:(X,Y) = 0.200E+04 0.200E+04, CONC. LAYER " + layer +
                                     " IS FAILING IN TENSION"});
}

TEST(CrackingRun, BelowCrackingTheStagesEqualTheLinearSolution) {
  const double q = 0.005;  // a quarter of the cracking load of the plain plate
  ConcreteSlabDeck linear = plainPlate(q);
  linear.solution = "LINEAR";
  const Job lin = runDeck(linear);
  const Job non = runDeck(plainPlate(q));
  ASSERT_EQ(non.result.status, kCompleted) << non.report;
  const auto reference = solutionRows(lin.report, "L I N E A R  A N A L Y S I S");
  ASSERT_EQ(reference.size(), 121u);
  EXPECT_EQ(solutionRows(non.report, "= LINEAR ELASTIC SOLUTION ="), reference);
  EXPECT_EQ(solutionRows(non.report, "= TOTAL SOLUTION ACCOUNTING FOR CONCRETE CRACKING ="),
            reference);
  EXPECT_EQ(iterations(non.report), (std::vector<std::pair<int, int>>{{1, 0}}));
  // Asked for the cracking solution only: no yielding procedure follows.
  EXPECT_EQ(non.report.find("FOR COMBINED CONCRETE CRACKING"), std::string::npos);
  EXPECT_TRUE(endsWith(non.report, kCompletedBanner));
  EXPECT_EQ(non.report.find("FATAL"), std::string::npos);
}

// A reinforced 5 m square slab, 200 mm deep, with 12 mm bars at 150 mm both ways at the
// bottom, under 1.4 times its cracking pressure: cracked through to the compression zone over
// the whole slab, its bars at half their yield stress.
ConcreteSlabDeck reinforcedSlab() {
  ConcreteSlabDeck deck;
  deck.A = deck.B = 5000.0;
  deck.NUMA = deck.NUMB = 21;
  deck.concreteLayers = 10;
  deck.bars = {BarLayer{12.0, 150.0, 0.0, 165.0}, BarLayer{12.0, 150.0, 90.0, 153.0}};
  deck.pressure = 0.03;
  deck.print = "D FI";
  return deck;
}

// Flexural rigidity per unit width of the slab bending about x: the concrete of the whole
// depth (uncracked) or only above the neutral axis of the cracked section (fully cracked),
// with the bars that run along x, each about the neutral axis of the section it belongs to.
struct SectionEstimates {
  double uncracked = 0.0;
  double cracked = 0.0;
};

SectionEstimates sectionRigidity(const ConcreteSlabDeck& d, const BarLayer& bars) {
  const double Ec = d.E / (1.0 - d.nu * d.nu);
  const double As = bars.thickness();  // steel area per unit width
  const double n = d.Es / Ec;
  const double h = d.depth, depth = bars.depth;
  // Uncracked: neutral axis of the transformed section, measured from the upper surface.
  const double zn = (Ec * h * h / 2 + d.Es * As * depth) / (Ec * h + d.Es * As);
  const double I = h * h * h / 12 + h * std::pow(zn - h / 2, 2) + n * As * std::pow(depth - zn, 2);
  // Fully cracked: x^2 / 2 = n As (d - x).
  const double x = -n * As + std::sqrt(n * As * n * As + 2 * n * As * depth);
  const double Icr = x * x * x / 3 + n * As * std::pow(depth - x, 2);
  return {Ec * I, Ec * Icr};
}

TEST(CrackingRun, ReinforcedSlabDeflectsBetweenUncrackedAndFullyCrackedEstimates) {
  const ConcreteSlabDeck deck = reinforcedSlab();
  const Job job = runDeck(deck);
  ASSERT_EQ(job.result.status, kCompleted) << job.report;
  ASSERT_GE(iterations(job.report).size(), 2u);
  // Navier's centre deflection with the mean of the two directions' rigidities.
  const SectionEstimates x = sectionRigidity(deck, deck.bars[0]);
  const SectionEstimates y = sectionRigidity(deck, deck.bars[1]);
  const auto centreW = [&](double D) {
    return navier(deck.A, deck.B, D, deck.nu, deck.pressure, deck.A / 2, deck.B / 2).w;
  };
  const double uncracked = centreW((x.uncracked + y.uncracked) / 2);
  const double fullyCracked = centreW((x.cracked + y.cracked) / 2);
  const auto elastic = rowAt(solutionRows(job.report, "= LINEAR ELASTIC SOLUTION ="), 2500, 2500);
  const auto cracked = rowAt(
      solutionRows(job.report, "= TOTAL SOLUTION ACCOUNTING FOR CONCRETE CRACKING ="), 2500, 2500);
  RecordProperty("uncracked_mm", std::to_string(uncracked));
  RecordProperty("cracked_mm", std::to_string(cracked[2]));
  RecordProperty("fully_cracked_mm", std::to_string(fullyCracked));
  EXPECT_NEAR(elastic[2], uncracked, 0.03 * uncracked);
  EXPECT_GT(cracked[2], 1.2 * uncracked);
  EXPECT_LT(cracked[2], fullyCracked);
}

TEST(CrackingRun, SymmetricSlabCracksSymmetrically) {
  const ConcreteSlabDeck deck = reinforcedSlab();
  const Job job = runDeck(deck);
  const auto rows = failureRows(job.report);
  ASSERT_EQ(rows.size(), 21u * 21u);
  int cracked = 0;
  for (const auto& r : rows) {
    const double X = r[0], Y = r[1];
    EXPECT_EQ(rowAt(rows, deck.A - X, Y)[2], r[2]) << X << ", " << Y;
    EXPECT_EQ(rowAt(rows, X, deck.B - Y)[2], r[2]) << X << ", " << Y;
    EXPECT_EQ(rowAt(rows, Y, X)[2], r[2]) << X << ", " << Y;
    if (r[2] > 0.0) ++cracked;
  }
  EXPECT_GT(cracked, 0);
}

TEST(CrackingRun, CollapseEndsTheAnalysisAsCompleted) {
  ConcreteSlabDeck deck = plainPlate(0.005);
  deck.WMAX = 0.0;  // any deflection reaches it
  deck.status = true;
  const Job job = runDeck(deck);
  EXPECT_EQ(job.result.status, kCompleted);
  const std::string collapse = textOf(collapseBlock(kCrackingReached, "0.000E+00", "0.000E+00"));
  // The largest deflection is printed in E9.3; replace the two values by the run's own.
  const std::size_t block = job.report.find(at(15, "@@@  CONCRETE CRACKING SOLUTION HAS REACHED"));
  ASSERT_NE(block, std::string::npos) << job.report;
  const std::size_t value = job.report.find("DEFLECTION OF ", block) + 14;
  std::string expected = collapse;
  expected.replace(expected.find("0.000E+00"), 9, job.report.substr(value, 9));
  EXPECT_GT(numbersOf(job.report.substr(value, 9)).at(0), 0.0);
  EXPECT_TRUE(endsWith(job.report, expected + kCompletedBanner)) << job.report;
  EXPECT_EQ(job.report.find("CONVERGING CONCRETE CRACKING"), std::string::npos);
  EXPECT_NE(job.result.console.find(expected), std::string::npos);
}

TEST(CrackingRun, ConvergenceFailureIsFatal) {
  ConcreteSlabDeck deck = reinforcedSlab();
  deck.NITCRK = 2;  // the cracking spreads for more than two iterations at this load
  const Job job = runDeck(deck);
  EXPECT_EQ(job.result.status, kFatal);
  const auto its = iterations(job.report);
  ASSERT_EQ(its.size(), 2u);
  ASSERT_GT(its[1].second, 0);
  // CTOT: the concrete layers of the stack (the bar layers split two of the ten) at each of
  // the 441 points.
  const auto layers = placedLayers(deck);
  const auto concrete =
      std::count_if(layers.begin(), layers.end(), [](const PlacedLayer& l) { return l.bar < 0; });
  ASSERT_EQ(concrete, 12);
  const double ratio = its[1].second / (12.0 * 441.0);
  char text[16];
  std::snprintf(text, sizeof text, "%7.5f", ratio);
  const std::string expected = textOf(crackingFailureBlock("   2", text));
  EXPECT_TRUE(endsWith(job.report, expected + kFatalLine + kCompletedBanner)) << job.report;
  EXPECT_EQ(job.report.find("ACCOUNTING FOR CONCRETE CRACKING"), std::string::npos);
}

}  // namespace
}  // namespace korvant::test
