// The layers of a deck's zone as the equilibrium analysis reads them (the mesh slab, its
// layers placed from the lower surface as the deck text was written), and the section they
// make before any strain against the one the linear analysis assembles from the point's
// layer table: the same but for the stiffness the tables give a bar layer across its bars and
// in shear, which bars do not have.
#include "equilibrium/deck_sections.hpp"

#include <gtest/gtest.h>

#include <cmath>
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
    readLayerTable(files.initialLayers, 1, initial);  // point (1, 1): one zone covers all
    layers = zoneLayers(model, 1, {0.02, 1.0});
  }
};

// The deck's layers, from the slices of the section: the first slice of each with the
// thickness of all of them.
std::vector<SectionLayer> deckLayersOf(const std::vector<SectionLayer>& slices) {
  std::vector<SectionLayer> deck;
  for (const SectionLayer& l : slices) {
    if (deck.size() == static_cast<std::size_t>(l.deckLayer)) {
      deck.push_back(l);
    } else {
      deck.back().thick += l.thick;
    }
  }
  return deck;
}

TEST(DeckSections, PointLayersFromTheDeckTables) {
  const MeshSlabPoint p;
  const std::vector<test::PlacedLayer> placed = test::placedLayers(p.deck);
  const std::vector<SectionLayer> layers = deckLayersOf(p.layers);
  ASSERT_EQ(layers.size(), placed.size());
  double h = 0.0;
  for (const test::PlacedLayer& l : placed) h += l.thick;
  for (const SectionLayer& l : p.layers) EXPECT_LE(l.thick, h / kSlicesThroughDepth + 1e-9);
  for (std::size_t k = 0; k < layers.size(); ++k) {
    const SectionLayer& l = layers[k];
    EXPECT_NEAR(l.thick, placed[k].thick, 1e-4) << k;
    if (placed[k].bar < 0) {
      EXPECT_EQ(l.material, LayerMaterial::Concrete) << k;
      EXPECT_EQ(l.concrete.E, 30000.0);
      EXPECT_EQ(l.concrete.nu, 0.2);
      EXPECT_EQ(l.concrete.XT, 3.0);
      EXPECT_EQ(l.concrete.XC, 30.0);
      EXPECT_NEAR(l.concrete.band, 200.0, 1e-9);  // 4 m over 20 spacings both ways
      continue;
    }
    const test::BarLayer& bar = p.deck.bars[static_cast<std::size_t>(placed[k].bar)];
    EXPECT_EQ(l.material, LayerMaterial::Bars) << k;
    EXPECT_NEAR(l.barArea, std::numbers::pi * bar.bar * bar.bar / 4.0 / bar.spacing, 1e-12);
    EXPECT_EQ(l.theta, bar.theta);
    EXPECT_EQ(l.steel.Es, 200000.0);
    EXPECT_EQ(l.steel.fy, 500.0);
    EXPECT_EQ(l.steel.hardening, 0.02);
  }
}

// Unstrained, every layer has its initial modulus: A and the condensed D - B A^-1 B (which do
// not depend on the reference surface) are those of the linear analysis less, for each bar
// layer of the table, its QMATX stiffness beyond E1 n n^T (n = (c^2, s^2, s c) of its
// direction: the bars alone).
TEST(DeckSections, UnstrainedSectionIsTheLinearAnalysisLessTheBarsAcross) {
  const MeshSlabPoint p;
  const std::vector<test::PlacedLayer> placed = test::placedLayers(p.deck);
  const Section s = makeSection(p.layers);
  const SectionResponse r = secantSection(s, {}, std::vector<LayerMemory>(s.layers.size()),
                                          TensionStiffening::VecchioCollins);
  SectionStiffness linear, expected;
  sectionStiffness(p.initial, p.model.NEUTRAL, linear);
  expected = linear;
  double zb = lowerFaceZ(p.initial, p.model.NEUTRAL);
  for (std::size_t k = 0; k < placed.size(); ++k) {
    const LayerRecord& l = p.initial.layers[k];
    const double zt = zb + l(layer_field::THICK);
    if (placed[k].bar >= 0) {
      Matrix<double> Q;
      QMATX(Q, l(layer_field::E1), l(layer_field::E2), l(layer_field::MU), l(layer_field::THETA));
      const double t = l(layer_field::THETA) * std::numbers::pi / 180.0;
      const double n[3] = {std::cos(t) * std::cos(t), std::sin(t) * std::sin(t),
                           std::sin(t) * std::cos(t)};
      for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
          const int a = kPlaneComponents[i], b = kPlaneComponents[j];
          const double extra = Q(a, b) - l(layer_field::E1) * n[i] * n[j];
          expected.A(a, b) -= extra * (zt - zb);
          expected.B(a, b) -= extra * (zt * zt - zb * zb) / 2.0;
          expected.D(a, b) -= extra * (zt * zt * zt - zb * zb * zb) / 3.0;
        }
      }
    }
    zb = zt;
  }
  const Stiffness3 A = inPlane(r.abd.A), D = inPlane(uncoupledBending(r.abd).D);
  const Stiffness3 A0 = inPlane(expected.A), D0 = inPlane(uncoupledBending(expected).D);
  for (std::size_t k = 0; k < 9; ++k) {
    EXPECT_NEAR(A.q[k], A0.q[k], 1e-9 * A0.q[0]) << k;
    EXPECT_NEAR(D.q[k], D0.q[k], 1e-9 * D0.q[0]) << k;
  }
  // The tables' shear of the bar layers, about As Es / 2.6 (45^2 + 35^2) = 1.309e8, is 3.6 % of
  // the twisting stiffness 30000 / 2.4 x 150^3 / 12 + 1.309e8 of this slab.
  EXPECT_NEAR(D(2, 2) / inPlane(uncoupledBending(linear).D)(2, 2), 3.516e9 / (3.516e9 + 1.309e8),
              0.002);
}

}  // namespace
}  // namespace korvant::equilibrium
