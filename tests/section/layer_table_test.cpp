#include "section/layer_table.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/layer_records.hpp"

namespace korvant {
namespace {

using test::numberedLayer;

TEST(LayerTable, RecordHoldsCountMeanPoissonThenLayersInOrder) {
  RecordStore unit(800);
  PointLayerTable table;
  table.MU = 0.25;
  table.layers = {numberedLayer(100.0), numberedLayer(200.0)};
  writeLayerTable(unit, 7, table);

  const auto raw = unit.read(7);
  EXPECT_EQ(raw[0], 2.0);         // NL
  EXPECT_EQ(raw[1], 0.25);        // mean Poisson ratio
  EXPECT_EQ(raw[2], 101.0);       // layer 1, field 1
  EXPECT_EQ(raw[2 + 16], 117.0);  // layer 1, field 17
  EXPECT_EQ(raw[2 + 17], 201.0);  // layer 2, field 1
  EXPECT_EQ(raw[2 + 34], 0.0);    // nothing after the last layer

  PointLayerTable back;
  back.layers.resize(5);  // a buffer holding an earlier, longer table
  readLayerTable(unit, 7, back);
  ASSERT_EQ(back.NL(), 2);
  EXPECT_EQ(back.MU, 0.25);
  EXPECT_EQ(back.layers[0].value, table.layers[0].value);
  EXPECT_EQ(back.layers[1].value, table.layers[1].value);
  EXPECT_EQ(back.layers[1](layer_field::THETA), 207.0);
}

TEST(LayerTable, UnwrittenRecordIsATableWithoutLayers) {
  RecordStore unit(800);
  PointLayerTable table;
  table.MU = 0.3;
  table.layers.resize(3);
  readLayerTable(unit, 4, table);
  EXPECT_EQ(table.NL(), 0);
  EXPECT_EQ(table.MU, 0.0);
}

TEST(LayerTable, CapacityOfAnEightHundredValueRecord) {
  RecordStore unit(800);
  EXPECT_EQ(maxLayersPerRecord(unit), 46);  // (800 - 2) / 17
  PointLayerTable table;
  table.layers.resize(46);
  EXPECT_NO_THROW(writeLayerTable(unit, 1, table));
  table.layers.resize(47);
  EXPECT_THROW(writeLayerTable(unit, 1, table), std::length_error);

  const std::vector<double> corrupt{60.0};
  unit.write(2, corrupt);
  EXPECT_THROW(readLayerTable(unit, 2, table), std::length_error);
}

TEST(LayerTable, PointRecordRunsAlongBFirst) {
  EXPECT_EQ(pointRecord(1, 1, 5), 1);
  EXPECT_EQ(pointRecord(5, 1, 5), 5);
  EXPECT_EQ(pointRecord(1, 2, 5), 6);
  EXPECT_EQ(pointRecord(3, 4, 5), 18);
}

TEST(LayerTable, KindIsTheRoundedFirstField) {
  LayerRecord r;
  r(layer_field::KIND) = 3.0;
  EXPECT_EQ(r.kind(), LayerKind::COMBINED);
  r(layer_field::KIND) = 0.9999999;
  EXPECT_EQ(r.kind(), LayerKind::STEEL);
}

}  // namespace
}  // namespace korvant
