// The incremental stage of the nonlinear analysis through the executable: a load ladder
// against the yield-line collapse pressure.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "support/slab_decks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

// A 4 m square slab, 150 mm deep, simply supported, with a 10 mm mesh at 150 mm both ways,
// the bar centres 30 and 40 mm above the lower surface.
ConcreteSlabDeck meshSlab(double pressure) {
  ConcreteSlabDeck d;
  d.NUMA = d.NUMB = 21;
  d.depth = 150.0;
  d.concreteLayers = 10;
  d.bars = {BarLayer{10.0, 150.0, 0.0, 120.0}, BarLayer{10.0, 150.0, 90.0, 110.0}};
  d.crackingOnly = false;
  d.NPASSY = 5;
  d.NINCY = 10;
  d.CRKTOL = 0.05;
  d.WMAX = 100.0;  // span / 40 in one increment: the slab has become a mechanism
  d.pressure = pressure;
  d.print = "D";
  return d;
}

// Johansen's pattern for the simply supported square: q = 24 m / L^2, with the plastic moment
// per unit width m = As fy (d - a/2) of the mean depth of the two bar layers and the depth a
// of the compression block As fy / (0.85 fc).
double yieldLinePressure(const ConcreteSlabDeck& d) {
  const double As = std::numbers::pi * 10.0 * 10.0 / 4.0 / 150.0;
  const double depth = (d.bars[0].depth + d.bars[1].depth) / 2;
  const double a = As * d.Y / (0.85 * d.XC);
  const double m = As * d.Y * (depth - a / 2);
  return 24.0 * m / (d.A * d.A);
}

struct Level {
  double factor;
  int status;
  bool collapsed;
  double finalW;  // centre deflection of the final table, 0 without one
};

Level runLevel(double factor) {
  const ConcreteSlabDeck probe = meshSlab(0.0);
  const ConcreteSlabDeck deck = meshSlab(factor * yieldLinePressure(probe));
  TempDir dir;
  writeFile(dir / "slab.inp", deck.text());
  const RunResult r = runKorvant(dir.path(), {"--yes", "slab"}, "");
  const std::string report = readFile(dir / "slab.out");
  Level level{factor, r.status,
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

}  // namespace
}  // namespace korvant::test
