#include "section/layer_table.hpp"

#include <algorithm>
#include <stdexcept>

namespace korvant {

int maxLayersPerRecord(const RecordStore& unit) {
  return (static_cast<int>(unit.recordLength()) - kLayerTableHead) / layer_field::COUNT;
}

void writeLayerTable(RecordStore& unit, int n, const PointLayerTable& table) {
  if (table.NL() > maxLayersPerRecord(unit))
    throw std::length_error("layer table longer than a working-file record");
  std::vector<double> record;
  record.reserve(kLayerTableHead + table.layers.size() * layer_field::COUNT);
  record.push_back(table.NL());
  record.push_back(table.MU);
  for (const LayerRecord& layer : table.layers)
    record.insert(record.end(), layer.value.begin(), layer.value.end());
  unit.write(n, record);
}

void readLayerTable(const RecordStore& unit, int n, PointLayerTable& table) {
  const auto record = unit.read(n);
  const long nl = std::lround(record[0]);
  if (nl < 0 || nl > maxLayersPerRecord(unit))
    throw std::length_error("layer count of a working-file record out of range");
  table.MU = record[1];
  table.layers.resize(static_cast<std::size_t>(nl));
  auto from = record.begin() + kLayerTableHead;
  for (LayerRecord& layer : table.layers) {
    std::copy_n(from, layer_field::COUNT, layer.value.begin());
    from += layer_field::COUNT;
  }
}

}  // namespace korvant
