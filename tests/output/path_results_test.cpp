// The results of a state of the load path in equilibrium against hand values: a section of
// four concrete layers of 50 mm and one layer of bars, bent about x.
#include <gtest/gtest.h>

#include <cmath>

#include "equilibrium/secant_section.hpp"
#include "output/solution_results.hpp"

namespace korvant {
namespace {

using namespace equilibrium;

constexpr double kE = 30000.0, kNu = 0.2, kEs = 200000.0, kFy = 500.0;

Section handSection() {
  std::vector<SectionLayer> layers;
  for (int k = 0; k < 4; ++k) {
    SectionLayer l;
    l.thick = 50.0;
    l.concrete = {kE, kNu, 3.0, 30.0};
    layers.push_back(l);
  }
  SectionLayer bars;
  bars.material = LayerMaterial::Bars;
  bars.thick = 0.5;
  bars.barArea = 0.5;
  bars.steel = {kEs, kFy, 0.0};
  layers.insert(layers.begin() + 1, bars);  // above the lowest 50 mm
  return makeSection(std::move(layers));
}

// Every point of a 2 x 2 grid in the same state: the curvature kxx and the layers' memory.
struct HandState {
  ModelDeck model;
  Section section = handSection();
  std::vector<const Section*> sections;
  PathState state;

  HandState(double kxx, int crackedFromBelow) {
    model.NUMA = model.NUMB = 2;
    sections.assign(4, &section);
    std::vector<LayerMemory> memory(section.layers.size());
    int concrete = 0;  // the lowest `crackedFromBelow` concrete layers have cracked
    for (std::size_t k = 0; k < memory.size(); ++k)
      if (section.layers[k].material == LayerMaterial::Concrete)
        memory[k].cracked = concrete++ < crackedFromBelow;
    StrainPlane plane;
    plane.curvature = {kxx, 0.0, 0.0};
    state.strains.assign(4, plane);
    state.memory.assign(4, memory);
    state.solution.assign(4, 0.0);
  }
  SolutionResults results() const {
    return pathResults(model, sections, state, kDefaultStiffening);
  }
};

// Uncracked and elastic, h = 200.5 mm, the bars' layer 0.5 thick centred 50 mm below the
// mid-depth: the concrete's I = (h^3 - 0.5^3) / 12 - 0.5 x 50^2, D = E I / (1 - nu^2); the
// bars' As = 0.5 mm2/mm add Es As (50^2 + 0.5^2 / 12) along x; mxx = (D + bars) |kxx|,
// myy = nu D |kxx|, sagging (positive) for kxx < 0; the bars' stress Es kxx (z - h/2). The
// curvature is small enough (1e-7 at the faces) for the compression parabola's secant to stay
// within 1e-5 of E.
TEST(PathResults, ElasticSectionGivesTheHandMomentsAndBarStress) {
  const double k = -1e-9, h = 200.5, zBars = 50.25;
  const HandState hand(k, 0);
  const SolutionResults r = hand.results();
  const PointResults& p = r.points[0];
  const double D = kE / (1 - kNu * kNu) * ((h * h * h - 0.125) / 12.0 - 0.5 * 2500.0);
  const double bars = kEs * 0.5 * (2500.0 + 0.25 / 12.0);
  EXPECT_NEAR(p.forces.mxx, (D + bars) * -k, 1e-5 * D * -k);
  EXPECT_NEAR(p.forces.myy, kNu * D * -k, 1e-5 * D * -k);
  EXPECT_NEAR(p.forces.mxy, 0.0, 1e-9);
  ASSERT_EQ(p.bars.size(), 1u);
  EXPECT_NEAR(p.bars[0].z, zBars, 1e-12);
  EXPECT_NEAR(p.bars[0].strain, k * (zBars - h / 2), 1e-18);
  EXPECT_NEAR(p.bars[0].stress, kEs * k * (zBars - h / 2), 1e-12);
  EXPECT_NEAR(p.bars[0].utilisation, std::abs(p.bars[0].stress) / kFy, 1e-12);
  EXPECT_EQ(p.cracks.lower, 0.0);
  EXPECT_EQ(p.cracks.upper, 0.0);
}

// Two concrete layers cracked from the lower face, both stretched: the cracks reach 100 mm
// of concrete and the 0.5 mm of bars between them, 100.5 / 200.5 of the depth; the upper
// face, in compression, has none. Bent the other way the same memory holds no open crack.
TEST(PathResults, CrackDepthCountsTheStretchedCrackedLayersFromTheFace) {
  const SolutionResults sagging = HandState(-5e-7, 2).results();
  EXPECT_NEAR(sagging.points[3].cracks.lower, 100.5 / 200.5, 1e-12);
  EXPECT_EQ(sagging.points[3].cracks.upper, 0.0);
  const SolutionResults hogging = HandState(5e-7, 2).results();
  EXPECT_EQ(hogging.points[3].cracks.lower, 0.0);
  EXPECT_LT(hogging.points[3].forces.mxx, 0.0);
}

}  // namespace
}  // namespace korvant
