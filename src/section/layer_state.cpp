#include "section/layer_state.hpp"

#include <cmath>
#include <stdexcept>

#include "core/model_deck.hpp"

namespace korvant {

void writeLayerState(RecordStore& unit, int n, const LayerState& state) {
  const std::size_t length = 1 + state.layers.size() * failure_index::COUNT;
  if (length > unit.recordLength())
    throw std::length_error("layer state longer than a working-file record");
  std::vector<double> record;
  record.reserve(length);
  record.push_back(state.NL());
  for (const LayerFailure& layer : state.layers)
    record.insert(record.end(), layer.value.begin(), layer.value.end());
  unit.write(n, record);
}

void readLayerState(const RecordStore& unit, int n, LayerState& state) {
  const auto record = unit.read(n);
  const long nl = std::lround(record[0]);
  const long most = (static_cast<long>(unit.recordLength()) - 1) / failure_index::COUNT;
  if (nl < 0 || nl > most)
    throw std::length_error("layer count of a layer-state record out of range");
  state.layers.resize(static_cast<std::size_t>(nl));
  auto from = record.begin() + 1;
  for (LayerFailure& layer : state.layers) {
    for (double& index : layer.value) index = *from++;
  }
}

void writeUnfailedLayerState(RecordStore& unit, int n, int NL) {
  LayerState state;
  state.layers.assign(static_cast<std::size_t>(NL), LayerFailure{});
  writeLayerState(unit, n, state);
}

void writeDamageLaws(RecordStore& unit, const Matrix<double>& DLAWS, int NLAW) {
  const double count = NLAW;
  unit.write(1, std::span<const double>(&count, 1));
  std::vector<double> law(law_col::COUNT);
  for (int k = 1; k <= NLAW; ++k) {
    for (int col = 1; col <= law_col::COUNT; ++col) law[col - 1] = DLAWS(k, col);
    unit.write(k + 1, law);
  }
}

void DamageLawTable::load(const RecordStore& unit) {
  const long count = std::lround(unit.read(1)[0]);
  laws_.clear();
  for (long k = 1; k <= count; ++k) {
    const auto r = unit.read(static_cast<int>(k + 1));
    DamageLaw law;
    law.LAWID = r[law_col::LAWID - 1];
    for (int s = 1; s <= 4; ++s) law.slot[s - 1] = r[law_col::YIELDING - 1 + s - 1];
    law.a = r[law_col::a - 1];
    law.b = r[law_col::b - 1];
    law.c = r[law_col::c - 1];
    law.d = r[law_col::d - 1];
    laws_.push_back(law);
  }
}

const DamageLaw& DamageLawTable::find(int id) const {
  for (const DamageLaw& law : laws_)
    if (std::lround(law.LAWID) == id) return law;
  return laws_.empty() ? none_ : laws_.back();
}

}  // namespace korvant
