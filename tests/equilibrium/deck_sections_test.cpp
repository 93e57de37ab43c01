// The layers of a deck's point as the equilibrium analysis reads them (the mesh slab, its
// layers placed from the lower surface as the deck text was written), and the section they
// make before any strain: the one the linear analysis assembles from the same layer table.
#include "equilibrium/deck_sections.hpp"

#include <gtest/gtest.h>

#include <numbers>
#include <sstream>

#include "equilibrium/secant_section.hpp"
#include "section/slab_materials.hpp"
#include "support/slab_decks.hpp"

namespace korvant::equilibrium {
namespace {

struct MeshSlabPoint {
  test::ConcreteSlabDeck deck = test::meshSlab(0.043);
  ModelDeck model = test::modelOf(deck);
  PointLayerTable initial;
  std::vector<SectionLayer> layers;

  MeshSlabPoint() {
    WorkingFiles files;
    std::ostringstream text;
    Writer report(text);
    int nerr = 0;
    SLBMAT(model, files, report, nerr);
    readLayerTable(files.initialLayers, pointRecord(5, 7, model.NUMB), initial);
    layers = pointLayers(model, 1, initial, 0.02);
  }
};

TEST(DeckSections, PointLayersFromTheDeckTables) {
  const MeshSlabPoint p;
  const std::vector<test::PlacedLayer> placed = test::placedLayers(p.deck);
  ASSERT_EQ(p.layers.size(), placed.size());
  for (std::size_t k = 0; k < p.layers.size(); ++k) {
    const SectionLayer& l = p.layers[k];
    EXPECT_NEAR(l.thick, placed[k].thick, 1e-4) << k;
    EXPECT_EQ(l.table.E1, p.initial.layers[k](layer_field::E1)) << k;
    if (placed[k].bar < 0) {
      EXPECT_EQ(l.kind, LayerKind::Concrete) << k;
      EXPECT_EQ(l.concrete.E, 30000.0);
      EXPECT_EQ(l.concrete.nu, 0.2);
      EXPECT_EQ(l.concrete.XT, 3.0);
      EXPECT_EQ(l.concrete.XC, 30.0);
      continue;
    }
    const test::BarLayer& bar = p.deck.bars[static_cast<std::size_t>(placed[k].bar)];
    EXPECT_EQ(l.kind, LayerKind::Bars) << k;
    EXPECT_NEAR(l.barArea, std::numbers::pi * bar.bar * bar.bar / 4.0 / bar.spacing, 1e-12);
    EXPECT_EQ(l.theta, bar.theta);
    EXPECT_EQ(l.steel.Es, 200000.0);
    EXPECT_EQ(l.steel.fy, 500.0);
    EXPECT_EQ(l.steel.hardening, 0.02);
  }
}

// Unstrained, every layer has its initial modulus, and A, B and D about the mid-depth are those
// of the linear analysis about the geometric centre, so that the path starts on its solution.
TEST(DeckSections, UnstrainedSectionIsTheLinearAnalysis) {
  const MeshSlabPoint p;
  const Section s = makeSection(p.layers);
  const SectionResponse r = secantSection(s, {}, std::vector<LayerMemory>(s.layers.size()),
                                          TensionStiffening::VecchioCollins);
  SectionStiffness linear;
  sectionStiffness(p.initial, neutral_surface::GEOMETRIC_CENTRE, linear);
  const Stiffness3 A = inPlane(r.abd.A), B = inPlane(r.abd.B), D = inPlane(r.abd.D);
  const Stiffness3 A0 = inPlane(linear.A), B0 = inPlane(linear.B), D0 = inPlane(linear.D);
  for (std::size_t k = 0; k < 9; ++k) {
    EXPECT_NEAR(A.q[k], A0.q[k], 1e-9 * A0.q[0]) << k;
    EXPECT_NEAR(B.q[k], B0.q[k], 1e-9 * A0.q[0] * 150.0) << k;
    EXPECT_NEAR(D.q[k], D0.q[k], 1e-9 * D0.q[0]) << k;
  }
}

}  // namespace
}  // namespace korvant::equilibrium
