#include "section/layer_state.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "core/model_deck.hpp"

namespace korvant {
namespace {

TEST(LayerState, RecordHoldsCountThenFourIndicesPerLayer) {
  RecordStore unit(800);
  LayerState state;
  state.layers = {LayerFailure{{1.1, 1.2, 1.3, 1.4}}, LayerFailure{{0.0, 0.0, 0.0, 2.5}},
                  LayerFailure{{3.1, 3.2, 3.3, 0.0}}};
  writeLayerState(unit, 6, state);

  const auto raw = unit.read(6);
  EXPECT_EQ(raw[0], 3.0);   // NL
  EXPECT_EQ(raw[1], 1.1);   // layer 1: FICT
  EXPECT_EQ(raw[4], 1.4);   // layer 1: FY
  EXPECT_EQ(raw[8], 2.5);   // layer 2: FY
  EXPECT_EQ(raw[9], 3.1);   // layer 3: FICT
  EXPECT_EQ(raw[13], 0.0);  // nothing after the last layer

  LayerState back;
  back.layers.resize(5);  // a buffer that held a longer point
  readLayerState(unit, 6, back);
  ASSERT_EQ(back.NL(), 3);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(back.layers[k].value, state.layers[k].value) << k;
  EXPECT_EQ(back.layers[2](failure_index::FICS), 3.3);
  EXPECT_EQ(back.layers[1](failure_index::FY), 2.5);
}

TEST(LayerState, UnfailedAndUnwrittenRecords) {
  RecordStore unit(800);
  writeUnfailedLayerState(unit, 2, 4);
  LayerState state;
  readLayerState(unit, 2, state);
  ASSERT_EQ(state.NL(), 4);
  for (const LayerFailure& layer : state.layers)
    for (double index : layer.value) EXPECT_EQ(index, 0.0);

  state.layers.resize(2);
  readLayerState(unit, 9, state);  // never written
  EXPECT_EQ(state.NL(), 0);
}

// An 800-value record holds 1 + 4 NL values: at most (800 - 1) / 4 = 199 layers.
TEST(LayerState, CapacityOfAnEightHundredValueRecord) {
  RecordStore unit(800);
  LayerState state;
  state.layers.resize(199);
  EXPECT_NO_THROW(writeLayerState(unit, 1, state));
  state.layers.resize(200);
  EXPECT_THROW(writeLayerState(unit, 1, state), std::length_error);
  EXPECT_THROW(writeUnfailedLayerState(unit, 1, 200), std::length_error);

  const std::vector<double> corrupt{200.0};
  unit.write(2, corrupt);
  EXPECT_THROW(readLayerState(unit, 2, state), std::length_error);
}

// The law table of the deck: rows 1..NLAW, columns LAWID, YIELDING, TENSION, COMPRESSION,
// SHEAR, a, b, c, d, spare. Law k's values are 10 k + column, its identifier given per row.
TEST(DamageLaws, FindReturnsTheFirstMatchingLawOrTheLastOne) {
  Capacities cap;
  ModelDeck m{cap};
  const double ids[] = {7.0, 3.0, 7.0, 5.0};
  for (int k = 1; k <= 4; ++k) {
    m.DLAWS(k, law_col::LAWID) = ids[k - 1];
    for (int col = law_col::YIELDING; col <= law_col::COUNT; ++col) m.DLAWS(k, col) = 10 * k + col;
  }
  m.NLAW = 3;  // the fourth row is not a law of the model
  RecordStore unit(800);
  writeDamageLaws(unit, m.DLAWS, m.NLAW);
  EXPECT_EQ(unit.read(1)[0], 3.0);

  DamageLawTable table;
  table.load(unit);
  struct Case {
    int id;
    int row;  // the law expected
  };
  // 7 is found in row 1 before row 3; 3 in row 2; 5 only in the unused row 4 and 9 nowhere:
  // both end on the last law, row 3.
  for (const Case& c : {Case{7, 1}, Case{3, 2}, Case{5, 3}, Case{9, 3}}) {
    SCOPED_TRACE(c.id);
    const DamageLaw& law = table.find(c.id);
    const double base = 10.0 * c.row;
    EXPECT_EQ(law.LAWID, ids[c.row - 1]);
    // Slots 1..4 are columns 2..5; a, b, c, d columns 6..9.
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(law.modulus(s), base + 1 + s) << "slot " << s;
    EXPECT_EQ(law.a, base + 6);
    EXPECT_EQ(law.b, base + 7);
    EXPECT_EQ(law.c, base + 8);
    EXPECT_EQ(law.d, base + 9);
  }

  // No laws at all: a law of zeros.
  RecordStore empty(800);
  writeDamageLaws(empty, m.DLAWS, 0);
  table.load(empty);
  const DamageLaw& none = table.find(7);
  EXPECT_EQ(none.LAWID, 0.0);
  EXPECT_EQ(none.modulus(1), 0.0);
  EXPECT_EQ(none.a, 0.0);
}

}  // namespace
}  // namespace korvant
