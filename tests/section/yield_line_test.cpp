// The yield-line estimate against hand calculations: the plastic moments of a section worked
// by hand, and the collapse pressures of the rectangle patterns against the work equation of
// the pattern minimised numerically over the position of its apexes.
#include "section/yield_line.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/slab_decks.hpp"

namespace korvant::test {
namespace {

// Johansen's pattern of a rectangle a (along x) by b with its ridge along x and its apexes
// at beta from the short edges: external work q delta b (3a - 2 beta) / 6 against the
// rotations of the trapezoids about the long edges (y bars, with the hogging moment of
// clamped edges) and of the triangles about the short edges (x bars). The least q over beta,
// and over the pattern turned the other way.
double patternByWork(double a, double b, const PlasticMoments& m) {
  const auto ridgeAlongX = [](double along, double across, double mAlong, double mAcross) {
    double least = INFINITY;
    for (int k = 1; k <= 200000; ++k) {
      const double beta = 0.5 * along * k / 200000;
      const double internal = 4.0 * mAcross * along / across + 2.0 * mAlong * across / beta;
      least = std::min(least, internal * 6.0 / (across * (3.0 * along - 2.0 * beta)));
    }
    return least;
  };
  return std::min(ridgeAlongX(a, b, m.mx + m.mxTop, m.my + m.myTop),
                  ridgeAlongX(b, a, m.my + m.myTop, m.mx + m.mxTop));
}

TEST(YieldLine, PatternsOfRectanglesAgainstTheirWorkEquation) {
  const struct {
    const char* name;
    double a, b;
    PlasticMoments m;
    bool clamped;
  } cases[] = {
      {"isotropic square", 4000, 4000, {30000, 30000, 0, 0}, false},
      {"isotropic rectangle 6 x 4", 6000, 4000, {30000, 30000, 0, 0}, false},
      {"orthotropic rectangle, strong across the short span",
       6000,
       4000,
       {15000, 40000, 0, 0},
       false},
      {"orthotropic rectangle, strong along the long side",
       6000,
       4000,
       {45000, 10000, 0, 0},
       false},
      {"clamped rectangle, orthotropic hogging", 5000, 4000, {20000, 30000, 25000, 15000}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const double q = c.clamped ? clampedRectangle(c.a, c.b, c.m)
                               : simplySupportedRectangle(c.a, c.b, c.m.mx, c.m.my);
    EXPECT_NEAR(q, patternByWork(c.a, c.b, c.m), 1e-6 * q);
  }
  // The clamped square with m' = m: 48 m / L^2.
  EXPECT_NEAR(clampedRectangle(4000, 4000, {30000, 30000, 30000, 30000}), 48 * 30000 / 16e6, 1e-12);
  // One-way limits: no bars across a span leave the other span alone, 8 m / L^2.
  EXPECT_DOUBLE_EQ(simplySupportedRectangle(4000, 9000, 30000, 0), 8 * 30000 / 16e6);
}

// The mesh slab: 10 mm bars at 150 mm both ways, their centres 120 (along x) and 110 mm (along
// y) below the upper surface, fy 500, fc 30: As = 0.5236 mm2/mm, As fy = 261.80 N/mm, the
// block a = 261.80 / (0.85 x 30) = 10.267 mm, so mx = 261.80 (120 - 5.133) = 30072.0 and
// my = 261.80 (110 - 5.133) = 27454.0 Nmm/mm; no top steel.
TEST(YieldLine, PlasticMomentsOfTheMeshSlab) {
  const PlasticMoments m = plasticMoments(modelOf(meshSlab(0.01)), 1);
  EXPECT_NEAR(m.mx, 30072.0, 0.1);
  EXPECT_NEAR(m.my, 27454.0, 0.1);
  EXPECT_EQ(m.mxTop, 0.0);
  EXPECT_EQ(m.myTop, 0.0);
}

// A 6 m panel on corner columns, 200 mm deep, with the bottom mesh at 165 / 155 mm and a top
// mesh of 12 mm bars at 150 mm at 30 / 42 mm: hogging As fy = 376.99 N/mm at 170 and 158 mm
// above the lower surface, a = 14.784 mm: mx' = 61301.8, my' = 56777.9 Nmm/mm.
ConcreteSlabDeck flatPanel(const char* layout) {
  ConcreteSlabDeck d = meshSlab(0.01);
  d.layout = layout;
  d.A = d.B = 6000.0;
  d.depth = 200.0;
  d.bars = {BarLayer{10.0, 150.0, 0.0, 165.0}, BarLayer{10.0, 150.0, 90.0, 155.0},
            BarLayer{12.0, 150.0, 0.0, 30.0}, BarLayer{12.0, 150.0, 90.0, 42.0}};
  return d;
}

TEST(YieldLine, FoldingMechanismsOfTheColumnLayouts) {
  const double mx = 261.7994 * (165.0 - 5.1333), my = 261.7994 * (155.0 - 5.1333);
  const double mxTop = 61301.8, myTop = 56777.9;
  const PlasticMoments m = plasticMoments(modelOf(flatPanel("4-COLUMN FREE EDGE")), 1);
  EXPECT_NEAR(m.mx, mx, 0.5);
  EXPECT_NEAR(m.mxTop, mxTop, 0.5);
  EXPECT_NEAR(m.myTop, myTop, 0.5);
  // Free edges: the panel folds across its middle about the column lines, 8 m / L^2, along
  // the weaker direction (the y bars sit higher).
  const YieldLineEstimate free = yieldLineEstimate(modelOf(flatPanel("4-COLUMN FREE EDGE")));
  ASSERT_TRUE(free.available);
  EXPECT_NEAR(free.pressure, 8 * my / 36e6, 1e-7);
  // An interior panel also turns the top steel along the column lines: 8 (m + m') / L^2.
  const YieldLineEstimate inner = yieldLineEstimate(modelOf(flatPanel("4-COLUMN SYMMETRIC EDGE")));
  ASSERT_TRUE(inner.available);
  EXPECT_NEAR(inner.pressure, 8 * (my + myTop) / 36e6, 1e-7);
  // Nine columns: four 3 m bays, continuous over every column line.
  ConcreteSlabDeck nine = flatPanel("9-COLUMN");
  nine.NUMA = nine.NUMB = 21;
  const YieldLineEstimate bays = yieldLineEstimate(modelOf(nine));
  ASSERT_TRUE(bays.available);
  EXPECT_NEAR(bays.pressure, 8 * (my + myTop) / 9e6, 1e-6);
}

TEST(YieldLine, NoEstimateWithoutASingleSteelSectionOrAMechanism) {
  ConcreteSlabDeck plain = meshSlab(0.01);
  plain.bars.clear();
  EXPECT_EQ(yieldLineEstimate(modelOf(plain)).reason, "the section has no steel");
  ConcreteSlabDeck sscf = meshSlab(0.01);
  sscf.layout = "SSCF";
  const YieldLineEstimate none = yieldLineEstimate(modelOf(sscf));
  EXPECT_FALSE(none.available);
  EXPECT_EQ(none.reason, "the support layout has no classical mechanism here");
}

}  // namespace
}  // namespace korvant::test
