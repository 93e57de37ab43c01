// The layers of a deck's zone as the equilibrium analysis reads them: the deck of the mesh
// slab, its layers placed from the lower surface as the deck text was written.
#include "equilibrium/deck_sections.hpp"

#include <gtest/gtest.h>

#include <numbers>

#include "support/slab_decks.hpp"

namespace korvant::equilibrium {
namespace {

TEST(DeckSections, ZoneLayersFromTheDeckTables) {
  const test::ConcreteSlabDeck deck = test::meshSlab(0.043);
  const std::vector<SectionLayer> layers = zoneLayers(test::modelOf(deck), 1, 0.02);
  const std::vector<test::PlacedLayer> placed = test::placedLayers(deck);
  ASSERT_EQ(layers.size(), placed.size());
  for (std::size_t k = 0; k < layers.size(); ++k) {
    const SectionLayer& l = layers[k];
    EXPECT_NEAR(l.thick, placed[k].thick, 1e-4) << k;
    if (placed[k].bar < 0) {
      EXPECT_EQ(l.kind, LayerKind::Concrete) << k;
      EXPECT_EQ(l.concrete.E, 30000.0);
      EXPECT_EQ(l.concrete.nu, 0.2);
      EXPECT_EQ(l.concrete.XT, 3.0);
      EXPECT_EQ(l.concrete.XC, 30.0);
      continue;
    }
    const test::BarLayer& bar = deck.bars[static_cast<std::size_t>(placed[k].bar)];
    EXPECT_EQ(l.kind, LayerKind::Bars) << k;
    EXPECT_NEAR(l.barArea, std::numbers::pi * bar.bar * bar.bar / 4.0 / bar.spacing, 1e-12);
    EXPECT_EQ(l.theta, bar.theta);
    EXPECT_EQ(l.steel.Es, 200000.0);
    EXPECT_EQ(l.steel.fy, 500.0);
    EXPECT_EQ(l.steel.hardening, 0.02);
  }
}

}  // namespace
}  // namespace korvant::equilibrium
